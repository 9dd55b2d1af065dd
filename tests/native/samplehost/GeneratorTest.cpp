// The generated sample blog, cut the way the backup program cuts the blog host's pages.
#include <gtest/gtest.h>
#include <iconv.h>

#include <random>
#include <set>

#include "app/engine/Scrape.h"
#include "app/engine/Text.h"
#include "tools/samplehost/BlogGenerator.h"

namespace samplehost {
namespace {

using lbb::String;
using lbb::TextPos;
using lbb::Utf8ToText;

const std::string kBlog = "http://127.0.0.1:8080";
const std::string kPhoto = "http://127.0.0.1:8081";

std::string Iconv(const std::string& bytes, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  EXPECT_NE(cd, reinterpret_cast<iconv_t>(-1));
  std::string out(bytes.size() * 4 + 16, '\0');
  char* in = const_cast<char*>(bytes.data());
  size_t inLeft = bytes.size(), outLeft = out.size();
  char* dst = out.data();
  const size_t r = iconv(cd, &in, &inLeft, &dst, &outLeft);
  iconv_close(cd);
  EXPECT_NE(r, static_cast<size_t>(-1)) << "not convertible from " << from;
  out.resize(out.size() - outLeft);
  return out;
}

int Count(const std::string& s, std::string_view what) {
  int n = 0;
  for (size_t at = s.find(what); at != std::string::npos; at = s.find(what, at + 1))
    ++n;
  return n;
}

class GeneratorTest : public ::testing::Test {
 protected:
  // The page text as the program decodes it: by the charset its Content-Type names.
  String Page(bool photo, const std::string& path) {
    const Answer a = gen.Get(photo, path);
    EXPECT_EQ(a.status, 200) << path;
    if (a.contentType.find("charset=gbk") != std::string::npos) {
      return Utf8ToText(Iconv(a.body, "UTF-8", "GBK"));
    }
    return Utf8ToText(a.body);
  }
  std::vector<String> List(const std::string& user, int page) {
    return lbb::ParseListPage(Page(false, "/" + user + "/blog/index/" + std::to_string(page)),
                              Utf8ToText(kBlog));
  }
  std::vector<String> Album(const std::string& user, int page) {
    return lbb::ParseAlbumPage(Page(false, "/" + user + "/album/" + std::string(kAlbumSegment) +
                                               "/index/" + std::to_string(page)),
                               Utf8ToText(kPhoto));
  }
  std::vector<String> ExpectedList(const std::vector<ArticleInfo>& articles, size_t from,
                                   size_t count) {
    std::vector<String> urls;
    for (size_t i = from; i < articles.size() && i < from + count; ++i) {
      urls.push_back(Utf8ToText(kBlog + articles[i].path));
    }
    return urls;
  }

