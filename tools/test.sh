#!/usr/bin/env bash
# Runs every test: the host suites natively, the win64 suites under Wine on one
# virtual display, and the bounded fuzz run.  Usage: test.sh [host|win64|fuzz]...
set -uo pipefail
cd "$(dirname "$0")/.."

parts=("$@")
[ ${#parts[@]} -gt 0 ] || parts=(host win64 fuzz)
status=0

for part in "${parts[@]}"; do
  case "$part" in
    host)
      echo "== host tests"
      LC_ALL=ja_JP.UTF-8 ctest --preset host -j 2 || status=1
      ;;
    win64)
      echo "== win64 tests under Wine"
      # One display and one Wine server for the whole run: both are slow to start.
      if [ -n "${DISPLAY:-}" ]; then
        ctest --preset win64 || status=1
      else
        xvfb-run -a -s '-screen 0 1280x1024x24' ctest --preset win64 || status=1
      fi
      ;;
    fuzz)
      if [ -x tools/fuzz.sh ]; then
        echo "== fuzzing (bounded)"
        tools/fuzz.sh "${KAIRON_FUZZ_SECONDS:-60}" || status=1
      fi
      ;;
  esac
done

exit $status
