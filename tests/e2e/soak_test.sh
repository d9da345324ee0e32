#!/usr/bin/env bash
# Soak: 10,000 passes over a mixed list posted by WinMessage to a probe.
# Every message must arrive; the program's handle count and private memory
# are printed every 1,000 passes and must stay flat; afterwards Stop (a real
# click) and the stop hot key (a real key press) must still end a run within
# 200 ms.
source "$(dirname "$0")/lib.sh"
reset_settings
now_ms() { date +%s%3N; }

PASSES=${SOAK_PASSES:-10000}
title="ZEPX Soak Probe"
start_probe "$title" 830,600,440,340
top=$PROBE_TOP

macro="$WORK/soak.mcr"
# The target is the probe's frame, which logs and drops what arrives: an
# edit would slow down as it filled.
write_soak_macro "$macro" "$title" "$top" "$PASSES"
start_zepx "$macro"
mark=$(probe_lines)

# The program's figures: what Windows reports (Wine 8 answers 0 for
# another process's handle count and memory), and what Linux knows of the
# same process: its anonymous resident memory (what it allocated) and its
# open file descriptors (Wine keeps one for most kernel objects it holds).
sample() {
  local p=/proc/$ZEPX_PID
  echo "private_kb $(awk '/^RssAnon/ {print $2}' "$p/status") fds $(ls "$p/fd" | wc -l)" \
    "($(ctl procinfo "$ZEPX_CAPTION" | tr -d '\r'))"
}
echo "     before: $(sample)"
t0=$(now_ms)
ctl click "$ZEPX_CAPTION" 'prefix:実行' >/dev/null
ctl waitstatus "$ZEPX_CAPTION" "実行中" 15000 >/dev/null || fail "the soak run did not start"

# One reading of the polling loop. A zepxctl start that fails is shown and
# tried again, up to three times, so that a hiccup of one helper process is
# told apart from the program under test having gone.
poll() {
  local out status try
  for try in 1 2 3; do
    status=0
    out=$(ctl "$@") || status=$?
    if ((status == 0)); then
      tr -d '\r' <<<"$out"
      return 0
    fi
    echo "     zepxctl $1 failed with $status (try $try): $(tr -d '\r' <<<"$out" | head -c 200)" >&2
    kill -0 "$ZEPX_PID" 2>/dev/null || fail "the program ended during the soak"
    sleep 1
  done
  fail "zepxctl $1 failed three times in a row"
}

declare -a handles=() privates=()
next=1000
while :; do
  status=$(poll status "$ZEPX_CAPTION")
  passes=$(poll passes "$ZEPX_CAPTION")
  [[ $passes =~ ^[0-9]+$ ]] || fail "the pass count reads \"$passes\""
  if ((passes >= next)) || [[ $status == 待機中* ]]; then
    info=$(sample)
    echo "     pass $passes: $info ($(($(now_ms) - t0)) ms)"
    privates+=("$(awk '{print $2}' <<<"$info")")
    handles+=("$(awk '{print $4}' <<<"$info")")
    while ((next <= passes)); do next=$((next + 1000)); done
  fi
  [[ $status == 待機中* ]] && break
  (($(now_ms) - t0 < 900000)) || fail "the soak run did not end within 15 minutes"
  sleep 0.5
done
echo "     $PASSES passes in $(($(now_ms) - t0)) ms"
expect_eq "passes shown" "$PASSES" "$(ctl passes "$ZEPX_CAPTION" | tr -d '\r')"

# Every message arrived.
count() { probe_since "$mark" | awk -v m="$1" -v w="wp=$2" '$3=="top" && $4==m && $5==w' | wc -l; }
expect_eq "messages received (a, b, Enter, Space)" "$PASSES $PASSES $PASSES $PASSES" \
  "$(count WM_CHAR 0x61) $(count WM_CHAR 0x62) $(count WM_KEYDOWN 0xD) $(count WM_KEYDOWN 0x20)"

# Flat: the last samples may not exceed the first ones after warm-up by
# more than a small margin (a leak of one handle or one page a pass would).
first_h=${handles[1]:-${handles[0]}} last_h=${handles[-1]}
first_p=${privates[1]:-${privates[0]}} last_p=${privates[-1]}
((last_h <= first_h + 20)) || fail "open descriptors grew from $first_h to $last_h"
((last_p <= first_p + 2048)) || fail "private memory grew from $first_p KiB to $last_p KiB"
echo "ok   descriptors $first_h -> $last_h, private memory $first_p -> $last_p KiB"

# ---- Stop and the stop hot key after the soak -----------------------------------
# An endless run; the time from the click or key to the idle status.
ctl click "$ZEPX_CAPTION" 'prefix:実行' >/dev/null
ctl waitstatus "$ZEPX_CAPTION" "実行中" 15000 >/dev/null || fail "the run after the soak did not start"
# Loop:$PASSES again, but the stop comes long before.
stop_latency() {  # stop_latency HOW
  local idle_file="$WORK/idle.$1" pressed idle
  ctl idleat "$ZEPX_CAPTION" 20000 >"$idle_file" &
  local watcher=$!
  if [[ $1 == button ]]; then
    read -r l t r b < <(ctl children "$ZEPX_CAPTION" | tr -d '\r' |
      sed -n 's/.* rect=\([-0-9]*\),\([-0-9]*\),\([-0-9]*\),\([-0-9]*\) class=Button text=待機.*/\1 \2 \3 \4/p' | head -n 1)
    [[ -n ${b:-} ]] || fail "no Stop button found"
    xdotool mousemove "$(((l + r) / 2))" "$(((t + b) / 2))"
  fi
  sleep 1  # the watcher is polling by now
  pressed=$(now_ms)
  if [[ $1 == button ]]; then
    xdotool click 1
  else
    xdotool key --clearmodifiers ctrl+alt+x
  fi
  wait "$watcher" || fail "the run did not stop after the $1"
  idle=$(tr -d '\r' <"$idle_file")
  echo "     stop by $1: idle $((idle - pressed)) ms after it"
  ((idle - pressed <= 200)) || fail "stop by $1 took $((idle - pressed)) ms"
}
stop_latency button
ctl click "$ZEPX_CAPTION" 'prefix:実行' >/dev/null
ctl waitstatus "$ZEPX_CAPTION" "実行中" 15000 >/dev/null || fail "the second run after the soak did not start"
stop_latency hotkey
close_zepx
echo "PASS $E2E_NAME"
