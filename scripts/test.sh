#!/usr/bin/env bash
# Builds Orvanta and runs every test (core, batch tool and window tests).
# Usage: scripts/test.sh [BUILD_DIR] [extra cmake arguments...]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
shift || true
"$root/scripts/build.sh" "$build" "$@"
cd "$build"
ctest --output-on-failure --timeout 600
