#!/usr/bin/env bash
# What the shipped executable must be: a stripped 32-bit GUI program for i386 that
# imports nothing but Windows' own DLLs (the runtimes are linked in statically), and
# no larger than the bound. Usage: check_executable.sh EXE [MAX_BYTES]
set -euo pipefail
exe="$1"
max_bytes="${2:-24576}"
objdump=i686-w64-mingw32-objdump
fail=0

headers=$($objdump -p "$exe")
grep -q 'file format pei-i386' <<<"$headers" || { echo "not a PE32 file for i386"; fail=1; }
grep -qE '^Subsystem[[:space:]]+00000002' <<<"$headers" || { echo "not a GUI-subsystem program"; fail=1; }

dlls=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]' | sort -u)
echo "imports: $(echo $dlls)"
for dll in $dlls; do
    case "$dll" in
        kernel32.dll | user32.dll | advapi32.dll | msvcrt.dll) ;;
        *) echo "imports $dll, which is not one of Windows' own DLLs"; fail=1 ;;
    esac
done

if ! $objdump -t "$exe" 2>&1 | grep -q 'no symbols'; then
    echo "symbols left in the executable"
    fail=1
fi

size=$(stat -c %s "$exe")
echo "size: $size bytes (bound: $max_bytes)"
if [ "$size" -gt "$max_bytes" ]; then
    echo "larger than $max_bytes bytes"
    fail=1
fi
exit $fail
