#!/usr/bin/env bash
# links_no_test_code.sh PROGRAM [LIBRARY...]: the shipped program and the libraries it is
# made of carry no test code: no Qt test library among the shared libraries the program
# loads, and no symbol of the test support (event simulation, Qt's test functions, the
# toolkit's internal input hooks that synthetic input goes through).
set -uo pipefail

program=$1
shift

for tool in nm readelf ldd; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIPPED: $tool is not installed"; exit 77; }
done

failed=0
fail() { echo "FAILED: $*"; failed=1; }

readelf -d "$program" | grep -q NEEDED || fail "readelf shows no shared libraries of $program"
if readelf -d "$program" | grep NEEDED | grep -i 'Qt6Test'; then
    fail "$program asks for the Qt test library"
fi
if ldd "$program" | grep -i 'libQt6Test'; then
    fail "$program loads the Qt test library"
fi

test_symbols='simulate::|QTest|qt_handleMouseEvent|qt_handleKeyEvent|MessageBoxRecorder|whenModalOpens'
for file in "$program" "$@"; do
    symbols=$(nm -C "$file" 2>/dev/null)
    [[ -n $symbols ]] || symbols=$(nm -DC "$file")
    [[ -n $symbols ]] || fail "nm shows no symbols in $file"
    if found=$(grep -E "$test_symbols" <<<"$symbols"); then
        fail "$file holds test code:"$'\n'"$found"
    fi
done

((failed == 0)) && echo "no test code in $program and its ${#} libraries"
exit "$failed"
