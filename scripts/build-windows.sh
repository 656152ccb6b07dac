#!/usr/bin/env bash
# Installs the mingw-w64 cross compilers and builds zeta-viewer.exe for 32-bit and 64-bit Windows.
# Results: build-win32/app/zeta-viewer.exe and build-win64/app/zeta-viewer.exe, and the download for 64-bit
# Windows, build-win64/zeta-viewer-VERSION-win64.zip (the program, README.txt and LICENSES.txt).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/install-deps.sh" windows

# The executables link their runtimes statically and so run alone: they may import only Windows' own DLLs.
check_imports() {
    local arch=$1 exe=$2 dll
    for dll in $("$arch-w64-mingw32-objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p'); do
        case "${dll,,}" in
            kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | shell32.dll | ole32.dll | advapi32.dll) ;;
            *)
                echo "build-windows.sh: $exe needs $dll, which Windows does not have" >&2
                exit 1
                ;;
        esac
    done
}

for target in i686:build-win32 x86_64:build-win64; do
    arch=${target%%:*}
    dir="$root/${target#*:}"
    cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchains/mingw-$arch.cmake" -DZETA_BUILD_TESTS=OFF >/dev/null
    cmake --build "$dir"
    check_imports "$arch" "$dir/app/zeta-viewer.exe"
done
cmake --build "$root/build-win64" --target windows-zip
