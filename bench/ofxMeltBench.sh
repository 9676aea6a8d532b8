#!/usr/bin/env bash
# bench/ofxMeltBench.sh [RUNS]: 24 frames of the generated night street at
# 1920x1080 through MLT's melt (7.41, with its OpenFX host, built from the MLT
# source beside the project and cached), end to end in frames per second:
# no filter (melt's own decode, conversions and output), the frei0r filter,
# the OpenFX plug-in at 8 bits and at 16 bits (RGBA64 output); beside them
# `nimbrel render` of the same 24 frames (PNG out). melt writes raw frames to
# a file, whose size is checked (a run that wrote fewer frames fails the
# script). Figures are the fastest and the median of RUNS (default 3).
# NIMBREL_BUILD picks the build folder (default build-release, Release).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
build=${NIMBREL_BUILD:-build-release}
NIMBREL_TARGETS="nimbrel nimbrel_plugin nimbrel-sample nimbrel_frei0r_module nimbrel_ofx_bundle" \
  scripts/build "$build" -DCMAKE_BUILD_TYPE=Release -DNIMBREL_TESTS=OFF -DNIMBREL_BENCH=ON -DNIMBREL_TOOLS=ON >/dev/null
mlt=$(../shared/hosts/build-mlt-openfx | tail -n 1)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/nimbrel-sample" "$work/hd.png" 1920 1080
printf 'description=HD 25p\nframe_rate_num=25\nframe_rate_den=1\nwidth=1920\nheight=1080\nprogressive=1
sample_aspect_num=1\nsample_aspect_den=1\ndisplay_aspect_num=16\ndisplay_aspect_den=9\ncolorspace=709\n' \
  >"$work/profile"

melt() {
  env LD_LIBRARY_PATH="$mlt/lib" MLT_REPOSITORY="$mlt/lib/mlt-7" MLT_DATA="$mlt/share/mlt-7" \
    OFX_PLUGIN_PATH="$PWD/$build/ofx" FREI0R_PATH="$PWD/$build" "$mlt/bin/melt" "$@"
}

# row LABEL COMMAND...: RUNS timed runs of COMMAND (24 frames), one table row.
row() {
  local label=$1
  shift
  : >"$work/wall"
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    "$@" >/dev/null 2>"$work/log" || { cat "$work/log" >&2; exit 1; }
    end=$(date +%s%N)
    echo $(((end - start) / 1000000)) >>"$work/wall"
  done
  sort -n "$work/wall" | awk -v l="$label" \
    '{v[NR]=$1} END {printf "| %s | %.2f / %.2f | %d / %d |\n", l, 24000/v[1], 24000/v[int((NR+1)/2)], v[1], v[int((NR+1)/2)]}'
}

through_melt() {
  local format=$1 deep=() bytes=4
  shift
  [ "$format" = rgba64le ] && deep=(mlt_image_format=rgba64) && bytes=8
  rm -f "$work/frames.raw"
  melt -silent -profile "$work/profile" "$work/hd.png" out=23 "$@" -consumer avformat:"$work/frames.raw" \
    f=rawvideo vcodec=rawvideo pix_fmt="$format" an=1 real_time=0 "${deep[@]}"
  [ "$(stat -c %s "$work/frames.raw")" -eq $((24 * 1920 * 1080 * bytes)) ] ||
    { echo "ofxMeltBench: melt $* wrote $(stat -c %s "$work/frames.raw") bytes, not 24 frames" >&2; exit 1; }
}

echo "| 24 HD frames | frames per second (fastest / median) | wall ms (fastest / median) |"
echo "|---|---|---|"
row "melt, no filter, RGBA" through_melt rgba
row "melt, frei0r.nimbrel, RGBA" through_melt rgba -filter frei0r.nimbrel
row "melt, openfx.org.nimbrel.rain, RGBA (8-bit)" through_melt rgba -filter openfx.org.nimbrel.rain
row "melt, no filter, RGBA64" through_melt rgba64le
row "melt, openfx.org.nimbrel.rain, RGBA64 (16-bit)" through_melt rgba64le -filter openfx.org.nimbrel.rain
row "nimbrel render --frames 0-23 (PNG out)" \
  "$build/bin/nimbrel" render "$work/hd.png" -o "$work/out_%04d.png" --frames 0-23 --quiet
