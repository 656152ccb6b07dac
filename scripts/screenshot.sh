#!/usr/bin/env bash
# Takes a README screenshot of the viewer's main window on a private Xvfb screen.
# Usage: scripts/screenshot.sh [build-dir] [output.png] [scene]   (defaults: build/, docs/screenshot.png, start)
# Scenes: start   the window after its first plot
#         zoomed  four wheel notches in about the first zero on the critical line, 1/2 + 14.13i
#         readout the zoomed view with the pointer on that zero, the readout line showing s and zeta(s)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-"$root/build"}
output=${2:-"$root/docs/screenshot.png"}
scene=${3:-start}
case "$scene" in start | zoomed | readout) ;; *) echo "unknown scene '$scene'" >&2; exit 1 ;; esac
viewer="$build_dir/app/zeta-viewer"
[ -x "$viewer" ] || { echo "no viewer at $viewer: build it first (scripts/build.sh)" >&2; exit 1; }

work=$(mktemp -d)
xvfb_pid=""
viewer_pid=""
stop() {
    kill "$1" 2>/dev/null || return 0
    for _ in $(seq 20); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    kill -KILL "$1" 2>/dev/null || true
}
finish() {
    if [ -n "$viewer_pid" ]; then stop "$viewer_pid"; fi
    if [ -n "$xvfb_pid" ]; then stop "$xvfb_pid"; fi
    rm -rf "$work"
}
trap finish EXIT

# Xvfb picks a free display number itself and writes it to the given descriptor.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -nocursor 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
disown
for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
[ -s "$work/display" ] || { echo "Xvfb did not start:" >&2; cat "$work/xvfb.log" >&2; exit 1; }
DISPLAY=":$(head -n 1 "$work/display")"
export DISPLAY
unset WAYLAND_DISPLAY ZETA_VIEWER_DISPLAY

"$viewer" >"$work/viewer.log" 2>&1 &
viewer_pid=$!
disown
window=$(timeout 20 xdotool search --sync --onlyvisible --name "^Ostrelin zeta function viewer$" | head -n 1 || true)
[ -n "$window" ] || { echo "no viewer window appeared:" >&2; cat "$work/viewer.log" >&2; exit 1; }

# The plot stays black while a calculation runs; a coloured pixel inside it means it finished.
wait_for_plot() {
    for _ in $(seq 300); do
        if import -window "$window" "png:$work/shot.png" &&
            [ "$(convert "$work/shot.png" -format '%[hex:p{140,300}]' info:)" != "000000" ]; then
            return 0
        fi
        sleep 0.1
    done
    echo "the plot did not finish:" >&2
    cat "$work/viewer.log" >&2
    exit 1
}
wait_for_plot
if [ "$scene" != start ]; then
    # A click on the background gives the main window the focus, which the wheel goes to. Button 4 is a
    # notch away from the user: zoom in, about the cell under the pointer.
    xdotool mousemove --window "$window" --sync 600 700 click 1
    xdotool mousemove --window "$window" --sync 125 389 click --repeat 4 --delay 300 4
    [ "$scene" = readout ] || xdotool mousemove --window "$window" --sync 600 700
    sleep 1
    wait_for_plot
    import -window "$window" "png:$work/shot.png"
fi
mkdir -p "$(dirname "$output")"
convert "$work/shot.png" -strip -define png:compression-level=9 "png:$output"
echo "wrote $output"
