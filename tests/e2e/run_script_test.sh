#!/usr/bin/env bash
# `make run` without a display (tools/run.sh) ends by itself with a picture of
# the dialog's own window and no process of its Wine prefix left; when the
# dialog does not show in time it ends too, with an error.
set -uo pipefail
cd "$(dirname "$0")/../.."
prefix=$PWD/build/wineprefix-run
failures=0
fail() { echo "FAILED: $*" && failures=$((failures + 1)); }
# Wine's processes of that prefix: each carries it in its environment.
leftovers() {
  for pid in $(pgrep -f 'wineserver|wine64|wine-preloader|\.exe'); do
    { tr "\0" "\n" <"/proc/$pid/environ"; } 2>/dev/null | grep -qxF "WINEPREFIX=$prefix" && echo "$pid"
  done
}
run() { timeout 600 env -u DISPLAY -u WINEPREFIX "$@" tools/run.sh 2>&1; }

out=$(run) || fail "run.sh failed: $out"
# The dialog's window, not the whole 1024x768 screen.
size=$(identify -format '%w %h' build/run/screenshot.png) || fail "no screenshot"
read -r width height <<<"${size:-0 0}"
((width >= 300 && width < 1024 && height >= 200 && height < 768)) || fail "the screenshot is $size, not the dialog"
[ -z "$(leftovers)" ] || fail "Wine processes left: $(leftovers)"

out=$(run KAIRON_RUN_WAIT=0)
status=$?
((status != 0 && status != 124)) && grep -q "no dialog within 0 s" <<<"$out" || fail "time-out ($status): $out"
[ -z "$(leftovers)" ] || fail "Wine processes left after the time-out: $(leftovers)"
exit $((failures > 0))
