#include "app/http/Address.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace lbb::http {
namespace {

std::string Utf8(const String& t) {
  return TextToUtf8(t);
}

struct Case {
  const char16_t* ref;
  const char* want;
};

void ExpectResolved(const String& base, std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8(ResolveReference(base, c.ref)), c.want) << Utf8(c.ref);
  }
}

// Base of the examples of RFC 3986, section 5.4.
constexpr char16_t kRfcBase[] = u"http://a/b/c/d;p?q";

TEST(RequestAddress, KeepsAsciiAddressesUnchanged) {
  for (const char16_t* url :
       {u"http://127.0.0.1:8080/user/blog/index/0", u"https://h/a/b.html?x=1&y=%20z", u"http://h",
        u"http://h?q", u"http://h/%C4%AC%C8%CF/index/3", u"http://h/a|b{c}\"<>"}) {
    EXPECT_EQ(Utf8(RequestAddress(url)), Utf8(url));
  }
}

TEST(RequestAddress, EscapesNonAsciiAsUtf8) {
  EXPECT_EQ(Utf8(RequestAddress(u"http://h:1/张三/blog/index/0")),
            "http://h:1/%E5%BC%A0%E4%B8%89/blog/index/0");
  EXPECT_EQ(Utf8(RequestAddress(u"http://h/a?q=é")), "http://h/a?q=%C3%A9");
  EXPECT_EQ(Utf8(RequestAddress(u"http://h/\U0001F600")), "http://h/%F0%9F%98%80");
  // An unpaired surrogate cannot be encoded; it goes out as U+FFFD.
  EXPECT_EQ(Utf8(RequestAddress(String(u"http://h/x") + char16_t(0xD800))), "http://h/x%EF%BF%BD");
}

TEST(RequestAddress, EscapesBlanksAndControlCharacters) {
  EXPECT_EQ(Utf8(RequestAddress(u"http://h/a b\tc")), "http://h/a%20b%09c");
  EXPECT_EQ(Utf8(RequestAddress(String(u"http://h/a\r\nX: y") + char16_t(0x7F))),
            "http://h/a%0D%0AX:%20y%7F");
  EXPECT_EQ(Utf8(RequestAddress(String(u"http://h/a\0b", 12))), "http://h/a%00b");
}

TEST(RequestAddress, DropsTheFragment) {
  EXPECT_EQ(Utf8(RequestAddress(u"http://h/a#top")), "http://h/a");
  EXPECT_EQ(Utf8(RequestAddress(u"http://h/a?x=1#y?z")), "http://h/a?x=1");
  EXPECT_EQ(Utf8(RequestAddress(u"http://h#x")), "http://h");
}

TEST(RequestAddress, LeavesTheHostAlone) {
  EXPECT_EQ(Utf8(RequestAddress(u"http://bücher.example/ä")), "http://bücher.example/%C3%A4");
}

TEST(ResolveReference, NormalExamples) {
  ExpectResolved(kRfcBase, {
                               {u"g:h", "g:h"},
                               {u"g", "http://a/b/c/g"},
                               {u"./g", "http://a/b/c/g"},
                               {u"g/", "http://a/b/c/g/"},
                               {u"/g", "http://a/g"},
                               {u"//g", "http://g"},
                               {u"?y", "http://a/b/c/d;p?y"},
                               {u"g?y", "http://a/b/c/g?y"},
                               {u"#s", "http://a/b/c/d;p?q#s"},
                               {u"g#s", "http://a/b/c/g#s"},
                               {u"g?y#s", "http://a/b/c/g?y#s"},
                               {u";x", "http://a/b/c/;x"},
                               {u"g;x", "http://a/b/c/g;x"},
                               {u"g;x?y#s", "http://a/b/c/g;x?y#s"},
                               {u"", "http://a/b/c/d;p?q"},
                               {u".", "http://a/b/c/"},
                               {u"./", "http://a/b/c/"},
                               {u"..", "http://a/b/"},
                               {u"../", "http://a/b/"},
                               {u"../g", "http://a/b/g"},
                               {u"../..", "http://a/"},
                               {u"../../", "http://a/"},
                               {u"../../g", "http://a/g"},
                           });
}

TEST(ResolveReference, AbnormalExamples) {
  ExpectResolved(kRfcBase, {
                               {u"../../../g", "http://a/g"},
                               {u"../../../../g", "http://a/g"},
                               {u"/./g", "http://a/g"},
                               {u"/../g", "http://a/g"},
                               {u"g.", "http://a/b/c/g."},
                               {u".g", "http://a/b/c/.g"},
                               {u"g..", "http://a/b/c/g.."},
                               {u"..g", "http://a/b/c/..g"},
                               {u"./../g", "http://a/b/g"},
                               {u"./g/.", "http://a/b/c/g/"},
                               {u"g/./h", "http://a/b/c/g/h"},
                               {u"g/../h", "http://a/b/c/h"},
                               {u"g;x=1/./y", "http://a/b/c/g;x=1/y"},
                               {u"g;x=1/../y", "http://a/b/c/y"},
                               {u"g?y/./x", "http://a/b/c/g?y/./x"},
                               {u"g?y/../x", "http://a/b/c/g?y/../x"},
                               {u"g#s/./x", "http://a/b/c/g#s/./x"},
                               {u"g#s/../x", "http://a/b/c/g#s/../x"},
                               {u"http:g", "http:g"},
                           });
}

TEST(ResolveReference, LocationHeadersAsServersSendThem) {
  const String base = u"http://127.0.0.1:4000/_redirect/3?to=/u/blog/index/0";
  EXPECT_EQ(Utf8(ResolveReference(base, u"/_redirect/2?to=/u/blog/index/0")),
            "http://127.0.0.1:4000/_redirect/2?to=/u/blog/index/0");
  EXPECT_EQ(Utf8(ResolveReference(base, u"  https://other:8443/x \r\n")), "https://other:8443/x");
  EXPECT_EQ(Utf8(ResolveReference(u"http://h", u"g")), "http://h/g");
  EXPECT_EQ(Utf8(ResolveReference(u"http://h/张三/blog/index/0", u"1")),
            "http://h/张三/blog/index/1");
  // The base's fragment never carries over.
  EXPECT_EQ(Utf8(ResolveReference(u"http://h/a#f", u"b")), "http://h/b");
}

}  // namespace
}  // namespace lbb::http
