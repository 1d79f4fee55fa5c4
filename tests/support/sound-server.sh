#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Runs a sound server of a test's own until it is told to stop:
#
#   sound-server.sh SERVER RATE CHANNELS DIR
#
# SERVER is "pulseaudio" or "pipewire" (PipeWire with WirePlumber and its
# pulse service, headless, on a D-Bus session bus of its own). Either way a
# null sink named "ns" of RATE Hz and CHANNELS channels (s16le) is the
# default sink, and its monitor is "ns.monitor". Everything lives in DIR,
# which must exist and be empty; the clients' address is
# unix:DIR/runtime/pulse/native.
#
# Once the sink can be played to, DIR/ready appears, and DIR/pulse.pid holds
# the process that serves the pulse protocol, for tests that stall or kill
# it. SIGHUP starts that process again (with its sink); SIGTERM ends
# everything. Every process started here dies with this script, however it
# ends.
set -euo pipefail

[ $# -eq 4 ] || { echo "usage: $0 pulseaudio|pipewire RATE CHANNELS DIR" >&2; exit 2; }
server=$1 rate=$2 channels=$3 dir=$(cd "$4" && pwd)

mkdir -p "$dir/runtime/pulse" "$dir/home" "$dir/config" "$dir/state"
chmod 700 "$dir/runtime"
export HOME=$dir/home XDG_RUNTIME_DIR=$dir/runtime XDG_CONFIG_HOME=$dir/config \
    XDG_STATE_HOME=$dir/state PULSE_SERVER=unix:$dir/runtime/pulse/native
unset DISPLAY WAYLAND_DISPLAY PIPEWIRE_REMOTE
socket=$dir/runtime/pulse/native
sink="sink_name=ns rate=$rate channels=$channels format=s16le"

children=()
# Starts a program in the background, tied to this script's life.
spawn() {
    local log=$1
    shift
    setpriv --pdeathsig KILL -- "$@" </dev/null >>"$dir/$log.log" 2>&1 &
    children+=($!)
}

wait_until() {
    local what=$1
    shift
    for _ in $(seq 500); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.02
    done
    echo "$what did not come up; its log:" >&2
    cat "$dir"/*.log >&2 || true
    exit 1
}

# Loads the null sink once pipewire-pulse takes the request; true once the
# sink is there.
null_sink_ready() {
    if [ -z "$sink_loaded" ]; then
        pactl load-module module-null-sink "$sink" || return 1
        sink_loaded=1
    fi
    pactl list short sinks | grep -q "^[0-9]*[[:space:]]ns[[:space:]]"
}

start_pulse_service() {
    if [ -f "$dir/pulse.pid" ]; then
        kill -CONT "$(cat "$dir/pulse.pid")" 2>/dev/null || true
        kill -KILL "$(cat "$dir/pulse.pid")" 2>/dev/null || true
    fi
    rm -f "$dir/ready" "$socket"
    if [ "$server" = pulseaudio ]; then
        # norewinds=1: without it the null sink works in 2-second blocks.
        spawn pulseaudio pulseaudio --daemonize=no -n --exit-idle-time=-1 --use-pid-file=no \
            --system=no --disallow-exit --log-target=stderr --log-level=error \
            -L "module-native-protocol-unix auth-anonymous=1 socket=$socket" \
            -L "module-null-sink $sink norewinds=1" \
            -L "module-suspend-on-idle timeout=5"
        echo "${children[-1]}" >"$dir/pulse.pid"
        wait_until pulseaudio pactl info
    else
        spawn pipewire-pulse pipewire-pulse
        echo "${children[-1]}" >"$dir/pulse.pid"
        # pipewire-pulse answers "info" before it can load a module: wait
        # for what is asked of it, the sink itself.
        sink_loaded=
        wait_until "pipewire-pulse's null sink" null_sink_ready
    fi
    # Asked again until it holds: on PipeWire, WirePlumber keeps the default.
    wait_until "the default sink" sh -c 'pactl set-default-sink ns && [ "$(pactl get-default-sink)" = ns ]'
    echo "$PULSE_SERVER" >"$dir/ready"
}

sleeper=
finish() {
    trap - TERM INT EXIT
    kill -KILL "${children[@]}" $sleeper 2>/dev/null || true
    wait 2>/dev/null || true
    exit 0
}
trap finish TERM INT EXIT

if [ "$server" = pipewire ]; then
    spawn dbus dbus-daemon --session --nofork --nopidfile --address="unix:path=$dir/bus"
    export DBUS_SESSION_BUS_ADDRESS=unix:path=$dir/bus
    wait_until dbus-daemon test -S "$dir/bus"

    # The graph runs at the sink's rate, so an 8 kHz sink is not resampled.
    # Its block is the smallest any client asks for, but no smaller than
    # this: on a small virtual machine the timer that drives a null sink
    # runs late now and then, and a stream that misses its cycle has a block
    # replaced by silence. Blocks of 32 ms (8 kHz) and 21 ms (48 kHz) play
    # clean there; the player itself does not depend on the block.
    # TALMO_PIPEWIRE_MIN_QUANTUM=32, PipeWire's own default, gives the block a
    # desktop has.
    clean_quantum=1024
    [ "$rate" -le 16000 ] && clean_quantum=256
    min_quantum=${TALMO_PIPEWIRE_MIN_QUANTUM:-$clean_quantum}
    mkdir -p "$dir/config/pipewire/pipewire.conf.d" "$dir/config/wireplumber/main.lua.d" \
        "$dir/config/wireplumber/bluetooth.lua.d"
    cat >"$dir/config/pipewire/pipewire.conf.d/90-test-clock.conf" <<EOF
context.properties = {
    default.clock.rate = $rate
    default.clock.allowed-rates = [ $rate ]
    default.clock.min-quantum = $min_quantum
}
EOF
    # No hardware: only the null sink.
    cat >"$dir/config/wireplumber/main.lua.d/51-headless.lua" <<EOF
alsa_monitor.enabled = false
v4l2_monitor.enabled = false
libcamera_monitor.enabled = false
EOF
    echo 'bluez_monitor.enabled = false' >"$dir/config/wireplumber/bluetooth.lua.d/51-headless.lua"

    spawn pipewire pipewire
    wait_until pipewire test -S "$dir/runtime/pipewire-0"
    spawn wireplumber wireplumber
elif [ "$server" != pulseaudio ]; then
    echo "$0: unknown server $server" >&2
    exit 2
fi

start_pulse_service
trap start_pulse_service HUP
# Sleep in a child so that a signal is handled at once.
while :; do
    sleep 3600 &
    sleeper=$!
    wait $sleeper || true
    kill $sleeper 2>/dev/null || true
done
