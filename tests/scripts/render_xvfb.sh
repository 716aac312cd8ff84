#!/bin/bash
# Runs the render suites in a real X window (GLX under Xvfb) instead of the offscreen driver.
# Args: build folder, source folder. Without Xvfb the test is skipped (exit 0 with a note).
set -u
build="$1"
if ! command -v xvfb-run > /dev/null; then
    echo "xvfb-run not installed: skipped"
    exit 0
fi
status=0
exe="$build/tests/test_engine"
[ -x "$exe" ] || { echo "missing $exe"; exit 1; }
if ! KX_TEST_VIDEODRIVER=x11 xvfb-run -a -s "-screen 0 1280x800x24" "$exe" --gtest_brief=1 \
    --gtest_filter='SpriteRender.*:QuadBatch.*:ImageDecode.*:AtlasTest.*:LabelTest.*:BMFontParser.*:CaptureTest.*:ViewTest.ShowAll*:ViewTest.Screenshot*'; then
    echo "FAILED under Xvfb: the render suites"
    status=1
fi
exit $status
