#!/usr/bin/env bash
# Installs what building and testing TavixDelReg needs on Debian 12: the MinGW-w64
# cross toolchain, Wine (with its 32-bit half), a virtual X display, the Chinese
# locales the UI tests switch to, CMake and GoogleTest. Does nothing when all is there.
set -euo pipefail

need_root() {
    if [ "$(id -u)" -ne 0 ]; then
        echo "setup: missing packages ($*); run this script as root to install them" >&2
        exit 1
    fi
}

packages=(
    cmake g++ clang libclang-rt-14-dev googletest
    g++-mingw-w64-i686 binutils-mingw-w64-i686
    wine wine32:i386 wine64 xvfb x11-utils imagemagick locales
    cppcheck clang-tidy clang-format
)

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}\n' "$p" 2>/dev/null | grep -q '^install ok installed$' || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
    need_root "${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
        dpkg --add-architecture i386
    fi
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine takes its UI language and ANSI code page from the locale; without these
# generated it silently falls back to English.
wanted_locales=(zh_TW.UTF-8 zh_CN.UTF-8 de_DE.UTF-8 en_US.UTF-8)
regen=0
for l in "${wanted_locales[@]}"; do
    norm=$(echo "$l" | sed 's/UTF-8/utf8/')
    if ! locale -a 2>/dev/null | grep -qx "$norm"; then
        need_root "locale $l"
        sed -i "s/^# *\($l UTF-8\)/\1/" /etc/locale.gen
        grep -q "^$l UTF-8" /etc/locale.gen || echo "$l UTF-8" >> /etc/locale.gen
        regen=1
    fi
done
if [ "$regen" -eq 1 ]; then
    locale-gen >/dev/null
fi
