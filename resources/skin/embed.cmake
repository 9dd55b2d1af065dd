# cmake -DIN=file -DOUT=file.cpp -DSYMBOL=name -P embed.cmake
# Writes a C++ source defining `const uint8_t SYMBOL[]` and `const size_t SYMBOL_size` with the
# bytes of IN, in namespace lbb::resources.
file(READ "${IN}" hex HEX)
string(LENGTH "${hex}" hexlen)
math(EXPR size "${hexlen} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," bytes "${hex}")
string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){24})" "\\1\n" bytes "${bytes}")
file(WRITE "${OUT}.tmp"
  "// Generated from ${IN}; do not edit.\n#include <cstddef>\n#include <cstdint>\n\n"
  "namespace lbb::resources {\nextern const uint8_t ${SYMBOL}[];\nextern const size_t ${SYMBOL}_size;\n"
  "const uint8_t ${SYMBOL}[] = {\n${bytes}0};\nconst size_t ${SYMBOL}_size = ${size};\n}  // namespace lbb::resources\n")
file(RENAME "${OUT}.tmp" "${OUT}")
