#!/usr/bin/env bash
# Runs every test: the host suites natively, the bounded fuzz run, and the
# win64 suites under Wine on one virtual display; ends with one summary line.
# Usage: test.sh [host|fuzz|win64]...
set -uo pipefail
cd "$(dirname "$0")/.."

parts=("$@")
[ ${#parts[@]} -gt 0 ] || parts=(host fuzz win64)
status=0
passed=0
failed=0
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Adds ctest's "N tests failed out of M" to the totals.
count() {
  local line
  line=$(grep -E '[0-9]+ tests failed out of [0-9]+' "$log" | tail -n 1)
  if [ -z "$line" ]; then
    failed=$((failed + 1))
    return
  fi
  local bad all
  bad=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\1/' <<<"$line")
  all=$(sed -E 's/.* ([0-9]+) tests failed out of ([0-9]+).*/\2/' <<<"$line")
  passed=$((passed + all - bad))
  failed=$((failed + bad))
}

for part in "${parts[@]}"; do
  case "$part" in
    host)
      echo "== host tests"
      LC_ALL=ja_JP.UTF-8 ctest --preset host -j 2 2>&1 | tee "$log"
      [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
      count
      ;;
    fuzz)
      echo "== fuzzing (bounded)"
      if tools/fuzz.sh "${KAIRON_FUZZ_SECONDS:-60}"; then
        passed=$((passed + 1))
      else
        failed=$((failed + 1))
        status=1
      fi
      ;;
    win64)
      echo "== win64 tests under Wine"
      # One display and one Wine server for the whole run: both are slow to start.
      if [ -n "${DISPLAY:-}" ]; then
        ctest --preset win64 2>&1 | tee "$log"
      else
        xvfb-run -a -s '-screen 0 1280x1024x24' ctest --preset win64 2>&1 | tee "$log"
      fi
      [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
      count
      ;;
  esac
done

echo
echo "suites: $passed passed, $failed failed"
exit $status
