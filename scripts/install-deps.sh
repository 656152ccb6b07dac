#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the viewer needs.
# Idempotent: prints nothing and touches nothing when everything is already present.
set -euo pipefail

packages=(
    build-essential g++ cmake ninja-build pkg-config
    libsdl2-dev libfreetype-dev libfontconfig-dev fonts-dejavu-core libpng-dev zlib1g-dev desktop-file-utils
    libgtest-dev libgmock-dev libbenchmark-dev libflint-arb-dev
    xvfb xfonts-base xdotool xclip imagemagick x11-utils procps parallel file
)
# xfonts-base: the X server's core fonts, without which SDL cannot show a message box on X11.
# xclip: reads the X clipboard in the end-to-end test of Ctrl+C.
# desktop-file-utils: desktop-file-validate, which a test runs on the desktop entry.
# file: cpack's Debian generator finds the programs' shared libraries with it (for the package's Depends).
# parallel: GNU parallel, which the README uses to spread zeta-zeros over ranges and machines.
# Extra groups: "windows" adds the mingw-w64 cross compilers, "fuzz" adds clang with its sanitizer runtimes,
# "fresh-root" what scripts/fresh-root-test.sh needs to build a Debian root and run the tests in it, "wine" what
# runs the Windows executable and the portable tests under Wine on Xvfb (with GoogleTest's sources).
for group in "$@"; do
    case "$group" in
        windows) packages+=(mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix libz-mingw-w64-dev) ;;
        fuzz) packages+=(clang libclang-rt-14-dev) ;;
        fresh-root) packages+=(debootstrap debian-archive-keyring mount util-linux) ;;
        wine) packages+=(wine wine64 googletest python3) ;;
        *) echo "install-deps.sh: unknown package group '$group'" >&2; exit 2 ;;
    esac
done

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null || true)
    [ "$status" = "installed" ] || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null || { echo "install-deps.sh: run as root or install sudo" >&2; exit 1; }
    sudo="sudo"
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
