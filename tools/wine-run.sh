#!/usr/bin/env bash
# Runs a Windows program under Wine the way the tests expect: a prefix of the
# build tree's own, no debug chatter, code page 932, and a virtual display when
# there is none.  The wine64 launcher starts 32-bit programs too, through the
# 32-bit Wine when it is installed.  Usage: wine-run.sh PROGRAM.exe [ARGS...]
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
export WINEPREFIX=${WINEPREFIX:-$here/../build/wineprefix}
export WINEDEBUG=${WINEDEBUG:--all}
export LC_ALL=${KAIRON_WINE_LOCALE:-ja_JP.UTF-8}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

wine=$(command -v wine64 || true)
[ -n "$wine" ] || wine=/usr/lib/wine/wine64

# A prefix made before the 32-bit Wine was installed has no 32-bit half, and
# an update does not add one: make such a prefix anew.
if [ -d /usr/lib/i386-linux-gnu/wine ] && [ -f "$WINEPREFIX/.kairon-ready-4" ] &&
  [ -z "$(ls -A "$WINEPREFIX/drive_c/windows/syswow64" 2>/dev/null)" ]; then
  (
    flock 9
    [ -n "$(ls -A "$WINEPREFIX/drive_c/windows/syswow64" 2>/dev/null)" ] || rm -rf "$WINEPREFIX"
  ) 9>"$WINEPREFIX.lock"
fi

# Creating a prefix takes a while; do it once, and only one caller at a time.
# An update, not a plain start: a prefix made before the 32-bit Wine was
# installed lacks the 32-bit half that the win32 programs need.
if [ ! -f "$WINEPREFIX/.kairon-ready-4" ]; then
  mkdir -p "$WINEPREFIX"
  (
    flock 9
    if [ ! -f "$WINEPREFIX/.kairon-ready-4" ]; then
      "$wine" wineboot -u >/dev/null 2>&1 || true
      # The dialog's font, "MS UI Gothic", is not here: the IPA proportional
      # Gothic has much the same metrics, so screenshots look as on Windows.
      "$wine" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v 'MS UI Gothic' /d 'IPAPGothic' /f >/dev/null 2>&1 || true
      # Without a window manager (Xvfb) Wine waits two seconds for one at every
      # hide; windows it does not hand to one need no wait.  A prefix for a real
      # desktop (KAIRON_WINE_MANAGED=1) keeps the desktop's title bars.
      if [ "${KAIRON_WINE_MANAGED:-0}" != 1 ]; then
        "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 || true
      fi
      wineserver -w || true
      touch "$WINEPREFIX/.kairon-ready-4"
    fi
  ) 9>"$WINEPREFIX.lock"
fi

if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1024x768x24' "$wine" "$@"
fi
exec "$wine" "$@"
