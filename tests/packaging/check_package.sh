#!/usr/bin/env bash
# check_package.sh BUILD_DIR: builds the Debian package from the build's install rules, as
# `make package` does, and checks it as the archive would: its name, control fields, file
# owners and the program link, then lintian, which must report no error and no warning.
# Exits 77 (skipped) where the Debian packaging tools are not installed.
set -uo pipefail

build=$1
for tool in dpkg-deb dpkg-shlibdeps file lintian; do
    command -v "$tool" >/dev/null 2>&1 || { echo "SKIPPED: $tool is not installed (scripts/install-deps.sh test installs it)"; exit 77; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cpack --config "$build/CPackConfig.cmake" -B "$work" >"$work/cpack.log" 2>&1 ||
    { cat "$work/cpack.log"; echo "FAILED: cpack"; exit 1; }
deb="$work/snugbox_1.0.0_$(dpkg --print-architecture).deb"
[[ -f $deb ]] || { echo "FAILED: no $(basename "$deb"), only: $(cd "$work" && ls ./*.deb)"; exit 1; }
echo "$(basename "$deb"): $(stat -c %s "$deb") bytes"

failures=0
fail() {
    echo "FAILED: $*"
    failures=$((failures + 1))
}
field() { dpkg-deb -f "$deb" "$1"; }

metainfo="$(dirname "$0")/../../packaging/org.example.snugbox.Snugbox.metainfo.xml"
summary=$(sed -n 's|.*<summary>\(.*\)</summary>.*|\1|p' "$metainfo")
[[ $(field Section) == games ]] || fail "section $(field Section)"
[[ $(field Maintainer) =~ ^[^\<]+\ \<[^@\>]+@[^\>]+\>$ ]] || fail "maintainer $(field Maintainer)"
[[ $(field Description | head -1) == "$summary" ]] || fail "description starts '$(field Description | head -1)', not the summary"
# The libraries come from dpkg-shlibdeps, so an empty or hand-made list shows here.
[[ $(field Depends) == *libqt6widgets6* && $(field Depends) == *libc6* ]] || fail "depends: $(field Depends)"

contents=$(dpkg-deb -c "$deb")
owners=$(awk '$2 != "root/root"' <<<"$contents")
[[ -z $owners ]] || fail "not owned by root: $owners"
grep -q ' \./usr/games/snugbox -> \.\./lib/snugbox/snugbox$' <<<"$contents" || fail "no /usr/games/snugbox link to the program"
! grep -q ' \./usr/bin/' <<<"$contents" || fail "a game's program in /usr/bin"

# Errors and warnings fail; infos and pedantic notes are shown. Warnings kept on purpose
# would be named here; there are none.
lintian --display-info --pedantic "$deb" >"$work/lintian.log" 2>"$work/lintian.err"
status=$?
if grep -q '^[EW]: ' "$work/lintian.log"; then
    fail "lintian:
$(grep '^[EW]: ' "$work/lintian.log" | sed 's/^/  /')"
elif ((status != 0)); then
    fail "lintian ended with status $status: $(cat "$work/lintian.err")"
fi
sed -n 's/^[IP]: /lintian, for information: /p' "$work/lintian.log"

((failures == 0)) || exit 1
echo "package: all checks passed"
