#include "app/engine/Scrape.h"

namespace lbb {

namespace {

constexpr std::u16string_view kListMarker = u"<div class=\"tit\"><a href";
constexpr std::u16string_view kBodyStart = u"<div id=\"m_blog\" class=\"modbox\"";
constexpr std::u16string_view kBodyEnd = u"<div class=\"opt\">";

// The address-collecting loop shared by list and album pages: after each marker, the text
// up to the next double quote is an address below `site`. `skip` is how far past the
// marker's first character the address begins.
// Works on views, so a page with many markers is not copied once per marker.
std::vector<String> CollectAddresses(std::u16string_view page, std::u16string_view marker, int skip,
                                     const String& site) {
  std::vector<String> result;
  while (true) {
    const int p = TextPos(marker, page);
    if (p == 0) break;
    page = TextSlice(page, p + skip, TextLength(page) - p);
    const int q = TextPos(u"\"", page);
    result.push_back(site + String(TextSlice(page, 1, q - 1)));
    page = TextSlice(page, q, TextLength(page) - q - 1);
  }
  return result;
}

}  // namespace

std::vector<String> ParseListPage(const String& page, const String& blogSite) {
  // The marker plus the equals sign and quote after it: 26 characters from its start.
  constexpr int kSkip = 26;
  std::u16string_view rest = page;
  const int p = TextPos(kListMarker, rest);
  if (p != 0) rest = TextSlice(rest, p + kSkip, TextLength(rest) - p);
  return CollectAddresses(rest, kListMarker, kSkip, blogSite);
}

ArticleContent ParseArticlePage(const String& page) {
  const int p = TextPos(u"<title>", page);
  const String t = TextCopy(page, p + 7, TextLength(page) - p - 7);
  ArticleContent c;
  c.title = TextCopy(t, 1, TextPos(u"_", t) - 1);
  const int a = TextPos(kBodyStart, t);
  const int b = TextPos(kBodyEnd, t);
  c.body = TextCopy(t, a, b - a);
  return c;
}

std::vector<String> ParseAlbumPage(const String& page, const String& photoSite) {
  const String marker = u"psrc:\"" + photoSite;
  return CollectAddresses(page, marker, TextLength(marker), photoSite);
}

std::vector<String> GetURLS(Downloader& d, const Sites& sites, const String& url) {
  return ParseListPage(d.FetchText(url, Downloader::Lane::kPaging).text, sites.blog);
}

ArticleContent GetContent(Downloader& d, const String& url) {
  return ParseArticlePage(d.FetchText(url).text);
}

std::vector<String> GetPicURLS(Downloader& d, const Sites& sites, const String& url) {
  return ParseAlbumPage(d.FetchText(url, Downloader::Lane::kPaging).text, sites.photo);
}

}  // namespace lbb
