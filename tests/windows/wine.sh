#!/usr/bin/env bash
# Runs a Windows program under Wine: wine64 (these machines run no 32-bit program), with
# the Wine prefix PREFIX, made on first use (one at a time), no display and UTF-8 file
# names. Exits 77, the status of a skipped test, when wine64 is not installed (1 when
# MESRA_REQUIRE_WINDOWS is set, as in CI).
#
#   tests/windows/wine.sh PREFIX PROGRAM [ARGUMENT...]
set -euo pipefail
prefix=$(realpath -m "$1")
shift
wine=/usr/lib/wine/wine64
if [ ! -x "$wine" ]; then
    echo "wine64 is not installed ($wine): skipped (scripts/install-dependencies.sh installs it)"
    exit "$([ -n "${MESRA_REQUIRE_WINDOWS:-}" ] && echo 1 || echo 77)"
fi
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$(dirname "$prefix")"
(
    flock 9
    if [ ! -f "$prefix/system.reg" ]; then
        "$wine" wineboot -i > /dev/null 2>&1
    fi
) 9> "$prefix.lock"
exec "$wine" "$@"
