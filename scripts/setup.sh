#!/usr/bin/env bash
# Installs the Debian packages the build needs; quiet and quick when all are present.
# With --windows, also what the Windows programs need (scripts/windows.sh) and
# what runs their tests.
set -euo pipefail

packages=(cmake g++ make libdocopt-dev libxml2-dev libgtest-dev libbenchmark-dev libpng-dev
  nlohmann-json3-dev clang libclang-rt-dev
  # The fairness sweep (scripts/fairness.sh).
  python3
  # The browser build (scripts/web.sh) and its tests (scripts/test-web.sh).
  emscripten node-acorn nodejs chromium)
if [ "${1:-}" = "--windows" ]; then
  # The cross compiler, the PNG writer of the Windows inspector, the packer
  # of the download, and Wine to run the programs' tests.
  packages+=(g++-mingw-w64-x86-64-posix libstb-dev zip wine64)
fi

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$package")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
