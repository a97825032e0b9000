#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Snugbox need;
# `install-deps.sh fuzz` adds what `make fuzz` needs on top.
# Only missing packages are installed; as root apt-get runs directly, otherwise through sudo.
set -euo pipefail

packages=(
  g++ make cmake pkg-config
  qt6-base-dev qt6-qpa-plugins libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-liberation2 fontconfig
  xvfb xauth xdotool x11-utils imagemagick
)
case "${1:-}" in
  "") ;;
  fuzz) packages+=(clang libclang-rt-14-dev) ;;   # libFuzzer and the sanitizers' runtimes
  *) echo "usage: $0 [fuzz]" >&2; exit 2 ;;
esac

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

echo "Installing missing packages: ${missing[*]}"
if [[ $(id -u) -eq 0 ]]; then
  as_root=()
elif command -v sudo >/dev/null 2>&1; then
  as_root=(sudo)
else
  echo "error: packages missing (${missing[*]}) and neither root nor sudo is available" >&2
  exit 1
fi

export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -qq
"${as_root[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
