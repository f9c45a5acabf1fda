#!/usr/bin/env bash
# Runs every test: the host suites natively, the bounded fuzz run, and the
# win64 and win32 suites under Wine, each on one virtual display; ends with one
# summary line.  The win32 suites need a kernel that runs 32-bit programs and
# the 32-bit Wine; without them they are reported as not run, never as passed.
# Usage: test.sh [host|fuzz|win64|win32]...
set -uo pipefail
cd "$(dirname "$0")/.."

parts=("$@")
[ ${#parts[@]} -gt 0 ] || parts=(host fuzz win64 win32)
status=0
passed=0
failed=0
not_run=0
report=()
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Adds ctest's "N tests failed out of M" to the totals and to PART's report.
count() {  # PART
  local line
  line=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    failed=$((failed + 1))
    report+=("$1 no result")
    return
  fi
  local bad all
  bad=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  all=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + all - bad))
  failed=$((failed + bad))
  report+=("$1 $((all - bad))/$all")
}

# One display and one Wine server for a whole preset: both are slow to start.
wine_suites() {  # PRESET
  if [ -n "${DISPLAY:-}" ]; then
    ctest --preset "$1" 2>&1 | tee "$log"
  else
    xvfb-run -a -s '-screen 0 1280x1024x24' ctest --preset "$1" 2>&1 | tee "$log"
  fi
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  count "$1"
}

for part in "${parts[@]}"; do
  case "$part" in
    host)
      echo "== host tests"
      LC_ALL=ja_JP.UTF-8 ctest --preset host -j 2 2>&1 | tee "$log"
      [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
      count host
      ;;
    fuzz)
      echo "== fuzzing (bounded)"
      if tools/fuzz.sh "${KAIRON_FUZZ_SECONDS:-60}"; then
        passed=$((passed + 1))
        report+=("fuzz 1/1")
      else
        failed=$((failed + 1))
        report+=("fuzz 0/1")
        status=1
      fi
      ;;
    win64)
      echo "== win64 tests under Wine"
      wine_suites win64
      ;;
    win32)
      if why=$(tools/runs-32bit.sh --wine); then
        echo "== win32 tests under Wine"
        wine_suites win32
        continue
      fi
      suites=$(ctest --preset win32 -N 2>/dev/null | sed -n 's/^Total Tests: //p')
      echo "== win32 tests NOT RUN: $why"
      not_run=$((not_run + ${suites:-1}))
      report+=("win32 NOT RUN, ${suites:-?} suites: $why")
      # A machine that could run them but lacks the 32-bit Wine is set up wrongly.
      tools/runs-32bit.sh >/dev/null || continue
      status=1
      ;;
    *)
      echo "test.sh: unknown part '$part' (host, fuzz, win64, win32)" >&2
      exit 2
      ;;
  esac
done

echo
summary="suites: $passed passed, $failed failed"
[ "$not_run" -eq 0 ] || summary+=", $not_run not run"
(IFS=';' && echo "$summary — ${report[*]}" | sed 's/;/, /g')
exit $status
