#!/usr/bin/env bash
# Builds the fuzz targets (clang, libFuzzer, AddressSanitizer and UndefinedBehaviorSanitizer)
# in build-fuzz and runs one of them for a while:
#
#   scripts/fuzz.sh TARGET SECONDS
#
# TARGET is svg (the SVG reader and writer), preferences (the preferences file reader),
# script (the session script reader) or session (whole sessions through the plug-in).
# The run starts from the seed corpus fuzz/corpus/TARGET and its dictionary fuzz/TARGET.dict;
# what it finds new goes to build-fuzz/corpus/TARGET, and an input that fails is written to
# build-fuzz/artifacts/ and makes the script fail. Add a failing input to the seed corpus
# once it is mended, so that it is tried on every run.
set -euo pipefail
cd "$(dirname "$0")/.."

usage="usage: scripts/fuzz.sh svg|preferences|script|session SECONDS"
target=${1:?$usage}
seconds=${2:?$usage}
case "$target" in
    svg | preferences | script | session) ;;
    *) echo "$usage" >&2; exit 2 ;;
esac
[[ "$seconds" =~ ^[0-9]+$ ]] || { echo "$usage" >&2; exit 2; }

CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DMESRA_FUZZ=ON \
    -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build-fuzz --target "mesra_fuzz_$target"

corpus="build-fuzz/corpus/$target"
artifacts="build-fuzz/artifacts"
mkdir -p "$corpus" "$artifacts"
options=(-max_total_time="$seconds" -timeout=30 -rss_limit_mb=4096 -print_final_stats=1
         -dict="fuzz/$target.dict" -artifact_prefix="$artifacts/$target-")
# A session of a few thousand bytes is already a long afternoon's work; an SVG file needs
# some 210,000 bytes to nest 30,000 groups deep.
[[ "$target" == session ]] && options+=(-max_len=4096)
[[ "$target" == svg ]] && options+=(-max_len=262144)
exec "build-fuzz/bin/fuzz/mesra_fuzz_$target" "${options[@]}" "$corpus" "fuzz/corpus/$target"
