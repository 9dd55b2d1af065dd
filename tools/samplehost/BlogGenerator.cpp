#include "tools/samplehost/BlogGenerator.h"

#include <algorithm>
#include <cctype>

#include "base/Text.h"
#include "tools/samplehost/BlogContent.h"
#include "tools/samplehost/Charset.h"

namespace samplehost {

namespace {

BlogOptions Clamped(BlogOptions o) {
  o.articles = std::clamp(o.articles, 0, kMaxArticles);
  o.pictures = std::clamp(o.pictures, 0, kMaxPictures);
  o.pageSize = std::max(o.pageSize, 1);
  o.albumPageSize = std::max(o.albumPageSize, 1);
  if (o.charset.empty()) o.charset = "utf-8";
  return o;
}

bool IsUtf8Name(std::string_view name) {
  return lbb::SameTextAscii(name, "utf-8") || lbb::SameTextAscii(name, "utf8");
}

// The album name segment: percent-encoded as the program asks for it, its decoded GBK bytes,
// or the name in UTF-8.
bool IsAlbumSegment(std::string_view s) {
  return lbb::SameTextAscii(s, kAlbumSegment) || s == "\xC4\xAC\xC8\xCF\xCF\xE0\xB2\xE1" ||
         s == "默认相册";
}

std::vector<std::string_view> SplitPath(std::string_view path) {
  std::vector<std::string_view> parts;
  path.remove_prefix(1);
  for (;;) {
    const size_t slash = path.find('/');
    parts.push_back(path.substr(0, slash));
    if (slash == std::string_view::npos) break;
    path.remove_prefix(slash + 1);
  }
  return parts;
}

// A page number: 1 to 9 decimal digits.
bool ParsePage(std::string_view s, int& n) {
  if (s.empty() || s.size() > 9) return false;
  n = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    n = n * 10 + (c - '0');
  }
  return true;
}

// A comment of blanks. The scraper drops two characters from the end of the page for every
// entry it takes, so list and album pages end with enough text to lose.
std::string Padding(int entries) {
  return "<!--" + std::string(static_cast<size_t>(entries) * 2 + 64, ' ') + "-->\n";
}

std::string Footer() {
  return "<div id=\"footer\"><p>&copy;2008 Lorvane 博客 - 生活点滴，随手记录</p>"
         "<p><a href=\"/\">首页</a> | <a href=\"/help\">帮助</a> | <a href=\"/about\">关于我们</a>"
         "</p></div>\n";
}

}  // namespace

Answer NotFound() {
  Answer a;
  a.status = 404;
  a.contentType = "text/html; charset=utf-8";
  a.body =
      "<html><head><title>404 Not Found</title></head><body><h1>404 Not Found</h1>"
      "</body></html>\n";
  return a;
}

int PictureIndexOf(std::string_view user, std::string_view fileName) {
  if (fileName.size() != 28 || fileName.substr(24) != ".bmp") return -1;
  int index = 0;
  for (char c : fileName.substr(20, 4)) {
    const int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
    if (d < 0) return -1;
    index = index * 16 + d;
  }
  return PictureFileName(user, index) == fileName ? index : -1;
}

std::string OtherUser(std::string_view user) {
  return user == "photofriend" ? "photofriend2" : "photofriend";
}

BlogGenerator::BlogGenerator(BlogOptions o, std::string blogSite, std::string photoSite)
    : options_(Clamped(std::move(o))),
      blogSite_(std::move(blogSite)),
      photoSite_(std::move(photoSite)) {}

void BlogGenerator::SetOptions(BlogOptions o) {
  options_ = Clamped(std::move(o));
}
void BlogGenerator::SetArticles(int n) {
  options_.articles = std::clamp(n, 0, kMaxArticles);
}
void BlogGenerator::SetPageSize(int n) {
  options_.pageSize = std::max(n, 1);
}
void BlogGenerator::SetPictures(int n) {
  options_.pictures = std::clamp(n, 0, kMaxPictures);
}
void BlogGenerator::SetAlbumPageSize(int n) {
  options_.albumPageSize = std::max(n, 1);
}
void BlogGenerator::SetOddTitles(bool on) {
  options_.oddTitles = on;
}
void BlogGenerator::SetCharset(std::string charset) {
  options_.charset = charset.empty() ? "utf-8" : std::move(charset);
}
void BlogGenerator::SetCharsetParam(bool on) {
  options_.charsetParam = on;
}
void BlogGenerator::SetClaimedCharset(std::string charset) {
  options_.claimedCharset = std::move(charset);
}

