#!/usr/bin/env bash
# The SDL2 game in a real window under Xvfb with a window manager (openbox),
# driven with xdotool as a player would, showing the window's rules:
#   tools/present_cost/window_demo.sh [OUT]      (screenshots into OUT, default ./window-demo)
# 1. the level intro (a screen that polls without drawing): CPU share of one core;
#    screenshots after a resize and after Alt+Enter (the intro repaints);
# 2. in flight with thrust held, the focus on another window for 5 s (Alt+Tab):
#    CPU while away, the picture just before, while away and after coming back
#    (the world waited: the same picture until the window is back); minimised;
# 3. F12, then a second start: the window opens at the size and place it was left;
# 4. the ship hovering under pulsed thrust, Alt+Tab to another window for 5 s and
#    back: it hovers on with the same ships; then the same 5 s without thrust in
#    the window, which costs the ship, to show what the away time would have done.
set -euo pipefail
cd "$(dirname "$0")/../.."
out=$(realpath -m "${1:-window-demo}")
build=build
mkdir -p "$out"

. tools/install_missing.sh
install_missing Xvfb:xvfb xdotool:xdotool import:imagemagick openbox:openbox xwininfo:x11-utils
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" --target kravix >/dev/null

work=$(mktemp -d "${TMPDIR:-/tmp}/kravix-window.XXXXXX")
display=:$((300 + RANDOM % 100))
Xvfb "$display" -screen 0 1920x1080x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
game=""
trap 'kill $game $wm $xvfb 2>/dev/null; rm -rf "$work"' EXIT
sleep 1
export DISPLAY=$display SDL_AUDIODRIVER=dummy HOME=$work XDG_CONFIG_HOME=$work/config
openbox >"$work/wm.log" 2>&1 &
wm=$!
sleep 1

start_game() {
  (cd "$work" && exec "$OLDPWD/$build/kravix" >"$work/game.out" 2>&1) &
  game=$!
  for _ in $(seq 50); do window=$(xdotool search --name '^Kravix$' 2>/dev/null | head -1) && \
    [ -n "$window" ] && break; sleep 0.1; done
  sleep 1
  xdotool windowactivate --sync "$window"
}
ticks() { awk '{print $14 + $15}' "/proc/$game/stat"; }
cpu_share() {  # percent of one core over SECONDS
  local before after
  before=$(ticks); sleep "$1"; after=$(ticks)
  echo $(((after - before) * 100 / $(getconf CLK_TCK) * 100 / ($1 * 100)))
}
press() { xdotool keydown "$1"; sleep 0.2; xdotool keyup "$1"; }
hover() {  # thrust a third of the time: about what holds the ship against gravity
  local until=$(($(date +%s) + $1))
  while [ "$(date +%s)" -lt "$until" ]; do
    xdotool keydown Shift_R; sleep 0.1; xdotool keyup Shift_R; sleep 0.2
  done
}
geometry() { xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}'; }

start_game
press Return
sleep 5
import -window "$window" "$out/intro.png"
echo "level intro: $(cpu_share 5)% of one core"
xdotool windowsize --sync "$window" 1100 600
sleep 1
import -window "$window" "$out/intro-resized.png"
echo "intro after a resize to $(geometry): intro-resized.png"
xdotool key alt+Return
sleep 1.5
import -window "$window" "$out/intro-fullscreen.png"
echo "intro after Alt+Enter, $(geometry): intro-fullscreen.png"
xdotool key alt+Return
sleep 1
press Return
sleep 1
xdotool keydown Shift_R
sleep 0.5
import -window "$window" "$out/flight-before-away.png"
xmessage -geometry +0+0 "another window" &
other=$!
sleep 0.5
xdotool windowactivate --sync "$(xdotool search --pid $other | tail -1)" 2>/dev/null || true
xdotool keyup Shift_R
echo "focus on another window in flight, thrust held: $(cpu_share 1)% of one core while away"
import -window "$window" "$out/flight-away-1s.png"
sleep 4
import -window "$window" "$out/flight-away-5s.png"
echo "the game's window 1 s and 5 s after the focus went: $(compare -metric AE \
  "$out/flight-away-1s.png" "$out/flight-away-5s.png" null: 2>&1) pixels differ"
xdotool windowactivate --sync "$window" 2>/dev/null
kill $other
sleep 0.5
import -window "$window" "$out/flight-back.png"
echo "and 0.5 s after coming back: $(compare -metric AE "$out/flight-away-5s.png" \
  "$out/flight-back.png" null: 2>&1) pixels differ (flight-back.png)"
xdotool windowminimize --sync "$window"
echo "minimised: $(cpu_share 3)% of one core"
xdotool windowactivate --sync "$window" 2>/dev/null
sleep 0.5
xdotool windowsize --sync "$window" 1000 750
xdotool windowmove --sync "$window" 200 100
sleep 0.5
left="$(geometry)"
press F12
wait "$game" || true
echo "window.conf after F12:"; sed 's/^/    /' "$XDG_CONFIG_HOME/kravix/window.conf"
start_game
echo "second start: $(geometry) (left at $left)"
xmessage -geometry +0+0 "another window" &
other=$!
sleep 0.5
xdotool windowactivate --sync "$window"
press Return
sleep 3
press Return
sleep 1
xdotool keydown Shift_R; sleep 0.5; xdotool keyup Shift_R  # up from the ground first
hover 3
import -window "$window" "$out/hover-before-away.png"
xdotool key alt+Tab
sleep 0.3
echo "Alt+Tab: the focus on $(xdotool getwindowfocus getwindowname)"
sleep 4.7
import -window "$window" "$out/hover-away-5s.png"
xdotool key alt+Tab
sleep 0.3
echo "Alt+Tab: the focus on $(xdotool getwindowfocus getwindowname)"
import -window "$window" "$out/hover-back-0s.png"
hover 3
import -window "$window" "$out/hover-back.png"
echo "hovering, 5 s away by Alt+Tab and 3 s hovering on: hover-before-away.png," \
  "hover-away-5s.png, hover-back.png"
sleep 5
import -window "$window" "$out/hover-dropped.png"
echo "the same 5 s without thrust in the window: hover-dropped.png"
kill $other 2>/dev/null || true
kill "$game"
wait "$game" || true
