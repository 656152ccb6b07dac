#!/usr/bin/env bash
# Installs the Debian package into a Debian root as a user would, `apt-get install ./zeta-viewer_*.deb`, which
# must pull every library and the font the programs need, and runs the installed programs there: each answers
# --version with the package's version, zeta-render draws the start-up window into a PNG of the viewer's client
# size on the in-memory display, and each program has its manual page.
# Usage: scripts/package-install-check.sh ROOT PACKAGE.deb
# Needs root (chroot) and the Debian archive; ROOT needs /proc and /dev mounted. It changes nothing outside ROOT.
set -euo pipefail

say() { echo "package-install-check.sh: $*" >&2; }
fail() { say "$*"; exit 1; }

if [ $# -ne 2 ] || [ ! -d "$1" ] || [ ! -f "$2" ]; then
    say "usage: package-install-check.sh ROOT PACKAGE.deb"
    exit 2
fi
root=$1
package=$2
name=$(basename "$package")
version=$(dpkg-deb --field "$package" Version)

in_root() {
    env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        DEBIAN_FRONTEND=noninteractive chroot "$root" /bin/bash -c "$1"
}

cp "$package" "$root/tmp/$name"
trap 'rm -f "$root/tmp/$name" "$root/tmp/start-up.png" "$root/tmp/apt.log"' EXIT

say "apt-get install ./$name"
# Recommended packages are left out: what the package depends on must be enough.
if ! in_root "apt-get update -qq && cd /tmp && apt-get install -y --no-install-recommends ./$name" \
    >"$root/tmp/apt.log" 2>&1; then
    tail -n 30 "$root/tmp/apt.log" >&2
    fail "the package did not install"
fi

programs=$(in_root "dpkg -L zeta-viewer | sed -n 's|^/usr/bin/||p'")
[ -n "$programs" ] || fail "the package installed no program"
for program in $programs; do
    answer=$(in_root "/usr/bin/$program --version") || fail "$program --version failed"
    [ "$answer" = "$program $version" ] || fail "$program --version printed '$answer', not '$program $version'"
    in_root "test -s /usr/share/man/man1/$program.1.gz" || fail "no manual page for $program"
done

in_root "ZETA_VIEWER_DISPLAY=headless /usr/bin/zeta-render --quiet -o /tmp/start-up.png" || fail "zeta-render failed"
signature=$(od -An -tx1 -N8 "$root/tmp/start-up.png" | tr -d ' \n')
[ "$signature" = 89504e470d0a1a0a ] || fail "zeta-render wrote no PNG"
read -r -a size <<<"$(od -An -tu1 -j16 -N8 "$root/tmp/start-up.png")"
width=$(((size[0] << 24) + (size[1] << 16) + (size[2] << 8) + size[3]))
height=$(((size[4] << 24) + (size[5] << 16) + (size[6] << 8) + size[7]))
[ "$width"x"$height" = 952x741 ] || fail "the start-up picture is ${width}x$height, not the client area 952x741"

say "passed: $(echo $programs) $version installed and run"
