#!/usr/bin/env bash
# Sets up the machine, builds the product and runs the main job: the test host
# loads the data source under Wine and drives it.
set -euo pipefail
cd "$(dirname "$0")/.."
bash deps/setup-machine.sh
bash deps/build-deps.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32
cd build/win32/bin
WINEDLLOVERRIDES=twain_32=n ../wine-run.sh twainhost.exe "QB ZIR.ds" --cycle
