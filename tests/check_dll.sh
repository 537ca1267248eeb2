#!/usr/bin/env bash
# The DLL exports exactly DirectInput8Create at ordinal 1 and imports Windows
# system DLLs only (no C++ runtime, libgcc or winpthread DLL).
set -euo pipefail
dll=${1:?usage: check_dll.sh dinput8.dll}
objdump=$(command -v x86_64-w64-mingw32-objdump || command -v objdump)
dump=$("$objdump" -p "$dll")

exports=$(awk '/\[Ordinal\/Name Pointer\] Table/{on=1; next} on && /^[[:space:]]*\[/{print; next} on{exit}' <<<"$dump")
echo "exports:"; echo "$exports"
count=$(echo "$exports" | grep -c . || true)
[ "$count" -eq 1 ] || { echo "FAIL: expected one export, found $count"; exit 1; }
# Linkers lay the address table out differently (GNU ld: base 1, entry 0;
# lld: base 0, entry 1 after an empty one); what counts is the one address
# entry, its ordinal (base + index) and the name that points at it.
addresses=$(awk '/Export Address Table -- Ordinal Base/{on=1; next} on && /\+base\[/{print; next} on{exit}' <<<"$dump")
[ "$(echo "$addresses" | grep -c .)" -eq 1 ] || { echo "FAIL: expected one exported address:"; echo "$addresses"; exit 1; }
index=$(sed -E 's/^[[:space:]]*\[[[:space:]]*([0-9]+)\].*/\1/' <<<"$addresses")
ordinal=$(sed -E 's/.*\+base\[[[:space:]]*([0-9]+)\].*/\1/' <<<"$addresses")
[ "$ordinal" = "1" ] || { echo "FAIL: the export has ordinal $ordinal, not 1"; exit 1; }
echo "$exports" | grep -Eq "\\[[[:space:]]*$index\\][[:space:]]+DirectInput8Create\$" || { echo "FAIL: DirectInput8Create is not the only export"; exit 1; }

imports=$(awk '/DLL Name:/{print tolower($3)}' <<<"$dump" | sort -u)
echo "imports:"; echo "$imports"
allowed='^(kernel32|user32|gdi32|ole32|oleaut32|advapi32|msvcrt|ucrtbase|api-ms-win-[a-z0-9-]+|psapi|shell32|windowscodecs|d3d11|dxgi|d3dcompiler_47|ntdll)\.dll$'
bad=$(echo "$imports" | grep -Ev "$allowed" || true)
[ -z "$bad" ] || { echo "FAIL: non-system imports: $bad"; exit 1; }
echo "OK"
