#!/usr/bin/env bash
# Refreshes the README's screenshots of the review of the stage, the export history and the
# name-choice dialog: the Qt ones from the offscreen Qt tests, the Win32 ones from the smoke test
# under Wine (which also makes the main window's).
# Run after both builds (cmake --build --preset default; the mingw64 preset as
# scripts/test-windows.sh builds it).
#
# usage: scripts/screenshots.sh
set -euo pipefail
cd "$(dirname "$0")/.."

QT_QPA_PLATFORM=offscreen VANTRELL_SCREENSHOT_DIR="$PWD/docs" \
    build/default/tests/shell/shell_qt_tests \
    --gtest_filter='QtReviewFixture.TheListsMenuOpensTheReviewWhichSortsSavesAndClosesOnEsc:QtHistoryFixture.AnExportIsShownSavedAsAReceiptAndUndoneWithTheListMadeCurrent:QtNameMapFixture.TheHintsLineOpensTheChoiceWhichFiltersAndStoresTheNameOnEnter'
echo "screenshots: docs/review-qt.png, docs/history-qt.png, docs/name-map-qt.png"

scratch=$(mktemp -d)
export WINEPREFIX=$scratch/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; rm -rf "$scratch"' EXIT
cmake/wine-run.sh 64 wineboot --init >/dev/null 2>&1
wineserver -w
xvfb-run -a -s '-screen 0 1024x768x24' \
    ctest --test-dir build/mingw64 -R win32_smoke_screenshot --output-on-failure
cp build/mingw64/screenshots/vantrell-main-window-review.png docs/review-win32.png
cp build/mingw64/screenshots/vantrell-main-window-history.png docs/history-win32.png
cp build/mingw64/screenshots/vantrell-main-window-name-map.png docs/name-map-win32.png
echo "screenshots: docs/review-win32.png, docs/history-win32.png, docs/name-map-win32.png"
