// Scraping the blog host's pages: plain text search for fixed marker texts, no HTML parsing.
// The Parse* functions work on page text and never fail: any text (damaged, empty, huge)
// gives a result, possibly empty. Get* fetch the page first; a failed fetch is an empty page.
#pragma once

#include <vector>

#include "app/engine/Downloader.h"
#include "app/engine/Text.h"

namespace lbb {

// The blog host's web site and picture server: scheme and host, no trailing slash.
inline constexpr std::u16string_view BlogSiteURL = u"http://blog.lorvane.com";
inline constexpr std::u16string_view PhotoSiteURL = u"http://photo.lorvane.com";

// The sites a run uses (the constants above, or a test host's).
struct Sites {
  String blog;   // BlogSiteURL
  String photo;  // PhotoSiteURL
};

struct ArticleContent {
  String title;  // raw title: the <title> text up to its first "_"
  String body;   // from the body start marker (included) to the first end marker (excluded)
};

// Article addresses of an article-list page, in page order; the first occurrence of the list
// marker is skipped.
std::vector<String> ParseListPage(const String& page, const String& blogSite);
ArticleContent ParseArticlePage(const String& page);
// Picture addresses of an album page: every "psrc:\"" + photoSite occurrence, in page order.
std::vector<String> ParseAlbumPage(const String& page, const String& photoSite);

std::vector<String> GetURLS(Downloader& d, const Sites& sites, const String& url);
ArticleContent GetContent(Downloader& d, const String& url);
std::vector<String> GetPicURLS(Downloader& d, const Sites& sites, const String& url);

}  // namespace lbb
