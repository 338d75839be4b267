#!/bin/bash
# Shows the game's sound reaching a PulseAudio server on a machine without
# /dev/dsp: starts PulseAudio with a null sink and an X server (Xvfb), plays
# sounds, records the sink's monitor with parec and finds each sound in the
# recording, with the time from its cause to its being heard.
#   tools/pulse_check/pulse_check.sh [BUILD_FOLDER] [driver|game]
# driver (the default): sound_output_check opens the game's window, then starts
#   the sound and plays thrust and the three effects.
# game: the game itself, driven with xdotool: a game is started, the ship
#   thrusts and fires; the key presses are the events.
# Needs pulseaudio, pulseaudio-utils and xvfb (and xdotool for game). Not run by CTest.
set -eu
build=$(realpath "${1:-build}")
what=${2:-driver}
check="$build/tools/pulse_check/sound_output_check"
# The check is a measuring rig: it builds only when asked for.
cmake -S "$(dirname "$0")/../.." -B "$build" -DKRAVIX_TOOLS=ON >/dev/null
cmake --build "$build" --target sound_output_check kravix >/dev/null
work=$(mktemp -d /tmp/kravix-pulse-check.XXXXXX)
export XDG_RUNTIME_DIR="$work/runtime" HOME="$work"
mkdir -m 700 "$XDG_RUNTIME_DIR"
pids=()
stop() { for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done; wait 2>/dev/null || true; }
trap stop EXIT

pulseaudio -n --daemonize=no --exit-idle-time=-1 --log-target=file:"$work/pulse.log" \
  --load="module-native-protocol-unix" \
  --load="module-null-sink sink_name=kravix_check" &
pids+=($!)
# The X server takes the first free display, so that checks can run side by side.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$work/display")"
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl set-default-sink kravix_check

mkfifo "$work/monitor"
"$check" record "$work/recording.raw" <"$work/monitor" &
recorder=$!
parec -d kravix_check.monitor --raw --format=u8 --rate=5000 --channels=1 --latency-msec=10 \
  >"$work/monitor" &
recording=$!
pids+=($recording)
# The monitor's first data can take a second or two to come.
for _ in $(seq 100); do [ -s "$work/recording.raw.times" ] && break; sleep 0.1; done
sleep 0.3

event() { echo "EVENT $1 $(date +%s%6N)" | tee -a "$work/events.log"; }
key() { xdotool "$1" --window "$window" "$2"; }

# What the audio server holds for the stream, once it plays.
(sleep 4; pactl list sink-inputs | grep -E "Buffer Latency|Sink Latency" \
  >"$work/stream.txt") &
pids+=($!)

if [ "$what" = game ]; then
  SDL_AUDIODRIVER=pulseaudio "$build/kravix" >"$work/game.out" 2>&1 &
  game=$!
  pids+=($game)
  sleep 2
  window=$(xdotool search --name Kravix | head -1)
  key keydown Return; sleep 0.05; key keyup Return   # title: the logo turns, then a game starts
  sleep 3
  key keydown Return; sleep 0.05; key keyup Return   # intro: the level starts
  sleep 0.3
  for _ in 1 2; do   # the ship falls from the start: fire first, then thrust
    event ship-shot; key keydown Return; sleep 0.05; key keyup Return; sleep 0.4
  done
  event thrust; key keydown Shift_R; sleep 0.5
  event thrust-stop; key keyup Shift_R; sleep 0.6
  import -window root "$work/last-frame.png" 2>/dev/null || true
  key keydown F12; sleep 0.5
  wait "$game" || true
else
  SDL_AUDIODRIVER=pulseaudio "$check" play | tee "$work/events.log"
fi
sleep 0.5
kill "$recording"
wait "$recorder"
"$check" find "$work/recording.raw" "$work/events.log"
sed 's/^[[:space:]]*/stream: /' "$work/stream.txt" 2>/dev/null || true
echo "recording and logs in $work"
