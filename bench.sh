#!/usr/bin/env bash
# ./bench.sh [ROUNDS] [WORKDIR]: builds, then times the command-line scanner beside cat, beside a
# loop that only writes the same pictures, and beside the byte-by-byte scan; then the micro-benchmarks.
# The inputs (about 1.2 GiB) are generated in WORKDIR, by default a folder under /tmp kept for reruns.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
cd "$here"
source scripts/deps.sh
build_native >&2

rounds=${1:-7}
work=${2:-/tmp/zenpiko-bench}
echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(free -g | awk '/Mem:/ {print $2}') GiB"
echo "command: ./bench.sh $rounds $work"
build/native/bench/scan_bench "$here/build/native/zenpiko" "$work" "$rounds"
if [ -x build/native/bench/micro_bench ]; then
  echo
  build/native/bench/micro_bench --benchmark_min_time=0.2
fi
