// Saved articles: the record the index page lists, the file names, and the page text.
#pragma once

#include <cstdint>
#include <vector>

#include "app/engine/Text.h"

namespace lbb {

// One saved article.
struct blogLink {
  int32_t id = 0;   // number within its run, from 1
  String title;     // numbered title: id, one blank, the raw title (not escaped)
  String localURL;  // "html/" + SafeFileTitle(title) + ".html\" target=_blank>"
  String webURL;    // the article page's address on the blog host
};

// Longest file name (without ".html") that SafeFileTitle gives, in UTF-16 code units: keeps
// the whole path within what Windows accepts.
constexpr int kMaxFileTitle = 150;

// File name (without extension) under which an article with this numbered title is saved:
// "*", "/", "\", ":", "?", "\"" and "|" removed, "<" and ">" turned into "(" and ")", "#" into
// "Sharp". Further, so that every title gives a name Windows accepts and that names the file
// Windows actually creates: control characters removed, trailing dots and blanks removed,
// device names (CON, NUL, COM1, ...) prefixed with "_", at most kMaxFileTitle code units
// (never splitting a surrogate pair), "_" when nothing is left. The one function for both the
// page's file name and its `localURL`.
String SafeFileTitle(const String& title);

// The name under which a picture whose address ends in `picTail` is saved in the user's pic
// folder: the part after the last slash, with characters Windows refuses turned into "_" and
// the other rules of SafeFileTitle, so that it stays inside that folder whatever it holds.
String PictureFileName(const String& picTail);

// "html/" + SafeFileTitle(title) + ".html\" target=_blank>".
String LocalURLFor(const String& numberedTitle);

// The UTF-8 bytes of a saved article page: the XHTML head with the numbered title, the body
// with the user's own pictures on the picture server pointed at "../pic/", the foot.
std::string ArticlePageText(const String& body, const String& numberedTitle,
                            const String& photoSite, const String& userName);

// True when `name` is a device name of Windows (CON, PRN, AUX, NUL, COM1-9, LPT1-9), also with
// an extension or trailing blanks and dots ("nul.txt", "COM1 "), in any letter case.
bool IsReservedDeviceName(std::u16string_view name);

}  // namespace lbb
