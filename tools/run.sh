#!/usr/bin/env bash
# Starts the timer dialog under Wine.  With a display it runs until closed;
# without one it runs on a virtual display, saves a screenshot and ends.
set -euo pipefail
cd "$(dirname "$0")/.."

exe=build/win64/app/Kairon.exe
[ -f "$exe" ] || { echo "run: $exe is missing; run 'make win64'" >&2; exit 1; }

# The program keeps its settings beside itself: run a copy in its own folder.
home=build/run
mkdir -p "$home"
cp "$exe" "$home/Kairon.exe"

if [ -n "${DISPLAY:-}" ]; then
  # A prefix of its own whose windows the desktop manages, with title bars.
  export WINEPREFIX=$PWD/build/wineprefix-desktop KAIRON_WINE_MANAGED=1
  exec tools/wine-run.sh "$home/Kairon.exe" "$@"
fi

shot=build/run/screenshot.png
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  tools/wine-run.sh "$1/Kairon.exe" "${@:3}" &
  program=$!
  for _ in $(seq 1 60); do
    sleep 0.5
    xwininfo -root -tree 2>/dev/null | grep -q "Kairon build-" && break
  done
  sleep 1
  import -window root "$2"
  WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix} wineserver -k 2>/dev/null || true
  wait $program 2>/dev/null || true
' run "$home" "$shot" "$@"
echo "run: no display here; the dialog ran on a virtual display, screenshot saved to $shot"
