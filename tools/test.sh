#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: once as built,
# the real-window tests under a virtual X display, then every display-free test again
# under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
jobs=$(nproc)

"$root/tools/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
ctest --test-dir "$root/build" --output-on-failure -j "$jobs" -LE x11
# Real-window tests: one virtual display of their own, one test at a time since they
# share its pointer.
xvfb-run -a -s "-screen 0 1280x1024x24" \
  ctest --test-dir "$root/build" --output-on-failure -j 1 -L x11 --timeout 120

QD_TARGETS="test_common test_winapi test_raster test_platform test_plug test_gui test_fuzz test_skingen test_controls test_editor test_app test_screens" "$root/tools/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DQD_SANITIZE=ON
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs" -L "^(common|winapi|raster|platform|plug|gui|fuzz|skingen|controls|editor|app|screens)$"

# Short fuzz pass: every target under fuzz/ for QD_FUZZ_SECONDS (default 30) each,
# under ASan + UBSan; a finding fails the run.
"$root/tools/fuzz.sh" "${QD_FUZZ_SECONDS:-30}" "$root/build-fuzz"
