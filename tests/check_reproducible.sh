#!/usr/bin/env bash
# Two clean builds of TavixDelReg.exe in different directories must be byte for byte
# the same as each other and as the given build, and their SHA-256 must be the one the
# README publishes. Usage: check_reproducible.sh SOURCE_DIR WORK_DIR BUILT_EXE
set -euo pipefail
src=$1
work=$2
built=$3

rm -rf "$work"
exes=()
for dir in first "second build, elsewhere"; do
    out="$work/$dir"
    cmake -S "$src" -B "$out" -DCMAKE_TOOLCHAIN_FILE="$src/cmake/mingw-i686.cmake" \
        -DCMAKE_BUILD_TYPE=MinSizeRel -DTAVIX_BUILD_TESTS=OFF >/dev/null
    cmake --build "$out" --target TavixDelReg >/dev/null
    exes+=("$out/TavixDelReg.exe")
done

sha256sum "${exes[@]}" "$built"
fail=0
for exe in "${exes[1]}" "$built"; do
    if ! cmp -s "${exes[0]}" "$exe"; then
        echo "differs from the first build: $exe"
        fail=1
    fi
done

hash=$(sha256sum "${exes[0]}" | cut -d' ' -f1)
published=$(grep -oE 'SHA-256 of TavixDelReg.exe: `[0-9a-f]{64}`' "$src/README.md" | grep -oE '[0-9a-f]{64}' || true)
if [ "$hash" != "$published" ]; then
    echo "the README publishes SHA-256 ${published:-(none)}, the build gives $hash"
    fail=1
fi
exit $fail
