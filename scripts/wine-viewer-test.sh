#!/usr/bin/env bash
# Runs the 64-bit Windows zeta-viewer.exe under Wine, in a Wine virtual desktop on its own Xvfb: the start-up
# plot's cells must equal the Linux build's (zeta-render's start-up image), and every one of several starts,
# each with quick clicks in the plot while it calculates, must end with exit status 0 after a close request.
# Usage: scripts/wine-viewer-test.sh [starts] [clicks per start]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
starts=${1:-6}
clicks=${2:-12}
"$root/scripts/install-deps.sh" wine
exe="$root/build-win64/app/zeta-viewer.exe"
render="$root/build/tools/zeta-render"
[ -f "$exe" ] || bash "$root/scripts/build-windows.sh"
[ -x "$render" ] || "$root/scripts/build.sh" "$root/build"

scratch=$(mktemp -d)
xvfb_pid=""
cleanup() {
    [ -z "${WINEPREFIX:-}" ] || wineserver -k 2>/dev/null || true
    [ -z "$xvfb_pid" ] || kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$scratch"
}
trap cleanup EXIT
trap "exit 1" INT TERM
export WINEPREFIX="$scratch/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
for number in $(seq 140 200); do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] || break
done
export DISPLAY=":$number"
Xvfb "$DISPLAY" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
for _ in $(seq 50); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done

wineboot -i >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDebugger /t REG_DWORD /d 0 /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /t REG_SZ /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /t REG_SZ /d 1200x960 /f >/dev/null 2>&1
wineserver -w

(cd "$scratch" && "$render" -o reference.png >/dev/null 2>&1 && convert reference.png -depth 8 reference.ppm)
plot_rect="100 60 180 580"

# Where the finished start-up plot is on the screen, "x y differing cells"; empty while it is not shown yet.
find_plot() {
    import -window root -depth 8 "$scratch/screen.ppm" 2>/dev/null || return 0
    "$root/scripts/plot-cells.py" "$scratch/reference.ppm" "$scratch/screen.ppm" $plot_rect || true
}

survived=0
total_clicks=0
for start in $(seq "$starts"); do
    wine "$exe" &
    viewer=$!
    placement=""
    for _ in $(seq 300); do
        placement=$(find_plot)
        [ "$placement" != "not found" ] && [ -n "$placement" ] && break
        sleep 0.2
    done
    read -r x y differing <<<"$placement" || true
    if [ -z "${differing:-}" ]; then
        echo "start $start: the start-up plot never appeared" >&2
        exit 1
    fi
    if [ "$differing" != 0 ]; then
        echo "start $start: $differing of 41600 plot cells differ from the Linux build's" >&2
        exit 1
    fi
    desktop=$(xdotool search --name 'Wine desktop' | head -n 1)
    # Clicks in the plot, each restarting the calculation while the previous one may still run.
    for click in $(seq "$clicks"); do
        xdotool mousemove --sync $((x + 10 + click * 5)) $((y + 40 * click)) click 1
        sleep 0.05
        total_clicks=$((total_clicks + 1))
    done
    sleep 0.3
    xdotool windowfocus --sync "$desktop" 2>/dev/null || true
    xdotool key --clearmodifiers alt+F4
    status=""
    for _ in $(seq 150); do
        if ! kill -0 "$viewer" 2>/dev/null; then
            wait "$viewer" && status=0 || status=$?
            break
        fi
        sleep 0.2
    done
    if [ -z "$status" ]; then
        echo "start $start: no exit 30 s after the close request (hung)" >&2
        kill "$viewer" 2>/dev/null || true
        exit 1
    fi
    if [ "$status" != 0 ]; then
        echo "start $start: exit status $status" >&2
        exit 1
    fi
    survived=$((survived + 1))
done
echo "Wine: $survived starts with $total_clicks clicks during calculations, each closed with status 0; start-up plot" \
    "identical to the Linux build's in all 41600 cells"
