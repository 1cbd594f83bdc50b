#!/usr/bin/env bash
# Installs what is missing, builds Papyra and starts it (arguments name a payer file to open).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh build
exec build/bin/papyra "$@"