  BlogGenerator gen{BlogOptions{}, kBlog, kPhoto};
};

TEST_F(GeneratorTest, ListPagesGiveTheArticlesNewestFirstThenNothing) {
  const auto articles = gen.Articles("alice");
  ASSERT_EQ(articles.size(), 25u);
  for (int k = 0; k < 25; ++k)
    EXPECT_EQ(articles[static_cast<size_t>(k)].number, 25 - k);
  EXPECT_EQ(List("alice", 0), ExpectedList(articles, 0, 10));
  EXPECT_EQ(List("alice", 1), ExpectedList(articles, 10, 10));
  EXPECT_EQ(List("alice", 2), ExpectedList(articles, 20, 10));
  EXPECT_TRUE(List("alice", 3).empty());
  EXPECT_TRUE(List("alice", 4000).empty());
  // The decoy marker comes first, and the page beyond the end holds only the decoy.
  const std::string page0 = gen.ListPageHtml("alice", 0);
  EXPECT_EQ(Count(page0, kListMarker), 11);
  EXPECT_LT(page0.find(std::string(kListMarker) + "/alice/blog/index/0\""),
            page0.find("/blog/item/"));
  EXPECT_EQ(Count(gen.ListPageHtml("alice", 3), kListMarker), 1);
}

TEST_F(GeneratorTest, LargeListAndAlbumPagesLoseNoEntryToTheScraper) {
  // The scraper drops two characters from the page's end per entry it takes.
  gen.SetArticles(2000);
  gen.SetPageSize(2000);
  gen.SetPictures(1500);
  gen.SetAlbumPageSize(1500);
  EXPECT_EQ(List("bulk", 0).size(), 2000u);
  EXPECT_EQ(Album("bulk", 0).size(), 1500u);
}

TEST_F(GeneratorTest, ArticlePagesCutToTheirInfo) {
  for (const ArticleInfo& a : gen.Articles("alice")) {
    const lbb::ArticleContent c = lbb::ParseArticlePage(Page(false, a.path));
    EXPECT_EQ(c.title, Utf8ToText(a.title)) << a.number;
    EXPECT_EQ(c.body, Utf8ToText(a.body)) << a.number;
    EXPECT_EQ(TextPos(Utf8ToText(kBodyStart), c.body), 1);
    EXPECT_EQ(TextPos(Utf8ToText(kBodyEnd), c.body), 0);
    EXPECT_GT(a.body.size(), 200u);
    for (const std::string& file : a.pictureFiles) {
      EXPECT_NE(a.body.find("<img src=\"" + kPhoto + "/alice/pic/item/" + file + "\""),
                std::string::npos);
      EXPECT_EQ(gen.Get(true, "/alice/pic/item/" + file).status, 200);
    }
  }
  // Unknown ids and articles beyond the count are not found.
  EXPECT_EQ(gen.Get(false, "/alice/blog/item/0000000000000000001a.html").status, 404);
  const std::string path26 = gen.Article("alice", 26).path;
  EXPECT_EQ(gen.Get(false, path26).status, 404);
  EXPECT_EQ(gen.Get(false, gen.Article("alice", 3).path.replace(1, 5, "bob")).status, 404);
}

TEST_F(GeneratorTest, OddTitlesHoldEveryAwkwardCharacterChineseAndTwoUnderscores) {
  std::string all;
  int chinese = 0, twoUnderscores = 0;
  for (const ArticleInfo& a : gen.Articles("alice")) {
    all += a.fullTitle;
    if (a.fullTitle.find("\xE4") != std::string::npos ||
        a.fullTitle.find("\xE5") != std::string::npos ||
        a.fullTitle.find("\xE6") != std::string::npos) {
      ++chinese;
    }
    if (Count(a.fullTitle, "_") >= 2) {
      ++twoUnderscores;
      EXPECT_EQ(a.title, a.fullTitle.substr(0, a.fullTitle.find('_')));
      EXPECT_FALSE(a.title.empty());
    } else {
      EXPECT_EQ(a.title, a.fullTitle);
    }
  }
  for (char c : std::string("*/\\:?\"<>|#"))
    EXPECT_NE(all.find(c), std::string::npos) << c;
  EXPECT_GE(chinese, 12);
  EXPECT_GE(twoUnderscores, 1);
  // The newest-first order makes no difference to the first article: it alone holds them all.
  const std::string first = gen.Article("x", 1).fullTitle;
  for (char c : std::string("*/\\:?\"<>|#"))
    EXPECT_NE(first.find(c), std::string::npos) << c;

  gen.SetOddTitles(false);
  for (const ArticleInfo& a : gen.Articles("alice")) {
    for (unsigned char c : a.fullTitle)
      EXPECT_TRUE(std::isalnum(c) || c == ' ') << a.fullTitle;
  }
}

TEST_F(GeneratorTest, AddedArticlesComeFirstAndOldOnesKeepTheirAddresses) {
  const auto before = gen.Articles("alice");
  gen.SetArticles(27);
  const auto after = gen.Articles("alice");
  ASSERT_EQ(after.size(), 27u);
  for (size_t i = 0; i < before.size(); ++i) {
    EXPECT_EQ(after[i + 2].path, before[i].path);
    EXPECT_EQ(after[i + 2].body, before[i].body);
  }
  std::set<std::string> paths;
  for (const auto& a : after)
    paths.insert(a.path);
  EXPECT_EQ(paths.size(), 27u);
  const std::vector<String> page0 = List("alice", 0);
  ASSERT_EQ(page0.size(), 10u);
  EXPECT_EQ(page0[2], Utf8ToText(kBlog + before[0].path));
  EXPECT_EQ(gen.Get(false, after[0].path).status, 200);
  // Other users have other addresses.
  EXPECT_NE(gen.Articles("bob")[0].path.substr(4), after[0].path.substr(6));
}

TEST_F(GeneratorTest, AlbumPagesListThePicturesAndRepeatTheLastPage) {
  const auto pictures = gen.Pictures("alice");
  ASSERT_EQ(pictures.size(), 20u);
  std::vector<String> all;
  for (int page = 0; page < 3; ++page) {
    const auto list = Album("alice", page);
    EXPECT_EQ(list.size(), page < 2 ? 8u : 4u);
    all.insert(all.end(), list.begin(), list.end());
  }
  ASSERT_EQ(all.size(), 20u);
  for (size_t i = 0; i < 20; ++i) {
    const PictureInfo& p = pictures[i];
    EXPECT_EQ(all[i], Utf8ToText(kPhoto + p.albumPath));
    EXPECT_EQ(p.fileName.size(), 28u);
    EXPECT_EQ(p.albumPath.find("/pic/item/"), std::string::npos);
    // The program keeps the last 29 characters and asks for them under /pic/item.
    const String tail = lbb::TextCopy(all[i], lbb::TextLength(all[i]) - 28, 29);
    EXPECT_EQ(Utf8ToText(kPhoto) + u"/alice/pic/item" + tail, Utf8ToText(kPhoto + p.itemPath));
    const Answer a = gen.Get(true, p.itemPath);
    EXPECT_EQ(a.status, 200);
    EXPECT_EQ(a.contentType, "image/bmp");
    EXPECT_EQ(a.body, p.bytes);
  }
  EXPECT_EQ(Album("alice", 3), Album("alice", 2));
  EXPECT_EQ(Album("alice", 99), Album("alice", 2));
  // The picture on another host is in the page but is not an album entry.
  EXPECT_NE(gen.AlbumPageHtml("alice", 0).find("psrc:\"http://other.example/"), std::string::npos);
}

TEST_F(GeneratorTest, EmptyBlogAndEmptyAlbumGiveNoEntries) {
  gen.SetArticles(0);
  gen.SetPictures(0);
  EXPECT_TRUE(List("alice", 0).empty());
  EXPECT_TRUE(Album("alice", 0).empty());
  EXPECT_TRUE(Album("alice", 1).empty());
  EXPECT_EQ(gen.Get(false, gen.Article("alice", 1).path).status, 404);
  gen.SetArticles(3);
  for (const auto& a : gen.Articles("alice"))
    EXPECT_TRUE(a.pictureFiles.empty());
}

TEST_F(GeneratorTest, AlbumAddressIsAcceptedEncodedDecodedAndAsText) {
  const std::string expected = gen.AlbumPageHtml("alice", 1);
  for (const std::string& segment :
       {std::string(kAlbumSegment), std::string("%c4%ac%c8%cf%cf%e0%b2%e1"),
        std::string("\xC4\xAC\xC8\xCF\xCF\xE0\xB2\xE1"), std::string("默认相册")}) {
    const Answer a = gen.Get(false, "/alice/album/" + segment + "/index/1");
    EXPECT_EQ(a.status, 200) << segment;
    EXPECT_EQ(a.body, expected);
  }
  EXPECT_EQ(gen.Get(false, "/alice/album/other/index/1").status, 404);
}

TEST_F(GeneratorTest, PicturesAreSmallBitmapsThatDifferPerUserAndIndex) {
  std::set<std::string> names, images;
  for (const char* user : {"alice", "bob"}) {
    for (const PictureInfo& p : gen.Pictures(user)) {
      names.insert(p.fileName);
      images.insert(p.bytes);
      const std::string& b = p.bytes;
      ASSERT_GE(b.size(), 54u);
      const auto le = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<unsigned char>(b[at])) |
               static_cast<uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
               static_cast<uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
               static_cast<uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
      };
      EXPECT_EQ(b.substr(0, 2), "BM");
      EXPECT_EQ(le(2), b.size());
      const uint32_t w = le(18), h = le(22);
      EXPECT_TRUE(w >= 16 && w <= 64) << w;
      EXPECT_TRUE(h >= 16 && h <= 48) << h;
      EXPECT_EQ(le(28) & 0xFFFF, 24u);
      EXPECT_EQ(b.size(), 54 + ((w * 3 + 3) & ~3u) * h);
      EXPECT_EQ(PictureIndexOf(user, p.fileName), p.index);
    }
  }
  EXPECT_EQ(names.size(), 40u);
  EXPECT_EQ(images.size(), 40u);
  const std::string file = gen.Picture("alice", 4).fileName;
  EXPECT_EQ(gen.Get(true, "/bob/pic/item/" + file).status, 404);
  std::string altered = file;
  altered[3] = altered[3] == 'a' ? 'b' : 'a';
  EXPECT_EQ(gen.Get(true, "/alice/pic/item/" + altered).status, 404);
  EXPECT_EQ(gen.Get(true, "/alice/pic/abpic/" + file).body, gen.Picture("alice", 4).bytes);
}

