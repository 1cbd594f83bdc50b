#!/usr/bin/env bash
# Installs what is missing, builds everything, starts CUPS with a PDF printer and runs every
# test, and the fault tests again as root and as an unprivileged user; then the same tests
# under the address and undefined-behaviour sanitizers, and the snapshot fuzz target for a
# minute, unless PAPYRA_NO_SANITIZE=1.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
# A running CUPS with a cups-pdf queue lets the printing tests reach a real printer; without
# one (not root, no CUPS) the script says so and that test skips.
scripts/start-cups.sh
(cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j "$(nproc)")
# The fault tests once more, named one by one: as root, then as an unprivileged user.
scripts/fault-tests.sh build
if [ "${PAPYRA_NO_SANITIZE:-0}" != "1" ]; then
  scripts/build.sh build-asan -DCMAKE_BUILD_TYPE=Debug -DPAPYRA_SANITIZE=ON -DPAPYRA_BENCH=OFF
  (cd build-asan && QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 \
     ctest --output-on-failure -j "$(nproc)")
  # The snapshot loader under libFuzzer for a fixed time, within a memory limit.
  scripts/fuzz.sh
fi
