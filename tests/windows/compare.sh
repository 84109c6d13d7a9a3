#!/usr/bin/env bash
# The same results on Linux and on Windows: runs the demo and the corpus of sessions
# (tests/windows/corpus/sessions.txt) with the Linux mesra and, under wine64, with the
# Windows one, then compares everything both wrote (drawings, dumps, saves, preferences
# files, what the sessions printed and their exit status) byte for byte, and prints the
# first differing line of the first differing file. Known platform differences: the
# Windows build prints no "sound:" line (the plug-in plays its sounds itself there), writes
# its preferences file with CRLF line ends (compared after checking them and taking them
# away), and makes no view pictures. Exits 77 (skipped) when wine64 or the Windows build
# is missing, 1 then when MESRA_REQUIRE_WINDOWS is set.
#
#   tests/windows/compare.sh LINUX_MESRA WINDOWS_BUILD SOURCE_DIR WORK_DIR
set -uo pipefail
linux=$(realpath "$1")
windows=$(realpath "$2")/bin/mesra.exe
sources=$(realpath "$3")
work=$(realpath "$4")
prefix=$work.wine-prefix

skip() {
    echo "$*: skipped"
    exit "$([ -n "${MESRA_REQUIRE_WINDOWS:-}" ] && echo 1 || echo 77)"
}
[ -x /usr/lib/wine/wine64 ] || skip "wine64 is not installed (scripts/install-dependencies.sh)"
[ -f "$windows" ] || skip "no Windows build of mesra in $2 (see the README's Windows section)"

rm -rf "$work"
mkdir -p "$work/linux/out" "$work/windows/out"

# The Windows host measures with the very font files that fontconfig gives the Linux host.
fonts=$(dirname "$windows")/fonts
rm -rf "$fonts"
mkdir -p "$fonts"
fc-list --format '%{file}\n' | sort -u | nl -w4 -nrz | while read -r number file; do
    cp "$file" "$fonts/$number-$(basename "$file")"
done

for side in linux windows; do
    mkdir -p "$work/$side/corpus"
    cp -r "$sources/tests/windows/corpus/." "$work/$side/corpus/"
    cp "$sources/examples/drawing.svg" "$sources/examples/drawing-cotes-edited.svg" \
        "$sources/examples/hover.session" "$work/$side/corpus/"
done

