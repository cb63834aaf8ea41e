#!/usr/bin/env bash
# Prints, for norvik with no device, norvik with one emulated mouse and a bare Qt window, the
# median of three runs of: time to the first viewable window, resident memory 5 s after start,
# and CPU use over 30 s of idling. Runs under its own Xvfb when no display is set.
#   bench/measure_idle.sh [BUILD_DIR]     (default build-release; build it with the release preset)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(cd "${1:-$root/build-release}" && pwd)
if [[ -z "${DISPLAY:-}" ]]; then
  exec xvfb-run -a -s "-screen 0 1920x1080x24" "$0" "$build"
fi
runs=3
idle_seconds=30
ticks_per_second=$(getconf CLK_TCK)

cpu_ticks() {
  awk '{ print $14 + $15 }' "/proc/$1/stat"
}

# One run: prints "start_ms rss_mb idle_percent".
run_once() {
  local title=$1
  shift
  local scratch
  scratch=$(mktemp -d)
  local start end
  start=$(date +%s%N)
  env HOME="$scratch" XDG_DATA_HOME="$scratch/data" XDG_CONFIG_HOME="$scratch/config" \
    XDG_CACHE_HOME="$scratch/cache" "$@" >/dev/null 2>&1 &
  local pid=$!
  until xwininfo -name "$title" 2>/dev/null | grep -q IsViewable; do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid" && status=0 || status=$?
      echo "$* ended (status $status) before its window showed" >&2
      rm -rf "$scratch"
      exit 1
    fi
    sleep 0.005
  done
  end=$(date +%s%N)
  sleep 5
  local rss_kb before after
  rss_kb=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
  before=$(cpu_ticks "$pid")
  sleep "$idle_seconds"
  after=$(cpu_ticks "$pid")
  kill "$pid"
  wait "$pid" 2>/dev/null || true
  rm -rf "$scratch"
  awk -v s="$start" -v e="$end" -v r="$rss_kb" -v b="$before" -v a="$after" -v t="$ticks_per_second" \
    -v d="$idle_seconds" 'BEGIN { printf "%.0f %.1f %.3f\n", (e - s) / 1e6, r / 1024, (a - b) / t / d * 100 }'
}

median() {
  sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'
}

measure() {
  local label=$1
  shift
  local results=()
  for _ in $(seq "$runs"); do
    results+=("$(run_once "$@")")
  done
  local start rss idle
  start=$(printf '%s\n' "${results[@]}" | awk '{ print $1 }' | median)
  rss=$(printf '%s\n' "${results[@]}" | awk '{ print $2 }' | median)
  idle=$(printf '%s\n' "${results[@]}" | awk '{ print $3 }' | median)
  printf '%-22s %8s ms %8s MB %8s %%\n' "$label" "$start" "$rss" "$idle"
}

product="Norvik 400100 Gaming Mouse"
printf '%-22s %11s %11s %10s\n' "" "first window" "RSS at 5 s" "idle CPU"
measure "bare Qt window" "Bare Qt window" "$build/bench/bare_window"
measure "norvik, no device" "$product" env -u NORVIK_SIMULATE "$build/bin/norvik"
measure "norvik, one mouse" "$product" env NORVIK_SIMULATE=mouse3389 "$build/bin/norvik"
