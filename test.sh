#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test suite. Non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/deps.sh

build_native
ctest --test-dir build/native --output-on-failure -j "$(nproc)"
