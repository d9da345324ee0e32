#!/usr/bin/env bash
# Installs what is missing, builds the Windows program and starts it under
# Wine in Japanese. Extra arguments (macro files) are passed to zepx.exe.
#
#   bash scripts/run.sh [file.mcr ...]
#
# Without a display ($DISPLAY empty) it runs on a virtual one (Xvfb); the
# display is printed, and `DISPLAY=:N XAUTHORITY=... import -window root
# shot.png` takes a screenshot of it.
set -euo pipefail

ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

if [[ -z ${ZEPX_RUN_ON_DISPLAY:-} ]]; then
  bash "$ROOT/scripts/setup.sh"
  bash "$ROOT/scripts/build.sh" win64:zepx
  if [[ -z ${DISPLAY:-} ]]; then
    # Again, on a virtual display of its own.
    ZEPX_RUN_ON_DISPLAY=1 exec xvfb-run -a -s "-screen 0 1280x1024x24" \
      bash "$ROOT/scripts/run.sh" "$@"
  fi
fi

source "$ROOT/scripts/wine_env.sh"
# Files named on the command line are handed over as Windows paths.
args=()
for a in "$@"; do
  if [[ -e $a ]]; then args+=("$(zepx_winpath "$a")"); else args+=("$a"); fi
done
zepx_wine_prefix
echo "run: starting zepx.exe on display $DISPLAY${XAUTHORITY:+ (XAUTHORITY=$XAUTHORITY)}"
cd "$ROOT/build/win64"
exec wine "$ROOT/build/win64/zepx.exe" "${args[@]}"