int BlogGenerator::ListPageCount() const {
  return (options_.articles + options_.pageSize - 1) / options_.pageSize;
}

int BlogGenerator::AlbumPageCount() const {
  return (options_.pictures + options_.albumPageSize - 1) / options_.albumPageSize;
}

std::string BlogGenerator::HtmlContentType() const {
  if (!options_.claimedCharset.empty()) return "text/html; charset=" + options_.claimedCharset;
  if (!options_.charsetParam) return "text/html";
  return "text/html; charset=" + options_.charset;
}

bool BlogGenerator::EncodePage(std::string_view html, std::string& out) const {
  if (IsUtf8Name(options_.charset)) {
    out.assign(html);
    return true;
  }
  return EncodeText(html, options_.charset, true, out) == EncodeResult::kOk;
}

Answer BlogGenerator::PageAnswer(const std::string& html) const {
  Answer a;
  if (!EncodePage(html, a.body)) {
    a.status = 500;
    a.contentType = "text/plain; charset=utf-8";
    a.body = "cannot encode the page as " + options_.charset + "\n";
    return a;
  }
  a.contentType = HtmlContentType();
  return a;
}

namespace {

std::string PageHead(std::string_view charset, std::string_view title) {
  std::string s =
      "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 4.01 Transitional//EN\">\n<html>\n<head>\n"
      "<meta http-equiv=\"Content-Type\" content=\"text/html; charset=";
  s += charset;
  s += "\">\n<title>";
  s += title;
  s += "</title>\n<link rel=\"stylesheet\" type=\"text/css\" href=\"/css/blog.css\">\n</head>\n";
  return s;
}

std::string ArticleBody(const BlogGenerator& g, std::string_view user, int number,
                        std::vector<std::string>* pictures) {
  const std::string userUrl = UrlPart(user);
  const auto img = [&](const std::string& who, const std::string& file) {
    return "<p><img src=\"" + g.PhotoSite() + "/" + who + "/pic/item/" + file +
           "\" border=\"0\" alt=\"\" /></p>\n";
  };
  std::string s(kBodyStart);
  s += " style=\"overflow-x:hidden;\">\n<div class=\"date\">" + ArticleDate(user, number) +
       "</div>\n<div class=\"cnt\" id=\"blog_text\">\n";
  s += "<p>" + ArticleParagraph(number, 0) + "</p>\n";
  const int count = g.Options().pictures;
  if (count > 0) {
    const int first = (number - 1) % count;
    s += img(userUrl, PictureFileName(user, first));
    if (pictures) pictures->push_back(PictureFileName(user, first));
    s += "<p>" + ArticleParagraph(number, 1) + "</p>\n";
    const int second = (number * 7 + 3) % count;
    if (number % 2 == 0 && second != first) {
      s += img(userUrl, PictureFileName(user, second));
      if (pictures) pictures->push_back(PictureFileName(user, second));
    }
  } else {
    s += "<p>" + ArticleParagraph(number, 1) + "</p>\n";
  }
  if (number % 3 == 2) {
    const std::string other = OtherUser(user);
    s += "<p>转自好友的相册：</p>\n" +
         img(UrlPart(other), PictureFileName(other, (number - 1) % 20));
  }
  if (number % 2 == 1) s += "<p>" + ArticleParagraph(number, 2) + "</p>\n";
  s += "<p>这是第 " + std::to_string(number) + " 篇文章。</p>\n</div>\n</div>\n";
  return s;
}

}  // namespace

