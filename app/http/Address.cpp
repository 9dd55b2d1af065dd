#include "app/http/Address.h"

#include <optional>

namespace lbb::http {

namespace {

using View = std::u16string_view;

bool IsAlpha(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}
bool IsDigit(char16_t c) {
  return c >= u'0' && c <= u'9';
}

bool NeedsEscape(char16_t c) {
  return c <= 0x20 || c >= 0x7F;
}

void AppendEscaped(String& out, View run) {
  static constexpr char16_t kHex[] = u"0123456789ABCDEF";
  for (const char b : TextToUtf8(run)) {
    const auto byte = static_cast<unsigned char>(b);
    out.push_back(u'%');
    out.push_back(kHex[byte >> 4]);
    out.push_back(kHex[byte & 15]);
  }
}

// Parts of an address after RFC 3986 appendix B; a part that is absent is nullopt.
struct Parts {
  std::optional<View> scheme;
  std::optional<View> authority;
  View path;
  std::optional<View> query;
  std::optional<View> fragment;
};

// Length of the scheme at the start of `s` (letters, then letters, digits, '+', '-', '.',
// then ':'); 0 when `s` does not start with one.
size_t SchemeLength(View s) {
  if (s.empty() || !IsAlpha(s[0])) return 0;
  for (size_t i = 1; i < s.size(); ++i) {
    const char16_t c = s[i];
    if (c == u':') return i;
    if (!IsAlpha(c) && !IsDigit(c) && c != u'+' && c != u'-' && c != u'.') return 0;
  }
  return 0;
}

Parts Split(View s) {
  Parts p;
  if (const size_t n = SchemeLength(s)) {
    p.scheme = s.substr(0, n);
    s.remove_prefix(n + 1);
  }
  if (s.substr(0, 2) == u"//") {
    s.remove_prefix(2);
    const size_t end = s.find_first_of(u"/?#");
    p.authority = s.substr(0, end);
    s = end == View::npos ? View() : s.substr(end);
  }
  if (const size_t hash = s.find(u'#'); hash != View::npos) {
    p.fragment = s.substr(hash + 1);
    s = s.substr(0, hash);
  }
  if (const size_t mark = s.find(u'?'); mark != View::npos) {
    p.query = s.substr(mark + 1);
    s = s.substr(0, mark);
  }
  p.path = s;
  return p;
}

// Drops the last segment (and its '/') from `out`.
void DropLastSegment(String& out) {
  const size_t slash = out.rfind(u'/');
  out.erase(slash == String::npos ? 0 : slash);
}

// "." and ".." segments removed from a path (RFC 3986 section 5.2.4).
String RemoveDotSegments(View in) {
  String out;
  while (!in.empty()) {
    if (in.substr(0, 3) == u"../") {
      in.remove_prefix(3);
    } else if (in.substr(0, 2) == u"./") {
      in.remove_prefix(2);
    } else if (in.substr(0, 3) == u"/./") {
      in.remove_prefix(2);
    } else if (in == u"/.") {
      in = u"/";
    } else if (in.substr(0, 4) == u"/../") {
      in.remove_prefix(3);
      DropLastSegment(out);
    } else if (in == u"/..") {
      in = u"/";
      DropLastSegment(out);
    } else if (in == u"." || in == u"..") {
      in = View();
    } else {
      const size_t next = in.find(u'/', 1);
      const View segment = in.substr(0, next);
      out.append(segment);
      in.remove_prefix(segment.size());
    }
  }
  return out;
}

// Path of a relative-path reference merged with the base path (RFC 3986 section 5.2.3).
String MergePaths(const Parts& base, View refPath) {
  if (base.authority && base.path.empty()) return u"/" + String(refPath);
  const size_t slash = base.path.rfind(u'/');
  if (slash == View::npos) return String(refPath);
  return String(base.path.substr(0, slash + 1)) + String(refPath);
}

String Compose(std::optional<View> scheme, std::optional<View> authority, View path,
               std::optional<View> query, std::optional<View> fragment) {
  String out;
  if (scheme) out.append(*scheme).push_back(u':');
  if (authority) out.append(u"//").append(*authority);
  out.append(path);
  if (query) out.append(u"?").append(*query);
  if (fragment) out.append(u"#").append(*fragment);
  return out;
}

}  // namespace

String RequestAddress(View url) {
  const size_t hostStart = url.find(u"://");
  size_t rest = hostStart == View::npos ? 0 : url.find_first_of(u"/?#", hostStart + 3);
  if (rest == View::npos) rest = url.size();
  const size_t hash = url.find(u'#', rest);
  const View tail = url.substr(rest, hash == View::npos ? View::npos : hash - rest);
  String out(url.substr(0, rest));
  size_t i = 0;
  while (i < tail.size()) {
    size_t j = i;
    while (j < tail.size() && NeedsEscape(tail[j]))
      ++j;
    if (j > i) {
      AppendEscaped(out, tail.substr(i, j - i));
    } else {
      while (j < tail.size() && !NeedsEscape(tail[j]))
        ++j;
      out.append(tail.substr(i, j - i));
    }
    i = j;
  }
  return out;
}

String ResolveReference(View base, View ref) {
  const String trimmed = Trim(ref);
  const Parts r = Split(trimmed);
  const Parts b = Split(base);
  if (r.scheme) {
    return Compose(r.scheme, r.authority, RemoveDotSegments(r.path), r.query, r.fragment);
  }
  if (r.authority) {
    return Compose(b.scheme, r.authority, RemoveDotSegments(r.path), r.query, r.fragment);
  }
  if (r.path.empty()) {
    return Compose(b.scheme, b.authority, b.path, r.query ? r.query : b.query, r.fragment);
  }
  const String path =
      r.path[0] == u'/' ? RemoveDotSegments(r.path) : RemoveDotSegments(MergePaths(b, r.path));
  return Compose(b.scheme, b.authority, path, r.query, r.fragment);
}

}  // namespace lbb::http
