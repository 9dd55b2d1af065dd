#!/bin/sh
# skintool build, list, extract and preview on the skins that come with the program, and their
# exit codes (0 done, 1 bad input, 2 usage).
#   skintool_skin_test.sh PATH-TO-SKINTOOL BUILTIN-SKIN SECOND-SKIN [SHEET-DIR]
# The preview sheets of both skins are kept in SHEET-DIR, when given, for people to look at.
tool="$1"
builtin="$2"
second="$3"
sheets="${4:-}"
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
fail=0

expect() {  # expect CODE ARGS...
  want="$1"
  shift
  "$tool" "$@" >"$dir/out.txt" 2>"$dir/err.txt"
  got=$?
  if [ "$got" -ne "$want" ]; then
    echo "FAIL: skintool $* exited $got, expected $want"
    cat "$dir/err.txt"
    fail=1
  elif [ "$want" -ne 0 ] && [ ! -s "$dir/err.txt" ]; then
    echo "FAIL: skintool $* exited $got without a message"
    fail=1
  fi
}

# extract, build again, extract again: the same files, and the same archive bytes.
expect 0 extract "$builtin" "$dir/one"
[ -f "$dir/one/slate.ini" ] && [ -f "$dir/one/close.bmp" ] || { echo "FAIL: extract missed files"; fail=1; }
expect 0 build "$dir/one" "$dir/again.skn"
expect 0 extract "$dir/again.skn" "$dir/two"
diff -r "$dir/one" "$dir/two" >/dev/null || { echo "FAIL: build then extract differs"; fail=1; }
cmp -s "$builtin" "$dir/again.skn" || { echo "FAIL: rebuilt archive differs"; fail=1; }

expect 0 list "$builtin"
grep -q '^version 70000,' "$dir/out.txt" || { echo "FAIL: list shows no version 70000"; fail=1; }
grep -q ' slate.ini' "$dir/out.txt" || { echo "FAIL: list misses the INI"; fail=1; }
grep -q 'close.bmp .*210 x 21, 24 bits' "$dir/out.txt" || { echo "FAIL: list misses image sizes"; fail=1; }

expect 0 build "$dir/one" "$dir/old.skn" 30000
expect 0 list "$dir/old.skn"
grep -q '^version 30000,' "$dir/out.txt" || { echo "FAIL: chosen version not written"; fail=1; }

for skin in "$builtin" "$second"; do
  expect 0 preview "$skin" "$dir/sheet.png"
  [ "$(head -c 4 "$dir/sheet.png" | tail -c 3)" = "PNG" ] || { echo "FAIL: preview of $skin is no PNG"; fail=1; }
  if [ -n "$sheets" ]; then
    mkdir -p "$sheets" && cp "$dir/sheet.png" "$sheets/skin-preview-$(basename "$skin" .skn).png"
  fi
done

# Usage errors.
expect 2 build "$dir/one"
expect 2 build "$dir/one" "$dir/x.skn" 12345
expect 2 list
expect 2 extract "$builtin"

# Bad input.
mkdir "$dir/noini" && cp "$dir/one/close.bmp" "$dir/noini/"
expect 1 build "$dir/noini" "$dir/x.skn"
mkdir "$dir/twoini" && cp "$dir/one/slate.ini" "$dir/twoini/a.ini" && cp "$dir/one/slate.ini" "$dir/twoini/b.ini"
expect 1 build "$dir/twoini" "$dir/x.skn"
mkdir "$dir/badbmp" && cp "$dir/one/slate.ini" "$dir/badbmp/" && printf 'BMnot really' >"$dir/badbmp/top.bmp"
expect 1 build "$dir/badbmp" "$dir/x.skn"
expect 1 build "$dir/missing" "$dir/x.skn"
[ ! -e "$dir/x.skn" ] || { echo "FAIL: archive written for bad input"; fail=1; }
mkdir "$dir/warn" && cp "$dir/one/slate.ini" "$dir/warn/"
expect 0 build "$dir/warn" "$dir/warn.skn"
grep -q 'missing' "$dir/err.txt" || { echo "FAIL: no warning for images the INI names but lacks"; fail=1; }
expect 1 list "$dir/one/slate.ini"
expect 1 extract "$dir/missing.skn" "$dir/out"

# An archive whose entry name would leave the target folder is not extracted.
printf ' N\000\000\011\000\000\000\000\000\000\000\000\000\000\000../evil\r\n\001\000\000\000Z' >"$dir/evil.raw"
expect 0 pack "$dir/evil.raw" "$dir/evil.skn"
expect 1 extract "$dir/evil.skn" "$dir/sub/out"
[ ! -e "$dir/sub/evil" ] || { echo "FAIL: entry written outside the folder"; fail=1; }

[ $fail -eq 0 ] && echo "skintool skins: all checks passed"
exit $fail
