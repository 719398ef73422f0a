#!/usr/bin/env bash
# Cross-compiles the launcher with its Windows backend, runs it under Wine against values put into
# a fresh prefix's registry with "reg add" and "reg import", and checks what it reads and starts.
# Usage: run_wine_test.sh <source dir> <work dir>. Exits 77 (skipped) without wine or mingw-w64.
set -euo pipefail

source_dir=${1:?usage: run_wine_test.sh <source dir> <work dir>}
cxx=x86_64-w64-mingw32-g++

for tool in wine wineboot wineserver winepath "$cxx"; do
    if ! command -v "$tool" >/dev/null; then
        echo "skipped: $tool is not installed"
        exit 77
    fi
done

work=$(realpath -m "${2:?usage: run_wine_test.sh <source dir> <work dir>}")
started=$(date +%s)
rm -rf "$work"
mkdir -p "$work"
export WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" WINEARCH=win64
unset DISPLAY WAYLAND_DISPLAY

flags=(-std=c++20 -O1 -Wall -Wextra -Werror -static -static-libgcc -static-libstdc++)
"$cxx" "${flags[@]}" -I"$source_dir" -I"${3:?}" -o "$work/check.exe" \
    "$source_dir/tests/ui/about/wine/win_launcher_check.cpp" \
    "$source_dir/ui/about/core/sys_info_launcher.cpp" \
    "$source_dir/ui/about/win32/win_launcher_platform.cpp" -ladvapi32 -luser32
"$cxx" "${flags[@]}" -o "$work/marker.exe" "$source_dir/tests/ui/about/wine/marker_program.cpp"
echo "compiled in $(($(date +%s) - started)) s"

wineboot -i >"$work/wineboot.log" 2>&1
wineserver -w
# One server for all the runs below, instead of one started and stopped by each.
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
echo "prefix ready in $(($(date +%s) - started)) s"

drive=$WINEPREFIX/drive_c
mkdir -p "$drive/tamlo test/a;b dir" "$drive/tamlo fallback" "$drive/tamlo empty" \
    "$drive/tamlo hidden"
cp "$work/marker.exe" "$drive/tamlo test/a;b dir/tool.exe"
cp "$work/marker.exe" "$drive/tamlo.exe" # what a parser splitting at the space would start
cp "$work/marker.exe" "$drive/tamlo fallback/MSINFO32.EXE"
cp "$work/marker.exe" "$drive/tamlo hidden/MSINFO32.EXE"

# The bytes of a text as hex(1) data; reg import widens them as a text in the ANSI code page, so
# the ANSI calls read these bytes back: with a NUL inside, or with no NUL at the end.
text_hex() { printf '%s' "$1" | od -An -v -tx1 | tr -s ' \n' ',' | sed 's/^,//; s/,$//'; }
{
    printf 'Windows Registry Editor Version 5.00\r\n\r\n'
    printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\TamloTest]\r\n'
    printf '"Dword"=dword:00003412\r\n'
    printf '"Cut"=hex(1):%s,00,%s,00\r\n' "$(text_hex before)" "$(text_hex after)"
    printf '"NoNulBinary"=hex:6e%s\r\n' "$(printf ',6e%.0s' $(seq 1023))"
    printf '"Fits"="%s"\r\n' "$(printf 'f%.0s' $(seq 1023))"
    printf '"TooLong"="%s"\r\n' "$(printf 't%.0s' $(seq 1024))"
} >"$work/values.reg"
# A file in UTF-16LE, as regedit writes it, holds hex(1) data as the registry's own UTF-16 bytes:
# here 1024 characters and no terminator.
{
    printf '\xff\xfe'
    {
        printf 'Windows Registry Editor Version 5.00\r\n\r\n'
        printf '[HKEY_LOCAL_MACHINE\\SOFTWARE\\TamloTest]\r\n'
        printf '"NoNulText"=hex(1):6e,00%s\r\n' "$(printf ',6e,00%.0s' $(seq 1023))"
    } | iconv -f UTF-8 -t UTF-16LE
} >"$work/wide.reg"

tool_key='HKLM\SOFTWARE\Microsoft\Shared Tools\MSINFO'
location_key='HKLM\SOFTWARE\Microsoft\Shared Tools Location'
reg() { wine reg "$@" >>"$work/reg.log" 2>&1; }
check() {
    echo "--- $1"
    wine "$work/check.exe" "$1" | tr -d '\r'
}

status=0
reg import "$(winepath -w "$work/values.reg")"
reg import "$(winepath -w "$work/wide.reg")"
check values || status=1

reg add "$tool_key" /v PATH /t REG_SZ /d 'C:\tamlo test\a;b dir\tool.exe' /f
reg add "$location_key" /v MSINFO /t REG_SZ /d 'C:\tamlo fallback' /f
check first || status=1

reg delete "$tool_key" /v PATH /f
check fallback || status=1

reg add "$location_key" /v MSINFO /t REG_SZ /d 'C:\tamlo empty' /f
check message || status=1

reg delete "$tool_key" /f
reg delete "$location_key" /f
check message || status=1

echo "wine test took $(($(date +%s) - started)) s"
exit $status
