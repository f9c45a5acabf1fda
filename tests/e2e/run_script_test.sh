#!/usr/bin/env bash
# `make run` without a display (tools/run.sh) ends by itself with a picture of
# the dialog's own window, and leaves no process of its Wine prefix behind;
# when the dialog does not show in time it ends too, with an error.
set -uo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
cd "$root"
prefix=$root/build/wineprefix-run
shot=build/run/screenshot.png
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# Wine's processes of that prefix: each carries it in its environment.
leftovers() {
  local pid
  for pid in $(pgrep -f 'wineserver|wine64|wine-preloader|\.exe'); do
    { tr "\0" "\n" <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$prefix" && echo "$pid"
  done
}

out=$(timeout 600 env -u DISPLAY -u WINEPREFIX tools/run.sh 2>&1)
status=$?
echo "$out"
[ "$status" -eq 0 ] || fail "run.sh exited with $status"
if [ -s "$shot" ]; then
  # The dialog's window, not the whole 1024x768 screen.
  read -r width height < <(identify -format '%w %h' "$shot")
  [ "$width" -ge 300 ] && [ "$width" -lt 1024 ] && [ "$height" -ge 200 ] && [ "$height" -lt 768 ] ||
    fail "the screenshot is ${width}x$height, not the dialog"
else
  fail "no screenshot"
fi
[ -z "$(leftovers)" ] || fail "Wine processes left: $(leftovers)"

out=$(KAIRON_RUN_WAIT=0 timeout 300 env -u DISPLAY -u WINEPREFIX tools/run.sh 2>&1)
status=$?
echo "$out"
[ "$status" -ne 0 ] && [ "$status" -ne 124 ] || fail "run.sh without the dialog in time exited with $status"
grep -q "no dialog within 0 s" <<<"$out" || fail "no word of the time-out"
[ -z "$(leftovers)" ] || fail "Wine processes left after the time-out: $(leftovers)"

[ "$failures" -eq 0 ] && echo "run_script: passed"
exit $((failures > 0))
