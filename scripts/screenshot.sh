#!/usr/bin/env bash
# Takes the README screenshot: the viewer's main window after its first plot, on a private Xvfb screen.
# Usage: scripts/screenshot.sh [build-dir] [output.png]   (defaults: build/, docs/screenshot.png)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-"$root/build"}
output=${2:-"$root/docs/screenshot.png"}
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

# The plot stays black while the first calculation runs; a coloured pixel inside it means it finished.
finished=""
for _ in $(seq 300); do
    if import -window "$window" "png:$work/shot.png" &&
        [ "$(convert "$work/shot.png" -format '%[hex:p{140,300}]' info:)" != "000000" ]; then
        finished=yes
        break
    fi
    sleep 0.1
done
[ -n "$finished" ] || { echo "the first plot did not finish:" >&2; cat "$work/viewer.log" >&2; exit 1; }
mkdir -p "$(dirname "$output")"
convert "$work/shot.png" -strip -define png:compression-level=9 "png:$output"
echo "wrote $output"