std::string BlogGenerator::ListPageHtml(std::string_view user, int page) const {
  const std::string name = HtmlEscape(user), url = UrlPart(user);
  std::string s = PageHead(options_.charset, name + "的博客_文章列表_Lorvane博客");
  s += "<body>\n<div id=\"header\"><h1>" + name +
       "的博客</h1><p class=\"desc\">生活点滴，随手记录"
       "</p></div>\n";
  // The first list marker of the page is the heading, not an article.
  s += std::string(kListMarker) + "/" + url + "/blog/index/0\">文章列表</a></div>\n";
  s += "<div id=\"list\">\n";
  int entries = 0;
  const int newest = options_.articles - page * options_.pageSize;
  for (int k = newest; k > newest - options_.pageSize && k >= 1; --k, ++entries) {
    s += "<div class=\"item\">" + std::string(kListMarker) + "/" + url + "/blog/item/" +
         ArticleId(user, k) + ".html\" target=\"_blank\">" +
         HtmlEscape(ArticleTitle(k, options_.oddTitles)) + "</a></div><div class=\"date\">" +
         ArticleDate(user, k) + "</div></div>\n";
  }
  s += "</div>\n<div class=\"pager\">";
  if (page > 0) {
    s += "<a href=\"/" + url + "/blog/index/" + std::to_string(page - 1) + "\">上一页</a> ";
  }
  s += "第 " + std::to_string(page + 1) + " 页";
  if (page + 1 < ListPageCount()) {
    s += " <a href=\"/" + url + "/blog/index/" + std::to_string(page + 1) + "\">下一页</a>";
  }
  s += "</div>\n" + Footer() + Padding(entries) + "</body>\n</html>\n";
  return s;
}

std::string BlogGenerator::ArticlePageHtml(std::string_view user, int number) const {
  const std::string name = HtmlEscape(user), url = UrlPart(user);
  const std::string title = ArticleTitle(number, options_.oddTitles);
  // The title goes into <title> unescaped, as the blog host writes it.
  std::string s = PageHead(options_.charset, title + "_" + name + "的博客_Lorvane博客");
  s += "<body>\n<div id=\"header\"><h1><a href=\"/" + url + "/blog/index/0\">" + name +
       "的博客</a></h1></div>\n<div id=\"main\">\n<h2 class=\"titName\">" + HtmlEscape(title) +
       "</h2>\n";
  s += ArticleBody(*this, user, number, nullptr);
  s += std::string(kBodyEnd) + "<a href=\"/" + url + "/blog/index/0\">返回文章列表</a> | 浏览(" +
       std::to_string(number * 13 % 97) + ") | 评论(0)</div>\n</div>\n" + Footer() +
       "</body>\n</html>\n";
  return s;
}

std::string BlogGenerator::AlbumPageHtml(std::string_view user, int page) const {
  const std::string name = HtmlEscape(user), url = UrlPart(user);
  const int pages = AlbumPageCount();
  const int shown = pages == 0 ? 0 : std::min(page, pages - 1);  // beyond the end: the last
  std::string s = PageHead(options_.charset, "默认相册_" + name + "的相册_Lorvane相册");
  s += "<body>\n<div id=\"header\"><h1>" + name +
       "的相册</h1></div>\n"
       "<div class=\"albumName\">默认相册 (共 " +
       std::to_string(options_.pictures) + " 张)</div>\n<script type=\"text/javascript\">\n";
  // A picture address on another host, which the scraper must not take.
  s += "var recommend = {psrc:\"http://other.example/" + url + "/pic/abpic/" +
       PictureFileName(user, 0) + "\"};\nvar imgarr = [\n";
  int entries = 0;
  if (pages > 0) {
    const int first = shown * options_.albumPageSize;
    const int last = std::min(first + options_.albumPageSize, options_.pictures);
    for (int i = first; i < last; ++i, ++entries) {
      const std::string file = PictureFileName(user, i);
      s += "{pid:\"" + file.substr(0, 24) + "\",psrc:\"" + photoSite_ + "/" + url + "/pic/abpic/" +
           file + "\",pname:\"图片 " + std::to_string(i + 1) + "\"},\n";
    }
  }
  s += "{}];\n</script>\n<div class=\"pager\">第 " + std::to_string(shown + 1) + " 页</div>\n" +
       Footer() + Padding(entries) + "</body>\n</html>\n";
  return s;
}

namespace {

std::string HomePageHtml(std::string_view user) {
  const std::string name = HtmlEscape(user), url = UrlPart(user);
  return PageHead("utf-8", name + "的空间") + "<body>\n<h1>" + name +
         "的空间</h1>\n<ul>\n<li><a href=\"/" + url + "/blog/index/0\">博客</a></li>\n" +
         "<li><a href=\"/" + url + "/album/" + std::string(kAlbumSegment) +
         "/index/0\">默认相册</a></li>\n</ul>\n" + Footer() + "</body>\n</html>\n";
}

std::string RootPageHtml() {
  return PageHead("utf-8", "Lorvane sample blog host") +
         "<body>\n<h1>Lorvane sample blog host</h1>\n<p>Every user name has a blog: "
         "<a href=\"/alice/blog/index/0\">/alice/blog/index/0</a>, an album: <a href=\"/alice/"
         "album/" +
         std::string(kAlbumSegment) +
         "/index/0\">/alice/album/.../index/0</a>.</p>\n"
         "</body>\n</html>\n";
}

}  // namespace

