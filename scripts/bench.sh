#!/usr/bin/env bash
# Prints ZEPX's performance figures (takes about five minutes):
#   - load and save of a 999-line macro file (host, Release build)
#   - WaitMs accuracy under Wine: 200 waits each of 10, 100 and 1000 ms
#   - processor time of one 10-second WaitMs
#   - a 10,000-character text line sent by WinMessage and by SendInput from
#     the real zepx.exe to the probe window: time and messages received
# Not part of scripts/test.sh. Needs the packages of scripts/setup.sh; runs
# on a display of its own unless DISPLAY is set.
#
#   BENCH_WIN_DIR=build/xyz   use that Windows build instead of building win64
#
#   bash scripts/bench.sh [quick] [host] [wait] [text]
#     quick: 20 waits each instead of 200; naming parts runs only those
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$ROOT"
WAITS=200
PARTS=()
for a in "$@"; do
  case "$a" in
    quick) WAITS=20 ;;
    host | wait | text) PARTS+=("$a") ;;
    *) echo "bench: unknown argument $a" >&2; exit 2 ;;
  esac
done
((${#PARTS[@]})) || PARTS=(host wait text)
part() { [[ " ${PARTS[*]} " == *" $1 "* ]]; }

if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi

echo "== building (host Release in build/bench-host, win64)"
if [[ ! -f build/bench-host/build.ninja ]]; then
  cmake -S . -B build/bench-host -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
fi
ninja -C build/bench-host zepx_bench >/dev/null
# BENCH_WIN_DIR: an already built Windows build folder to use instead.
WIN_DIR="${BENCH_WIN_DIR:-$ROOT/build/win64}"
[[ -n "${BENCH_WIN_DIR:-}" ]] || bash scripts/build.sh win64 >/dev/null

export ZEPX_EXE="$WIN_DIR/zepx.exe"
export ZEPX_TOOLS_DIR="$WIN_DIR"
export ZEPX_ARTIFACTS="$ROOT/build/bench-artifacts"
export ZEPX_WINEPREFIX="$ROOT/build/bench-prefix"
source scripts/wine_env.sh
zepx_wine_prefix
source tests/e2e/lib.sh

if part host; then
  echo
  echo "== macro file of 999 lines (host, median of 50)"
  build/bench-host/zepx_bench 50
fi

if part wait; then
  echo
  echo "== WaitMs under Wine (real Win32 platform, $WAITS waits each)"
  wine "$ZEPX_TOOLS_DIR/wait_bench.exe" accuracy "$WAITS" 10 100 1000 | tr -d '\r'
  wine "$ZEPX_TOOLS_DIR/wait_bench.exe" cpu 10000 | tr -d '\r'
fi
part text || exit 0

echo
echo "== a 10,000-character text line, zepx.exe to the probe"
reset_settings
title="ZEPX Bench Probe"
start_probe "$title" 830,600,440,340
text=$(printf 'abcdefghij%.0s' $(seq 1000))

text_run() {  # text_run METHOD NAME
  local method=$1 name=$2 macro="$WORK/text$1.mcr"
  if ((method == 2)); then
    printf '//ZEP Version 4.51\n[Text]~~%s|>%s@@Edit <%s>\nKey:0\nLoop:1\nSendAPI:2\n' \
      "$text" "$title" "$PROBE_EDIT" | write_macro "$macro"
  else
    printf '//ZEP Version 4.51\n[ｱﾌﾟﾘを前面に]@@%s\n[Text]~~%s\nKey:0\nLoop:1\nSendAPI:%s\n' \
      "$title" "$text" "$method" | write_macro "$macro"
  fi
  probe_clear
  start_zepx "$macro"
  local mark
  mark=$(probe_lines)
  run_macro 600000
  # The program is done long before the probe: wait until its log has not
  # grown for two seconds.
  local size=-1 now
  for _ in $(seq 600); do
    now=$(wc -c <"$PROBE_LOG")
    ((now == size)) && break
    size=$now
    sleep 2
  done
  # Receipt times of the first and the last character, from the probe log.
  local stats
  stats=$(probe_since "$mark" | awk '$3=="edit" && $4 ~ /^WM_(KEYDOWN|KEYUP|CHAR)$/ {
      n[$4]++; if (!first) first=$1; last=$1 }
    END { printf "%d %d %d %.1f", n["WM_CHAR"], n["WM_KEYDOWN"], n["WM_KEYUP"], (last-first)/1000 }')
  local chars downs ups span
  read -r chars downs ups span <<<"$stats"
  local len
  len=$(probe_text | tr -d '\n' | wc -c)
  printf '%-10s zepx.exe: run %d ms from request to idle (1000 ms of it the start delay)\n' "$name" "$RUN_MS"
  printf '%-10s probe: %.1f ms from the first to the last message received\n' "$name" "$span"
  printf '%-10s probe received WM_CHAR %d, WM_KEYDOWN %d, WM_KEYUP %d; edit text %d characters\n' \
    "$name" "$chars" "$downs" "$ups" "$len"
  close_zepx
}
text_run 2 WinMessage
text_run 1 SendInput
