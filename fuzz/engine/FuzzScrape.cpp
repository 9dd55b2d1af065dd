// Scrapers on any page text: the bytes as UTF-8 (damaged sequences included) and, from the
// same bytes, as UTF-16 code units, through all three page parsers.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/engine/Scrape.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const lbb::String utf8 = lbb::Utf8ToText(bytes);
  lbb::String unitsText(size / 2, u'\0');
  for (size_t i = 0; i + 1 < size; i += 2)
    unitsText[i / 2] = static_cast<char16_t>(data[i] | data[i + 1] << 8);
  const lbb::String& units = unitsText;
  for (const lbb::String* page : {&utf8, &units}) {
    for (const lbb::String& url : lbb::ParseListPage(*page, u"http://b")) {
      if (url.size() < 8) __builtin_trap();  // every address begins with the site
    }
    const lbb::ArticleContent c = lbb::ParseArticlePage(*page);
    if (c.title.size() > page->size() || c.body.size() > page->size()) __builtin_trap();
    lbb::ParseAlbumPage(*page, u"http://p");
  }
  return 0;
}
