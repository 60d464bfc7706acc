#!/usr/bin/env bash
# Installs what is missing, builds Orvanta in Release and makes its Debian package
# (orvanta_<version>_amd64.deb in BUILD_DIR). Usage: scripts/package.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build-package}"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$build" -DORVANTA_BUILD_TESTS=OFF -DORVANTA_BUILD_BENCH=OFF
cd "$build"
cpack -G DEB
