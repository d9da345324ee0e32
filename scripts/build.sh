#!/usr/bin/env bash
# Configures (first time only) and builds ZEPX. Incremental: ninja rebuilds
# what changed and CMake re-globs the sources by itself.
#
#   bash scripts/build.sh                 all four builds
#   bash scripts/build.sh win64 host      just those
#   bash scripts/build.sh win64:zepx      one ninja target of one build
#
#   host   build/host   g++ Debug, logic + recording substitute + zepx_tests
#   asan   build/asan   the same with AddressSanitizer and UBSan
#   win64  build/win64  MinGW x86_64 Release: zepx.exe and the e2e tool programs
#   win32  build/win32  MinGW i686 Release (built, not run: Wine here is 64-bit only)
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

configure() {
  local name=$1
  shift
  local dir="$ROOT/build/$name"
  if [[ ! -f "$dir/build.ninja" ]]; then
    echo "build: configuring $name"
    mkdir -p "$ROOT/build"
    cmake -S "$ROOT" -B "$dir" -G Ninja "$@" >"$ROOT/build/$name.configure.log" 2>&1 || {
      cat "$ROOT/build/$name.configure.log" >&2
      echo "build: configuring $name failed" >&2
      return 1
    }
  fi
}

build_one() {
  local name=${1%%:*} target=
  [[ $1 == *:* ]] && target=${1#*:}
  case "$name" in
    host)  configure host -DCMAKE_BUILD_TYPE=Debug ;;
    asan)  configure asan -DCMAKE_BUILD_TYPE=Debug -DZEPX_SANITIZE=ON ;;
    win64) configure win64 -DCMAKE_BUILD_TYPE=Release \
             -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-x86_64.cmake" ;;
    win32) configure win32 -DCMAKE_BUILD_TYPE=Release \
             -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-i686.cmake" ;;
    *) echo "build: unknown build '$name' (host, asan, win64, win32)" >&2; return 2 ;;
  esac
  echo "build: building $name"
  # The full log stays in build/; on failure the errors are shown.
  if ! ninja -C "$ROOT/build/$name" $target >"$ROOT/build/$name.build.log" 2>&1; then
    grep -v '^\[[0-9]*/[0-9]*\]' "$ROOT/build/$name.build.log" | head -n 80 >&2
    echo "build: $name failed (full log: build/$name.build.log)" >&2
    return 1
  fi
}

targets=("$@")
((${#targets[@]})) || targets=(host asan win64 win32)
status=0
for t in "${targets[@]}"; do
  build_one "$t" || status=1
done
exit $status
