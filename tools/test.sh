#!/usr/bin/env bash
# Installs what is missing, builds, and runs the whole test suite: once as built,
# the real-window tests under a virtual X display, every display-free test again under
# AddressSanitizer and UndefinedBehaviorSanitizer, then a short fuzz pass. The tests and
# their labels come from CMake: every test folder is labelled with its name, and the
# tests that need a display carry the label x11, so a new test folder needs no edit here.
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

# The sanitizer pass builds with clang, so every run compiles the whole tree, tests
# included, with both compilers.
CC=clang CXX=clang++ "$root/tools/build.sh" "$root/build-asan" -DCMAKE_BUILD_TYPE=Debug -DQD_SANITIZE=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir "$root/build-asan" --output-on-failure -j "$jobs" -LE x11

# Short fuzz pass: every target under fuzz/ for QD_FUZZ_SECONDS (default 30) each,
# under ASan + UBSan; a finding fails the run.
"$root/tools/fuzz.sh" "${QD_FUZZ_SECONDS:-30}" "$root/build-fuzz"
