#!/usr/bin/env bash
# The Wait* benchmarks of vardun-ui-bench as an analyst with a screen reader meets them: the
# windows on an X server (Xvfb), with a D-Bus session and its accessibility bus. The steps
# run twice on that display: with Qt's accessibility off (the `a11y:0` rows), then with a
# screen reader running and Qt's own AT-SPI bridge sending to it (the `a11y:2` rows).
#   bash bench/ui/screen-reader.sh [VARDUN-UI-BENCH [STEPS [BENCHMARK OPTIONS...]]]
# STEPS is a pattern of benchmark names (default: every Wait* step). READER=orca (the
# default) runs Orca without speech; READER=listener runs bench/ui/screen_reader_listener.py,
# which hears every event and asks each back, and says how many of each kind it heard.
# Installs what it needs (as root) through scripts/deps.sh screenreader.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
bench=${1:-build-rel/bench/vardun-ui-bench}
steps=${2:-Wait[A-Za-z]+}
shift $(($# < 2 ? $# : 2))
[[ -x $bench ]] || { echo "screen-reader.sh: no benchmark program at $bench" >&2; exit 2; }

if ((EUID == 0)); then
    bash "$here/../../scripts/deps.sh" screenreader
fi

scratch=$(mktemp -d)
xvfb=
cleanup() {
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT

# A display of its own: Xvfb picks a free number and says which.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>"$scratch/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do
    [[ -s $scratch/display ]] && break
    sleep 0.1
done
[[ -s $scratch/display ]] || { echo "screen-reader.sh: Xvfb did not start" >&2; cat "$scratch/xvfb.log" >&2; exit 1; }
export DISPLAY=:$(cat "$scratch/display")

# Settings of its own: a screen reader writes that it is on into the desktop's settings,
# which would switch the bridge on for every later program of this user.
export XDG_CONFIG_HOME=$scratch/config XDG_DATA_HOME=$scratch/data XDG_CACHE_HOME=$scratch/cache
export XDG_RUNTIME_DIR=$scratch/run
mkdir -p "$XDG_CONFIG_HOME" "$XDG_DATA_HOME" "$XDG_CACHE_HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"

# Inside a session bus of its own: the accessibility bus, the reader, then the benchmarks.
export SCRATCH=$scratch HERE=$here BENCH=$bench STEPS=$steps READER=${READER:-orca}
dbus-run-session -- bash -euo pipefail -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    status=0
    VARDUN_BENCH_PLATFORM=xcb "$BENCH" --benchmark_filter="^($STEPS)/.*/a11y:0/" "$@" || status=$?
    # A screen reader switches the bridge on by itself; the listener needs it forced.
    if [[ $READER == orca ]]; then
        orca --replace --disable speech --disable braille --user-prefs "$SCRATCH/orca" >"$SCRATCH/reader.out" 2>&1 &
        reader=$!
        # Orca says nothing when it is up: give it the time it takes to start.
        sleep 8
    else
        export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1
        /usr/bin/python3 -u "$HERE/screen_reader_listener.py" >"$SCRATCH/reader.out" 2>&1 &
        reader=$!
        for _ in $(seq 100); do
            grep -q listening "$SCRATCH/reader.out" && break
            sleep 0.1
        done
        grep -q listening "$SCRATCH/reader.out" || { cat "$SCRATCH/reader.out" >&2; exit 1; }
    fi
    VARDUN_BENCH_PLATFORM=xcb "$BENCH" --benchmark_filter="^($STEPS)/.*/a11y:2/" "$@" || status=$?
    kill -TERM "$reader"
    wait "$reader" || true
    if [[ $READER != orca ]]; then
        echo "listener heard:"
        grep -v "^listening" "$SCRATCH/reader.out"
    fi
    kill "$launcher" 2>/dev/null || true
    exit "$status"
' bash "$@"
