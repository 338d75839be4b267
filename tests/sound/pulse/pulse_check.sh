#!/bin/bash
# Shows the game's sound reaching a PulseAudio server on a machine without
# /dev/dsp: starts PulseAudio with a null sink and an X server (Xvfb), runs
# sound_output_check (window first, then the sound server, thrust and effects),
# records the sink's monitor with parec and finds each sound in the recording.
# Needs: apt-get install pulseaudio pulseaudio-utils xvfb. Not part of the tests.
#   tests/sound/pulse/pulse_check.sh [BUILD_FOLDER]
set -eu
build=$(realpath "${1:-build}")
check="$build/tests/sound/sound_output_check"
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
Xvfb :77 -screen 0 1024x768x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
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
DISPLAY=:77 SDL_AUDIODRIVER=pulseaudio "$check" play | tee "$work/events.log"
sleep 0.5
kill "$recording"
wait "$recorder"
"$check" find "$work/recording.raw" "$work/events.log"
echo "recording and logs in $work"
