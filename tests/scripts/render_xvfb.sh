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
for suite in test_engine_render_sprite test_engine_render_atlas test_engine_render_label test_engine_render_texture; do
    exe="$build/tests/$suite"
    [ -x "$exe" ] || { echo "missing $exe"; status=1; continue; }
    if ! KX_TEST_VIDEODRIVER=x11 xvfb-run -a -s "-screen 0 1280x800x24" "$exe" --gtest_brief=1; then
        echo "FAILED under Xvfb: $suite"
        status=1
    fi
done
if ! KX_TEST_VIDEODRIVER=x11 xvfb-run -a -s "-screen 0 1280x800x24" "$build/tests/test_engine_render_view" \
    --gtest_brief=1 --gtest_filter='ViewTest.ShowAll*:ViewTest.Screenshot*'; then
    echo "FAILED under Xvfb: test_engine_render_view"
    status=1
fi
exit $status
