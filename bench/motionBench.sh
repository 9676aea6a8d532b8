#!/usr/bin/env bash
# bench/motionBench.sh [RUNS]: what falling rain costs the user. A 24-frame
# 1920x1080 sequence of the generated night street, rendered with the default
# rain and with one falling layer (6 pixels a frame), end to end (process
# start to last file written), through `nimbrel render` (PNG frames) and
# through ffmpeg's frei0r filter (a still looped into 24 frames, written as
# PNG frames too). Prints the fastest and the median of RUNS (default 3)
# runs in milliseconds and the ratio of the medians, motion / none.
# NIMBREL_BUILD picks the build folder (default build-release, Release).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
build=${NIMBREL_BUILD:-build-release}
if [ -z "${NIMBREL_NO_BUILD:-}" ]; then
  cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DNIMBREL_TESTS=OFF -DNIMBREL_BENCH=OFF -DNIMBREL_TOOLS=ON >/dev/null
  cmake --build "$build" --target nimbrel nimbrel_plugin nimbrel-sample nimbrel_frei0r_module \
    -j "${NIMBREL_JOBS:-$(nproc)}" >/dev/null
fi
nimbrel=$build/bin/nimbrel

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/nimbrel-sample" "$work/hd.png" 1920 1080

# fastest / median of the numbers on stdin
stats() { sort -n | awk '{v[NR]=$1} END {printf "%.0f / %.0f", v[1], v[int((NR+1)/2)]}'; }
median() { sort -n | awk '{v[NR]=$1} END {printf "%.0f", v[int((NR+1)/2)]}'; }
# milliseconds of wall time of the command given
timed() {
  local start end
  start=$(date +%s%N)
  "$@" >/dev/null 2>&1
  end=$(date +%s%N)
  echo $(((end - start) / 1000000))
}

cli() { rm -rf "$work/out" && mkdir "$work/out" &&
  "$nimbrel" render "$work/hd.png" -o "$work/out/f_%02d.png" --frames 0-23 --quiet "$@"; }
ffmpeg_rain() { rm -rf "$work/out" && mkdir "$work/out" &&
  FREI0R_PATH="$build" ffmpeg -nostdin -loglevel error -y -loop 1 -framerate 25 -i "$work/hd.png" \
    -frames:v 24 -vf "frei0r=nimbrel:$1" "$work/out/f_%02d.png"; }
base="0.6|0.1|0.25|1|0.9|1|0.1212|None|None|0.5|0.5|0.5|RGB"

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
declare -A ms
# The cases take turns, so that a change of the machine's load hits them alike.
for _ in $(seq "$runs"); do
  for case in cli-none cli-fall ffmpeg-none ffmpeg-fall; do
    case $case in
    cli-none) t=$(timed cli) ;;
    cli-fall) t=$(timed cli --set "Fall Speed=6") ;;
    ffmpeg-none) t=$(timed ffmpeg_rain "$base|0") ;;
    ffmpeg-fall) t=$(timed ffmpeg_rain "$base|0.06") ;;
    esac
    ms[$case]="${ms[$case]:-} $t"
  done
done

printf '%-8s %-22s %-22s %s\n' "path" "no motion (ms)" "falling (ms)" "ratio of medians"
for path in cli ffmpeg; do
  none=$(tr ' ' '\n' <<<"${ms[$path-none]}" | grep . | median)
  fall=$(tr ' ' '\n' <<<"${ms[$path-fall]}" | grep . | median)
  printf '%-8s %-22s %-22s %s\n' "$path" "$(tr ' ' '\n' <<<"${ms[$path-none]}" | grep . | stats)" \
    "$(tr ' ' '\n' <<<"${ms[$path-fall]}" | grep . | stats)" "$(awk -v a="$fall" -v b="$none" 'BEGIN {printf "%.3f", a / b}')"
done
