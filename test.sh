#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test suite. Non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh

build_native
ctest --test-dir build/native --output-on-failure -j "$(nproc)"

build_windows
# Each case runs under Wine on its own screen; scripts/wine-run.sh runs them one at a time.
ctest --test-dir build/windows --output-on-failure --no-tests=error
