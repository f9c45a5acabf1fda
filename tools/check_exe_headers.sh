#!/usr/bin/env bash
# Checks a built exe's PE headers (objdump -p): the hardening flags it must be
# linked with, its relocations, sections page-aligned in the file (so that
# Wine maps the image rather than reading it whole), and that it imports at start only DLLs that
# Windows always takes from the system folder (KnownDLLs), so that none lying
# beside it can be loaded in the system's stead.  Prints what is wrong and
# fails on the first exe with a fault.
# Usage: check_exe_headers.sh OBJDUMP EXE...
set -uo pipefail

objdump=$1
shift
# KnownDLLs on every Windows since 7 that the program and its static run-time
# (msvcrt; advapi32 for the stack protector's random guard) may import.
allowed=" kernel32.dll user32.dll gdi32.dll msvcrt.dll advapi32.dll "

status=0
for exe in "$@"; do
  if ! headers=$("$objdump" -p "$exe" 2>&1); then
    echo "FAIL $exe: objdump -p: $headers"
    status=1
    continue
  fi
  faults=()
  # objdump spells IMAGE_DLLCHARACTERISTICS_TERMINAL_SERVER_AWARE so.
  wanted=(TERMINAL_SERVICE_AWARE DYNAMIC_BASE NX_COMPAT)
  # Only a 64-bit image has a 64-bit address space to spread itself over.
  grep -qE '^Magic[[:space:]]+020b' <<<"$headers" && wanted+=(HIGH_ENTROPY_VA)
  characteristics=$(sed -n '/^DllCharacteristics/,/^SizeOfStackReserve/p' <<<"$headers")
  for flag in "${wanted[@]}"; do
    grep -qw "$flag" <<<"$characteristics" || faults+=("no $flag")
  done
  grep -q 'relocations stripped' <<<"$headers" && faults+=("relocations stripped")
  relocations=$(awk '/^Entry 5 / { print $3 }' <<<"$headers")
  [[ "$relocations" =~ ^0*[1-9a-fA-F] ]] || faults+=("no base relocations (Entry 5: ${relocations:-missing})")
  grep -qE '^FileAlignment[[:space:]]+0*1000$' <<<"$headers" || faults+=("sections not page-aligned in the file")
  imports=$(sed -n 's/^[[:space:]]*DLL Name: //p' <<<"$headers" | tr '[:upper:]' '[:lower:]' | tr -d '\r')
  [ -n "$imports" ] || faults+=("no imports found")
  for dll in $imports; do
    [[ "$allowed" == *" $dll "* ]] || faults+=("imports $dll at start")
  done
  if [ ${#faults[@]} -eq 0 ]; then
    echo "ok $exe: $(echo $imports)"
  else
    printf 'FAIL %s: %s\n' "$exe" "$(IFS=';' && echo "${faults[*]}" | sed 's/;/, /g')"
    status=1
  fi
done
exit $status
