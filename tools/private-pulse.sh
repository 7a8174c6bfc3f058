# Sourced by tools that play sound where nobody hears it: starts a private PulseAudio server
# whose only sink is the null sink "trivora_null", in its own runtime folder under WORK, so the
# user's own server is left alone. No speech-dispatcher is reachable from it.
#
#   . tools/private-pulse.sh; start_private_pulse WORK   (adds the server's pid to pids)
start_private_pulse() {
    local work=$1
    export XDG_RUNTIME_DIR=$work/run XDG_CONFIG_HOME=$work/config PULSE_RUNTIME_PATH=$work/pulse
    mkdir -p -m 700 "$XDG_RUNTIME_DIR" "$PULSE_RUNTIME_PATH" "$XDG_CONFIG_HOME"
    export PULSE_SERVER=unix:$work/pulse/native
    unset SPEECHD_ADDRESS
    pulseaudio -n --daemonize=no --exit-idle-time=-1 --use-pid-file=no --log-target=stderr \
        -L "module-native-protocol-unix socket=$work/pulse/native auth-anonymous=1" \
        -L "module-null-sink sink_name=trivora_null" 2>"$work/pulse.log" &
    pids+=($!)
    local _
    for _ in $(seq 100); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
    pactl info >/dev/null 2>&1 || {
        echo "the sound server did not start" >&2
        cat "$work/pulse.log" >&2
        return 1
    }
}
