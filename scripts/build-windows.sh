#!/usr/bin/env bash
# Installs the mingw-w64 cross compilers and builds zeta-viewer.exe for 32-bit and 64-bit Windows.
# Results: build-win32/app/zeta-viewer.exe and build-win64/app/zeta-viewer.exe.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" windows
for target in i686:build-win32 x86_64:build-win64; do
    arch=${target%%:*}
    dir="$root/${target#*:}"
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-$arch.cmake" -DZETA_BUILD_TESTS=OFF >/dev/null
    cmake --build "$dir"
done
