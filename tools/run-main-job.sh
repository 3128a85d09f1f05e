#!/usr/bin/env bash
# Sets up the machine, builds the data source and runs the main job: the test
# host loads the data source under Wine, presses Prescan and Scan in the
# source's window over a generated sample image and takes it by native
# transfer (build/<preset>/main-job/received.bmp, with a snapshot of the
# window, main-window.png) and by memory transfer (received.ppm), then saves it through the file
# mode to build/<preset>/main-job/saved.tif and saved.jpg and checks their pixels. The preset is win32, the product,
# where this machine runs 32-bit programs, and win64, its 64-bit test build,
# where it does not.
set -uo pipefail
cd "$(dirname "$0")/.."

step() {
  local what=$1; shift
  "$@" || { echo "The main job failed: $what did not succeed (its output above says why)." >&2; exit 1; }
}

step "the machine set-up" bash deps/setup-machine.sh
step "the third-party build" bash deps/build-deps.sh
source tools/windows_suites.sh
zir_probe_win32
if [ "$ZIR_RUNS_WIN32" = 1 ]; then
  preset=win32
  echo "main job: through the 32-bit data source, the product."
else
  preset=win64
  echo "main job: through the 64-bit test build of the data source: $ZIR_WIN32_LEFT_OUT."
fi
step "configuring the $preset build" cmake --preset "$preset" >/dev/null
step "building the $preset build" cmake --build --preset "$preset"
rm -rf "build/$preset/main-job"
# Debian's python3: the pixel check needs its numpy.
step "the sample transfer" /usr/bin/python3 tools/transfer_sample.py "build/$preset/wine-run.sh" "build/$preset/bin" \
  --out "build/$preset/main-job" --jpeg8 "${ZIR_DEPS_DIR:-$HOME/.cache/zir-deps/current}/$preset/jpeg8/bin"
# The photo program: a generated sample photo loaded, enhanced and saved through its real dialog;
# the last line names the enhanced file.
step "the photo program's enhancement" /usr/bin/python3 photoapp/tests/end_to_end.py "build/$preset/wine-run.sh" \
  "build/$preset/bin" "${ZIR_DEPS_DIR:-$HOME/.cache/zir-deps/current}/$preset/jpeg8/bin" "build/$preset/photoapp/e2e"
