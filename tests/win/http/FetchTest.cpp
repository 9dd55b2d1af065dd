// Fetches against the sample host that succeed: request form, redirects, charsets, large
// bodies, HTTPS and many threads.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "app/win/http/DecodeCharset.h"
#include "app/win/http/Http.h"
#include "tests/win/http/FetchSupport.h"

namespace lbb::win::testing {
namespace {

std::string HostOf(const String& site) {
  return TextToUtf8(site.substr(site.find(u"://") + 3));
}

using FetchTest = SampleHostTest;

TEST_F(FetchTest, SendsOnlyTheFixedRequestHeaders) {
  const FetchResult r = HttpGet(Blog(u"/_echo"));
  ASSERT_TRUE(r.ok()) << FetchStatusName(r.status);
  const Echo echo = ParseEcho(r.body);
  EXPECT_EQ(echo.requestLine, "GET /_echo HTTP/1.1");
  EXPECT_EQ(echo.Header("host"), HostOf(BlogSite()));
  EXPECT_EQ(echo.Header("accept"), "text/html, */*");
  EXPECT_EQ(echo.Header("accept-encoding"), "identity");
  EXPECT_EQ(echo.Header("user-agent"), "Mozilla/3.0 (compatible; Indy Library)");
  // Nothing else: no Connection, Cookie, Referer, credentials or proxy headers.
  EXPECT_EQ(echo.headers.size(), 4u) << r.body;
  for (const char* name : {"cookie", "referer", "authorization", "proxy-authorization"}) {
    EXPECT_EQ(echo.headers.count(name), 0u) << name;
  }
}

TEST_F(FetchTest, AddressesGoOutUnchangedExceptForNonAsciiAndFragments) {
  const auto requestLine = [](std::u16string_view path) {
    return ParseEcho(HttpGet(Blog(path)).body).requestLine;
  };
  EXPECT_EQ(requestLine(u"/_echo?q=%41%2f&r=/x/../y"), "GET /_echo?q=%41%2f&r=/x/../y HTTP/1.1");
  EXPECT_EQ(requestLine(u"/_echo?who=张三&x=a b"),
            "GET /_echo?who=%E5%BC%A0%E4%B8%89&x=a%20b HTTP/1.1");
  EXPECT_EQ(requestLine(u"/_echo#section"), "GET /_echo HTTP/1.1");
  // The host reads the path as UTF-8 and names the user on the page.
  const String page = FetchText(Blog(u"/张三/blog/index/0"));
  EXPECT_NE(TextPos(u"张三", page), 0) << TextToUtf8(page.substr(0, 300));
}

TEST_F(FetchTest, FourteenRedirectsAreFollowed) {
  const FetchResult r = HttpGet(Blog(u"/_redirect/13?to=/_bytes/300"));
  EXPECT_EQ(r.status, FetchStatus::kOk) << FetchStatusName(r.status);
  EXPECT_EQ(r.httpStatus, 200);
  EXPECT_EQ(r.redirects, 14);
  EXPECT_TRUE(r.body == GeneratedBytes(300));
}

TEST_F(FetchTest, TheFifteenthRedirectAnswerEndsTheFetchAsItsResult) {
  // Chains of 15, 16 and 40 redirect answers all end at the 15th, which is no failure.
  for (int chain : {15, 16, 40}) {
    const String n = IntToText(chain - 1);
    const FetchResult r = HttpGet(Blog(u"/_redirect/" + n + u"?to=/_bytes/300"));
    EXPECT_EQ(r.status, FetchStatus::kOk) << chain;
    EXPECT_EQ(r.httpStatus, 302) << chain;
    EXPECT_EQ(r.redirects, 14) << chain;
    EXPECT_EQ(r.body, "redirect " + std::to_string(chain - 15) + "\n") << chain;
  }
  EXPECT_EQ(FetchText(Blog(u"/_redirect/14?to=/_bytes/300")), u"redirect 0\n");
  EXPECT_EQ(FetchBytes(Blog(u"/_redirect/15?to=/_bytes/300")), "redirect 1\n");
}

TEST_F(FetchTest, TheRedirectLimitComesFromTheOptions) {
  HttpOptions options;
  options.redirectMax = 3;
  FetchResult r = HttpGet(Blog(u"/_redirect/5?to=/_bytes/10"), options);
  EXPECT_EQ(r.body, "redirect 3\n");
  EXPECT_EQ(r.redirects, 2);
  options.redirectMax = 1;
  r = HttpGet(Blog(u"/_redirect/5?to=/_bytes/10"), options);
  EXPECT_EQ(r.status, FetchStatus::kOk);
  EXPECT_EQ(r.body, "redirect 5\n");
  EXPECT_EQ(r.redirects, 0);
}

TEST_F(FetchTest, RelativeAndAbsoluteLocationsAreResolved) {
  FetchResult r = HttpGet(Blog(u"/_redirect/1?to=../_bytes/7"));
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.redirects, 2);
  EXPECT_EQ(r.body, GeneratedBytes(7));
  r = HttpGet(Blog(u"/_redirect/0?to=") + Blog(u"/_bytes/9"));
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.body, GeneratedBytes(9));
  ASSERT_TRUE(SetFault(u"/alice/blog/index/0", u"redirect:3"));
  r = HttpGet(Blog(u"/alice/blog/index/0"));
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.redirects, 3);
  EXPECT_NE(TextPos(u"alice", DecodeCharset(r.body, r.charset)), 0);
}

