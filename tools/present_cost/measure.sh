#!/usr/bin/env bash
# The SDL2 game's cost per present beside a plain SDL2 program, side by side in
# one run, in windows under Xvfb (no GPU: the game takes its crisp pass into
# the window surface, the plain program SDL's software renderer scaling linearly).
#   tools/present_cost/measure.sh [SECONDS]     (default 6, after 2 s of warm-up)
# For a 960x720 window and a 1920x1080 screen in fullscreen, twice each,
# alternating: presents a second, CPU µs per present (the process's own), the
# present intervals' p5/p50/p95 and the share within 13-16 ms. The game runs on
# its title screen (kravix-present-probe: the game with a logging present
# wrapper); "as before" is the game on SDL's software renderer (integer
# pre-scale, linear stretch), the path it took without a GPU until now; "idle"
# only sleeps to the same deadlines: the machine's own wake-up jitter.
set -euo pipefail
cd "$(dirname "$0")/../.."
seconds=${1:-6}
build=build

. tools/install_missing.sh
install_missing Xvfb:xvfb
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKRAVIX_TOOLS=ON >/dev/null
cmake --build "$build" --target kravix-present-probe plain-stretch >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/kravix-present.XXXXXX")
display=:$((200 + RANDOM % 100))
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=$display KRAVIX_PROBE_SECONDS=$seconds SDL_AUDIODRIVER=dummy HOME=$work
export XDG_CONFIG_HOME=$work/config
mkdir -p "$XDG_CONFIG_HOME/kravix"

game() {  # window.conf lines, then an optional environment entry
  printf '%b' "$1" >"$XDG_CONFIG_HOME/kravix/window.conf"
  (cd "$work" && env ${2:-} timeout 60 "$OLDPWD/$build/tools/present_cost/kravix-present-probe" \
    2>&1 >/dev/null | grep '^game ')
}
plain() { timeout 60 "$build/tools/present_cost/plain-stretch" "$@" 2>&1 | grep -E '^(plain|idle) '; }

printf '%-34s %10s %10s %7s %7s %7s %9s\n' "" presents/s "CPU µs" p5 p50 p95 "13-16 ms"
row() { read -r _ rate cpu p5 p50 p95 within; printf '%-34s %10s %10s %7s %7s %7s %8s%%\n' \
  "$1" "$rate" "$cpu" "$p5" "$p50" "$p95" "$within"; }
for round in 1 2; do
  plain 960 720 idle | row "idle (deadlines only)"
  game 'width=960\nheight=720\n' | row "game 960x720"
  plain 960 720 | row "plain 960x720"
  game 'width=960\nheight=720\n' SDL_RENDER_DRIVER=software | row "game 960x720, as before"
  game 'width=960\nheight=720\nfullscreen=1\n' | row "game 1920x1080 fullscreen"
  plain 1920 1080 fullscreen | row "plain 1920x1080 fullscreen"
  game 'width=960\nheight=720\nfullscreen=1\n' SDL_RENDER_DRIVER=software |
    row "game 1920x1080 full, as before"
done
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
