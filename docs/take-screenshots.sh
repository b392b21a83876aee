#!/usr/bin/env bash
# Takes the documentation's pictures of the real program window on a virtual display (Xvfb):
#   docs/main-window.png        demonstration catalogue, a school, grade and class selected
#   docs/about.png              the About dialog
#   docs/catalogue-editing.png  a school, a grade, two classes and their subjects entered by keyboard
# Usage: docs/take-screenshots.sh   (builds in build/release, as run.sh does; SCORE_BUILD_DIR=DIR
# builds elsewhere)
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run is needed (Debian packages xvfb and xauth): sudo apt-get install xvfb xauth" >&2
    exit 1
fi

build=${SCORE_BUILD_DIR:-build/release}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCORE_BUILD_TESTS=OFF >/dev/null
cmake --build "$build" --target catalogue-init score-evaluation-screenshots

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/demo" "$work/empty"
"$build/src/catalogue/catalogue-init" --demo "$work/demo/Data.mdb" >/dev/null
"$build/src/catalogue/catalogue-init" "$work/empty/Data.mdb" >/dev/null
xvfb-run -a -s "-screen 0 1024x768x24" "$build/src/app/score-evaluation-screenshots" "$work/demo" "$work/empty" docs
