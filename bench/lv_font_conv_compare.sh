#!/usr/bin/env bash
# Sets the compiler's glyph rasteriser against lv_font_conv: the same 3000 characters of the
# Droid Sans Fallback face at 16 px, 1 bit per pixel. lv_font_conv comes from the npm registry
# into build/bench-node on first use; it is never part of the build or the tests.
# Usage: bench/lv_font_conv_compare.sh [BUILD_DIR with KV_BENCH=ON, default build]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
font=/usr/share/fonts/truetype/droid/DroidSansFallbackFull.ttf
node_dir=build/bench-node
count=3000
size=16

[ -f "$font" ] || { echo "missing $font: run scripts/setup (fonts-droid-fallback)" >&2; exit 1; }
if [ ! -x "$node_dir/node_modules/.bin/lv_font_conv" ]; then
  npm install --prefix "$node_dir" lv_font_conv >/dev/null
fi
symbols=$(python3 -c "print(''.join(chr(0x4E00 + k) for k in range($count)), end='')")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT

best=
for run in 1 2 3; do
  start=$(date +%s%N)
  "$node_dir/node_modules/.bin/lv_font_conv" --font "$font" --size $size --bpp 1 --no-compress \
    --format bin --symbols "$symbols" -o "$out/font.bin"
  ms=$(( ($(date +%s%N) - start) / 1000000 ))
  if [ -z "$best" ] || [ "$ms" -lt "$best" ]; then best=$ms; fi
done
ours=$(QT_QPA_PLATFORM=offscreen "$build/bench/compile_bench" --glyphs "Droid Sans Fallback" $size $count 2>/dev/null)
echo "$count glyphs at $size px, 1 bpp, Droid Sans Fallback:"
echo "  lv_font_conv  ${best} ms (whole run, best of 3)"
echo "  compiler      ${ours} ms (best of 5)"
awk -v a="$best" -v b="$ours" 'BEGIN { printf "  ratio         %.1fx (goal: at least 15x)\n", a / b }'
