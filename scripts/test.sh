#!/usr/bin/env bash
# Installs what is missing, builds Orvanta and runs every test (core, batch tool, window).
# Usage: scripts/test.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
shift || true
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$build" "$@"
cd "$build"
ctest --output-on-failure --timeout 600
