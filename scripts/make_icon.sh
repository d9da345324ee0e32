#!/usr/bin/env bash
# Renders app/zepx.ico: a bold white "Z" on a rounded blue square, drawn
# at each size (not scaled down from one picture) so the small sizes stay
# crisp. Needs ImageMagick and the DejaVu fonts. The .ico is committed;
# run this only to change it.
set -euo pipefail
ROOT="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
tmp="$(mktemp -d)"
trap 'rm -rf "$tmp"' EXIT
font=DejaVu-Sans-Bold
for s in 16 32 48 256; do
  r=$((s / 6)); [[ $r -lt 2 ]] && r=2
  m=$((s / 32))   # margin
  pt=$((s * 78 / 100))
  convert -size "${s}x${s}" xc:none \
    -fill '#1f5fbf' -draw "roundrectangle $m,$m $((s - 1 - m)),$((s - 1 - m)) $r,$r" \
    -fill white -font "$font" -pointsize "$pt" -gravity center -annotate +0+0 'Z' \
    "PNG32:$tmp/z$s.png"
done
convert "$tmp/z16.png" "$tmp/z32.png" "$tmp/z48.png" "$tmp/z256.png" "$ROOT/app/zepx.ico"
echo "wrote $ROOT/app/zepx.ico"
