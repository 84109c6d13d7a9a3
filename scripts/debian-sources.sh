#!/usr/bin/env bash
# Fetches Debian's source packages PACKAGE... into FOLDER (once: a package already unpacked
# there is kept), with Debian's patches applied, for the Windows build of the emulated host.
# Needs the deb-src entries that scripts/install-dependencies.sh enables.
#
#   scripts/debian-sources.sh FOLDER PACKAGE...
set -euo pipefail
folder=$1
shift
mkdir -p "$folder"
cd "$folder"
for package in "$@"; do
    if compgen -G "$package-*/debian/control" > /dev/null; then
        continue
    fi
    if ! apt-get source -qq "$package" > "$package.log" 2>&1; then
        cat "$package.log" >&2
        echo "debian-sources.sh: cannot fetch the source package $package" \
            "(enable deb-src: scripts/install-dependencies.sh does)" >&2
        exit 1
    fi
done
