#!/usr/bin/env bash
# The Wait* benchmarks of vardun-ui-bench as an analyst with a screen reader meets them: the
# windows on an X server (Xvfb), a D-Bus session with the accessibility bus, and a listener
# that hears every event and asks each back. The steps run twice on that display: with Qt's
# accessibility off (the `a11y:0` rows), then with Qt's own AT-SPI bridge switched on (the
# `a11y:2` rows), whose difference is what the bridge and the listener cost.
#   bash bench/ui/screen-reader.sh [VARDUN-UI-BENCH [STEPS [BENCHMARK OPTIONS...]]]
# STEPS is a pattern of benchmark names (default: every Wait* step).
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

# Inside a session bus of its own: the accessibility bus, the listener, then the benchmarks.
export SCRATCH=$scratch HERE=$here BENCH=$bench STEPS=$steps
dbus-run-session -- bash -euo pipefail -c '
    /usr/libexec/at-spi-bus-launcher --launch-immediately &
    launcher=$!
    /usr/bin/python3 -u "$HERE/screen_reader_listener.py" >"$SCRATCH/listener.out" 2>&1 &
    listener=$!
    for _ in $(seq 100); do
        grep -q listening "$SCRATCH/listener.out" && break
        sleep 0.1
    done
    grep -q listening "$SCRATCH/listener.out" || { cat "$SCRATCH/listener.out" >&2; exit 1; }
    status=0
    VARDUN_BENCH_PLATFORM=xcb "$BENCH" --benchmark_filter="^($STEPS)/.*/a11y:0/" "$@" || status=$?
    QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 VARDUN_BENCH_PLATFORM=xcb "$BENCH" --benchmark_filter="^($STEPS)/.*/a11y:2/" "$@" \
        || status=$?
    kill -TERM "$listener"
    wait "$listener" || true
    echo "listener heard:"; grep -v "^listening" "$SCRATCH/listener.out"
    kill "$launcher" 2>/dev/null || true
    exit "$status"
' bash "$@"
