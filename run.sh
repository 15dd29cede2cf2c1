#!/usr/bin/env bash
# ./run.sh [--extended] [FILE...]: builds the command-line scanner and scans each FILE.
# With no FILE it scans a copy of samples/sample.exe in a temporary folder.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

(cd "$here" && source scripts/deps.sh && build_native) >&2

args=()
files=0
for a in "$@"; do
  args+=("$a")
  case "$a" in --*) ;; *) files=$((files + 1)) ;; esac
done
if [ "$files" -eq 0 ]; then
  tmp=$(mktemp -d)
  cp "$here/samples/sample.exe" "$tmp/"
  echo "scanning a copy of samples/sample.exe in $tmp" >&2
  args+=("$tmp/sample.exe")
fi
exec "$here/build/native/zenpiko" "${args[@]}"
