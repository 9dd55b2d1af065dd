#!/bin/sh
# skintool pack/unpack: round trip and exit codes (0 done, 1 bad input, 2 usage).
#   skintool_test.sh PATH-TO-SKINTOOL
tool="$1"
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

i=0
while [ $i -lt 300 ]; do
  echo "line $i of the sample, with words that repeat and repeat" >>"$dir/plain"
  i=$((i + 1))
done

expect 0 pack "$dir/plain" "$dir/block"
expect 0 unpack "$dir/block" "$dir/back"
cmp -s "$dir/plain" "$dir/back" || { echo "FAIL: round trip differs"; fail=1; }
[ "$(wc -c <"$dir/block")" -lt "$(wc -c <"$dir/plain")" ] || { echo "FAIL: no compression"; fail=1; }

# Over 1 MiB: unpack writes its output in more than one piece.
seq 1 200000 >"$dir/numbers"
expect 0 pack "$dir/numbers" "$dir/numbers.block"
expect 0 unpack "$dir/numbers.block" "$dir/numbers.back"
cmp -s "$dir/numbers" "$dir/numbers.back" || { echo "FAIL: large round trip differs"; fail=1; }

: >"$dir/empty"
expect 0 pack "$dir/empty" "$dir/empty.block"
expect 0 unpack "$dir/empty.block" "$dir/empty.back"
[ -f "$dir/empty.back" ] && [ ! -s "$dir/empty.back" ] || { echo "FAIL: empty round trip"; fail=1; }

# Usage errors.
expect 2
expect 2 frobnicate a b
expect 2 pack "$dir/plain"
expect 2 unpack a b c
expect 0 help

# Bad input.
expect 1 pack "$dir/missing" "$dir/x"
expect 1 unpack "$dir/missing" "$dir/x"
printf 'ab' >"$dir/short"
expect 1 unpack "$dir/short" "$dir/x"
head -c 40 "$dir/block" >"$dir/truncated"
expect 1 unpack "$dir/truncated" "$dir/x"
printf '\377\377\377\377abc' >"$dir/negative"
expect 1 unpack "$dir/negative" "$dir/x"
printf '\377\377\377\177abc' >"$dir/huge"
expect 1 unpack "$dir/huge" "$dir/x"
[ ! -e "$dir/x" ] || { echo "FAIL: output written for bad input"; fail=1; }
# A failed unpack leaves an existing output file as it was, and nothing beside it.
echo kept >"$dir/kept"
expect 1 unpack "$dir/truncated" "$dir/kept"
[ "$(cat "$dir/kept")" = kept ] || { echo "FAIL: failed unpack changed its output"; fail=1; }
[ ! -e "$dir/kept.unpacking" ] || { echo "FAIL: failed unpack left a partial file"; fail=1; }
expect 1 pack "$dir/plain" "$dir/no/such/dir/out"

[ $fail -eq 0 ] && echo "skintool: all checks passed"
exit $fail
