# Sourced by test.sh, run.sh and bench.sh: installs what the build needs, only what is missing.

# ensure_packages PKG...: apt-get installs those of PKG that are not installed yet.
ensure_packages() {
  local missing=()
  local pkg
  for pkg in "$@"; do
    dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "installing: ${missing[*]}" >&2
  local sudo=()
  [ "$(id -u)" -ne 0 ] && sudo=(sudo)
  if [ -z "${ZENPIKO_APT_UPDATED:-}" ]; then
    "${sudo[@]}" apt-get update -qq
    export ZENPIKO_APT_UPDATED=1
  fi
  DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

ensure_native_deps() {
  ensure_packages g++ cmake make libgtest-dev libbenchmark-dev
}

# build_native: configures and builds build/native.
build_native() {
  ensure_native_deps
  cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build build/native -j "$(nproc)"
}

# The cross compiler, Wine with a screen of its own, Japanese fonts and the ja_JP.UTF-8 locale
# (with it Wine's ANSI code page is 932), GoogleTest's sources for the Windows tests.
ensure_windows_deps() {
  ensure_packages cmake make g++-mingw-w64-x86-64-posix googletest wine64 wine fonts-wine \
    fonts-ipafont-gothic xvfb xauth x11-apps imagemagick locales
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP\.utf-\?8'; then
    local sudo=()
    [ "$(id -u)" -ne 0 ] && sudo=(sudo)
    "${sudo[@]}" localedef -i ja_JP -f UTF-8 ja_JP.UTF-8
  fi
}

# build_windows: cross-builds build/windows (Zenpiko.exe and the Windows tests).
build_windows() {
  ensure_windows_deps
  cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake -DCMAKE_BUILD_TYPE=Release \
    --no-warn-unused-cli >/dev/null
  cmake --build build/windows -j "$(nproc)"
}
