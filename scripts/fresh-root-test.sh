#!/usr/bin/env bash
# Runs the README's test command on a fresh minimal Debian 12: builds a root with `debootstrap --variant=minbase`
# from the Debian archive named in this machine's apt sources, clones the checked-out commit into it, and runs
# `bash scripts/test.sh` there under chroot, so nothing installed by hand on this machine can make it pass.
# Then it makes the Debian package there (`cpack -G DEB` in the build) and installs it with apt-get into a copy
# of the root taken before anything was installed, where scripts/package-install-check.sh runs the programs.
# Needs root (debootstrap, mount, chroot). The root lives in a temporary directory that is unmounted and deleted
# on every exit; FRESH_ROOT_PARENT chooses where it is made (default /var/tmp).
set -euo pipefail
repo=$(cd "$(dirname "$0")/.." && pwd)
suite=bookworm

say() { echo "fresh-root-test.sh: $*" >&2; }

if [ "$(id -u)" -ne 0 ]; then
    say "needs root: it builds a Debian root with debootstrap and mounts proc, sys and dev into it"
    exit 1
fi

# The first enabled "deb" entry for the suite in apt's one-line and deb822 source files, in the order apt reads them.
archive_address() {
    local file
    for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
        [ -f "$file" ] || continue
        awk -v suite="$suite" '
            $1 == "deb" {
                i = 2
                if ($i ~ /^\[/) { while (i < NF && $i !~ /\]$/) i++; i++ }
                if ($(i + 1) == suite) { print $i; exit }
            }' "$file"
    done
    for file in /etc/apt/sources.list.d/*.sources; do
        [ -f "$file" ] || continue
        awk -v suite="$suite" '
            function has(list, word,   n, parts, k) {
                n = split(list, parts, " ")
                for (k = 1; k <= n; k++) if (parts[k] == word) return 1
                return 0
            }
            function flush() {
                if (!found && has(field["types"], "deb") && has(field["suites"], suite) &&
                    tolower(field["enabled"]) != "no") {
                    split(field["uris"], uris, " ")
                    if (uris[1] != "") { print uris[1]; found = 1; exit }
                }
                delete field
            }
            /^[ \t]*$/ { flush(); next }
            /^#/ { next }
            /^[ \t]/ { field[key] = field[key] " " $0; next }
            {
                key = tolower(substr($0, 1, index($0, ":") - 1))
                field[key] = substr($0, index($0, ":") + 1)
                sub(/^[ \t]+/, "", field[key])
            }
            END { flush() }' "$file"
    done
}

archive=$(archive_address | head -n 1)
if [ -z "$archive" ]; then
    say "no enabled '$suite' archive in /etc/apt/sources.list or /etc/apt/sources.list.d/"
    exit 1
fi
commit=$(git -C "$repo" rev-parse HEAD)
"$repo/scripts/install-deps.sh" fresh-root

work=$(mktemp -d "${FRESH_ROOT_PARENT:-/var/tmp}/zeta-fresh-root.XXXXXX")
root="$work/root"
clean_root="$work/clean-root"

# Mount points below the work directory (in both roots), deepest first.
mounts_in_root() {
    findmnt -rn -o TARGET | awk -v work="$work" 'index($0, work "/") == 1' | sort -r
}

# Processes this script started inside the root (a test's X server left behind, say) would keep it busy.
stop_processes_in_root() {
    local signal pid_dir
    for signal in TERM KILL; do
        local found=0
        for pid_dir in /proc/[0-9]*; do
            local process_root
            process_root=$(readlink "$pid_dir/root" 2>/dev/null) || continue
            if [ "$process_root" = "$root" ] || [ "$process_root" = "$clean_root" ]; then
                kill -s "$signal" "${pid_dir#/proc/}" 2>/dev/null && found=1
            fi
        done
        [ "$found" -eq 1 ] || return 0
        sleep 2
    done
}

unmount_root() {
    local attempt mount_point
    for attempt in 1 2 3; do
        [ -z "$(mounts_in_root)" ] && return 0
        for mount_point in $(mounts_in_root); do
            umount "$mount_point" 2>/dev/null || umount -l "$mount_point" 2>/dev/null || true
        done
    done
    [ -z "$(mounts_in_root)" ]
}

# Deletes the root only when nothing is mounted in it any more; rm stays on the root's own file system.
clean_up() {
    local status=$?
    trap - EXIT INT TERM HUP
    set +e
    stop_processes_in_root
    if unmount_root; then
        rm -rf --one-file-system "$work"
    else
        say "still mounted, so $work was left in place:"
        mounts_in_root >&2
        [ "$status" -ne 0 ] || status=1
    fi
    exit "$status"
}
trap clean_up EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP

started=$(date +%s)
say "building a minimal Debian 12 root from $archive in $root"
if ! debootstrap --variant=minbase "$suite" "$root" "$archive" >"$work/debootstrap.log" 2>&1; then
    tail -n 30 "$work/debootstrap.log" >&2
    say "debootstrap failed"
    exit 1
fi
cp /etc/resolv.conf "$root/etc/resolv.conf"
# Package scripts must not start services in the root.
printf '#!/bin/sh\nexit 101\n' >"$root/usr/sbin/policy-rc.d"
chmod 755 "$root/usr/sbin/policy-rc.d"
# The package is installed where nothing else has been, as on a user's fresh system.
cp -a "$root" "$clean_root"
bootstrapped=$(date +%s)

say "cloning $commit"
git clone --quiet --no-checkout "$repo" "$root/src/zeta"
git -C "$root/src/zeta" -c advice.detachedHead=false checkout --quiet --detach "$commit"

# /proc, /sys, and a private /dev with the usual nodes rather than the machine's own, so nothing in a root can
# reach real devices.
mount_system_folders() {
    local dir=$1
    mount -t proc proc "$dir/proc"
    mount -t sysfs sysfs "$dir/sys"
    mount -t tmpfs -o mode=755,nosuid tmpfs "$dir/dev"
    mknod -m 666 "$dir/dev/null" c 1 3
    mknod -m 666 "$dir/dev/zero" c 1 5
    mknod -m 666 "$dir/dev/full" c 1 7
    mknod -m 666 "$dir/dev/random" c 1 8
    mknod -m 666 "$dir/dev/urandom" c 1 9
    mknod -m 666 "$dir/dev/tty" c 5 0
    mkdir -m 755 "$dir/dev/pts"
    mkdir -m 1777 "$dir/dev/shm"
    mount -t devpts -o newinstance,ptmxmode=0666,mode=620 devpts "$dir/dev/pts"
    mount -t tmpfs -o mode=1777,nosuid,nodev tmpfs "$dir/dev/shm"
    ln -s pts/ptmx "$dir/dev/ptmx"
    ln -s /proc/self/fd "$dir/dev/fd"
    ln -s /proc/self/fd/0 "$dir/dev/stdin"
    ln -s /proc/self/fd/1 "$dir/dev/stdout"
    ln -s /proc/self/fd/2 "$dir/dev/stderr"
}
mount_system_folders "$root"

in_root() {
    env -i HOME=/root PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin LANG=C.UTF-8 \
        CI="${CI:-}" "$@"
}

say "running the README's test command: bash scripts/test.sh"
# The tests start their own X servers. Their sockets are abstract as well as files in the root's /tmp, and
# abstract sockets are shared by network namespace, not by root: the packages are installed first (the test
# command then finds them present), and the tests run without network, apart from any X server outside.
in_root chroot "$root" /bin/bash -c 'cd /src/zeta && bash scripts/install-deps.sh'
installed=$(date +%s)
in_root unshare --net chroot "$root" /bin/bash -c 'cd /src/zeta && bash scripts/test.sh'
tested=$(date +%s)

say "making the Debian package: cpack -G DEB in the build"
in_root chroot "$root" /bin/bash -c 'cd /src/zeta/build && cpack -G DEB >/dev/null'
packages=("$root"/src/zeta/build/zeta-viewer_*.deb)
if [ ${#packages[@]} -ne 1 ] || [ ! -f "${packages[0]}" ]; then
    say "cpack made no single zeta-viewer_*.deb"
    exit 1
fi
mount_system_folders "$clean_root"
"$repo/scripts/package-install-check.sh" "$clean_root" "${packages[0]}"
finished=$(date +%s)

say "passed: root $((bootstrapped - started)) s, packages $((installed - bootstrapped)) s," \
    "build and tests $((tested - installed)) s, package $((finished - tested)) s, $((finished - started)) s in all"
