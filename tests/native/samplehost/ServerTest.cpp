// The sample host served in-process on free ports and fetched with a real HTTP client.
#include <gtest/gtest.h>
#include <httplib.h>
#include <iconv.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <thread>

#include "tools/samplehost/HostServer.h"

namespace samplehost {
namespace {

const std::string kAlbum0 = "/alice/album/" + std::string(kAlbumSegment) + "/index/0";

std::string ToGbk(const std::string& utf8) {
  iconv_t cd = iconv_open("GBK", "UTF-8");
  std::string out(utf8.size() * 2 + 16, '\0');
  char* in = const_cast<char*>(utf8.data());
  char* dst = out.data();
  size_t inLeft = utf8.size(), outLeft = out.size();
  EXPECT_NE(iconv(cd, &in, &inLeft, &dst, &outLeft), static_cast<size_t>(-1));
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

class HostTest : public ::testing::Test {
 protected:
  void Start(HostConfig c = {}) {
    c.threads = 32;
    host = std::make_unique<SampleHost>(std::move(c));
    std::string error;
    ASSERT_TRUE(host->Start(error)) << error;
  }
  httplib::Client Client(const std::string& base = "") {
    httplib::Client cli(base.empty() ? host->BlogUrl() : base);
    cli.set_default_headers({{"Accept-Encoding", "identity"}});
    cli.set_read_timeout(60);
    return cli;
  }
  httplib::Result Get(const std::string& path, const std::string& base = "") {
    return Client(base).Get(path.c_str());
  }
  std::string Body(const std::string& path) {
    auto r = Get(path);
    EXPECT_TRUE(r) << path;
    return r ? r->body : "";
  }
  int Status(const std::string& path) {
    auto r = Get(path);
    return r ? r->status : -1;
  }
  // The generator as the host's blog listener uses it.
  BlogGenerator Generator(BlogOptions o = {}) {
    return BlogGenerator(std::move(o), host->BlogUrl(), host->PhotoUrl());
  }
  // Follows redirects by hand: the final answer, and the bodies of the redirect answers.
  httplib::Result Follow(std::string path, std::vector<std::string>& hops) {
    for (int i = 0; i < 50; ++i) {
      auto r = Get(path);
      if (!r || r->status != 302) return r;
      hops.push_back(r->body);
      path = r->get_header_value("Location");
    }
    ADD_FAILURE() << "endless redirects";
    return Get(path);
  }
  // Polls until `ready` holds (the test fails after 20 s).
  void WaitUntil(const std::function<bool()>& ready) {
    for (int i = 0; i < 2000 && !ready(); ++i) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    ASSERT_TRUE(ready());
  }

  std::unique_ptr<SampleHost> host;
};

TEST_F(HostTest, ServesTheGeneratedBlogOneRequestPerConnection) {
  Start();
  EXPECT_EQ(host->PhotoUrl(), host->BlogUrl());
  const BlogGenerator gen = Generator();
  auto list = Get("/alice/blog/index/0");
  ASSERT_TRUE(list);
  EXPECT_EQ(list->status, 200);
  EXPECT_EQ(list->body, gen.ListPageHtml("alice", 0));
  EXPECT_EQ(list->get_header_value("Content-Type"), "text/html; charset=utf-8");
  EXPECT_EQ(list->get_header_value("Connection"), "close");
  const ArticleInfo article = gen.Article("alice", 7);
  EXPECT_EQ(Body(article.path), gen.ArticlePageHtml("alice", 7));
  // One port serves the picture server's paths too.
  auto picture = Get(gen.Picture("alice", 3).itemPath);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->get_header_value("Content-Type"), "image/bmp");
  EXPECT_EQ(picture->body, gen.Picture("alice", 3).bytes);
  EXPECT_EQ(Body(kAlbum0), gen.AlbumPageHtml("alice", 0));
  EXPECT_EQ(Status("/alice/blog/item/nothing.html"), 404);
  EXPECT_EQ(Body("/_control/stats"), "requests=5\nmax_concurrent=1\ncurrent=0\n");
  EXPECT_EQ(host->PortFileText(), "blog=" + host->BlogUrl() + "\nphoto=" + host->BlogUrl() + "\n");
}

TEST_F(HostTest, SeparatePictureServerServesOnlyPictures) {
  HostConfig c;
  c.photoPort = 0;
  Start(c);
  ASSERT_NE(host->PhotoUrl(), host->BlogUrl());
  const BlogGenerator gen = Generator();
  const PictureInfo p = gen.Picture("bob", 0);
  EXPECT_EQ(Get(p.itemPath, host->PhotoUrl())->body, p.bytes);
  EXPECT_EQ(Status(p.itemPath), 404);
  EXPECT_EQ(Get("/bob/blog/index/0", host->PhotoUrl())->status, 404);
  EXPECT_NE(Body(kAlbum0).find("psrc:\"" + host->PhotoUrl() + "/alice/pic/abpic/"),
            std::string::npos);
}

TEST_F(HostTest, StatusFaultsComeFromTheCommandLineAndTheControlEndpoint) {
  HostConfig c;
  c.faults.push_back({"/alice/blog/index/0", Fault{Fault::Kind::kStatus, 404}});
  c.faults.push_back({"/wild/*", Fault{Fault::Kind::kStatus, 500}});
  Start(c);
  EXPECT_EQ(Status("/alice/blog/index/0"), 404);
  EXPECT_EQ(Status("/alice/blog/index/1"), 200);
  EXPECT_EQ(Status("/wild/blog/index/3"), 500);
  EXPECT_EQ(Status("/_control/fault?path=/alice/blog/index/1&kind=429"), 200);
  auto limited = Get("/alice/blog/index/1");
  ASSERT_TRUE(limited);
  EXPECT_EQ(limited->status, 429);
  EXPECT_EQ(limited->get_header_value("Retry-After"), "1");
  EXPECT_EQ(Status("/_control/fault?path=/alice/blog/index/1&kind=503"), 200);
  EXPECT_EQ(Status("/alice/blog/index/1"), 503);
  EXPECT_EQ(Status("/_control/fault?path=/alice/blog/index/1&kind="), 200);
  EXPECT_EQ(Status("/alice/blog/index/1"), 200);
  EXPECT_EQ(Status("/_control/fault?path=/x&kind=teapot"), 400);
  EXPECT_EQ(Status("/_control/fault?kind=404"), 400);
  EXPECT_NE(Body("/_control/settings").find("fault=/wild/*=500"), std::string::npos);
  EXPECT_EQ(Status("/_control/clear-faults"), 200);
  EXPECT_EQ(Status("/alice/blog/index/0"), 200);
  EXPECT_EQ(Status("/wild/blog/index/3"), 200);
}

TEST_F(HostTest, ResetFaultAnnouncesTheWholeBodyAndSendsAboutHalf) {
  Start();
  const std::string path = Generator().Article("alice", 2).path;
  const size_t full = Body(path).size();
  Status("/_control/fault?path=" + path + "&kind=reset");
  std::string announced;
  size_t received = 0;
  auto r = Client().Get(
      path.c_str(),
      [&](const httplib::Response& res) {
        announced = res.get_header_value("Content-Length");
        return true;
      },
      [&](const char*, size_t n) {
        received += n;
        return true;
      });
  EXPECT_FALSE(r);
  EXPECT_EQ(announced, std::to_string(full));
  EXPECT_GT(received, 0u);
  EXPECT_LT(received, full);
  EXPECT_EQ(received, full / 2);
}

TEST_F(HostTest, RedirectFaultsAndRedirectPathsMakeChainsOfTheAskedLength) {
  Start();
  const BlogGenerator gen = Generator();
  Status("/_control/fault?path=/alice/blog/index/0&kind=redirect:3");
  std::vector<std::string> hops;
  auto r = Follow("/alice/blog/index/0", hops);
  ASSERT_TRUE(r);
  EXPECT_EQ(hops.size(), 3u);
  EXPECT_EQ(r->status, 200);
  EXPECT_EQ(r->body, gen.ListPageHtml("alice", 0));

  // The album address keeps its encoded segment through the chain.
  Status("/_control/fault?path=" + kAlbum0 + "&kind=redirect:1");
  hops.clear();
  r = Follow(kAlbum0, hops);
  ASSERT_TRUE(r);
  EXPECT_EQ(hops.size(), 1u);
  EXPECT_EQ(r->body, gen.AlbumPageHtml("alice", 0));

  hops.clear();
  r = Follow("/_redirect/2?to=/alice/blog/index/1", hops);
  ASSERT_TRUE(r);
  EXPECT_EQ(hops, (std::vector<std::string>{"redirect 2\n", "redirect 1\n", "redirect 0\n"}));
  EXPECT_EQ(r->body, gen.ListPageHtml("alice", 1));
  hops.clear();
  r = Follow("/_redirect/0?to=/alice/blog/index/2", hops);
  EXPECT_EQ(hops, std::vector<std::string>{"redirect 0\n"});
  EXPECT_EQ(r->body, gen.ListPageHtml("alice", 2));
}

TEST_F(HostTest, FlakyPathsFailTheFirstTimesOnly) {
  Start();
  Status("/_control/fault?path=/alice/blog/index/0&kind=flaky:2");
  EXPECT_EQ(Status("/alice/blog/index/0"), 503);
  EXPECT_EQ(Status("/alice/blog/index/0"), 503);
  EXPECT_EQ(Status("/alice/blog/index/0"), 200);
  EXPECT_EQ(Status("/alice/blog/index/0"), 200);
  // Setting the fault again starts counting again.
  Status("/_control/fault?path=/alice/blog/index/0&kind=flaky:1");
  EXPECT_EQ(Status("/alice/blog/index/0"), 503);
  EXPECT_EQ(Status("/alice/blog/index/0"), 200);
}

TEST_F(HostTest, StatsCountRequestsThatWaitInLatencyOrStallAtOnce) {
  Start();
  const auto stats = [&] { return Body("/_control/stats"); };
  const auto parallel = [&](const std::string& path, int n, std::vector<int>& statuses) {
    std::vector<std::thread> clients;
    statuses.assign(static_cast<size_t>(n), 0);
    for (int i = 0; i < n; ++i) {
      clients.emplace_back(
          [this, path, &statuses, i] { statuses[static_cast<size_t>(i)] = Status(path); });
    }
    return clients;
  };
  // Latency: every request waits; lowering it releases them all.
  Status("/_control/set?latency=600000");
  std::vector<int> statuses;
  auto clients = parallel("/alice/blog/index/0", 6, statuses);
  WaitUntil([&] { return stats().find("current=6\n") != std::string::npos; });
  EXPECT_EQ(Status("/_control/set?latency=0"), 200);
  for (auto& t : clients)
    t.join();
  EXPECT_EQ(statuses, std::vector<int>(6, 200));
  EXPECT_EQ(stats(), "requests=6\nmax_concurrent=6\ncurrent=0\n");

  // Stall: the same with the stall time.
  Status("/_control/reset-stats");
  EXPECT_EQ(stats(), "requests=0\nmax_concurrent=0\ncurrent=0\n");
  Status("/_control/fault?path=/alice/blog/index/1&kind=stall");
  clients = parallel("/alice/blog/index/1", 4, statuses);
  WaitUntil([&] { return stats().find("current=4\n") != std::string::npos; });
  Status("/_control/set?stall-ms=0");
  for (auto& t : clients)
    t.join();
  EXPECT_EQ(statuses, std::vector<int>(4, 200));
  EXPECT_EQ(stats(), "requests=4\nmax_concurrent=4\ncurrent=0\n");
}

TEST_F(HostTest, LatencyDelaysEveryAnswerButNotTheControlEndpoints) {
  HostConfig c;
  c.latencyMs = 600000;
  Start(c);
  std::atomic<int> status{0};
  std::thread client([&] { status = Status("/alice/blog/index/0"); });
  // The page is held back by the latency...
  WaitUntil([&] { return host->Stats().current == 1; });
  // ...while the control endpoints answer at once (a held one would time out the client).
  EXPECT_NE(Body("/_control/settings").find("latency=600000\n"), std::string::npos);
  EXPECT_EQ(status, 0) << "the page was answered before its latency";
  EXPECT_EQ(host->Stats().current, 1);
  // Taking the latency away lets the held page go.
  EXPECT_EQ(Status("/_control/set?latency=0"), 200);
  client.join();
  EXPECT_EQ(status, 200);
}

TEST_F(HostTest, StopEndsStalledRequests) {
  HostConfig c;
  c.faults.push_back({"/alice/blog/index/0", Fault{Fault::Kind::kStall, 0}});
  Start(c);
  int status = 0;
  std::thread client([&] { status = Status("/alice/blog/index/0"); });
  WaitUntil([&] { return host->Stats().current == 1; });
  host->Stop();
  client.join();
  EXPECT_NE(status, 200);
}

TEST_F(HostTest, CharsetsOfPagesAndOfTheCharsetPaths) {
  HostConfig c;
  c.blog.charset = "gbk";
  Start(c);
  const BlogGenerator gen = Generator(c.blog);
  auto page = Get("/alice/blog/index/0");
  ASSERT_TRUE(page);
  EXPECT_EQ(page->get_header_value("Content-Type"), "text/html; charset=gbk");
  EXPECT_EQ(page->body, ToGbk(gen.ListPageHtml("alice", 0)));
  Status("/_control/fault?path=/alice/blog/index/0&kind=wrong-charset");
  EXPECT_EQ(Get("/alice/blog/index/0")->get_header_value("Content-Type"),
            "text/html; charset=utf-8");
  Status("/_control/set?charset-param=0");
  EXPECT_EQ(Get("/alice/blog/index/1")->get_header_value("Content-Type"), "text/html");
  Status("/_control/set?claim-charset=big5");
  EXPECT_EQ(Get("/alice/blog/index/1")->get_header_value("Content-Type"),
            "text/html; charset=big5");
  EXPECT_EQ(Status("/_control/set?charset=latin9"), 400);

  auto gbk = Get("/_charset/gbk");
  ASSERT_TRUE(gbk);
  EXPECT_EQ(gbk->get_header_value("Content-Type"), "text/plain; charset=gbk");
  EXPECT_EQ(gbk->body, ToGbk(std::string(kCharsetSample)));
  auto latin = Get("/_charset/iso-8859-1?param=0");
  EXPECT_EQ(latin->get_header_value("Content-Type"), "text/plain");
  EXPECT_NE(latin->body.find("caf\xE9 \xFC"
                             "ber"),
            std::string::npos);
  EXPECT_EQ(latin->body.find("\xE4"), std::string::npos);  // Chinese became "?"
  auto unknown = Get("/_charset/x-no-such-set");
  EXPECT_EQ(unknown->get_header_value("Content-Type"), "text/plain; charset=x-no-such-set");
  EXPECT_EQ(unknown->body, kCharsetSample);
}

TEST_F(HostTest, ControlSetChangesTheBlogAndRejectsBadValues) {
  Start();
  EXPECT_EQ(Status("/_control/set?articles=3&page-size=2&pictures=0"), 200);
  const auto entries = [&](int page) {
    const std::string body = Body("/u/blog/index/" + std::to_string(page));
    int n = -1;  // the decoy
    for (size_t at = body.find(kListMarker); at != std::string::npos;
         at = body.find(kListMarker, at + 1)) {
      ++n;
    }
    return n;
  };
  EXPECT_EQ(entries(0), 2);
  EXPECT_EQ(entries(1), 1);
  EXPECT_EQ(entries(2), 0);
  EXPECT_EQ(Body(kAlbum0).find("psrc:\"http://127"), std::string::npos);
  EXPECT_EQ(Status("/_control/set?articles=many"), 400);
  EXPECT_EQ(Status("/_control/set?page-size=0"), 400);
  EXPECT_EQ(Status("/_control/set?colour=blue"), 400);
  EXPECT_EQ(entries(0), 2);
  EXPECT_NE(Body("/_control/settings").find("articles=3\npage-size=2\npictures=0\n"),
            std::string::npos);
  EXPECT_EQ(Status("/_control/nothing"), 404);
}

TEST_F(HostTest, EchoShowsTheRequestAndBytesAreDeterministic) {
  Start();
  auto echo = Client().Get("/_echo?q=1", {{"X-Probe", "42"}});
  ASSERT_TRUE(echo);
  EXPECT_TRUE(echo->body.starts_with("GET /_echo?q=1 HTTP/1.1\n")) << echo->body;
  EXPECT_NE(echo->body.find("X-Probe: 42\n"), std::string::npos);
  EXPECT_NE(echo->body.find("Accept-Encoding: identity\n"), std::string::npos);
  EXPECT_EQ(echo->body.find("REMOTE_ADDR"), std::string::npos);

  const std::string bytes = Body("/_bytes/300001");
  ASSERT_EQ(bytes.size(), 300001u);
  for (size_t i = 0; i < bytes.size(); ++i)
    ASSERT_EQ(bytes[i], GeneratedByte(i)) << i;
  EXPECT_EQ(Body("/_bytes/0"), "");
  EXPECT_EQ(Status("/_bytes/lots"), 404);
  Status("/_control/fault?path=/_bytes/*&kind=reset");
  size_t received = 0;
  auto cut = Client().Get("/_bytes/100000", [&](const char*, size_t n) {
    received += n;
    return true;
  });
  EXPECT_FALSE(cut);
  EXPECT_EQ(received, 50000u);
}

TEST_F(HostTest, HttpsListenerServesPagesWithHttpsAddresses) {
  namespace fs = std::filesystem;
  const fs::path dir = fs::temp_directory_path() / ("samplehost-tls-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::string cert = (dir / "cert.pem").string(), key = (dir / "key.pem").string();
  const std::string make =
      "openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=127.0.0.1"
      " -keyout " +
      key + " -out " + cert + " >/dev/null 2>&1";
  if (std::system(make.c_str()) != 0) {
    fs::remove_all(dir);
    GTEST_SKIP() << "openssl cannot make a certificate here";
  }
  HostConfig c;
  c.httpsPort = 0;
  c.certFile = cert;
  c.keyFile = key;
  Start(c);
  fs::remove_all(dir);
  const std::string https = host->HttpsUrl();
  ASSERT_TRUE(https.starts_with("https://127.0.0.1:"));
  EXPECT_NE(host->PortFileText().find("https=" + https + "\n"), std::string::npos);
  httplib::SSLClient cli("127.0.0.1", std::stoi(https.substr(https.rfind(':') + 1)));
  cli.enable_server_certificate_verification(false);
  auto album = cli.Get(kAlbum0.c_str());
  ASSERT_TRUE(album);
  EXPECT_EQ(album->status, 200);
  EXPECT_NE(album->body.find("psrc:\"" + https + "/alice/pic/abpic/"), std::string::npos);
}

TEST_F(HostTest, MissingCertificateOrBusyPortFailsToStart) {
  HostConfig c;
  c.httpsPort = 0;
  c.certFile = "/nonexistent/cert.pem";
  c.keyFile = "/nonexistent/key.pem";
  SampleHost tls(c);
  std::string error;
  EXPECT_FALSE(tls.Start(error));
  EXPECT_NE(error.find("certificate"), std::string::npos);

  Start();
  HostConfig same;
  same.port = std::stoi(host->BlogUrl().substr(host->BlogUrl().rfind(':') + 1));
  SampleHost second(same);
  EXPECT_FALSE(second.Start(error));
  EXPECT_NE(error.find("cannot listen"), std::string::npos);
}

TEST(HostCommandLine, ReadsEveryOption) {
  HostConfig c;
  ASSERT_EQ(ParseCommandLine({"--port",
                              "8080",
                              "--photo-port=0",
                              "--port-file",
                              "/tmp/p",
                              "--articles",
                              "40",
                              "--page-size",
                              "5",
                              "--pictures",
                              "0",
                              "--album-page-size",
                              "3",
                              "--no-odd-titles",
                              "--charset",
                              "gbk",
                              "--no-charset-param",
                              "--claim-charset",
                              "big5",
                              "--latency",
                              "7",
                              "--stall-ms",
                              "9",
                              "--log",
                              "--threads",
                              "16",
                              "--fault",
                              "/a/blog/index/0=flaky:3",
                              "--fault=/b=redirect:2",
                              "--fault",
                              "/c=wrong-charset"},
                             c),
            "");
  EXPECT_EQ(c.port, 8080);
  EXPECT_EQ(c.photoPort, 0);
  EXPECT_EQ(c.portFile, "/tmp/p");
  EXPECT_EQ(c.blog.articles, 40);
  EXPECT_EQ(c.blog.pageSize, 5);
  EXPECT_EQ(c.blog.pictures, 0);
  EXPECT_EQ(c.blog.albumPageSize, 3);
  EXPECT_FALSE(c.blog.oddTitles);
  EXPECT_EQ(c.blog.charset, "gbk");
  EXPECT_FALSE(c.blog.charsetParam);
  EXPECT_EQ(c.blog.claimedCharset, "big5");
  EXPECT_EQ(c.latencyMs, 7);
  EXPECT_EQ(c.stallMs, 9);
  EXPECT_TRUE(c.log);
  EXPECT_EQ(c.threads, 16);
  ASSERT_EQ(c.faults.size(), 3u);
  EXPECT_EQ(c.faults[0].first, "/a/blog/index/0");
  EXPECT_EQ(FaultName(c.faults[0].second), "flaky:3");
  EXPECT_EQ(FaultName(c.faults[1].second), "redirect:2");
  EXPECT_EQ(FaultName(c.faults[2].second), "wrong-charset");
  EXPECT_EQ(c.httpsPort, -1);
}

TEST(HostCommandLine, RejectsBadOptions) {
  const std::vector<std::vector<std::string>> bad = {{"--charset", "latin1"},
                                                     {"--fault", "/a=teapot"},
                                                     {"--fault", "a=404"},
                                                     {"--fault", "/a"},
                                                     {"--fault", "/a=redirect:0"},
                                                     {"--port"},
                                                     {"--port", "70000"},
                                                     {"--articles", "-1"},
                                                     {"--https-port", "0"},
                                                     {"--bogus"},
                                                     {"--log=1"},
                                                     {"--page-size", "0"},
                                                     {"--port", "9000", "--photo-port", "9000"}};
  for (const auto& args : bad) {
    HostConfig c;
    EXPECT_NE(ParseCommandLine(args, c), "") << args[0];
  }
  HostConfig c;
  EXPECT_EQ(ParseCommandLine({"--help"}, c), "help");
  for (const std::string kind :
       {"404", "500", "503", "429", "reset", "stall", "flaky:0", "redirect:14", "wrong-charset"}) {
    Fault f;
    ASSERT_TRUE(ParseFault(kind, f)) << kind;
    EXPECT_EQ(FaultName(f), kind);
  }
}

}  // namespace
}  // namespace samplehost
