#!/usr/bin/env bash
# The test command: installs what is missing, builds the three presets and runs every test.
# The native (sanitizer) tests run first; the Windows tests run last under Wine and end
# with CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh

jobs=$(nproc)
for preset in win32 win64 native; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done

# The installed package as another project uses it, on both architectures.
for preset in win32 win64; do
  bash scripts/package-test.sh "$preset"
done

ctest --preset native -j "$jobs"
bash scripts/fuzz.sh
bash scripts/wine-session.sh build/win64 ctest --preset win64 -j "$jobs"
