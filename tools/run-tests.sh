#!/usr/bin/env bash
# Sets up the machine, builds both configurations and runs every test:
# the product under Wine (win32) and the sanitized checks (host).
set -euo pipefail
cd "$(dirname "$0")/.."
bash deps/setup-machine.sh
bash deps/build-deps.sh
status=0
for preset in win32 host; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset" || status=1
done
exit $status
