// Shared pieces of the fetch tests: the sample host's addresses, its control endpoints and
// the data it serves.
#pragma once

#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/win/http/Http.h"

namespace lbb::win::testing {

// SAMPLEHOST_BLOG, or SAMPLEHOST_HTTPS for `Https`; "" when not set.
String BlogSite();
String HttpsSite();

// Address of `path` on the blog site.
String Blog(std::u16string_view path);

// GET of a /_control/ command (e.g. u"clear-faults"); true when the host answered 200.
bool Control(std::u16string_view command);

// Makes the host answer `path` with the fault `kind` (404, reset, stall, flaky:2, ...).
bool SetFault(std::u16string_view path, std::u16string_view kind);

// The first `n` bytes that /_bytes/<n> serves.
std::string GeneratedBytes(size_t n);

// The text that /_charset/<name> serves, encoded in <name>.
String CharsetSample();

// Number of files and sockets the process has open, read from Wine's view of /proc (Z: is
// the Unix root); -1 where that cannot be read.
int OpenFileCount();

// The request that /_echo saw: its request line and its headers by lower-case name.
struct Echo {
  std::string requestLine;
  std::multimap<std::string, std::string> headers;
  std::string Header(const std::string& lowerName) const;
};
Echo ParseEcho(const std::string& body);

// A port on 127.0.0.1 on which nothing listens.
int ClosedPort();

// Clears the faults of the host before each test.
class SampleHostTest : public ::testing::Test {
 protected:
  void SetUp() override;
};

}  // namespace lbb::win::testing
