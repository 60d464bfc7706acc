#!/usr/bin/env bash
# Installs the dependencies, builds Orvanta and starts it.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$root/build"
if [ -x "$root/build/app/orvanta" ]; then
  exec "$root/build/app/orvanta"
fi
# Without the window yet: the batch tool's whole-record spectrum of the sample record.
exec "$root/build/tools/orvanta-spectra" "$root/samples/synthetic_quake.txt"
