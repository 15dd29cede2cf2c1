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
