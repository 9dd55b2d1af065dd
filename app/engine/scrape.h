// Scraping the blog host's pages: plain text search for fixed marker texts, no HTML parsing.
// The Parse* functions work on page text and never fail: any text (damaged, empty, huge)
// gives a result, possibly empty. Get* fetch the page first; a failed fetch is an empty page.
#pragma once

#include <vector>

#include "downloader.h"
#include "text.h"

namespace lbb {

// The blog host's web site and picture server: scheme and host, no trailing slash.
inline constexpr std::u16string_view BlogSiteURL = u"http://blog.lorvane.com";
inline constexpr std::u16string_view PhotoSiteURL = u"http://photo.lorvane.com";

// The sites a run uses (the constants above, or a test host's).
struct Sites {
  Text blog;   // BlogSiteURL
  Text photo;  // PhotoSiteURL
};

struct ArticleContent {
  Text title;  // raw title: the <title> text up to its first "_"
  Text body;   // from the body start marker (included) to the first end marker (excluded)
};

// Article addresses of an article-list page, in page order; the first occurrence of the list
// marker is skipped.
std::vector<Text> ParseListPage(const Text& page, const Text& blogSite);
ArticleContent ParseArticlePage(const Text& page);
// Picture addresses of an album page: every "psrc:\"" + photoSite occurrence, in page order.
std::vector<Text> ParseAlbumPage(const Text& page, const Text& photoSite);

std::vector<Text> GetURLS(Downloader& d, const Sites& sites, const Text& url);
ArticleContent GetContent(Downloader& d, const Text& url);
std::vector<Text> GetPicURLS(Downloader& d, const Sites& sites, const Text& url);

}  // namespace lbb
