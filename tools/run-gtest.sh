#!/usr/bin/env bash
# Runs one GoogleTest program (after its launcher, e.g. wine-run.sh) and passes
# only when it exits with 0 and its own summary says tests ran and passed.
# An exit code alone proves nothing: Wine without 32-bit support, or a program
# that never reaches main, can end with 0 having run no test at all.
# Usage: run-gtest.sh [LAUNCHER] PROGRAM [ARGS...]
set -uo pipefail

out=$(mktemp)
trap 'rm -f "$out"' EXIT
"$@" 2>&1 | tee "$out"
code=${PIPESTATUS[0]}

summary=$(tr -d '\r' <"$out")
fail() {
  # A long log is often read only at its two ends: each failure once more.
  local again
  again=$(awk '/: Failure$/ {n = 8} /^\[ / {n = 0} n > 0 {print; n--}' <<<"$summary")
  [ -z "$again" ] || printf 'run-gtest: the failures once more:\n%s\n' "$again"
  echo "run-gtest: FAILED: $*"
  exit 1
}
count() { sed -nE "s/^$1 ([0-9]+) tests?[ ,.].*/\1/p" <<<"$summary" | tail -n 1; }
ran=$(count '\[==========\]')
passed=$(count '\[  PASSED  \]')
skipped=$(count '\[  SKIPPED \]')

[ "$code" -eq 0 ] || fail "exit code $code"
[ -n "$ran" ] || fail "no GoogleTest summary: the program ran no tests"
[ "$ran" -gt 0 ] || fail "0 tests ran"
[ -n "$passed" ] || fail "no \"[  PASSED  ]\" line"
grep -q '^\[  FAILED  \]' <<<"$summary" && fail "a test failed although the program exited with 0"
[ "$passed" -gt 0 ] || fail "no test passed (all $ran skipped)"
[ $((passed + ${skipped:-0})) -eq "$ran" ] || fail "$ran tests ran, but only $passed passed and ${skipped:-0} were skipped"
exit 0
