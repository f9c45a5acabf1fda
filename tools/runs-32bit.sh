#!/usr/bin/env bash
# Exits 0 when this kernel runs 32-bit x86 programs, which 32-bit Wine needs
# (with --wine: and the 32-bit Wine is installed); otherwise prints why not and
# exits 1, or 3 when only the 32-bit Wine is missing and the set-up recorded no
# refusal of it (build/wine32-refused): a machine set up wrongly.  Asks the
# kernel itself: it runs a 96-byte static i686 program that only exits with
# code 42 (file names and kernel configs can be missing or lie; an exec cannot).  Usage: runs-32bit.sh [--wine]
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)

# In the build tree, not /tmp, which may be mounted noexec.
mkdir -p "$here/../build"
probe=$(mktemp "$here/../build/.runs-32bit.XXXXXX") || exit 1
trap 'rm -f "$probe"' EXIT
# ELF header, one read-and-execute segment, then: mov eax,1; mov ebx,42; int 0x80
printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08'\
'\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00'\
'\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x60\x00\x00\x00\x60\x00\x00\x00'\
'\x05\x00\x00\x00\x00\x10\x00\x00\xb8\x01\x00\x00\x00\xbb\x2a\x00\x00\x00\xcd\x80' >"$probe"
chmod +x "$probe"
error=$("$probe" 2>&1)
code=$?
if [ "$code" -ne 42 ]; then
  echo "the kernel cannot run 32-bit programs (a minimal i686 program exited with $code${error:+: ${error##*: }})"
  exit 1
fi
if [ "${1:-}" = --wine ] && ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'ok installed'; then
  # A refusal the set-up recorded excuses it; a set-up that never tried does not.
  if [ -s "$here/../build/wine32-refused" ]; then
    echo "the 32-bit Wine (wine32:i386) is not installed: $(head -n 1 "$here/../build/wine32-refused")"
    exit 1
  fi
  echo "the 32-bit Wine (wine32:i386) is not installed; 'make setup' installs it"
  exit 3
fi
exit 0
