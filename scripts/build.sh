#!/usr/bin/env bash
# Configures (first time only) and builds ZEPX. Incremental: ninja rebuilds
# what changed and CMake re-globs the sources by itself.
#
#   bash scripts/build.sh                 all four builds
#   bash scripts/build.sh win64 host      just those
#   bash scripts/build.sh win64:zepx      one ninja target of one build (several
#                                         targets of one build: one ninja call)
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

build_one() {  # build_one NAME [NINJA-TARGET...]
  local name=$1
  shift
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
  if ! ninja -C "$ROOT/build/$name" "$@" >"$ROOT/build/$name.build.log" 2>&1; then
    grep -v '^\[[0-9]*/[0-9]*\]' "$ROOT/build/$name.build.log" | head -n 80 >&2
    echo "build: $name failed (full log: build/$name.build.log)" >&2
    return 1
  fi
}

args=("$@")
((${#args[@]})) || args=(host asan win64 win32)
# Targets of one build go to one ninja call: one "building" line and one
# log that keeps everything that build printed.
names=()
declare -A ninja_targets whole
for a in "${args[@]}"; do
  name=${a%%:*}
  [[ -v ninja_targets[$name] ]] || { names+=("$name"); ninja_targets[$name]=; }
  if [[ $a == *:* ]]; then ninja_targets[$name]+=" ${a#*:}"; else whole[$name]=1; fi
done
status=0
for name in "${names[@]}"; do
  # A build named whole builds everything, whatever else was asked of it.
  [[ -v whole[$name] ]] && ninja_targets[$name]=
  # shellcheck disable=SC2086  # the targets are words
  build_one "$name" ${ninja_targets[$name]} || status=1
done
exit $status
