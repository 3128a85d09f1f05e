#!/usr/bin/env bash
# Sets up the machine, builds the product and runs the main job: the test host
# loads the data source under Wine, presses Scan on a generated sample image and
# takes it by native transfer (build/win32/main-job/received.bmp) and by memory
# transfer (build/win32/main-job/received.ppm).
set -euo pipefail
cd "$(dirname "$0")/.."
bash deps/setup-machine.sh
bash deps/build-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32
rm -rf build/win32/main-job
# Debian's python3: the pixel check needs its numpy.
/usr/bin/python3 tools/transfer_sample.py build/win32/wine-run.sh build/win32/bin --out build/win32/main-job
