#!/usr/bin/env bash
# Installs what is missing, builds the Windows program and starts it under
# Wine in Japanese.
#
#   bash scripts/run.sh               a demonstration, then ZEPX stays open
#   bash scripts/run.sh file.mcr ...  ZEPX with those macro files
#
# The demonstration starts Wine's Notepad, opens examples/demo_notepad.mcr in
# ZEPX, presses the start hot key Ctrl+Alt+S and lets the run type into
# Notepad and click into it, taking screenshots before and after
# (build/demo/). With a display this happens on it and ZEPX stays open
# afterwards; without one it runs on a virtual display (Xvfb), prints where
# the screenshots are and ends.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [[ -z ${ZEPX_RUN_ON_DISPLAY:-} ]]; then
  bash "$ROOT/scripts/setup.sh"
  # The demonstration reads ZEPX's status with the end-to-end tests' tool.
  if (($#)); then
    bash "$ROOT/scripts/build.sh" win64:zepx
  else
    bash "$ROOT/scripts/build.sh" win64:zepx win64:zepxctl
  fi
  if [[ -z ${DISPLAY:-} ]]; then
    # Again, on a virtual display of its own.
    ZEPX_RUN_ON_DISPLAY=headless exec xvfb-run -a -s "-screen 0 1280x1024x24" \
      bash "$ROOT/scripts/run.sh" "$@"
  fi
fi

source "$ROOT/scripts/wine_env.sh"
zepx_wine_prefix
EXE="$ROOT/build/win64/zepx.exe"

if (($#)); then
  # Files named on the command line are handed over as Windows paths.
  args=()
  for a in "$@"; do
    if [[ -e $a ]]; then args+=("$(zepx_winpath "$a")"); else args+=("$a"); fi
  done
  if [[ ${ZEPX_RUN_ON_DISPLAY:-} != headless ]]; then
    echo "run: starting zepx.exe on display $DISPLAY${XAUTHORITY:+ (XAUTHORITY=$XAUTHORITY)}"
    cd "$ROOT/build/win64"
    exec wine "$EXE" "${args[@]}"
  fi
  # Nobody can see this display: say so at once, show the window as a
  # screenshot, and end when ZEPX ends (or at Ctrl+C) instead of waiting
  # silently on something invisible.
  OUT="$ROOT/build/run"
  mkdir -p "$OUT"
  rm -f "$OUT/zepx.png"
  echo "run: there is no display, so ZEPX runs on a hidden virtual one ($DISPLAY)"
  (cd "$ROOT/build/win64" && exec wine "$EXE" "${args[@]}") >"$OUT/zepx.log" 2>&1 &
  zepx_pid=$!
  trap 'wineserver -k 2>/dev/null || true' EXIT
  trap 'echo; echo "run: stopped by Ctrl+C"; exit 130' INT TERM
  for ((i = 0; i < 600; i++)); do
    xdotool search --onlyvisible --name '^ZEPX' >/dev/null 2>&1 && break
    kill -0 "$zepx_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$zepx_pid" 2>/dev/null; then
    sleep 1  # let it paint
    import -window root "$OUT/zepx.png" 2>/dev/null &&
      echo "run: ZEPX is up; screenshot of the hidden display: $OUT/zepx.png"
    echo "run: Ctrl+C stops it; this ends when ZEPX ends"
  fi
  wait "$zepx_pid" || true
  echo "run: ZEPX has ended (its output: $OUT/zepx.log)"
  exit 0
fi

# ---- the demonstration ---------------------------------------------------------

OUT="$ROOT/build/demo"
mkdir -p "$OUT"
rm -f "$OUT"/*.png
headless=${ZEPX_RUN_ON_DISPLAY:-}
pids=()
finish() {
  if [[ $headless == headless ]]; then
    kill "${pids[@]}" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
  fi
}
trap finish EXIT

# wait_window SECONDS NAME-REGEX: the first visible window so named.
wait_window() {
  local i w
  for ((i = 0; i < $1 * 10; i++)); do
    w=$(xdotool search --onlyvisible --name "$2" 2>/dev/null | head -n 1 || true)
    [[ -n $w ]] && { echo "$w"; return 0; }
    sleep 0.1
  done
  return 1
}
shot() { import -window root "$OUT/$1.png" 2>/dev/null && echo "demo: screenshot $OUT/$1.png"; }

echo "demo: display $DISPLAY${XAUTHORITY:+ (XAUTHORITY=$XAUTHORITY)}"
wine notepad >/dev/null 2>&1 &
pids+=($!)
pad=$(wait_window 60 'メモ帳') || { echo "demo: Notepad did not appear" >&2; exit 1; }
xdotool windowmove "$pad" 0 0 >/dev/null 2>&1 || true

(cd "$ROOT/build/win64" && exec wine "$EXE" "$(zepx_winpath "$ROOT/examples/demo_notepad.mcr")") \
  >"$OUT/zepx.log" 2>&1 &
pids+=($!)
zepx=$(wait_window 60 '^ZEPX - demo_notepad') || { echo "demo: ZEPX did not appear" >&2; exit 1; }
xdotool windowmove "$zepx" 420 200 >/dev/null 2>&1 || true
sleep 1
shot before

echo "demo: Ctrl+Alt+S starts the run"
xdotool key --clearmodifiers ctrl+alt+s
ctl() { wine "$ROOT/build/win64/zepxctl.exe" "$@" 2>/dev/null | tr -d '\r'; }
ctl waitstatus "ZEPX - demo_notepad.mcr" "実行中" 10000 >/dev/null ||
  echo "demo: the run did not start" >&2
ctl waitstatus "ZEPX - demo_notepad.mcr" "待機中" 60000 >/dev/null ||
  echo "demo: the run did not end within a minute" >&2
shot after
echo "demo: Notepad now holds what the run typed; compare before.png and after.png in $OUT"

if [[ $headless != headless ]]; then
  echo "demo: ZEPX stays open; close it to end"
  wait "${pids[1]}" || true
fi
