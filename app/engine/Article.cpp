#include "app/engine/Article.h"
#include "base/Text.h"

namespace lbb {

namespace {

bool IsControl(char16_t c) {
  return c < 32 || c == 127;
}

bool IsHighSurrogate(char16_t c) {
  return c >= 0xD800 && c <= 0xDBFF;
}

// The rules that make any name one that Windows accepts and stores as given.
String MakeFileSystemSafe(std::u16string_view in) {
  String out;
  out.reserve(in.size());
  for (char16_t c : in) {
    if (!IsControl(c)) out.push_back(c);
  }
  if (out.size() > static_cast<size_t>(kMaxFileTitle)) {
    size_t cut = kMaxFileTitle;
    if (IsHighSurrogate(out[cut - 1])) --cut;
    out.resize(cut);
  }
  while (!out.empty() && (out.back() == u'.' || out.back() == u' '))
    out.pop_back();
  if (IsReservedDeviceName(out)) out.insert(out.begin(), u'_');
  if (out.empty()) out = u"_";
  return out;
}

}  // namespace

bool IsReservedDeviceName(std::u16string_view name) {
  std::u16string_view stem = name.substr(0, name.find(u'.'));
  while (!stem.empty() && (stem.back() == u' ' || stem.back() == u'.'))
    stem.remove_suffix(1);
  String up;
  for (char16_t c : stem)
    up.push_back(UpperAscii(c));
  if (up == u"CON" || up == u"PRN" || up == u"AUX" || up == u"NUL") return true;
  if (up.size() == 4 && (up.starts_with(u"COM") || up.starts_with(u"LPT"))) {
    return up[3] >= u'1' && up[3] <= u'9';
  }
  return false;
}

String SafeFileTitle(const String& title) {
  String s = title;
  for (std::u16string_view gone : {u"*", u"/", u"\\", u":", u"?", u"\""}) {
    s = ReplaceAll(s, gone, u"");
  }
  s = ReplaceAll(s, u"<", u"(");
  s = ReplaceAll(s, u">", u")");
  s = ReplaceAll(s, u"|", u"");
  s = ReplaceAll(s, u"#", u"Sharp");
  return MakeFileSystemSafe(s);
}

String PictureFileName(const String& picTail) {
  const size_t slash = picTail.find_last_of(u'/');
  String name = slash == String::npos ? picTail : picTail.substr(slash + 1);
  for (char16_t& c : name) {
    if (std::u16string_view(u"\\:*?\"<>|").find(c) != std::u16string_view::npos) c = u'_';
  }
  if (name == u"." || name == u"..") name = u"_";
  return MakeFileSystemSafe(name);
}

String LocalURLFor(const String& numberedTitle) {
  return u"html/" + SafeFileTitle(numberedTitle) + u".html\" target=_blank>";
}

std::string ArticlePageText(const String& body, const String& numberedTitle,
                            const String& photoSite, const String& userName) {
  const String head =
      u"<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\" "
      u"\"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">"
      u"\r\n<html xmlns=\"http://www.w3.org/1999/xhtml\">"
      u"\r\n<head>\r\n<meta http-equiv=\"Content-Type\" content=\"text/html; charset=utf-8\" />"
      u"\r\n<title>" +
      numberedTitle + u"</title>" + u"\r\n" + u"</head>" + u"\r\n" + u"<body>\r\n";
  const String foot = u"\r\n</body>\r\n</html>";
  const String ownPictures = u"src=\"" + photoSite + u"/" + userName + u"/pic/item/";
  const String page = head + ReplaceAll(body, ownPictures, u"src=\"../pic/") + foot;
  return TextToUtf8(page);
}

}  // namespace lbb