# A path of this machine as Windows programs under Wine see it: on drive Z:.
windows_path() {
    local path=${1//\//\\}
    echo "Z:$path"
}

run_linux() {
    (cd "$work/linux" && "$linux" "$@")
}

run_windows() {
    (cd "$work/windows" && "$sources/tests/windows/wine.sh" "$prefix" "$windows" "$@")
}

trim() {
    local text=$1
    text=${text#"${text%%[![:space:]]*}"}
    echo "${text%"${text##*[![:space:]]}"}"
}

# Each line: SESSION | PLUG-INS FOLDER | PREFERENCES FILE TO START FROM (optional). Sessions
# that name the same folder share its preferences, in the order of the lines.
sessions=0
while IFS='|' read -r session folder seed; do
    session=$(trim "$session")
    folder=$(trim "${folder:-}")
    seed=$(trim "${seed:-}")
    [ -z "$session" ] || [[ $session == \#* ]] && continue
    name=${session%.session}
    for side in linux windows; do
        plugins=$work/$side/plugins/$folder
        mkdir -p "$plugins"
        [ -n "$seed" ] && [ ! -e "$plugins/Vorn-Cotaline-Prefs.txt" ] &&
            cp "$work/$side/corpus/$seed" "$plugins/Vorn-Cotaline-Prefs.txt"
    done
    run_linux run "corpus/$session" --out "out/$name.svg" --dump "out/$name.json" \
        --plugins "$work/linux/plugins/$folder" > "$work/linux/out/$name.out" \
        2> "$work/linux/out/$name.err"
    echo $? > "$work/linux/out/$name.status"
    run_windows run "corpus\\$session" --out "out\\$name.svg" --dump "out\\$name.json" \
        --plugins "$(windows_path "$work/windows/plugins/$folder")" \
        > "$work/windows/out/$name.out" 2> "$work/windows/out/$name.err"
    echo $? > "$work/windows/out/$name.status"
    sessions=$((sessions + 1))
done < "$sources/tests/windows/corpus/sessions.txt"

run_linux demo --out "$work/linux/demo" --plugins "$work/linux/plugins/demo" \
    > "$work/linux/out/demo.out" 2> "$work/linux/out/demo.err"
echo $? > "$work/linux/out/demo.status"
run_windows demo --out "$(windows_path "$work/windows/demo")" \
    --plugins "$(windows_path "$work/windows/plugins/demo")" \
    > "$work/windows/out/demo.out" 2> "$work/windows/out/demo.err"
echo $? > "$work/windows/out/demo.status"

# What each side printed, without what differs by nature: the Linux sounds, the Windows
# line ends, and the demo's lines that name files of this machine.
normalise_output() {
    sed 's/\r$//' "$1" | grep -v -e '^sound: ' -e '^host: loaded ' -e '^host: wrote ' || true
}

# Prints the first line where two files differ (of their contents, for compressed drawings),
# and says whether they do.
differ() {
    local what=$1 left=$2 right=$3 line
    cmp -s "$left" "$right" && return 1
    if [[ $what == *.svgz ]]; then
        echo "$what differs at byte $(cmp "$left" "$right" | grep -oP 'byte \K[0-9]+')"
        zcat "$left" > "$left.unpacked" && zcat "$right" > "$right.unpacked"
        differ "$what, uncompressed," "$left.unpacked" "$right.unpacked"
        return 0
    fi
    line=$(cmp "$left" "$right" 2>&1 | grep -oP 'line \K[0-9]+' | head -1)
    echo "$what differs at line ${line:=1}:"
    echo "  linux:   $(sed -n "${line}p" "$left" | cut -c1-400)"
    echo "  windows: $(sed -n "${line}p" "$right" | cut -c1-400)"
    return 0
}

# Every run of the corpus succeeds on Linux: a run that fails there compares nothing.
for status in "$work"/linux/out/*.status; do
    if [ "$(cat "$status")" != 0 ]; then
        echo "${status#"$work/"}: the run failed on Linux: $(head -c 600 "${status%.status}.err")"
        exit 1
    fi
done

compared=0
failed=0
normalised=$work/normalised
while IFS= read -r -d '' file; do
    relative=${file#"$work/linux/"}
    other=$work/windows/$relative
    case "$relative" in
        *.aip | *.png | *.err) continue ;;
    esac
    if [ ! -f "$other" ]; then
        echo "$relative: written on Linux only"
        failed=1
        break
    fi
    mkdir -p "$normalised/linux/$(dirname "$relative")" "$normalised/windows/$(dirname "$relative")"
    left=$file
    right=$other
    case "$relative" in
        *.svgz)
            left=$normalised/linux/$relative
            right=$normalised/windows/$relative
            cp "$file" "$left"
            cp "$other" "$right"
            ;;
        *-Prefs.txt)
            # A file the Windows plug-in wrote ends every line with CR LF (one it only read,
            # as the corpus gave it, keeps its line feeds).
            if grep -q $'\r' "$other" && grep -qv $'\r$' "$other"; then
                echo "$relative: a line of the Windows preferences file does not end in CR LF"
                failed=1
                break
            fi
            right=$normalised/windows/$relative
            sed 's/\r$//' "$other" > "$right"
            ;;
        *.out)
            left=$normalised/linux/$relative
            right=$normalised/windows/$relative
            normalise_output "$file" > "$left"
            normalise_output "$other" > "$right"
            ;;
    esac
    if differ "$relative" "$left" "$right"; then
        if [[ $relative == *.status ]]; then
            echo "  linux stderr:   $(head -c 600 "${file%.status}.err")"
            echo "  windows stderr: $(head -c 600 "${other%.status}.err")"
        fi
        failed=1
        break
    fi
    compared=$((compared + 1))
done < <(find "$work/linux" -type f -print0 | sort -z)

if [ $failed -eq 0 ]; then
    while IFS= read -r -d '' file; do
        relative=${file#"$work/windows/"}
        case "$relative" in *.aip | *.err) continue ;; esac
        if [ ! -f "$work/linux/$relative" ]; then
            echo "$relative: written on Windows only"
            failed=1
            break
        fi
    done < <(find "$work/windows" -type f -print0 | sort -z)
fi
[ $failed -eq 0 ] || exit 1
echo "the demo and $sessions sessions: $compared files the same on Linux and on Windows"
