#!/usr/bin/env bash
# The picture of one window as the user's guide shows it, for the journeys'
# form_check (tests/e2e/lib.sh): guide_shot.sh CAPTION OUT.png. Taken from
# Wine's X window of that caption, so that it holds the window alone; the
# frame would be a window manager's, and none runs on the test display.
set -euo pipefail
[[ -n $1 ]] || { echo "guide_shot: no caption" >&2; exit 1; }
pattern=$(printf '%s' "$1" | sed 's/[][\.*^$()+?{}|]/\\&/g')
window=$(xdotool search --onlyvisible --name "^$pattern\$" | head -n 1)
[[ -n $window ]] || { echo "guide_shot: no window \"$1\" on the display" >&2; exit 1; }
mkdir -p "$(dirname "$2")"
import -window "$window" "$2"
