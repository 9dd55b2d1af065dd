// The text helpers, the scrapers, file names, the article page text and config.ini.
#include <gtest/gtest.h>

#include "app/engine/Article.h"
#include "app/engine/Config.h"
#include "app/engine/Runs.h"
#include "app/engine/Scrape.h"
#include "tests/native/engine/TestHost.h"

namespace lbb {
namespace {

TEST(TextHelpers, PosIsOneBasedAndZeroWhenAbsentOrEmpty) {
  EXPECT_EQ(TextPos(u"b", u"abcb"), 2);
  EXPECT_EQ(TextPos(u"x", u"abc"), 0);
  EXPECT_EQ(TextPos(u"", u"abc"), 0);
  EXPECT_EQ(TextPos(u"B", u"abc"), 0);  // case matters
  // Counted in UTF-16 code units: a character outside the BMP counts twice.
  EXPECT_EQ(TextPos(u"x", u"\U0001F600x"), 3);
}

TEST(TextHelpers, CopyClampsInTheStatedOrder) {
  EXPECT_EQ(TextCopy(u"abcdef", 2, 3), u"bcd");
  EXPECT_EQ(TextCopy(u"abcdef", 0, 2), u"ab");  // index below 1 taken as 1, count kept
  EXPECT_EQ(TextCopy(u"abcdef", -5, 3), u"abc");
  EXPECT_EQ(TextCopy(u"abcdef", 7, 1), u"");   // beyond the end
  EXPECT_EQ(TextCopy(u"abcdef", 6, 9), u"f");  // cut at the end
  EXPECT_EQ(TextCopy(u"abcdef", 2, -1), u"");  // negative count
  EXPECT_EQ(TextCopy(u"", 1, 1), u"");
}

TEST(TextHelpers, Utf8RoundTripAndDamagedInput) {
  const String t = u"备份 \U0001F600 é";
  EXPECT_EQ(Utf8ToText(TextToUtf8(t)), t);
  EXPECT_EQ(Utf8ToText("a\xC3"), u"a\uFFFD");                    // cut sequence
  EXPECT_EQ(Utf8ToText("\xC0\xAF"), u"\uFFFD\uFFFD");            // overlong
  EXPECT_EQ(Utf8ToText("\xED\xA0\x80"), u"\uFFFD\uFFFD\uFFFD");  // encoded surrogate
  EXPECT_EQ(Trim(u" \t\x01 name \r\n"), u"name");
}

const String kBlog = u"http://blog.test";
const String kPhoto = u"http://photo.test";

String ListEntry(const String& path) {
  return u"<div class=\"tit\"><a href=\"" + path + u"\" target=_blank>t</a></div>\n";
}

TEST(Scrapers, ListPageSkipsTheFirstMarker) {
  EXPECT_TRUE(ParseListPage(u"<p>" + ListEntry(u"/u/blog/item/1.html") + u"</p>", kBlog).empty());
  const String three = u"<html>" + ListEntry(u"/u/decoy") + ListEntry(u"/u/blog/item/2.html") +
                       ListEntry(u"/u/blog/item/1.html") + u"</html>";
  EXPECT_EQ(ParseListPage(three, kBlog),
            (std::vector<String>{kBlog + u"/u/blog/item/2.html", kBlog + u"/u/blog/item/1.html"}));
  EXPECT_TRUE(ParseListPage(u"", kBlog).empty());
}

TEST(Scrapers, ArticleTitleAndBody) {
  const String page =
      u"<html><title>a_b_c</title><div id=\"m_blog\" class=\"modbox\">BODY<div class=\"opt\">"
      u"</html>";
  const ArticleContent c = ParseArticlePage(page);
  EXPECT_EQ(c.title, u"a");  // up to the first of two underscores
  EXPECT_EQ(c.body, u"<div id=\"m_blog\" class=\"modbox\">BODY");
  // Body start after the first end marker: empty body.
  EXPECT_EQ(ParseArticlePage(u"<title>t_x</title><div class=\"opt\"><div id=\"m_blog\" "
                             u"class=\"modbox\">x<div class=\"opt\">")
                .body,
            u"");
  // No start marker but an end marker: everything up to and including E's first character.
  EXPECT_EQ(ParseArticlePage(u"<title>t_ab<div class=\"opt\">z").body, u"t_ab<");
  // No underscore: empty title; markers before the title are not found.
  const ArticleContent d = ParseArticlePage(
      u"<div id=\"m_blog\" class=\"modbox\">x<div class=\"opt\"><title>plain</title>");
  EXPECT_EQ(d.title, u"");
  EXPECT_EQ(d.body, u"");
  // Without "<title>", the text after the page's 6th character is searched.
  EXPECT_EQ(ParseArticlePage(u"123456ab_cd!").title, u"ab");
}

TEST(Scrapers, AlbumPageKeepsOnlyThePictureServer) {
  const String page = u"x psrc:\"" + kPhoto + u"/u/pic/abpic/a.bmp\" y psrc:\"http://other.test" +
                      u"/u/pic/abpic/b.bmp\" z psrc:\"" + kPhoto + u"/u/pic/abpic/c.bmp\" end";
  EXPECT_EQ(ParseAlbumPage(page, kPhoto),
            (std::vector<String>{kPhoto + u"/u/pic/abpic/a.bmp", kPhoto + u"/u/pic/abpic/c.bmp"}));
}

TEST(Scrapers, MarkerWithoutClosingQuoteEnds) {
  // An address that never closes: the site alone, then the search goes on and ends.
  const auto urls = ParseAlbumPage(u"psrc:\"" + kPhoto + u"/abc", kPhoto);
  ASSERT_EQ(urls.size(), 1u);
  EXPECT_EQ(urls[0], kPhoto);
}

TEST(FileNames, TheReplacementTable) {
  EXPECT_EQ(SafeFileTitle(u"1 a/b:c?d"), u"1 abcd");
  EXPECT_EQ(SafeFileTitle(u"2 C# <x> *|\\\""), u"2 CSharp (x)");
  EXPECT_EQ(LocalURLFor(u"3 a?b"), u"html/3 ab.html\" target=_blank>");
}

TEST(FileNames, WhatWindowsWouldRefuseIsMadeSafe) {
  EXPECT_EQ(SafeFileTitle(u"4 a\tb\x01"), u"4 ab");
  EXPECT_EQ(SafeFileTitle(u"5 end. . "), u"5 end");
  EXPECT_EQ(SafeFileTitle(u"CON"), u"_CON");
  EXPECT_EQ(SafeFileTitle(u"com1.txt"), u"_com1.txt");
  EXPECT_EQ(SafeFileTitle(u"COM10"), u"COM10");
  EXPECT_EQ(SafeFileTitle(u"???"), u"_");
  const String longTitle = u"6 " + String(300, u'长');
  EXPECT_EQ(SafeFileTitle(longTitle).size(), static_cast<size_t>(kMaxFileTitle));
  // A surrogate pair at the cut is not split.
  const String pairs = u"7" + String(kMaxFileTitle - 2, u'a') + u"\U0001F600";
  const String cut = SafeFileTitle(pairs);
  EXPECT_EQ(cut.size(), static_cast<size_t>(kMaxFileTitle - 1));
  EXPECT_NE(cut.back(), 0xD83D);
}

TEST(FileNames, PictureNamesStayInThePicFolder) {
  EXPECT_EQ(PictureFileName(u"/0123456789abcdef01234567.bmp"), u"0123456789abcdef01234567.bmp");
  EXPECT_EQ(PictureFileName(u"..\\..\\evil.exe"), u".._.._evil.exe");
  EXPECT_EQ(PictureFileName(u"/.."), u"_");
  EXPECT_EQ(PictureFileName(u"/nul"), u"_nul");
  EXPECT_EQ(PictureFileName(u"a/b/c:d"), u"c_d");
}

TEST(ArticlePage, HeadBodyFootAndPictureRewrite) {
  const String body = u"<img src=\"" + kPhoto + u"/me/pic/item/a.bmp\"><img src=\"" + kPhoto +
                      u"/other/pic/item/b.bmp\">";
  const std::string page = ArticlePageText(body, u"1 标题 <b>", kPhoto, u"me");
  EXPECT_TRUE(
      page.starts_with("<!DOCTYPE html PUBLIC \"-//W3C//DTD XHTML 1.0 Transitional//EN\""
                       " \"http://www.w3.org/TR/xhtml1/DTD/xhtml1-transitional.dtd\">\r\n"
                       "<html xmlns=\"http://www.w3.org/1999/xhtml\">\r\n<head>\r\n"));
  EXPECT_NE(page.find("<title>1 标题 <b></title>\r\n</head>\r\n<body>\r\n"), std::string::npos);
  EXPECT_NE(page.find("<img src=\"../pic/a.bmp\">"), std::string::npos);
  EXPECT_NE(page.find("src=\"http://photo.test/other/pic/item/b.bmp\""), std::string::npos);
  EXPECT_TRUE(page.ends_with("\">\r\n</body>\r\n</html>"));
}

TEST(RunTexts, MessagesAndStamps) {
  EXPECT_EQ(ListIndexError(0), u"List index out of bounds (0)");
  EXPECT_EQ(MessageBoxText(u"abc"), u"abc.");
  EXPECT_EQ(MessageBoxText(u"abc."), u"abc.");
  EXPECT_EQ(MessageBoxText(u"abc)"), u"abc)");  // code 41 is below 46
  EXPECT_EQ(MessageBoxText(u"备份"), u"备份.");
  EXPECT_EQ(TimeStamp({u"2026/1/2", u"0:00:00", 0, 0, 0}), u"2026/1/2");
  EXPECT_EQ(TimeStamp({u"2026/1/2", u"0:00:01", 0, 0, 1}), u"2026/1/2 0:00:01");
}

TEST(RunTexts, UserNamesThatLeadOutsideAreRefused) {
  for (const String& bad :
       {String(u".."), String(u"."), String(u"a/b"), String(u"..\\x"), String(u"c:x"),
        String(u"a\x01"), String(u"CON"), String(u"name."), String(u"a|b")}) {
    EXPECT_FALSE(UserNameProblem(bad).empty()) << TextToUtf8(bad);
  }
  EXPECT_TRUE(UserNameProblem(u"orlend").empty());
  EXPECT_TRUE(UserNameProblem(u"%E4%B8%AD文").empty());
  EXPECT_EQ(MessageBoxText(UserNameProblem(u"..")), UserNameProblem(u".."));
}

TEST(ConfigFile, ReadsAndWritesOneKeyKeepingEverythingElse) {
  const std::string original =
      "; kept comment\r\n[Other]\r\nlastURL=http://x/1\r\nmine = kept \r\n\r\n"
      "[用户]\r\nLASTURL = \"http://x/2\"\r\nweird line\r\n";
  ConfigIni ini(original);
  EXPECT_EQ(ini.ReadString(u"用户", u"lastURL", u""), u"http://x/2");
  EXPECT_EQ(ini.ReadString(u"other", u"mine", u""), u"kept");
  EXPECT_FALSE(ini.Read(u"missing", u"lastURL"));
  EXPECT_EQ(ini.Bytes(), original);  // untouched lines byte for byte

  ini.Write(u"用户", u"lastURL", u"http://x/3");
  ini.Write(u"Other", u"added", u"1");
  ini.Write(u"新", u"lastURL", u"http://x/4");
  const ConfigIni again(ini.Bytes());
  EXPECT_EQ(again.ReadString(u"用户", u"lastURL", u""), u"http://x/3");
  EXPECT_EQ(again.ReadString(u"Other", u"lastURL", u""), u"http://x/1");
  EXPECT_EQ(again.ReadString(u"Other", u"added", u""), u"1");
  EXPECT_EQ(again.ReadString(u"新", u"lastURL", u""), u"http://x/4");
  EXPECT_NE(again.Bytes().find("weird line\r\n"), std::string::npos);
  EXPECT_NE(again.Bytes().find("; kept comment\r\n"), std::string::npos);
  EXPECT_FALSE(again.Bytes().starts_with("\xEF\xBB\xBF"));
  // "added" joins its section before the blank separator line.
  EXPECT_NE(again.Bytes().find("mine = kept \r\nadded=1\r\n\r\n[用户]"), std::string::npos);
}

TEST(ConfigFile, SavedThroughATemporaryFile) {
  test::TempDir dir;
  test::FaultyFileSystem fs;
  const String path = dir.text() + u"/config.ini";
  ConfigIni ini;
  ini.Write(u"a", u"lastURL", u"one");
  ASSERT_TRUE(ini.Save(fs, path));
  fs.failWriteContaining = u"config.ini";
  ini.Write(u"a", u"lastURL", u"two");
  EXPECT_FALSE(ini.Save(fs, path));
  EXPECT_EQ(ConfigIni::Load(fs, path).ReadString(u"a", u"lastURL", u""), u"one");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

}  // namespace
}  // namespace lbb
