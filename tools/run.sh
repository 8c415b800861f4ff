#!/usr/bin/env bash
# Installs what is missing, builds the editor and runs it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/tools/setup.sh"
# Only the program, its libraries and the skin images: the tests are tools/test.sh's.
QD_TARGETS=qdeditor "$root/tools/build.sh" "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo
exec "$root/build/app/qdeditor" "$@"
