#!/usr/bin/env bash
# Takes the screenshots of the result window in docs/ (both outcomes) from the Windows build,
# under Wine on a private Xvfb screen. Run after build_windows (scripts/deps.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/deps.sh
ensure_windows_deps

build=build/windows
show=$build/tests/windows/show_result.exe
[ -f "$show" ] || { echo "build $show first (build_windows in scripts/deps.sh)" >&2; exit 1; }

work=$(mktemp -d)
displayfile=$work/display
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
for _ in $(seq 1 100); do [ -s "$displayfile" ] && break; sleep 0.1; done
export DISPLAY=":$(head -n1 "$displayfile")"

# shot COUNT OUT.png
shot() {
  scripts/wine-run.sh "$build/wineprefix" "$show" "$1" >"$work/rect" &
  local run=$!
  for _ in $(seq 1 300); do [ -s "$work/rect" ] && break; sleep 0.1; done
  sleep 1  # drawn
  local rect
  rect=$(tr -d '\r' <"$work/rect")
  xwd -root -display "$DISPLAY" | convert xwd:- -crop "$rect" +repage "$2"
  WINEPREFIX=$PWD/$build/wineprefix /usr/lib/wine/wineserver -k || true
  wait "$run" 2>/dev/null || true
  echo "$2 ($rect)"
}

mkdir -p docs
shot 12 docs/result-window-found.png
shot 0 docs/result-window-none-found.png
