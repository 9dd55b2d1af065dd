// Decoding of fetched bytes by the character set an answer names, through the code pages of
// the system.
#pragma once

#include <string>

#include "app/engine/Text.h"

namespace lbb::win {

// `bytes` decoded in the character set registered as `charset` (or a common alias of it;
// case-insensitive, blanks and quotes around the name ignored). A missing or unknown name,
// or a code page the system lacks, gives ISO-8859-1: every byte one character.
String DecodeCharset(const std::string& bytes, const std::string& charset);

}  // namespace lbb::win
