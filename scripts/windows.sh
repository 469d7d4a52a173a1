#!/usr/bin/env bash
# Cross-builds the Windows programs, static 64-bit varnholt.exe and
# varnholt-inspect.exe, into build-windows/ and packs them with the README and
# the licences of the libraries linked into them as
# build-windows/varnholt-windows-x64.zip. The native programs are built into
# build/ first: they generate the footprint tables, and the Windows tests
# compare against them. Extra arguments go to the Windows cmake configure.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
bash "$root/scripts/setup.sh" --windows

cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$root/build" -j "$(nproc)" --target varnholt varnholt-inspect -- --quiet
tables="$root/build/generated/footprint_tables.cpp"
[ -f "$tables" ] || { echo "windows.sh: the native build made no $tables" >&2; exit 1; }

docopt="$(dpkg -L libdocopt-dev | grep '/docopt\.cpp$' | head -n 1)"
out="$root/build-windows"
cmake -S "$root" -B "$out" -DCMAKE_BUILD_TYPE=Release \
  -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64-x86_64.cmake" \
  -DVARNHOLT_FOOTPRINT_TABLES="$tables" -DVARNHOLT_DOCOPT_SOURCE="$docopt" "$@" >/dev/null
# holdfile.exe serves the tests (tests/windows/run.sh) and stays out of the zip.
cmake --build "$out" -j "$(nproc)" --target varnholt varnholt-inspect holdfile -- --quiet

# The licences of what is linked into the programs, from the packages that
# provided it.
licences="$out/LICENSES.txt"
{
  echo "varnholt.exe and varnholt-inspect.exe contain the following libraries,"
  echo "each under the licence that follows its name."
  for package in libdocopt-dev nlohmann-json3-dev libstb-dev mingw-w64-x86-64-dev \
      gcc-mingw-w64-x86-64-posix-runtime; do
    printf '\n===== %s =====\n\n' "$package"
    cat "/usr/share/doc/$package/copyright"
  done
} > "$licences"

zip="$out/varnholt-windows-x64.zip"
rm -f "$zip"
zip -q -j -X "$zip" "$out/varnholt.exe" "$out/varnholt-inspect.exe" "$root/README.md" "$licences"
echo "The Windows programs are in $zip"