TEST_F(GeneratorTest, SomeBodiesShowAnotherUsersPictureFromThePictureServer) {
  int foreign = 0;
  for (const ArticleInfo& a : gen.Articles("alice")) {
    const std::string src = "src=\"" + kPhoto + "/" + OtherUser("alice") + "/pic/item/";
    const size_t at = a.body.find(src);
    if (at == std::string::npos) continue;
    ++foreign;
    const std::string file = a.body.substr(at + src.size(), 28);
    EXPECT_EQ(gen.Get(true, "/" + OtherUser("alice") + "/pic/item/" + file).status, 200);
  }
  EXPECT_GE(foreign, 5);
  EXPECT_NE(OtherUser("photofriend"), "photofriend");
}

TEST_F(GeneratorTest, EachSiteServesOnlyItsOwnPathsUnlessTheyShareAHost) {
  const std::string pic = gen.Picture("alice", 0).itemPath;
  EXPECT_EQ(gen.Get(false, pic).status, 404);
  EXPECT_EQ(gen.Get(true, "/alice/blog/index/0").status, 404);
  BlogGenerator one{BlogOptions{}, kBlog, kBlog};
  EXPECT_EQ(one.Get(false, pic).status, 200);
  EXPECT_EQ(one.Get(false, "/alice/blog/index/0").status, 200);
  EXPECT_NE(one.AlbumPageHtml("alice", 0).find("psrc:\"" + kBlog + "/alice/pic/abpic/"),
            std::string::npos);
}

