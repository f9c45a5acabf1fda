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

# A PulseAudio server of the run's own, on a null sink, in a folder of its own
# (never the user's): Wine finds no sound device without one, and with it a
# sound takes its real time.  When it cannot start, KAIRON_NO_SOUND says why and
# the tests that need a device report themselves as not run.
sound_pid=
sound_dir=
start_sound() {
  sound_dir=$(mktemp -d "${TMPDIR:-/tmp}/kairon-sound.XXXXXX")
  if ! command -v pulseaudio >/dev/null; then
    export KAIRON_NO_SOUND="pulseaudio is not installed ('make setup' installs it)"
  else
    HOME=$sound_dir XDG_RUNTIME_DIR=$sound_dir PULSE_RUNTIME_PATH=$sound_dir \
      pulseaudio --daemonize=no --exit-idle-time=-1 --disable-shm=yes -n \
      --load='module-null-sink sink_name=kairon' \
      --load="module-native-protocol-unix socket=$sound_dir/native auth-anonymous=1" \
      >"$sound_dir/log" 2>&1 &
    sound_pid=$!
    local waited
    for waited in $(seq 50); do
      [ -S "$sound_dir/native" ] && break
      kill -0 "$sound_pid" 2>/dev/null || break
      sleep 0.1
    done
    if [ -S "$sound_dir/native" ]; then
      export PULSE_SERVER=unix:$sound_dir/native
      unset KAIRON_NO_SOUND
    else
      export KAIRON_NO_SOUND="the private PulseAudio server did not start: $(grep '^E:' "$sound_dir/log" | tail -n 1)"
    fi
  fi
  [ -z "${KAIRON_NO_SOUND:-}" ] || echo "== sound tests NOT RUN: $KAIRON_NO_SOUND"
}
stop_sound() {
  if [ -n "$sound_pid" ]; then
    kill "$sound_pid" 2>/dev/null
    wait "$sound_pid" 2>/dev/null
  fi
  sound_pid=
  [ -z "$sound_dir" ] || rm -rf "$sound_dir"
  sound_dir=
}
trap 'stop_sound; rm -f "$log"' EXIT

# One display and one Wine server for a whole preset: both are slow to start.
wine_suites() {  # PRESET
  start_sound
  if [ -n "${DISPLAY:-}" ]; then
    ctest --preset "$1" 2>&1 | tee "$log"
  else
    xvfb-run -a -s '-screen 0 1280x1024x24' ctest --preset "$1" 2>&1 | tee "$log"
  fi
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  count "$1"
  [ -z "${KAIRON_NO_SOUND:-}" ] || report+=("$1 sound tests NOT RUN: $KAIRON_NO_SOUND")
  stop_sound
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
      why=$(tools/runs-32bit.sh --wine)
      excuse=$?
      if [ "$excuse" -eq 0 ]; then
        echo "== win32 tests under Wine"
        wine_suites win32
        continue
      fi
      suites=$(ctest --preset win32 -N 2>/dev/null | sed -n 's/^Total Tests: //p')
      echo "== win32 tests NOT RUN: $why"
      not_run=$((not_run + ${suites:-1}))
      report+=("win32 NOT RUN, ${suites:-?} suites: $why")
      # A machine that could run them but never tried to install the 32-bit
      # Wine is set up wrongly; a refusal recorded by the set-up is not.
      [ "$excuse" -eq 3 ] && status=1
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
