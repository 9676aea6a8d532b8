#!/usr/bin/env bash
# bench/cliBench.sh [RUNS]: what a user of `nimbrel render` waits for, on the
# generated night street at 1920x1080 and 3840x2160: single frames and
# 24-frame sequences, 8-bit PNG, 16-bit TIFF and float EXR, end to end
# (process start to last file written) with the read / render / write split
# that --verbose reports and the peak memory (/usr/bin/time). In the same run:
# the rain processor alone, in process (rainBench), and two peers for scale:
# ImageMagick's rain recipe (noise, threshold, motion blur, screen) and
# G'MIC's rain filter (fx_rain, screened over the picture).
# Figures are the fastest and the median of RUNS (default 3) runs; read,
# render and write of a sequence are per frame (median over all frames).
# NIMBREL_BUILD picks the build folder (default build-release, Release).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
build=${NIMBREL_BUILD:-build-release}
NIMBREL_TARGETS="nimbrel nimbrel_plugin nimbrel-sample rainBench" \
  scripts/build "$build" -DCMAKE_BUILD_TYPE=Release -DNIMBREL_TESTS=OFF -DNIMBREL_BENCH=ON -DNIMBREL_TOOLS=ON >/dev/null
nimbrel=$build/bin/nimbrel

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for size in "hd 1920 1080" "uhd 3840 2160"; do
  set -- $size
  "$build/bin/nimbrel-sample" "$work/$1.png" "$2" "$3"
  # The same picture as 16-bit TIFF and float EXR (no rain: intensity 0).
  "$nimbrel" render "$work/$1.png" -o "$work/$1.tif" --depth 16 --set intensity=0 --quiet
  "$nimbrel" render "$work/$1.png" -o "$work/$1.exr" --depth 32 --set intensity=0 --quiet
  for ext in png exr; do
    mkdir -p "$work/$1-$ext"
    for f in $(seq -w 1 24); do cp "$work/$1.$ext" "$work/$1-$ext/in.00$f.$ext"; done
  done
done

# fastest / median of the numbers on stdin
stats() { sort -n | awk '{v[NR]=$1} END {printf "%.0f / %.0f", v[1], v[int((NR+1)/2)]}'; }
median() { sort -n | awk '{v[NR]=$1} END {printf "%.0f", v[int((NR+1)/2)]}'; }

# run LABEL FRAMES ARGS...: RUNS runs of `nimbrel render ARGS`, one table row.
run() {
  local label=$1 frames=$2
  shift 2
  : >"$work/wall"; : >"$work/peak"; : >"$work/split"
  for ((i = 0; i < runs; i++)); do
    rm -rf "$work/out" && mkdir "$work/out"
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/mem" "$nimbrel" render "$@" --quiet --verbose 2>"$work/log"
    end=$(date +%s%N)
    echo $(((end - start) / 1000000)) >>"$work/wall"
    cat "$work/mem" >>"$work/peak"
    sed -nE 's/.*read ([0-9.]+) ms, render ([0-9.]+) ms, write ([0-9.]+) ms/\1 \2 \3/p' \
      "$work/log" >>"$work/split"
  done
  local wall fps=""
  wall=$(stats <"$work/wall")
  if [ "$frames" -gt 1 ]; then
    fps=$(sort -n "$work/wall" | awk -v n="$frames" '{v[NR]=$1} END {printf "%.2f / %.2f", n*1000/v[1], n*1000/v[int((NR+1)/2)]}')
  fi
  echo "| $label | $wall | ${fps:--} | $(cut -d' ' -f1 "$work/split" | median) |" \
    "$(cut -d' ' -f2 "$work/split" | median) | $(cut -d' ' -f3 "$work/split" | median) |" \
    "$(($(median <"$work/peak") / 1024)) |"
}

echo "| job | end to end (ms) | frames/s | read (ms) | render (ms) | write (ms) | peak (MB) |"
echo "|---|---|---|---|---|---|---|"
for size in hd uhd; do
  run "$size 8-bit PNG → PNG" 1 "$work/$size.png" -o "$work/out/o.png"
  run "$size 16-bit TIFF → TIFF" 1 "$work/$size.tif" -o "$work/out/o.tif"
  run "$size float EXR → EXR" 1 "$work/$size.exr" -o "$work/out/o.exr"
  run "$size 8-bit PNG, 24 frames" 24 "$work/$size-png/in.####.png" -o "$work/out/o.####.png" --frames 1-24
  run "$size float EXR, 24 frames" 24 "$work/$size-exr/in.####.exr" -o "$work/out/o.####.exr" --frames 1-24
done
echo
echo "Rain processor alone, in process (rainBench rainFrame), fastest / median of $runs:"
echo
echo '```'
bench/rainSummary.sh "$build/bench/rainBench" 'rainFrame' "$runs"
echo '```'

# The peers: ImageMagick's rain (white noise, kept where brightest, streaked
# downwards, screened over the picture) and G'MIC's (fx_rain adds a layer of
# rain: angle 65, speed 10, density 50 %, radius 0.1, gamma 1, opacity 1,
# preview off; `blend screen` composites it over the picture).
convert=${IMAGEMAGICK_CONVERT:-$(command -v convert-im6.q16 || command -v convert || true)}
gmic=$(command -v gmic || true)
echo
echo "| peer | end to end (ms) | peak (MB) |"
echo "|---|---|---|"
peer() {
  local label=$1
  shift
  : >"$work/wall"; : >"$work/peak"
  for ((i = 0; i < runs; i++)); do
    rm -f "$work/peer.png"
    start=$(date +%s%N)
    /usr/bin/time -f "%M" -o "$work/mem" "$@" >/dev/null 2>&1 || true
    end=$(date +%s%N)
    # A peer that failed would look fast: leave it out instead.
    [ -s "$work/peer.png" ] || { echo "| $label | failed | - |"; return 0; }
    echo $(((end - start) / 1000000)) >>"$work/wall"
    cat "$work/mem" >>"$work/peak"
  done
  echo "| $label | $(stats <"$work/wall") | $(($(median <"$work/peak") / 1024)) |"
}
for size in hd uhd; do
  if [ -n "$convert" ]; then
    peer "ImageMagick rain, $size 8-bit PNG → PNG" "$convert" "$work/$size.png" \
      \( +clone -fill black -colorize 100 +noise Random -colorspace Gray -threshold 97% \
      -motion-blur 0x25+270 \) -compose Screen -composite "$work/peer.png"
  fi
  if [ -n "$gmic" ]; then
    peer "G'MIC rain, $size 8-bit PNG → PNG" "$gmic" "$work/$size.png" \
      fx_rain 65,10,50,0.1,1,1,0 blend screen -o "$work/peer.png"
  fi
done
echo
echo "$runs runs each, $(nproc) cores, load average before: $(cut -d' ' -f1-3 /proc/loadavg)."