Answer BlogGenerator::BlogAnswer(std::string_view user,
                                 const std::vector<std::string_view>& rest) const {
  int n = 0;
  if (rest.empty() || (rest.size() == 1 && (rest[0].empty() || rest[0] == "blog"))) {
    Answer a;
    a.contentType = "text/html; charset=utf-8";
    a.body = HomePageHtml(user);
    return a;
  }
  if (rest.size() == 3 && rest[0] == "blog" && rest[1] == "index" && ParsePage(rest[2], n)) {
    return PageAnswer(ListPageHtml(user, n));
  }
  if (rest.size() == 3 && rest[0] == "blog" && rest[1] == "item" && rest[2].size() > 5 &&
      rest[2].substr(rest[2].size() - 5) == ".html") {
    const int number = ArticleNumberOf(user, rest[2].substr(0, rest[2].size() - 5));
    if (number >= 1 && number <= options_.articles) {
      return PageAnswer(ArticlePageHtml(user, number));
    }
    return NotFound();
  }
  if (rest.size() == 4 && rest[0] == "album" && IsAlbumSegment(rest[1]) && rest[2] == "index" &&
      ParsePage(rest[3], n)) {
    return PageAnswer(AlbumPageHtml(user, n));
  }
  return NotFound();
}

Answer BlogGenerator::PhotoAnswer(std::string_view user,
                                  const std::vector<std::string_view>& rest) const {
  if (rest.size() != 3 || rest[0] != "pic" || (rest[1] != "item" && rest[1] != "abpic")) {
    return NotFound();
  }
  const int index = PictureIndexOf(user, rest[2]);
  if (index < 0) return NotFound();
  Answer a;
  a.contentType = "image/bmp";
  a.body = BmpPicture(user, index);
  return a;
}

Answer BlogGenerator::Get(bool photoSite, std::string_view path) const {
  path = path.substr(0, path.find('?'));
  if (path.empty() || path[0] != '/') return NotFound();
  const bool sameHost = blogSite_ == photoSite_;
  const std::vector<std::string_view> parts = SplitPath(path);
  if (parts.size() == 1 && parts[0].empty()) {
    if (photoSite && !sameHost) return NotFound();
    Answer a;
    a.contentType = "text/html; charset=utf-8";
    a.body = RootPageHtml();
    return a;
  }
  const std::string_view user = parts[0];
  if (user.empty() || user[0] == '_') return NotFound();
  const std::vector<std::string_view> rest(parts.begin() + 1, parts.end());
  if (!photoSite || sameHost) {
    Answer a = BlogAnswer(user, rest);
    if (a.status != 404 || !sameHost) return a;
  }
  return PhotoAnswer(user, rest);
}

ArticleInfo BlogGenerator::Article(std::string_view user, int number) const {
  ArticleInfo info;
  info.number = number;
  info.path = "/" + UrlPart(user) + "/blog/item/" + ArticleId(user, number) + ".html";
  info.fullTitle = ArticleTitle(number, options_.oddTitles);
  info.title = info.fullTitle.substr(0, info.fullTitle.find('_'));
  info.body = ArticleBody(*this, user, number, &info.pictureFiles);
  return info;
}

std::vector<ArticleInfo> BlogGenerator::Articles(std::string_view user) const {
  std::vector<ArticleInfo> list;
  for (int k = options_.articles; k >= 1; --k)
    list.push_back(Article(user, k));
  return list;
}

PictureInfo BlogGenerator::Picture(std::string_view user, int index) const {
  PictureInfo info;
  info.index = index;
  info.fileName = PictureFileName(user, index);
  info.albumPath = "/" + UrlPart(user) + "/pic/abpic/" + info.fileName;
  info.itemPath = "/" + UrlPart(user) + "/pic/item/" + info.fileName;
  info.bytes = BmpPicture(user, index);
  return info;
}

std::vector<PictureInfo> BlogGenerator::Pictures(std::string_view user) const {
  std::vector<PictureInfo> list;
  for (int i = 0; i < options_.pictures; ++i)
    list.push_back(Picture(user, i));
  return list;
}

}  // namespace samplehost
