#!/usr/bin/env bash
# bench/cliBench.sh [RUNS]: times `nimbrel render` on a 3840x2160 PNG of the
# sample night street, end to end (process start to file written) against
# the render command alone (as --verbose reports it), at each host depth.
# Prints a Markdown table; the figures are the median of RUNS (default 3).
# NIMBREL_BUILD picks the build folder (default build-release, Release).
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-3}
build=${NIMBREL_BUILD:-build-release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DNIMBREL_TESTS=OFF -DNIMBREL_BENCH=OFF -DNIMBREL_TOOLS=ON >/dev/null
cmake --build "$build" --target nimbrel nimbrel_plugin nimbrel-sample -j "${NIMBREL_JOBS:-$(nproc)}" >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/bin/nimbrel-sample" "$work/uhd.png" 3840 2160

median() { sort -n | awk '{v[NR]=$1} END {print v[int((NR+1)/2)]}'; }

echo "| depth | output | end to end (ms) | read (ms) | render (ms) | write (ms) |"
echo "|---|---|---|---|---|---|"
for depth in 8 16 32; do
  out=$work/out.png
  [ "$depth" = 32 ] && out=$work/out.exr
  : >"$work/times"
  for ((i = 0; i < runs; i++)); do
    start=$(date +%s%N)
    line=$("$build/bin/nimbrel" render "$work/uhd.png" -o "$out" --depth "$depth" --quiet --verbose 2>&1 |
      grep -E 'read .* ms, render .* ms, write .* ms')
    end=$(date +%s%N)
    # "...: read R ms, render X ms, write W ms"
    echo "$(((end - start) / 1000000)) $(echo "$line" | sed -E 's/.*read ([0-9.]+) ms, render ([0-9.]+) ms, write ([0-9.]+) ms/\1 \2 \3/')" >>"$work/times"
  done
  total=$(cut -d' ' -f1 "$work/times" | median)
  read_ms=$(cut -d' ' -f2 "$work/times" | median)
  render=$(cut -d' ' -f3 "$work/times" | median)
  write=$(cut -d' ' -f4 "$work/times" | median)
  echo "| $depth | ${out##*.} | $total | $read_ms | $render | $write |"
done
echo
echo "3840x2160, default parameters, $runs runs each, $(nproc) cores, QUARN_MAX_PROCESSORS=${QUARN_MAX_PROCESSORS:-unset}."
