#!/usr/bin/env bash
# Fails when configure found a CMake package configuration that belongs to a Debian package
# outside the dependency closure of scripts/debian-packages.txt: such a package is on this
# machine only because someone installed it by hand, and a new user's first command breaks.
# Usage: scripts/check-deps.sh [BUILD_DIR]
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="${1:-$root/build}"
cache="$build/CMakeCache.txt"
[ -f "$cache" ] || { echo "check-deps: no $cache (configure first)" >&2; exit 2; }

mapfile -t listed < <(sed 's/#.*//' "$root/scripts/debian-packages.txt" | awk 'NF {print $1}')
# Every package the list pulls in: apt-cache prints each package of the closure unindented.
closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts \
            --no-breaks --no-replaces --no-enhances "${listed[@]}" 2>/dev/null \
          | grep -vE '^[[:space:]]|^<' | sed 's/:.*//' | sort -u)

owner_of() {  # the Debian package that installed a file, or nothing
    local file="$1" real
    real=$(readlink -f "$file")
    for candidate in "$file" "$real" "${real#/usr}" "/usr$real"; do
        if out=$(dpkg -S "$candidate" 2>/dev/null); then
            echo "${out%%:*}" | sed 's/,.*//'
            return 0
        fi
    done
    return 1
}

status=0
checked=0
while IFS='=' read -r key dir; do
    [ -d "$dir" ] || continue
    case "$dir" in "$root"* | "$build"*) continue ;; esac
    name="${key%%_DIR:*}"
    # The package's own configuration file; a folder may hold plugin configurations too.
    config=""
    for candidate in "$dir/${name}Config.cmake" "$dir/${name,,}-config.cmake"; do
        [ -f "$candidate" ] && config="$candidate" && break
    done
    [ -n "$config" ] || config=$(find "$dir" -maxdepth 1 \( -name '*Config.cmake' -o \
                                   -name '*-config.cmake' \) | sort | head -n 1)
    [ -n "$config" ] || continue
    checked=$((checked + 1))
    if ! package=$(owner_of "$config"); then
        echo "check-deps: ${key%%:*}: $config belongs to no Debian package"
        status=1
    elif ! grep -qxF "$package" <<<"$closure"; then
        echo "check-deps: ${key%%:*}: $config is in $package, which scripts/debian-packages.txt does not pull in"
        status=1
    fi
done < <(grep -E '^[A-Za-z0-9_]+_DIR:[A-Z]+=' "$cache")

if [ "$status" -eq 0 ]; then
    echo "check-deps: all $checked CMake packages come from the listed Debian packages"
fi
exit "$status"
