#!/usr/bin/env bash
# Checks a Windows plug-in file as the host and a plain Windows would take it: a DLL of the
# given architecture that exports PluginMain and nothing else, imports only from system
# DLLs every Windows has, holds the property list, every icon and cursor the plug-in asks
# for and its image map, and has its four click sounds beside it.
#
#   scripts/check-windows-plugin.sh i686|x86_64 PLUGIN.aip SOURCE_DIR
set -euo pipefail
arch=$1
dll=$2
sources=$3
objdump=$arch-w64-mingw32-objdump
windres=$arch-w64-mingw32-windres
failed=0
fail() {
    echo "$dll: $*" >&2
    failed=1
}

format=$([ "$arch" = i686 ] && echo pei-i386 || echo pei-x86-64)
"$objdump" -f "$dll" | grep -q "file format $format" || fail "not a $format module"

headers=$("$objdump" -p "$dll")
exports=$(sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' <<<"$headers" | grep -oP '^\s+\[\s*\d+\] \K\S+' || true)
[ "$exports" = PluginMain ] || fail "exports \"$(tr '\n' ' ' <<<"$exports")\", not PluginMain alone"

# The system's own DLLs: the kernel, the C runtime, the user interface, the sound player.
while read -r imported; do
    case "${imported^^}" in
        KERNEL32.DLL | MSVCRT.DLL | USER32.DLL | WINMM.DLL) ;;
        *) fail "imports $imported, which a plain Windows lacks" ;;
    esac
done < <(grep -oP 'DLL Name: \K\S+' <<<"$headers")

# Resources by name and type: the property list, the icons of the tools and the cursors
# (their ids as the plug-in's sources ask for them), and the image map.
resources=$("$windres" -i "$dll" -O rc | grep -E '^[^ /].* "[A-Z]+"$')
wanted=("16000 \"PIPL\"" "\"IDTOFILE\" \"TXT\"")
for id in $(grep -oE '\b160[5-9][0-9]\b' "$sources/plugin/frame/ToolRegistration.cpp") \
    $(grep -oE '\b200[0-9][0-9]\b' "$sources/plugin/frame/Cursors.h"); do
    wanted+=("$id \"PNGI\"")
done
[ ${#wanted[@]} -eq 23 ] || fail "found ${#wanted[@]} resource ids in the sources, 23 expected"
for resource in "${wanted[@]}"; do
    grep -qxF "$resource" <<<"$resources" || fail "has no resource $resource"
done

for sound in BipPoint BipSegment BipArc BipBezier; do
    wav="$(dirname "$dll")/$sound.wav"
    [ "$(head -c 4 "$wav" 2> /dev/null)" = RIFF ] && [ "$(tail -c +9 "$wav" | head -c 4)" = WAVE ] ||
        fail "has no wave file $sound.wav beside it"
done

[ $failed -eq 0 ] && echo "$dll: $format, PluginMain alone, system imports, 23 resources, 4 sounds"
exit $failed
