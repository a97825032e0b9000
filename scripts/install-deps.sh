#!/usr/bin/env bash
# install-deps.sh PURPOSE: makes sure what PURPOSE needs is installed, installing the missing
# Debian 12 packages with apt-get (directly as root, otherwise through sudo).
#   run      build and play the game (`make run`, `make install`)
#   package  also build the Debian package (`make package`)
#   bench    also build and run the benchmarks (`make bench`)
#   fuzz     also build and run the fuzzers (`make fuzz`): clang, libFuzzer and the
#            sanitizers' runtimes
#   test     everything `make test` uses: all of the above, the test frameworks, a virtual
#            X server and the tools that drive it, and the desktop-file validators
# Each package is found by a probe (a command, pkg-config, a file), not by dpkg alone, so a
# system without apt-get that has everything passes; one that lacks something gets one
# message naming all that is missing, and the exit status 1.
set -euo pipefail

# Debian package -> the probe that tells it is present.
declare -A probe=(
  [g++]='command -v g++'
  [make]='command -v make'
  [cmake]='command -v cmake'
  [pkg-config]='command -v pkg-config'
  [gzip]='command -v gzip'
  [qt6-base-dev]='pkg-config --exists "Qt6Widgets >= 6.4"'
  [libqt6gui6]='test -f "$(pkg-config --variable=libdir Qt6Core)/qt6/plugins/platforms/libqxcb.so"'
  [libgl-dev]='pkg-config --exists gl'
  [fontconfig]='command -v fc-list'
  [fonts-liberation2]='fc-list "Liberation Sans" | grep -q .'
  [dpkg-dev]='command -v dpkg-shlibdeps'
  [file]='command -v file'
  [libbenchmark-dev]='pkg-config --exists benchmark'
  [libxcb1-dev]='pkg-config --exists xcb'
  [libgtest-dev]='pkg-config --exists gtest'
  [libgmock-dev]='pkg-config --exists gmock'
  [xvfb]='command -v Xvfb'
  [xauth]='command -v xauth'
  [xdotool]='command -v xdotool'
  [procps]='command -v ps'
  [x11-utils]='command -v xprop'
  [imagemagick]='command -v convert && command -v compare && command -v import && command -v identify'
  [librsvg2-bin]='command -v rsvg-convert'
  [desktop-file-utils]='command -v desktop-file-validate'
  [appstream]='command -v appstreamcli'
  [groff-base]='command -v groff'
  [lintian]='command -v lintian'
  [clang]='command -v clang++'
  [libclang-rt-14-dev]='test -f "$(clang++ -print-file-name=libclang_rt.fuzzer-x86_64.a 2>/dev/null)"'
)

# The X11 platform plugin comes with libqt6gui6 in Debian 12 (qt6-qpa-plugins holds only
# the VNC and touch plugins).
run=(g++ make cmake pkg-config gzip qt6-base-dev libqt6gui6 libgl-dev fontconfig fonts-liberation2)
package=(dpkg-dev file)
# The start-up benchmark watches a virtual X server of its own for the first window.
bench=(libbenchmark-dev libxcb1-dev xvfb)
fuzz=(clang libclang-rt-14-dev)
test_only=(libgtest-dev libgmock-dev xauth xdotool procps x11-utils imagemagick librsvg2-bin
           desktop-file-utils appstream groff-base lintian)

# A new purpose is one more line here, with its packages in a list above.
case ${1:-} in
  run) wanted=("${run[@]}") ;;
  package) wanted=("${run[@]}" "${package[@]}") ;;
  bench) wanted=("${run[@]}" "${bench[@]}") ;;
  fuzz) wanted=("${run[@]}" "${fuzz[@]}") ;;
  test) wanted=("${run[@]}" "${package[@]}" "${bench[@]}" "${test_only[@]}") ;;
  *) echo "usage: $0 run|package|bench|fuzz|test" >&2; exit 2 ;;
esac

missing_packages() {
  local package
  for package in "${wanted[@]}"; do
    bash -c "${probe[$package]}" >/dev/null 2>&1 || echo "$package"
  done
}

mapfile -t missing < <(missing_packages)
if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

if ! command -v apt-get >/dev/null 2>&1; then
  echo "error: missing for '$1': ${missing[*]} (Debian package names); install them and run again" >&2
  exit 1
fi
if [[ $(id -u) -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "error: missing for '$1': ${missing[*]}, and neither root nor sudo is there to install them" >&2
  exit 1
fi

echo "Installing missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"

mapfile -t missing < <(missing_packages)
if [[ ${#missing[@]} -ne 0 ]]; then
  echo "error: still missing after apt-get install: ${missing[*]}" >&2
  exit 1
fi
