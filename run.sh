#!/usr/bin/env bash
# ./run.sh [--extended] [FILE...]: builds the command-line scanner and scans each FILE.
# With no FILE it scans a copy of samples/sample.exe in a temporary folder.
# ./run.sh --gui [FILE]: builds the Windows program and starts it under Wine (on a private Xvfb
# screen when there is no display), with FILE as its command-line argument.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

if [ "${1:-}" = "--gui" ]; then
  shift
  (cd "$here" && source scripts/deps.sh && build_windows) >&2
  run=("$here/scripts/wine-run.sh" "$here/build/windows/wineprefix")
  args=()
  if [ $# -gt 0 ]; then
    file=$1
    # A Linux path becomes the Windows path Wine gives it; anything else is passed as it is.
    if [ -e "$file" ]; then
      file=$("${run[@]}" winepath -w "$(realpath "$file")" | tr -d '\r')
    fi
    args+=("$file")
  fi
  exec "${run[@]}" "$here/build/windows/Zenpiko.exe" "${args[@]}"
fi

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
