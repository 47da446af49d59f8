#!/usr/bin/env bash
# The project's static checks: clang-format (.clang-format), cppcheck on every source
# (the host configuration, then the Windows-only files as Windows code) and clang-tidy
# (.clang-tidy) on the sources the host build compiles.
# Usage: lint.sh HOST_BUILD_DIR (a configured host build, for compile_commands.json)
set -uo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/host}
fail=0

sources=$(git ls-files '*.cpp' '*.h')
windows_only="app/main.cpp tests/win_registry.cpp tests/test_registry_windows.cpp $(git ls-files 'tests/e2e/*.cpp')"

echo "== clang-format"
clang-format --dry-run --Werror $sources || fail=1

echo "== cppcheck"
checks=(--enable=warning,style,performance,portability --inline-suppr --error-exitcode=1
        --suppressions-list=.cppcheck-suppressions --library=googletest --quiet)
cppcheck "${checks[@]}" --project="$build/compile_commands.json" -i build || fail=1
cppcheck "${checks[@]}" --std=c++17 --language=c++ --library=windows -D_WIN32 -DUNICODE -I . -I tests \
    --suppress=missingInclude $windows_only || fail=1

echo "== clang-tidy"
tidy_sources=$(git ls-files 'app/*.cpp' 'registry/*.cpp' 'tests/*.cpp')
for f in $windows_only; do tidy_sources=$(echo "$tidy_sources" | grep -vx "$f"); done
run-clang-tidy -quiet -p "$build" $tidy_sources >"$build/clang-tidy.log" 2>&1 || fail=1
grep -E '(warning|error):' "$build/clang-tidy.log" | sed 's/\x1b\[[0-9;]*m//g' | sort -u

if [ "$fail" -ne 0 ]; then echo "lint: problems found"; else echo "lint: clean"; fi
exit $fail