// `text` is the charset sample with some characters, which the charset lacks, as "?"; the
// characters of `kept` come through unchanged.
void ExpectSample(const String& text, std::u16string_view kept, const char* charset) {
  const String sample = CharsetSample();
  ASSERT_EQ(text.size(), sample.size()) << charset << ": " << TextToUtf8(text);
  for (size_t i = 0; i < sample.size(); ++i) {
    EXPECT_TRUE(text[i] == sample[i] || text[i] == u'?') << charset << " at " << i;
  }
  for (char16_t c : kept)
    EXPECT_NE(text.find(c), String::npos) << charset << " lost " << int(c);
}

TEST_F(FetchTest, BodiesAreDecodedByTheAnswersCharset) {
  for (const char* name : {"utf-8", "gb18030"}) {
    const FetchResult r = HttpGet(Blog(u"/_charset/") + Utf8ToText(name));
    ASSERT_TRUE(r.ok()) << name;
    EXPECT_EQ(r.charset, name);
    EXPECT_EQ(DecodeCharset(r.body, r.charset), CharsetSample()) << name;
  }
  ExpectSample(FetchText(Blog(u"/_charset/gbk")), u"中文编码测试：汉字与标点。éü", "gbk");
  ExpectSample(FetchText(Blog(u"/_charset/GB2312")), u"中文编码测试：汉字与标点。", "gb2312");
  ExpectSample(FetchText(Blog(u"/_charset/big5")), u"中文字：。", "big5");
  ExpectSample(FetchText(Blog(u"/_charset/shift_jis")), u"中文字：。", "shift_jis");
  ExpectSample(FetchText(Blog(u"/_charset/iso-8859-1")), u"éü", "iso-8859-1");
}

TEST_F(FetchTest, WithoutAKnownCharsetEveryByteIsOneCharacter) {
  const FetchResult bare = HttpGet(Blog(u"/_charset/gbk?param=0"));
  ASSERT_TRUE(bare.ok());
  EXPECT_EQ(bare.charset, "");
  EXPECT_FALSE(bare.body.empty());
  EXPECT_EQ(FetchText(Blog(u"/_charset/gbk?param=0")), Latin1ToText(bare.body));
  EXPECT_NE(FetchText(Blog(u"/_charset/gbk")), Latin1ToText(bare.body));
  const FetchResult unknown = HttpGet(Blog(u"/_charset/x-klingon"));
  ASSERT_TRUE(unknown.ok());
  EXPECT_EQ(unknown.charset, "x-klingon");
  EXPECT_EQ(FetchText(Blog(u"/_charset/x-klingon")), Latin1ToText(unknown.body));
}

TEST_F(FetchTest, ABigDownloadArrivesIntact) {
  const FetchResult r = HttpGet(Blog(u"/_bytes/5000000"));
  ASSERT_TRUE(r.ok()) << FetchStatusName(r.status);
  ASSERT_EQ(r.body.size(), 5000000u);
  EXPECT_TRUE(r.body == GeneratedBytes(5000000));
  EXPECT_TRUE(FetchBytes(Blog(u"/_bytes/5000000")) == r.body);
}

TEST_F(FetchTest, HttpsWithASelfSignedCertificate) {
  if (HttpsSite().empty()) GTEST_SKIP() << "the host has no HTTPS listener";
  HttpOptions trusting;
  trusting.ignoreCertErrors = true;
  FetchResult r = HttpGet(HttpsSite() + u"/_echo", trusting);
  ASSERT_TRUE(r.ok()) << FetchStatusName(r.status);
  const Echo echo = ParseEcho(r.body);
  EXPECT_EQ(echo.requestLine, "GET /_echo HTTP/1.1");
  EXPECT_EQ(echo.Header("host"), HostOf(HttpsSite()));
  EXPECT_EQ(echo.Header("user-agent"), "Mozilla/3.0 (compatible; Indy Library)");
  r = HttpGet(HttpsSite() + u"/_redirect/2?to=/_bytes/100000", trusting);
  EXPECT_TRUE(r.ok());
  EXPECT_EQ(r.redirects, 3);
  EXPECT_TRUE(r.body == GeneratedBytes(100000));
  // Without the test switch the unknown certificate is refused.
  r = HttpGet(HttpsSite() + u"/_echo");
  EXPECT_EQ(r.status, FetchStatus::kConnectFailed) << FetchStatusName(r.status);
  EXPECT_TRUE(r.body.empty());
}

TEST_F(FetchTest, ManyThreadsFetchAtOnce) {
  WinPageSource source;
  const String sample = CharsetSample();
  std::atomic<int> good{0};
  std::vector<std::thread> threads;
  constexpr int kThreads = 16, kRounds = 3;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&source, &good, &sample, t] {
      for (int round = 0; round < kRounds; ++round) {
        const size_t n = 20000 + static_cast<size_t>(t * 1000 + round);
        const FetchResult r = source.Fetch(Blog(u"/_bytes/") + IntToText(int64_t(n)));
        const String page = source.Decode(HttpGet(Blog(u"/_charset/utf-8")).body, "utf-8");
        if (r.ok() && r.body == GeneratedBytes(n) && page == sample) ++good;
      }
    });
  }
  for (std::thread& thread : threads)
    thread.join();
  EXPECT_EQ(good.load(), kThreads * kRounds);
}

}  // namespace
}  // namespace lbb::win::testing
