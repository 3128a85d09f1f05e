#!/usr/bin/env bash
# Sets up the machine, builds every configuration and runs every test this
# machine can run: the product under Wine (win32) where 32-bit programs run,
# the 64-bit test build under Wine (win64), and the sanitized checks (host).
# The 32-bit product is always built and its static checks always run.
set -euo pipefail
cd "$(dirname "$0")/.."
bash deps/setup-machine.sh
bash deps/build-deps.sh
source tools/windows_suites.sh
zir_probe_win32

status=0
build() {
  cmake --preset "$1" >/dev/null
  cmake --build --preset "$1"
}

build win32
if [ "$ZIR_RUNS_WIN32" = 1 ]; then
  ctest --preset win32 || status=1
else
  echo "win32 suite left out: $ZIR_WIN32_LEFT_OUT; its static checks run, the win64 suite tests the Windows code."
  ctest --preset win32 -L static || status=1
fi
for preset in win64 host; do
  build "$preset"
  ctest --preset "$preset" || status=1
done
exit $status
