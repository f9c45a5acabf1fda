#!/usr/bin/env bash
# Starts the timer dialog under Wine.  With a display it runs until closed;
# without one it runs on a virtual display until its dialog shows, saves a
# screenshot of the dialog and ends, the program and its Wine server with it,
# also when the dialog never comes (KAIRON_RUN_WAIT seconds, 120 by default:
# a first run makes the Wine prefix, which takes a minute on a busy machine).
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

# A prefix of its own: its Wine server is ended at the end, and the tests'
# must not go with it.
export WINEPREFIX=${WINEPREFIX:-$PWD/build/wineprefix-run}
shot=$home/screenshot.png
screen=$home/screen.png
rm -f "$shot" "$screen"
xvfb-run -a -s '-screen 0 1024x768x24' bash -c '
  set -u
  home=$1 shot=$2 screen=$3 limit=$4
  shift 4
  # A session of its own, so that everything it starts ends with it.
  setsid tools/wine-run.sh "$home/Kairon.exe" "$@" &
  program=$!
  finish() {
    kill -TERM -- "-$program" 2>/dev/null || true
    wineserver -k 2>/dev/null || true
    sleep 1
    kill -KILL -- "-$program" 2>/dev/null || true
    wait "$program" 2>/dev/null || true
  }
  trap finish EXIT

  # The dialog: a viewable top-level window of kairon.exe whose title names
  # the program (not Wine'"'"'s set-up splash, which comes first on a new prefix).
  dialog() {
    local id
    for id in $(xwininfo -root -children 2>/dev/null |
      awk "/Kairon build-[0-9]+\": \\(\"kairon\\.exe\"/ {print \$1}"); do
      if xwininfo -id "$id" 2>/dev/null | grep -q "Map State: IsViewable"; then
        echo "$id"
        return
      fi
    done
  }
  deadline=$((SECONDS + limit))
  window=
  while [ -z "$window" ] && [ "$SECONDS" -lt "$deadline" ]; do
    if ! kill -0 "$program" 2>/dev/null; then
      echo "run: Kairon ended before its dialog showed" >&2
      exit 1
    fi
    sleep 0.5
    window=$(dialog)
  done
  if [ -z "$window" ]; then
    import -window root "$screen" 2>/dev/null || true
    echo "run: no dialog within $limit s; the screen as it was is in $screen" >&2
    exit 1
  fi
  sleep 1 # for the controls to paint
  import -window "$window" "$shot"
' run "$home" "$shot" "$screen" "${KAIRON_RUN_WAIT:-120}" "$@"
echo "run: no display here; the dialog ran on a virtual display, screenshot saved to $shot"
