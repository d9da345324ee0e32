#!/usr/bin/env bash
# Builds the two Windows programs and packs what a Windows user needs into
# build/zepx-<version>.zip: zepx.exe (64-bit), zepx-i686.exe (32-bit), a
# read-me for Windows users (docs/windows-readme.txt, Japanese first; the
# repository's README is for building, not for them), the user's guide as
# one HTML page with its pictures inside (guide-ja.html, which the Help menu
# opens from beside zepx.exe) and the sample macros.
# zepx.exe is one file that needs only the system's DLLs: copying it alone
# onto a Windows machine is enough.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
bash scripts/setup.sh
bash scripts/build.sh win64:zepx win32:zepx
version=$(sed -n 's/^project(zepx VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
stage="build/package/zepx-$version"
rm -rf build/package
mkdir -p "$stage/examples"
cp build/win64/zepx.exe "$stage/zepx.exe"
cp build/win32/zepx.exe "$stage/zepx-i686.exe"
# CR LF, so that every Notepad shows it as lines.
sed 's/$/\r/' docs/windows-readme.txt >"$stage/README.txt"
python3 scripts/guide_html.py docs/guide-ja.md "$stage/guide-ja.html"
cp examples/*.mcr "$stage/examples/"
rm -f "build/zepx-$version.zip"
(cd build/package && zip -qr "../zepx-$version.zip" "zepx-$version")
echo "package: build/zepx-$version.zip"
unzip -l "build/zepx-$version.zip"
