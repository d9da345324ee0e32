#!/usr/bin/env bash
# Installs what building and testing ZEPX needs on Debian 12, as root.
# Safe to run again: it asks apt only for what is missing and makes the
# Japanese locale only when it is absent. Output goes to build/setup.log.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
mkdir -p "$ROOT/build"
LOG="$ROOT/build/setup.log"
: >"$LOG"

# Why each package is here:
#   g++ cmake ninja-build          host build
#   libgtest-dev                   host unit tests (ships libgtest.a and its CMake config)
#   mingw-w64                      the Windows builds (x86_64 and i686)
#   wine wine64                    running zepx.exe (64-bit only: no i386 architecture)
#   xvfb xauth                     a display for Wine (xvfb-run needs xauth)
#   xdotool                        finding windows and typing hot keys on that display
#   imagemagick                    screenshots of the display (import)
#   fonts-ipafont-gothic           Japanese glyphs in Wine's controls
#   locales                        localedef, for ja_JP.UTF-8 (Wine's ANSI code page 932)
#   libx*                          winex11's optional X extensions (present on most images)
#   zip unzip                      scripts/package.sh
#   clang-14 libclang-rt-14-dev    the fuzz targets (libFuzzer and the sanitizer runtimes)
#   python3                        scripts/cp932_sources.py, the cp932 copies clang compiles;
#                                  scripts/guide_html.py, the guide page of the zip
PACKAGES=(
  g++ cmake ninja-build libgtest-dev
  clang-14 libclang-rt-14-dev python3
  mingw-w64
  wine wine64
  xvfb xauth xdotool imagemagick
  fonts-ipafont-gothic locales
  libxrender1 libxcursor1 libxi6 libxrandr2 libxcomposite1 libxfixes3 libxinerama1
  zip unzip
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${db:Status-Abbrev}' "$p" 2>/dev/null | grep -q '^ii'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "setup: missing packages (${missing[*]}); run as root to install them" >&2
    exit 1
  fi
  echo "setup: installing ${missing[*]} (log: $LOG)"
  export DEBIAN_FRONTEND=noninteractive
  if ! apt-get update >>"$LOG" 2>&1; then
    echo "setup: apt-get update failed; last lines of $LOG:" >&2
    tail -n 20 "$LOG" >&2
    exit 1
  fi
  if ! apt-get install -y -q --no-install-recommends "${missing[@]}" >>"$LOG" 2>&1; then
    echo "setup: apt-get install failed; last lines of $LOG:" >&2
    tail -n 30 "$LOG" >&2
    exit 1
  fi
else
  echo "setup: all packages present" >>"$LOG"
fi

# Under LANG=ja_JP.UTF-8 Wine's ANSI code page is 932, the code page the
# program's text is kept in.
if ! locale -a 2>/dev/null | grep -qiE '^ja_JP\.utf-?8$'; then
  if [[ $(id -u) -ne 0 ]]; then
    echo "setup: locale ja_JP.UTF-8 missing; run as root to generate it" >&2
    exit 1
  fi
  echo "setup: generating the ja_JP.UTF-8 locale"
  if ! localedef -i ja_JP -f UTF-8 ja_JP.UTF-8 >>"$LOG" 2>&1; then
    echo "setup: localedef failed; see $LOG" >&2
    exit 1
  fi
fi

echo "setup: ready"
