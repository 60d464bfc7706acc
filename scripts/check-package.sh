#!/usr/bin/env bash
# Checks a built Debian package: its control data, its desktop entry, and (as root) that it
# installs, that the batch tool runs from it on the sample it ships, and that it removes cleanly.
# Usage: scripts/check-package.sh PACKAGE.deb
set -euo pipefail
deb="$(readlink -f "$1")"
dpkg-deb --info "$deb"
grep -q '^ Depends: .*libqt6widgets6' <(dpkg-deb --info "$deb") ||
  { echo "check-package: Depends lacks the Qt libraries" >&2; exit 1; }
contents="$(mktemp -d)"
trap 'rm -rf "$contents"' EXIT
dpkg-deb -x "$deb" "$contents"
for file in usr/bin/orvanta usr/bin/orvanta-spectra usr/share/applications/orvanta.desktop \
            usr/share/icons/hicolor/scalable/apps/orvanta.svg usr/share/doc/orvanta/copyright; do
  [ -e "$contents/$file" ] || { echo "check-package: $file missing" >&2; exit 1; }
done
desktop-file-validate "$contents/usr/share/applications/orvanta.desktop"
if [ "$(id -u)" -eq 0 ]; then
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
  spectra="$(/usr/bin/orvanta-spectra /usr/share/doc/orvanta/examples/ElCentro1940_NS.txt)"
  printf '%s\n' "$spectra" | sed -n '1,2p'
  DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq orvanta >/dev/null
fi
echo "check-package: $(basename "$deb") is sound"
