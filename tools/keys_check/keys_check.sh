#!/usr/bin/env bash
# The player's keys in a real window: the game under Xvfb with a keys file that
# moves thrust from right Shift to W, driven with xdotool. With right Shift
# held the first ship falls from its start onto the rock; with W held the
# second flies straight up out of the cave, and the level ends without a
# further loss. Screenshots of each step are left in the work folder.
#   tools/keys_check/keys_check.sh [BUILD_FOLDER]
set -eu
build=$(realpath "${1:-build}")
work=$(mktemp -d /tmp/kravix-keys-check.XXXXXX)
export HOME="$work" XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/kravix"
printf 'thrust = W\n' >"$XDG_CONFIG_HOME/kravix/keys.conf"
pids=()
stop() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; wait 2>/dev/null || true; }
trap stop EXIT

Xvfb :78 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do DISPLAY=:78 xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
DISPLAY=:78 SDL_AUDIODRIVER=dummy "$build/kravix" >"$work/game.out" 2>&1 &
game=$!
pids+=($game)
window=
for _ in $(seq 50); do
  window=$(DISPLAY=:78 xdotool search --name Kravix 2>/dev/null | head -1) && [ -n "$window" ] && break
  sleep 0.1
done
sleep 1
key() { DISPLAY=:78 xdotool "$1" --window "$window" "$2"; }
shot() { DISPLAY=:78 import -window root "$work/$1.png"; echo "$work/$1.png"; }
press() { key keydown "$1"; sleep "${2:-0.05}"; key keyup "$1"; }

press Return   # the title
sleep 3
press Return   # the intro of level 1: the ship falls from its start
sleep 0.1
key keydown Shift_R   # no thrust any more: the ship falls onto the rock
sleep 0.3
shot shift-held
sleep 1
shot shift-crashed
key keyup Shift_R
press Escape   # the next ship
sleep 0.5
press Return
sleep 0.1
key keydown w         # thrust now: straight up, out of the cave into the sky
sleep 0.3
shot w-held
sleep 1
shot w-climbing
key keyup w
sleep 3
shot out-of-the-level   # the level ends without a further loss: level 1 again, 2 ships
press F12
wait "$game"
echo "game ended with status $?; output:"
cat "$work/game.out"
