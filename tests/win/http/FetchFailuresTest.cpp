// Fetches that fail: error statuses, unreachable hosts, bad addresses, broken transfers and
// time-outs, and that none of them leaves a connection open.
#include <gtest/gtest.h>

#include <string>

#include "app/win/http/Http.h"
#include "tests/win/http/FetchSupport.h"

namespace lbb::win::testing {
namespace {

using FetchFailureTest = SampleHostTest;

String AddressOnPort(int port) {
  return u"http://127.0.0.1:" + IntToText(port) + u"/x";
}

TEST_F(FetchFailureTest, ErrorStatusesGiveNoBody) {
  for (const char16_t* status : {u"404", u"500", u"503", u"429"}) {
    const String path = u"/fail/" + String(status);
    ASSERT_TRUE(SetFault(path, status));
    const FetchResult r = HttpGet(Blog(path));
    EXPECT_EQ(r.status, FetchStatus::kHttpError) << TextToUtf8(status);
    EXPECT_EQ(IntToText(r.httpStatus), status);
    EXPECT_TRUE(r.body.empty()) << r.body;
    EXPECT_EQ(r.retryable(), r.httpStatus != 404) << r.httpStatus;
    EXPECT_EQ(FetchText(Blog(path)), u"");
    EXPECT_EQ(FetchBytes(Blog(path)), "");
  }
  // A path the host does not serve at all.
  const FetchResult missing = HttpGet(Blog(u"/_bytes/many"));
  EXPECT_EQ(missing.status, FetchStatus::kHttpError);
  EXPECT_EQ(missing.httpStatus, 404);
  EXPECT_TRUE(missing.body.empty());
}

TEST_F(FetchFailureTest, UnreachableHostsGiveNothing) {
  const int port = ClosedPort();
  ASSERT_NE(port, 0) << "no free port found";
  const String closed = AddressOnPort(port);
  const FetchResult r = HttpGet(closed);
  EXPECT_EQ(r.status, FetchStatus::kConnectFailed) << FetchStatusName(r.status);
  EXPECT_EQ(r.httpStatus, 0);
  EXPECT_TRUE(r.body.empty());
  EXPECT_EQ(FetchText(closed), u"");
  EXPECT_EQ(FetchBytes(closed), "");
  // A redirect to the closed port: the fetch fails after one followed redirect.
  const FetchResult redirected = HttpGet(Blog(u"/_redirect/0?to=") + closed);
  EXPECT_EQ(redirected.status, FetchStatus::kConnectFailed);
  EXPECT_EQ(redirected.httpStatus, 302);
  EXPECT_EQ(redirected.redirects, 1);
  EXPECT_TRUE(redirected.body.empty());
}

TEST_F(FetchFailureTest, UnusableAddresses) {
  for (const char16_t* url : {u"", u"not an address", u"ftp://127.0.0.1/x", u"mailto:a@b",
                              u"http://", u"/alice/blog/index/0"}) {
    const FetchResult r = HttpGet(url);
    EXPECT_EQ(r.status, FetchStatus::kBadAddress) << TextToUtf8(url);
    EXPECT_EQ(FetchText(url), u"");
  }
}

TEST_F(FetchFailureTest, ABrokenTransferKeepsTheBytesThatArrived) {
  ASSERT_TRUE(SetFault(u"/_bytes/200000", u"reset"));
  const FetchResult r = HttpGet(Blog(u"/_bytes/200000"));
  EXPECT_EQ(r.status, FetchStatus::kTransferFailed) << FetchStatusName(r.status);
  EXPECT_EQ(r.httpStatus, 200);
  EXPECT_GT(r.body.size(), 0u);
  EXPECT_LT(r.body.size(), 200000u);
  EXPECT_TRUE(r.body == GeneratedBytes(r.body.size()));
  EXPECT_TRUE(r.retryable());
  const std::string bytes = FetchBytes(Blog(u"/_bytes/200000"));
  EXPECT_FALSE(bytes.empty());
  EXPECT_TRUE(bytes == GeneratedBytes(bytes.size()));
  EXPECT_EQ(FetchText(Blog(u"/_bytes/200000")), u"");
}

TEST_F(FetchFailureTest, AStalledAnswerTimesOut) {
  ASSERT_TRUE(SetFault(u"/_bytes/10", u"stall"));
  HttpOptions impatient;
  impatient.receiveTimeoutMs = 300;
  const FetchResult r = HttpGet(Blog(u"/_bytes/10"), impatient);
  EXPECT_EQ(r.status, FetchStatus::kTimedOut) << FetchStatusName(r.status);
  EXPECT_TRUE(r.body.empty());
  EXPECT_TRUE(r.retryable());
  ASSERT_TRUE(Control(u"clear-faults"));
  EXPECT_TRUE(HttpGet(Blog(u"/_bytes/10"), impatient).ok());
}

TEST_F(FetchFailureTest, NoPathLeavesAConnectionOpen) {
  ASSERT_TRUE(SetFault(u"/leak/404", u"404"));
  ASSERT_TRUE(SetFault(u"/_bytes/50000", u"reset"));
  ASSERT_TRUE(SetFault(u"/_bytes/11", u"stall"));
  HttpOptions impatient;
  impatient.receiveTimeoutMs = 200;
  const int port = ClosedPort();
  ASSERT_NE(port, 0) << "no free port found";
  const String closed = AddressOnPort(port);
  const auto fetchAll = [&] {
    HttpGet(Blog(u"/_redirect/3?to=/_bytes/1000"));
    HttpGet(Blog(u"/_redirect/20?to=/_bytes/1000"));
    HttpGet(Blog(u"/leak/404"));
    HttpGet(Blog(u"/_bytes/50000"));
    HttpGet(Blog(u"/_bytes/11"), impatient);
    HttpGet(closed);
    HttpGet(u"ftp://127.0.0.1/");
  };
  fetchAll();  // WinHTTP and Winsock set up what they keep for the process
  const int before = OpenFileCount();
  if (before < 0) GTEST_SKIP() << "the open files of the process cannot be counted here";
  for (int i = 0; i < 10; ++i)
    fetchAll();
  const int after = OpenFileCount();
  // Every fetch of a round opens a socket; one that stayed open would show ten times over.
  EXPECT_LT(after, before + 5) << before << " -> " << after;
}

}  // namespace
}  // namespace lbb::win::testing
