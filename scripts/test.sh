#!/usr/bin/env bash
# Sets up the machine, builds every flavour and runs all test suites in one CTest run:
# host (stand-in registry), host with ASan/UBSan, the libFuzzer target (clang), and
# Windows (real registry and message boxes, under Wine).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

presets=(host host-sanitize fuzz windows)
for preset in "${presets[@]}"; do
    echo "== build: $preset"
    cmake --preset "$preset" -DTAVIX_BUILD_TESTS=ON >/dev/null
    cmake --build --preset "$preset" -j "$(nproc)"
done

# One CTest tree over the three builds, so a single summary closes the run.
{
    echo "# Written by scripts/test.sh"
    for preset in "${presets[@]}"; do echo "subdirs(\"$preset\")"; done
} > build/CTestTestfile.cmake

# The Windows suites share one Wine prefix; a server left from an earlier run may be
# tied to a display that is gone.
export WINEPREFIX="$PWD/build/wineprefix"
if [ -d "$WINEPREFIX" ]; then wineserver -k >/dev/null 2>&1 || true; fi

# Message boxes need an X display: the current one, or a private Xvfb.
bash scripts/with-display.sh ctest --test-dir build --output-on-failure "$@"
