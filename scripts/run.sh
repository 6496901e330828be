#!/usr/bin/env bash
# The run command: installs what is missing, builds, and starts the viewer in
# this terminal, which becomes its console. Without a display the window opens
# on a virtual one and a screenshot of it is written to build/plimo-window.png.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target plimo

exec bash scripts/wine-session.sh build/win64 bash scripts/run-viewer.sh build/win64/plimo.exe build/plimo-window.png
