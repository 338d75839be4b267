#!/usr/bin/env bash
# Start-up time and peak memory, re-measured.
#   tools/startup/measure.sh [RUNS]     (default 10)
# Start-up: from the process start to the first frame of the title's turning
# logo shown by the SDL2 backend in a window under Xvfb. kravix-startup-probe is
# the game linked with a present wrapper that writes the clock at that frame;
# the clock is read here just before the process is started, so the figure
# includes fork and exec. Median and worst of RUNS runs after one warm-up; the
# first present that shows the title, and the first with its turning logo.
# Peak memory: the peak resident set (VmHWM) of the game process, read just
# before it quits, and the largest process of the run as /usr/bin/time -v
# gives it: the SDL2 game started, a level flown for a few seconds with keys
# sent by xdotool, F12; and a whole headless game (demos/playthrough.script).
set -euo pipefail
cd "$(dirname "$0")/../.."
runs=${1:-10}
build=build

. tools/install_missing.sh
install_missing Xvfb:xvfb xdotool:xdotool /usr/bin/time:time

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKRAVIX_TOOLS=ON >/dev/null
cmake --build "$build" --target kravix kravix-startup-probe kravix-headless >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/kravix-startup.XXXXXX")
display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
for _ in $(seq 50); do DISPLAY=$display xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done
export DISPLAY=$display
export HOME=$work

# One start: microseconds from just before the start to the first presents
# that show the title and its turning logo, and how long the window and the
# sound start took.
startup_once() {
  local started probe
  rm -f "$work/stamp"
  started=$(date +%s%N)
  "$build/tools/startup/kravix-startup-probe" >"$work/stamp" 2>/dev/null &
  probe=$!
  for _ in $(seq 500); do [ -s "$work/stamp" ] && break; sleep 0.01; done
  kill -TERM "$probe" 2>/dev/null || true
  wait "$probe" 2>/dev/null || true
  [ -s "$work/stamp" ] || { echo "no title frame within 5 s" >&2; exit 1; }
  read -r video_start video_end sound_start sound_end title logo <"$work/stamp"
  echo $(((title - started) / 1000)) $(((logo - started) / 1000)) \
    $(((video_end - video_start) / 1000)) $(((sound_end - sound_start) / 1000))
}

ms() { printf '%d.%d' $(($1 / 1000)) $(($1 % 1000 / 100)); }
mb() { printf '%d.%d' $(($1 / 1024)) $(($1 % 1024 * 10 / 1024)); }
median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# Both ways SDL can draw here: the game's default (without a GPU, SDL's own
# software renderer) and OpenGL asked for by name (under Xvfb, Mesa's software
# rasteriser llvmpipe).
configurations=("the game's default (no GPU: SDL's software renderer)" "OpenGL asked for by name")
environments=("" "SDL_RENDER_DRIVER=opengl")

startup_report() {  # configuration name, environment assignments
  local title worst logo window sound
  # shellcheck disable=SC2086
  [ -z "$2" ] || export $2
  startup_once >/dev/null  # warm-up: caches, the X server's first client
  for _ in $(seq "$runs"); do startup_once; done >"$work/starts"
  title=$(awk '{ print $1 }' "$work/starts" | median)
  worst=$(awk '{ print $1 }' "$work/starts" | sort -n | tail -1)
  logo=$(awk '{ print $2 }' "$work/starts" | median)
  window=$(awk '{ print $3 }' "$work/starts" | median)
  sound=$(awk '{ print $4 }' "$work/starts" | median)
  echo "Start-up, SDL2 in a window under Xvfb, $1, median of $runs runs (worst):"
  echo "  process start to the first title frame shown: $(ms "$title") ms ($(ms "$worst") ms)"
  echo "  to the first frame of the turning logo: $(ms "$logo") ms"
  echo "  of which opening the window (vga_setmode): $(ms "$window") ms, starting the sound: $(ms "$sound") ms"
}

# The SDL2 game: title, a level flown with thrust, turns and shots, then F12.
game_memory_report() {  # configuration name
  local timer game window peak status largest
  /usr/bin/time -v "$build/kravix" >"$work/game.out" 2>"$work/game.time" &
  timer=$!
  sleep 1.5
  game=$(pgrep -P "$timer" -x kravix | head -1)
  window=$(xdotool search --sync --pid "$game" --name '^Kravix$' | head -1)
  key() { xdotool "$1" --window "$window" "$2" 2>/dev/null || true; }
  key keydown Return; sleep 0.05; key keyup Return; sleep 2.5      # the logo turns, a game starts
  key keydown Return; sleep 0.05; key keyup Return; sleep 0.5      # the level starts
  for _ in 1 2 3; do
    key keydown Return; sleep 0.05; key keyup Return
    key keydown Shift_R; sleep 0.4; key keyup Shift_R
    key keydown a; sleep 0.2; key keyup a
  done
  peak=$(awk '/VmHWM/ { print $2 }' "/proc/$game/status")
  key keydown F12; sleep 0.3; key keyup F12
  status=0
  wait "$timer" || status=$?
  largest=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/game.time")
  echo "SDL2 game, $1 (a level flown, F12, status $status): game process peak $(mb "$peak") MB" \
    "resident; largest process of the run $(mb "$largest") MB"
}

for i in 0 1; do
  (startup_report "${configurations[$i]}" "${environments[$i]}"
   game_memory_report "${configurations[$i]}")
done

# A whole headless game: title, two attempts at level 1, help, options, pause, high scores.
/usr/bin/time -v "$build/tools/headless/kravix-headless" --script demos/playthrough.script \
  --out "$work" >/dev/null 2>"$work/headless.time"
largest=$(awk -F': ' '/Maximum resident set size/ { print $2 }' "$work/headless.time")
echo "Headless whole game (demos/playthrough.script): $(mb "$largest") MB resident at most"
