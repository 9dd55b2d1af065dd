// The building blocks of the sample blog: stable ids and file names, titles, dates, body
// paragraphs, pictures, and the escaping rules of the generated HTML. Everything is a pure
// function of the user name and the article or picture number.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace samplehost {

// 64-bit hash of a user name (FNV-1a), and a mixer that derives numbers from it.
uint64_t UserHash(std::string_view user);
uint64_t Mix(uint64_t a, uint64_t b);

// Id of article `number` (1 = oldest): 16 hex digits from the user and the number, then the
// number in 4 hex digits. The same for every article count.
std::string ArticleId(std::string_view user, int number);
// The article number an id stands for; 0 when `id` is not one of the user's ids.
int ArticleNumberOf(std::string_view user, std::string_view id);

// File name of album picture `index` (0-based): 20 hex digits from the user and the index,
// the index in 4 hex digits, ".bmp" (28 characters).
std::string PictureFileName(std::string_view user, int index);

// The title of article `number` as the list page shows it (unescaped UTF-8).
std::string ArticleTitle(int number, bool oddTitles);
// "yyyy-mm-dd hh:mm", a few days apart per article.
std::string ArticleDate(std::string_view user, int number);
// The paragraphs of article `number` (HTML, already escaped where needed).
std::string ArticleParagraph(int number, int which);

// A 24-bit BMP, 16x16 to 64x48, with a pattern that depends on the user and the index.
std::string BmpPicture(std::string_view user, int index);

// Text for HTML element content and attribute values: & < > " escaped.
std::string HtmlEscape(std::string_view s);
// A user name as it goes into an address: the characters that would end an attribute value
// or a path segment early (" < > space, controls, %) percent-encoded.
std::string UrlPart(std::string_view s);

}  // namespace samplehost
