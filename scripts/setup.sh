#!/usr/bin/env bash
# Installs what the build and the tests need: Debian packages, then the
# browser tests' npm packages (tests/web/package-lock.json); quiet and quick
# when all are present. With --windows, also what the Windows programs need
# (scripts/windows.sh) and what runs their tests.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"

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

sudo=""
if [ "$(id -u)" -ne 0 ]; then sudo="sudo"; fi
apt_install() {
  echo "Installing: $*"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "$@" >/dev/null
}
[ ${#missing[@]} -eq 0 ] || apt_install "${missing[@]}"
# Debian's nodejs comes without npm, which is a package of its own there.
command -v npm >/dev/null || apt_install npm

# puppeteer-core, pinned by the lock file; it drives Debian's chromium and
# never downloads a browser. npm ci runs again only when the lock file is
# newer than what it last installed.
web_tests="$root/tests/web"
if [ ! "$web_tests/node_modules/.package-lock.json" -nt "$web_tests/package-lock.json" ]; then
  PUPPETEER_SKIP_DOWNLOAD=1 npm ci --prefix "$web_tests" --ignore-scripts --no-audit --no-fund \
    --loglevel=error >/dev/null
fi
