#!/usr/bin/env bash
# Records what a command plays and prints the loudness figures of the recording.
#
#   tools/record-sound.sh OUT.wav COMMAND [ARGS...]
#
# Starts a PulseAudio server if none runs, adds a silent null sink, makes it the command's
# output, records the sink's monitor while the command runs, then prints sox's statistics.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 OUT.wav COMMAND [ARGS...]" >&2
    exit 2
fi
out=$1
shift

pulseaudio --check 2>/dev/null || pulseaudio --start --exit-idle-time=-1 2>/dev/null
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done

sink=trivora_record_$$
module=$(pactl load-module module-null-sink sink_name="$sink" \
    sink_properties=device.description=TrivoraRecording)
recorder=
cleanup() {
    [ -n "$recorder" ] && kill "$recorder" 2>/dev/null && wait "$recorder" 2>/dev/null
    pactl unload-module "$module" 2>/dev/null || true
}
trap cleanup EXIT

parecord --device="$sink.monitor" --file-format=wav --rate=44100 --channels=2 "$out" &
recorder=$!
sleep 0.3

status=0
PULSE_SINK=$sink "$@" || status=$?

sleep 0.3
kill "$recorder" 2>/dev/null || true
wait "$recorder" 2>/dev/null || true
recorder=

sox "$out" -n stat 2>&1 | grep -E "Length|Maximum amplitude|Minimum amplitude|RMS +amplitude|Rough"
exit "$status"