TEST_F(GeneratorTest, GbkPagesRoundTripAndContentTypesFollowTheOptions) {
  const std::string utf8List = gen.ListPageHtml("alice", 0);
  const auto utf8Articles = gen.Articles("alice");
  gen.SetCharset("gbk");
  const Answer list = gen.Get(false, "/alice/blog/index/0");
  EXPECT_EQ(list.contentType, "text/html; charset=gbk");
  EXPECT_NE(list.body, gen.ListPageHtml("alice", 0));  // really re-encoded
  EXPECT_EQ(Iconv(list.body, "UTF-8", "GBK"), gen.ListPageHtml("alice", 0));
  for (const ArticleInfo& a : gen.Articles("alice")) {
    const std::string page = gen.Get(false, a.path).body;
    EXPECT_EQ(Iconv(page, "UTF-8", "GBK"), gen.ArticlePageHtml("alice", a.number));
    const lbb::ArticleContent c = lbb::ParseArticlePage(Page(false, a.path));
    EXPECT_EQ(c.title, Utf8ToText(a.title));
    EXPECT_EQ(c.body, Utf8ToText(a.body));
  }
  EXPECT_EQ(List("alice", 1).size(), 10u);
  EXPECT_EQ(Album("alice", 0).size(), 8u);
  // Pictures are bytes whatever the pages' charset.
  EXPECT_EQ(gen.Get(true, gen.Picture("alice", 2).itemPath).body, gen.Picture("alice", 2).bytes);

  gen.SetCharsetParam(false);
  EXPECT_EQ(gen.Get(false, "/alice/blog/index/0").contentType, "text/html");
  gen.SetClaimedCharset("iso-8859-1");
  const Answer claimed = gen.Get(false, "/alice/blog/index/0");
  EXPECT_EQ(claimed.contentType, "text/html; charset=iso-8859-1");
  EXPECT_EQ(claimed.body, list.body);
  gen.SetCharset("utf-8");
  gen.SetClaimedCharset("");
  EXPECT_EQ(gen.Get(false, "/alice/blog/index/0").body, utf8List);
}

TEST_F(GeneratorTest, DamagedAndUnknownPathsAreNotFound) {
  const std::vector<std::string> paths = {"",
                                          "alice/blog/index/0",
                                          "//",
                                          "/_echo",
                                          "/alice/blog/index/-1",
                                          "/alice/blog/index/9999999999",
                                          "/alice/blog/index/",
                                          "/alice/blog/item/.html",
                                          "/alice/blog/item/x.html",
                                          "/alice/pic/item/",
                                          "/alice/pic/item/../../etc/passwd",
                                          "/alice/album/" + std::string(kAlbumSegment) + "/index/x",
                                          "/alice/blog/index/0/extra"};
  for (const std::string& p : paths)
    EXPECT_EQ(gen.Get(false, p).status, 404) << p;
  EXPECT_EQ(gen.Get(false, "/alice/blog/index/0?x=1").status, 200);
  // Random byte strings below a user never find a page and never break the generator.
  std::mt19937 rng(7);
  for (int i = 0; i < 3000; ++i) {
    std::string p = "/alice/";
    const int n = static_cast<int>(rng() % 60);
    for (int j = 0; j < n; ++j)
      p.push_back(static_cast<char>("/blogindexitem.html0123\xC4%"[rng() % 25]));
    const Answer a = gen.Get(rng() % 2 == 0, p);
    EXPECT_TRUE(a.status == 200 || a.status == 404) << p;
  }
}

}  // namespace
}  // namespace samplehost
