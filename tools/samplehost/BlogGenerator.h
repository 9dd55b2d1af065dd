// A deterministic sample blog for any user name: article-list pages, article pages, the
// default album's pages and the pictures, generated in memory. The sample host serves it over
// HTTP; tests use it directly. No sockets here, only text and bytes.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace samplehost {

struct BlogOptions {
  int articles = 25;              // articles per user (newest first on the list pages)
  int pageSize = 10;              // articles per list page
  int pictures = 20;              // pictures in the default album
  int albumPageSize = 8;          // pictures per album page
  bool oddTitles = true;          // some titles hold * / \ : ? " < > | # and Chinese text
  std::string charset = "utf-8";  // "utf-8" or "gbk": how pages are encoded
  bool charsetParam = true;       // Content-Type carries "; charset=..."
  std::string claimedCharset;     // when non-empty, Content-Type names this instead
};

// Largest article and picture counts (ids and file names carry the number in hex).
inline constexpr int kMaxArticles = 0xFFFF;
inline constexpr int kMaxPictures = 0xFFFF;

struct Answer {
  int status = 200;
  std::string contentType;
  std::string body;
  std::vector<std::pair<std::string, std::string>> headers;
};

// One article as the scraping rules cut it out of its page (all UTF-8).
struct ArticleInfo {
  int number = 0;         // 1 = oldest; stable whatever the article count
  std::string path;       // "/<user>/blog/item/<id>.html"
  std::string title;      // the <title> text before its first "_"
  std::string fullTitle;  // the whole title as the list page shows it (unescaped)
  std::string body;       // from the body start marker (included) to the end marker (excluded)
  std::vector<std::string> pictureFiles;  // the user's own pictures shown in the body
};

struct PictureInfo {
  int index = 0;          // 0-based position in the album
  std::string albumPath;  // "/<user>/pic/abpic/<file>": the address the album page lists
  std::string itemPath;   // "/<user>/pic/item/<file>": where the full picture is fetched
  std::string fileName;   // 28 characters: 24 lower-case hex digits + ".bmp"
  std::string bytes;      // the BMP file
};

// Markers of the pages, as the scraper searches for them.
inline constexpr std::string_view kListMarker = "<div class=\"tit\"><a href=\"";
inline constexpr std::string_view kBodyStart = "<div id=\"m_blog\" class=\"modbox\"";
inline constexpr std::string_view kBodyEnd = "<div class=\"opt\">";
// The default album's name segment, GBK bytes of the album name percent-encoded.
inline constexpr std::string_view kAlbumSegment = "%C4%AC%C8%CF%CF%E0%B2%E1";

class BlogGenerator {
 public:
  // blogSite and photoSite: scheme, host and port without a trailing slash, for example
  // "http://127.0.0.1:8080". When both are equal, one host serves both sites' paths.
  BlogGenerator(BlogOptions o, std::string blogSite, std::string photoSite);

  // The answer for a GET of `path` (percent-decoded, or still encoded; UTF-8) on the web
  // site (photoSite false) or the picture server. Unknown paths give a 404 answer. Safe to
  // call from many threads while no setter runs.
  Answer Get(bool photoSite, std::string_view path) const;

  std::vector<ArticleInfo> Articles(std::string_view user) const;  // newest first
  std::vector<PictureInfo> Pictures(std::string_view user) const;  // in album order
  ArticleInfo Article(std::string_view user, int number) const;    // 1 = oldest
  PictureInfo Picture(std::string_view user, int index) const;

  // The complete HTML of a page, UTF-8, before the page's charset is applied.
  std::string ListPageHtml(std::string_view user, int page) const;
  std::string ArticlePageHtml(std::string_view user, int number) const;
  std::string AlbumPageHtml(std::string_view user, int page) const;

  // Number of list pages that hold articles, and of album pages that hold pictures.
  int ListPageCount() const;
  int AlbumPageCount() const;

  const BlogOptions& Options() const { return options_; }
  const std::string& BlogSite() const { return blogSite_; }
  const std::string& PhotoSite() const { return photoSite_; }

  // Out-of-range values are clamped (counts to 0..max, page sizes to at least 1).
  void SetOptions(BlogOptions o);
  void SetArticles(int n);
  void SetPageSize(int n);
  void SetPictures(int n);
  void SetAlbumPageSize(int n);
  void SetOddTitles(bool on);
  void SetCharset(std::string charset);
  void SetCharsetParam(bool on);
  void SetClaimedCharset(std::string charset);

  // The Content-Type of HTML pages under the current options.
  std::string HtmlContentType() const;
  // `html` encoded in the page charset; false when the charset cannot encode it.
  bool EncodePage(std::string_view html, std::string& out) const;

 private:
  Answer PageAnswer(const std::string& html) const;
  Answer BlogAnswer(std::string_view user, const std::vector<std::string_view>& rest) const;
  Answer PhotoAnswer(std::string_view user, const std::vector<std::string_view>& rest) const;

  BlogOptions options_;
  std::string blogSite_;
  std::string photoSite_;
};

// Helpers shared with the server.
Answer NotFound();
// Picture index encoded in a file name of `user`; -1 when the name is not one of the user's.
int PictureIndexOf(std::string_view user, std::string_view fileName);
// The user whose pictures articles show as another user's (never `user` itself).
std::string OtherUser(std::string_view user);

}  // namespace samplehost
