#!/usr/bin/env bash
# Makes the three report workbooks of the demonstration grade with score-report and renders each
# with LibreOffice to a PNG picture under docs/ (student-report.png, class-report.png,
# teacher-report.png). Needs the release build (./run.sh builds it) and LibreOffice and poppler-utils.
set -euo pipefail
cd "$(dirname "$0")/.."
top=$(pwd)
build="${BUILD:-build/release}"
if [ ! -x "$build/src/batch/score-report" ]; then
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DSCORE_BUILD_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target score-report catalogue-init demo-scores >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$build/src/catalogue/catalogue-init" --demo "$work/Data.mdb" >/dev/null
"$build/src/tools/demo-scores" "$work/初二成绩.xls" >/dev/null
(cd "$work" && "$top/$build/src/batch/score-report" --scores 初二成绩.xls --percent 90 \
    --student-report 010201=student-report.xls --class-report class-report.xls --teacher-report teacher-report.xls)

for report in student-report class-report teacher-report; do
    # Each sheet on one page of its own size, so a wide report is not cut into pages.
    soffice -env:UserInstallation="file://$work/profile" --headless \
        --convert-to 'pdf:calc_pdf_Export:{"SinglePageSheets":{"type":"boolean","value":"true"}}' --outdir "$work" \
        "$work/$report.xls" >/dev/null 2>&1
    pdftoppm -png -r 110 -f 1 -l 1 -singlefile "$work/$report.pdf" "$top/docs/$report"
    echo "docs/$report.png"
done
