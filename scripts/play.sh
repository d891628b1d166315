#!/usr/bin/env bash
# Installs dependencies, builds the optimised configuration and starts the game.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
JOBS="${JOBS:-$(nproc)}"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build/release -j "$JOBS" --target game
GAME_DIR="build/release/game"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "play: no display available; start this under a desktop session or with xvfb-run."
  exit 1
fi
cd "$GAME_DIR"
exec ./sorafune
