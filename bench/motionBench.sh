#!/usr/bin/env bash
# bench/motionBench.sh [RUNS]: what falling rain costs the user. A 24-frame
# 1920x1080 sequence of the generated night street, rendered with the default
# rain and with one falling layer (6 pixels a frame), end to end (process
# start to last file written), through `nimbrel render` (PNG frames) and
# through ffmpeg's frei0r filter (a still looped into 24 frames, written as
# PNG frames too). Prints the fastest and the median of RUNS (default 3)
# runs in milliseconds, of wall time and of CPU time, and the ratio of the
# medians, falling / no motion.
# NIMBREL_BUILD picks the build folder (default build-release, Release).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
build=${NIMBREL_BUILD:-build-release}
if [ -z "${NIMBREL_NO_BUILD:-}" ]; then
  NIMBREL_TARGETS="nimbrel nimbrel_plugin nimbrel-sample nimbrel_frei0r_module" \
    scripts/build "$build" -DCMAKE_BUILD_TYPE=Release -DNIMBREL_TESTS=OFF -DNIMBREL_BENCH=ON -DNIMBREL_TOOLS=ON >/dev/null
fi
nimbrel=$build/bin/nimbrel

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/nimbrel-sample" "$work/hd.png" 1920 1080

# fastest / median of the numbers on stdin
stats() { sort -n | awk '{v[NR]=$1} END {printf "%.0f / %.0f", v[1], v[int((NR+1)/2)]}'; }
median() { sort -n | awk '{v[NR]=$1} END {printf "%.0f", v[int((NR+1)/2)]}'; }
# "wall cpu": milliseconds of wall time and of CPU time (user + system, all
# threads) of the command given; on a shared machine the CPU time says more.
timed() {
  /usr/bin/time -f "%e %U %S" -o "$work/time" "$@" >/dev/null 2>&1
  awk '{printf "%.0f %.0f\n", $1 * 1000, ($2 + $3) * 1000}' "$work/time"
}

# The command of each case, writing 24 PNG frames into a fresh folder.
cli() { timed "$nimbrel" render "$work/hd.png" -o "$work/out/f_%02d.png" --frames 0-23 --quiet "$@"; }
ffmpeg_rain() {
  timed env FREI0R_PATH="$build" ffmpeg -nostdin -loglevel error -y -loop 1 -framerate 25 -i "$work/hd.png" \
    -frames:v 24 -vf "frei0r=nimbrel:$1" "$work/out/f_%02d.png"
}
base="0.6|0.1|0.25|1|0.9|1|0.1212|None|None|0.5|0.5|0.5|RGB"

echo "load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
declare -A wall cpu
# The cases take turns, so that a change of the machine's load hits them alike.
for _ in $(seq "$runs"); do
  for case in cli-none cli-fall ffmpeg-none ffmpeg-fall; do
    rm -rf "$work/out" && mkdir "$work/out"
    case $case in
    cli-none) t=$(cli) ;;
    cli-fall) t=$(cli --set "Fall Speed=6") ;;
    ffmpeg-none) t=$(ffmpeg_rain "$base|0") ;;
    ffmpeg-fall) t=$(ffmpeg_rain "$base|0.06") ;;
    esac
    wall[$case]="${wall[$case]:-} ${t% *}"
    cpu[$case]="${cpu[$case]:-} ${t#* }"
  done
done

numbers() { tr ' ' '\n' <<<"$1" | grep .; }
row() { # path, array name
  local -n times=$2
  local none fall
  none=$(numbers "${times[$1-none]}" | median)
  fall=$(numbers "${times[$1-fall]}" | median)
  printf '%-8s %-6s %-22s %-22s %s\n' "$1" "$2" "$(numbers "${times[$1-none]}" | stats)" \
    "$(numbers "${times[$1-fall]}" | stats)" "$(awk -v a="$fall" -v b="$none" 'BEGIN {printf "%.3f", a / b}')"
}
printf '%-8s %-6s %-22s %-22s %s\n' "path" "time" "no motion (ms)" "falling (ms)" "ratio of medians"
for path in cli ffmpeg; do
  row "$path" wall
  row "$path" cpu
done
