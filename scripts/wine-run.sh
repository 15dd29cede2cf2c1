#!/usr/bin/env bash
# wine-run.sh PREFIX PROGRAM.exe [ARGS...]: runs a Windows program under Wine in the prefix PREFIX
# (made on first use), with code page 932, and on a private Xvfb screen when there is no display.
# CTest uses it as the emulator for the Windows build.
set -euo pipefail

prefix=$(realpath -m "$1")
shift
export WINEPREFIX=$prefix
export LC_ALL=ja_JP.UTF-8
export WINEDEBUG=${WINEDEBUG:--all}
# No network here: never offer to download Mono or Gecko.
export WINEDLLOVERRIDES="mscoree,mshtml="
wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver

mkdir -p "$(dirname "$prefix")"
# One program at a time per prefix: each run has its own screen, and the prefix's
# wineserver and desktop must not outlive the screen they were started on.
exec 9>"$prefix.lock"
flock 9

setup_prefix() {
  "$wine" wineboot -i >/dev/null 2>&1
  # This Wine does not look in its own font folder: Marlett (caption buttons), Tahoma and the
  # rest come from fonts-wine through the prefix's font folder.
  ln -sf /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
  # Wine draws the caption bars and borders itself: there is no window manager on Xvfb.
  "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  # The two Japanese system fonts the forms ask for do not exist here; the IPA fonts stand in.
  local key='HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes'
  "$wine" reg add "$key" /v 'ＭＳ Ｐゴシック' /d 'IPAPGothic' /f >/dev/null 2>&1
  "$wine" reg add "$key" /v 'ＭＳ ゴシック' /d 'IPAGothic' /f >/dev/null 2>&1
  "$wineserver" -w
  touch "$prefix/.zenpiko-ready"
}

xvfb_pid=
stop_xvfb() {
  if [ -n "$xvfb_pid" ]; then
    "$wineserver" -k 2>/dev/null || true
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
}

if [ -z "${DISPLAY:-}" ]; then
  # Xvfb picks a free display itself and writes its number once it accepts clients.
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
  xvfb_pid=$!
  trap stop_xvfb EXIT
  for _ in $(seq 1 100); do
    [ -s "$displayfile" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || { echo "wine-run.sh: Xvfb did not start" >&2; exit 1; }
    sleep 0.1
  done
  export DISPLAY=":$(head -n1 "$displayfile")"
  rm -f "$displayfile"
fi

[ -f "$prefix/.zenpiko-ready" ] || setup_prefix

rc=0
"$wine" "$@" || rc=$?
exit "$rc"
