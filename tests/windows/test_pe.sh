#!/usr/bin/env bash
# Reads tarvik.exe's PE header: ASLR, high-entropy ASLR and DEP on, and no DLL
# that Windows would take from beside the exe. Windows looks for a program's
# DLLs in its own folder first, but for the Known DLLs (and the API sets,
# which name no file); a program whose load configuration carries
# LOAD_LIBRARY_SEARCH_SYSTEM32 in its DependentLoadFlags takes every DLL it
# imports from the system's folder.
# Usage: test_pe.sh OBJDUMP EXE
set -euo pipefail
objdump=$1
exe=$2
fail() { echo "test_pe: $exe: $*" >&2; exit 1; }

header=$("$objdump" -p "$exe")
for flag in HIGH_ENTROPY_VA DYNAMIC_BASE NX_COMPAT; do
    grep -qw "$flag" <<<"$header" || fail "DllCharacteristics lacks $flag"
done

# DependentLoadFlags: the 16 bits at 78 in IMAGE_LOAD_CONFIG_DIRECTORY64.
base=$(awk '$1 == "ImageBase" { print $2 }' <<<"$header")
read -r config size <<<"$(awk '$1 == "Entry" && $2 == "a" { print $3, $4 }' <<<"$header")"
flags=0
if ((0x$config != 0 && 0x$size >= 80)); then
    at=$((0x$base + 0x$config + 78))
    word=$("$objdump" -s --start-address=$at --stop-address=$((at + 2)) "$exe" |
        awk '$1 ~ /^[0-9a-f]+$/ && NF > 1 { print $2; exit }')
    flags=$((0x${word:2:2}${word:0:2}))
fi
system_folder_only=$((flags & 0x800))

# HKLM\SYSTEM\CurrentControlSet\Control\Session Manager\KnownDLLs, Windows 10
# and 11, 64-bit.
known=(advapi32 clbcatq combase comdlg32 coml2 difxapi gdi32 gdiplus imagehlp imm32 kernel32
    msctf msvcrt normaliz nsi ole32 oleaut32 psapi rpcrt4 sechost setupapi shcore shell32
    shlwapi user32 wldap32 ws2_32)
imports=$(sed -n 's/^\s*DLL Name: //p' <<<"$header" | tr 'A-Z' 'a-z' | sed 's/\.dll$//')
[ -n "$imports" ] || fail "no imports found"
for dll in $imports; do
    case $dll in api-ms-win-*|ext-ms-win-*) continue ;; esac
    [[ " ${known[*]} " == *" $dll "* ]] || ((system_folder_only)) ||
        fail "imports $dll.dll, which Windows would look for beside the program first"
done
echo "tarvik.exe: ASLR, high-entropy ASLR, DEP; DependentLoadFlags $(printf 0x%x $flags);" \
    "imports $(echo $imports)"
