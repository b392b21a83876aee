#!/usr/bin/env bash
# Installs what is missing, builds the release build, prepares a working folder holding a catalogue
# Data.mdb and starts the program there.
#   ./run.sh [FOLDER]   working folder FOLDER (default ./workspace), an empty catalogue made if none
#   ./run.sh --demo     working folder ./workspace-demo with a demonstration catalogue and, beside it,
#                       the demonstration score workbook 初二成绩.xls
set -euo pipefail
cd "$(dirname "$0")"
top=$(pwd)

demo=0
folder=""
for argument in "$@"; do
    case "$argument" in
        --demo) demo=1 ;;
        -h|--help) sed -n '2,6p' "$0"; exit 0 ;;
        *) folder="$argument" ;;
    esac
done
if [ -z "$folder" ]; then
    if [ "$demo" -eq 1 ]; then folder="$top/workspace-demo"; else folder="$top/workspace"; fi
fi

scripts/install-deps.sh run

build=build/release
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCORE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build"

mkdir -p "$folder"
folder=$(cd "$folder" && pwd)
if [ ! -e "$folder/Data.mdb" ]; then
    if [ "$demo" -eq 1 ]; then
        "$build/src/catalogue/catalogue-init" --demo "$folder/Data.mdb"
    else
        "$build/src/catalogue/catalogue-init" "$folder/Data.mdb"
    fi
fi
if [ "$demo" -eq 1 ] && [ ! -e "$folder/初二成绩.xls" ]; then
    "$build/src/tools/demo-scores" "$folder/初二成绩.xls" >/dev/null
fi

if [ "$(uname -s)" = Linux ] && [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available (neither DISPLAY nor WAYLAND_DISPLAY is set), so the window cannot be shown."
    echo "Run it on a virtual display instead:"
    echo "    xvfb-run -a ./run.sh $*"
    echo "(xvfb-run comes with the Debian package xvfb: sudo apt-get install xvfb xauth)"
    exit 1
fi

cd "$folder"
exec "$top/$build/src/app/score-evaluation"
