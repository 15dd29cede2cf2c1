#!/usr/bin/env bash
# ./bench.sh [ROUNDS] [WORKDIR]: builds, then times the command-line scanner beside cat, beside a
# loop that only writes the same pictures, and beside the byte-by-byte scan; then the micro-benchmarks.
# The inputs (about 1.2 GiB) are generated in WORKDIR, by default a folder under /tmp kept for reruns.
#
# ./bench.sh --windows [ROUNDS] [WORKDIR]: the 512 MiB input scanned in the Windows program's main
# window under Wine (bench/wine_bench.cpp), beside the command-line scanner on the same file.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"
source scripts/deps.sh

windows=no
if [ "${1:-}" = "--windows" ]; then
  windows=yes
  shift
fi
rounds=${1:-7}
work=${2:-/tmp/zenpiko-bench}
build_native >&2
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(free -g | awk '/Mem:/ {print $2}') GiB"

if [ "$windows" = no ]; then
  echo "command: ./bench.sh $rounds $work"
  build/native/bench/scan_bench "$here/build/native/zenpiko" "$work" "$rounds"
  if [ -x build/native/bench/micro_bench ]; then
    echo
    build/native/bench/micro_bench --benchmark_min_time=0.2
  fi
  exit 0
fi

echo "command: ./bench.sh --windows $rounds $work"
build_windows >&2
file=$work/random.bin
if [ ! -f "$file" ]; then
  echo "making the inputs first (one round of the native benchmark)" >&2
  build/native/bench/scan_bench "$here/build/native/zenpiko" "$work" 1 >/dev/null
fi
cat "$file" >/dev/null
times=()
for _ in $(seq 0 "$rounds"); do
  start=$(date +%s%N)
  build/native/zenpiko "$file" >/dev/null
  times+=($(( $(date +%s%N) - start )))
done
median=$(printf '%s\n' "${times[@]:1}" | sort -n | sed -n "$(( (rounds + 1) / 2 ))p")
awk -v ns="$median" -v f="$file" 'BEGIN { printf "native command-line scanner on %s: median %.3f s\n", f, ns / 1e9 }'
run=(scripts/wine-run.sh build/windows/wineprefix)
"${run[@]}" build/windows/bench/wine_bench.exe "--rounds=$rounds" "$("${run[@]}" winepath -w "$(realpath "$file")" | tr -d '\r')"
