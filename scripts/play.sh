#!/usr/bin/env bash
# Installs dependencies, builds the optimised configuration with the demo game and plays it.
# With a display the game itself runs in its window, on its title screen; without one the
# headless runner plays a scripted tour from the title and writes its screenshots, a contact
# sheet, the sound and the run log.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
JOBS="${JOBS:-$(nproc)}"
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build/release -j "$JOBS" --target game sorafune-runner
GAME_DIR="$PWD/build/release/game"
RUNNER="$PWD/build/release/tools/runner/sorafune-runner"
GAME="$(cd "${1:-$GAME_DIR}" && pwd)"

if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  # The game keeps its settings, saves and sounds beside the program and opens its archive
  # from the folder it is started in, so it runs from inside the game folder.
  if [ "$GAME" != "$GAME_DIR" ]; then
    echo "play: putting the program into $GAME"
    cp -f "$GAME_DIR/sorafune" "$GAME/sorafune"
  fi
  cd "$GAME"
  exec ./sorafune
fi

OUT="$PWD/build/release/tour"
mkdir -p "$OUT"
echo "play: no display here; playing a scripted tour of the game headless instead."
SHOTS=()
for f in 30 75 100 125 190 270 350 430 510 590 670 750 875 1045 1055 1300 1410 1610 1780 1850 2070 2310 2510; do
  SHOTS+=(--shot "$f:$OUT/frame$f.png")
done
"$RUNNER" --program-dir "$GAME" --frames 2610 --input demo/tour.input \
  "${SHOTS[@]}" --contact-sheet "$OUT/contact-sheet.png" --audio "$OUT/sound.wav" --log "$OUT/run-log.txt"
# Second leg: the night the bell rings, a scene of screen effects and frame animation, one
# screenshot in the middle of each effect.
SHOTS=()
for f in 120 180 300 480 642 780 840 930 1110; do
  SHOTS+=(--shot "$f:$OUT/stars$f.png")
done
"$RUNNER" --program-dir "$GAME" --script stars.scp --frames 1200 --input demo/stars.input \
  "${SHOTS[@]}" --contact-sheet "$OUT/contact-sheet-effects.png" --log "$OUT/run-log-effects.txt"
# Third leg: with what the first leg unlocked, from the title into the CG gallery (a replay),
# the album (a replay) and the music room, and back to the title each time.
SHOTS=()
for f in 75 150 220 345 400 480 540 700 1000 1040; do
  SHOTS+=(--shot "$f:$OUT/gallery$f.png")
done
"$RUNNER" --program-dir "$GAME" --frames 1060 --input demo/gallery.input \
  "${SHOTS[@]}" --contact-sheet "$OUT/contact-sheet-gallery.png" --log "$OUT/run-log-gallery.txt"
echo "play: screenshots, the sound and the run logs are in $OUT; all the pictures at a glance:"
echo "      $OUT/contact-sheet.png (the opening), $OUT/contact-sheet-effects.png (screen effects)"
echo "      and $OUT/contact-sheet-gallery.png (CG gallery, album and music room)"
