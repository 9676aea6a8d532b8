#!/usr/bin/env bash
# Runs bench/rainBench (or the benchmark program given) with repetitions and
# prints, per benchmark, the fastest and the median repetition. On a shared
# virtual machine the slow repetitions measure the neighbours; the fastest
# is the figure to compare with a target, the median shows the spread.
#
#   bench/rainSummary.sh [program] [filter] [repetitions]
set -euo pipefail
program=${1:-build-bench/bench/rainBench}
filter=${2:-.}
repetitions=${3:-15}
printf "%-36s %10s %10s\n" benchmark fastest median
"$program" --benchmark_filter="$filter" --benchmark_min_time=0.3 \
  --benchmark_repetitions="$repetitions" --benchmark_format=csv 2>/dev/null |
  awk -F, 'NR > 1 && $1 !~ /_(mean|median|stddev|cv)"$/ {
      name = $1; gsub(/"|\/process_time|\/real_time/, "", name)
      times[name] = times[name] " " $3
    }
    END {
      for (name in times) {
        n = split(substr(times[name], 2), t, " ")
        for (i = 1; i <= n; ++i) for (j = i + 1; j <= n; ++j) if (t[j] < t[i]) { x = t[i]; t[i] = t[j]; t[j] = x }
        printf "%-36s %7.1f ms %7.1f ms\n", name, t[1], t[int((n + 1) / 2)]
      }
    }' | sort
