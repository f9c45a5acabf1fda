#!/usr/bin/env bash
# The timer's performance and reliability figures, with their baselines, in one
# run; docs/BENCHMARKS.md says what each one means.  Prints one line per figure
# and keeps the whole output in build/bench-run/results.txt.
#   1 expiry: deadline to the launched notification program, the product build
#     beside a build that counts timer messages (the first design), idle and
#     with both cores busy
#   2 start-up: process start to the dialog on the screen, beside a minimal
#     dialog program built the same way and beside one that shows the timer's
#     own dialog; the win64 and the win32 builds
#   3 footprint: exe sizes; memory, CPU time and wake-ups over 60 s of
#     counting, beside the same floors; the win64 and the win32 builds
#   4 settings: N processes saving and loading one file; a killed lock holder
#   5 fuzzing of every fuzz target
#   6 freeze: the program stopped (SIGSTOP) during a countdown and across its
#     deadline, the product build beside the tick-counting one
# The win32 figures need what the win32 tests need (tools/runs-32bit.sh);
# without it they are reported as not measured.
# Usage: bench.sh [startup|footprint|expiry|settings|fuzz|freeze]...   (all without arguments;
#   BENCH_FULL=1 or FULL=1: 10-minute countdowns and 10-minute fuzzing)
set -uo pipefail
cd "$(dirname "$0")/.."
root=$PWD

full=${BENCH_FULL:-${FULL:-0}}
[ "$full" = 1 ] || full=0
parts=" ${*:-startup footprint expiry settings fuzz freeze} "
wanted() { [[ "$parts" == *" $1 "* ]]; }

# Everything under Wine shares one display and a Wine server of its own, so the
# other builds' and tests' programs do not share our server's queue.
if [ -z "${DISPLAY:-}" ]; then
  exec xvfb-run -a -s '-screen 0 1280x1024x24' bash "$0" "$@"
fi
export WINEPREFIX=$root/build/bench-wineprefix
export LC_ALL=ja_JP.UTF-8

run=$root/build/bench-run
mkdir -p "$run"
results=$run/results.txt
: >"$results"
say() { echo "$*" | tee -a "$results"; }
note() { echo "# $*" | tee -a "$results" >&2; }
# A path as Wine's programs see it.
winpath() { echo "Z:$(realpath -m "$1" | sed 's|/|\\|g')"; }
wine_run() { "$root/tools/wine-run.sh" "$@"; }

busy_pids=()
cleanup() {
  for pid in "${busy_pids[@]}"; do kill "$pid" 2>/dev/null; done
  wineserver -k 2>/dev/null || true
}
trap cleanup EXIT

# ---------------------------------------------------------------- build
note "building ($(date -u '+%Y-%m-%d %H:%M UTC'))"
build_or_die() {
  if ! out=$("$@" 2>&1); then
    echo "$out" | tail -30
    echo "bench: build FAILED: $*"
    exit 1
  fi
}
for preset in win64 win32; do
  [ -f "build/$preset/build.ninja" ] || build_or_die cmake --preset "$preset"
  build_or_die cmake --build "build/$preset" -j 2 --target Kairon
done
if wanted settings; then
  build_or_die cmake --build build/win64 -j 2 --target config_child
  [ -f build/host/build.ninja ] || build_or_die cmake --preset host
  build_or_die cmake --build build/host -j 2 --target config_child
fi
# The first design's countdown, for the expiry comparison.
if wanted expiry || wanted freeze; then
  build_or_die cmake --build build/win64 -j 2 --target kairon_tick_counting
fi
# The benchmark programs: natively, and for Windows with each product build's options.
bench_project() {  # DIR BUILD_TYPE [TOOLCHAIN] -- TARGETS...
  local dir=$1 type=$2 toolchain=$3
  shift 4
  if [ ! -f "$dir/build.ninja" ]; then
    local args=(-S bench -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type")
    [ -n "$toolchain" ] && args+=(-DCMAKE_TOOLCHAIN_FILE="$root/cmake/$toolchain")
    build_or_die cmake "${args[@]}"
  fi
  build_or_die cmake --build "$dir" -j 2 --target "$@"
}
wanted settings && bench_project build/bench-native Release "" -- settings_bench
bench_project build/bench-win64 RelWithDebInfo toolchain-mingw64.cmake -- minimal_dialog minimal_dialog_imports \
  timer_dialog_floor expiry_stamp timer_driver settings_bench
bench_project build/bench-win32 MinSizeRel toolchain-mingw32.cmake -- minimal_dialog minimal_dialog_imports timer_dialog_floor

# Stripped copies, as the release archives hold them, each in a folder of its
# own (Kairon keeps its settings beside itself, and the folder tells the
# processes apart in /proc).
stage() {  # FOLDER EXE TRIPLE
  rm -rf "$run/$1" && mkdir -p "$run/$1"
  cp "$2" "$run/$1/"
  "$3-strip" "$run/$1/$(basename "$2")"
}
stage deadline build/win64/app/Kairon.exe x86_64-w64-mingw32
{ wanted expiry || wanted freeze; } && stage ticks build/win64/bench/tick_counting/Kairon.exe x86_64-w64-mingw32
stage footprint build/win64/app/Kairon.exe x86_64-w64-mingw32
stage floor build/bench-win64/win/minimal_dialog.exe x86_64-w64-mingw32
stage floor-timer build/bench-win64/win/minimal_dialog.exe x86_64-w64-mingw32
stage dialog build/bench-win64/win/timer_dialog_floor.exe x86_64-w64-mingw32
stage dialog-timer build/bench-win64/win/timer_dialog_floor.exe x86_64-w64-mingw32
stage imports build/bench-win64/win/minimal_dialog_imports.exe x86_64-w64-mingw32
stage imports-timer build/bench-win64/win/minimal_dialog_imports.exe x86_64-w64-mingw32
stage stamp build/bench-win64/win/expiry_stamp.exe x86_64-w64-mingw32
# The win32 build and its floors, each in a folder of its own as above.
for folder in startup32 footprint32; do stage "$folder" build/win32/app/Kairon.exe i686-w64-mingw32; done
for folder in floor32 floor32-timer; do stage "$folder" build/bench-win32/win/minimal_dialog.exe i686-w64-mingw32; done
for folder in dialog32 dialog32-timer; do stage "$folder" build/bench-win32/win/timer_dialog_floor.exe i686-w64-mingw32; done
for folder in imports32 imports32-timer; do stage "$folder" build/bench-win32/win/minimal_dialog_imports.exe i686-w64-mingw32; done
rm -rf "$run/out" "$run/settings" && mkdir -p "$run/out" "$run/settings"

driver=build/bench-win64/win/timer_driver.exe
stamp=$(winpath "$run/stamp/expiry_stamp.exe")
out=$(winpath "$run/out")
kairon=$(winpath "$run/deadline/Kairon.exe")
ticks=$(winpath "$run/ticks/Kairon.exe")

# A persistent server for our prefix: no server start inside the figures.
wine_run "$driver" >/dev/null 2>&1 || true
wineserver -p </dev/null >/dev/null 2>&1 &

# The 32-bit programs run through the 32-bit Wine, when this machine has it.
if why32=$("$root/tools/runs-32bit.sh" --wine); then win32=1; else win32=0; fi

note "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | xargs); load average at start: $(cut -d' ' -f1-3 /proc/loadavg)"

# Driver summaries ("what label n= median= max= ...") prefixed by the condition.
figures() { grep -E '^[a-z-]+-ms ' | sed "s/^/$1 /" | tee -a "$results"; }

# ---------------------------------------------------------------- 2 start-up
startup_programs=(kairon "$kairon" "Kairon build-6" floor "$(winpath "$run/floor/minimal_dialog.exe")" "Minimal dialog"
  imports "$(winpath "$run/imports/minimal_dialog_imports.exe")" "Minimal dialog"
  dialog "$(winpath "$run/dialog/timer_dialog_floor.exe")" "Minimal dialog")
if [ "$win32" = 1 ]; then
  startup_programs+=(kairon-win32 "$(winpath "$run/startup32/Kairon.exe")" "Kairon build-6"
    floor-win32 "$(winpath "$run/floor32/minimal_dialog.exe")" "Minimal dialog"
    imports-win32 "$(winpath "$run/imports32/minimal_dialog_imports.exe")" "Minimal dialog"
    dialog-win32 "$(winpath "$run/dialog32/timer_dialog_floor.exe")" "Minimal dialog")
fi
if wanted startup; then
  # 20: with 10, medians moved by 10 to 15 % between runs on this machine.
  note "start-up: 20 starts each, alternated, after one warm-up start ('imports': the floor importing shell32, comdlg32 and winmm; 'dialog': the floor showing the timer's own dialog; '-win32': the 32-bit builds)"
  [ "$win32" = 1 ] || say "startup win32: not measured: $why32"
  wine_run "$driver" startup 20 "${startup_programs[@]}" | figures startup
  awk '/^startup startup-ms/ { for (i = 1; i <= NF; i++) if ($i ~ /^median=/) m[$3] = substr($i, 8) }
    END { split(",-win32", arch, ",")
      for (a = 1; a <= 2; a++) { k = m["kairon" arch[a]]; f = m["floor" arch[a]]; i = m["imports" arch[a]]; d = m["dialog" arch[a]]
        if (f > 0 && i > 0 && d > 0) {
          printf "startup-ratio%s kairon/floor median=%.2f; kairon/imports median=%.2f; kairon/dialog median=%.2f; dialog/floor median=%.2f\n",
            arch[a], k / f, k / i, k / d, d / f
          printf "goal-startup%s kairon/dialog median=%.2f (goal <= 1.1): %s\n", arch[a], k / d, k / d <= 1.1 ? "met" : "MISSED" } } }' \
    "$results" | tee -a "$results"
fi

# ---------------------------------------------------------------- 3 footprint
size() { stat -c %s "$1"; }

# The Linux process of a Windows program started from a given folder.
pid_of() {  # FOLDER_NAME EXE_NAME
  local p
  for p in /proc/[0-9]*; do
    [[ "$(cat "$p/comm" 2>/dev/null)" == "${2:0:15}" ]] || continue
    tr '\0' ' ' <"$p/cmdline" 2>/dev/null | grep -qF -e "\\$1\\$2" -e "/$1/$2" && { echo "${p#/proc/}"; return; }
  done
}
# rss-kB cpu-ticks cpu-ns voluntary-switches involuntary-switches, over all threads.
snapshot() {
  local pid=$1 rss ticks ns=0 vol=0 invol=0 t
  rss=$(awk '/^VmRSS/ { print $2 }' "/proc/$pid/status")
  ticks=$(awk '{ print $14 + $15 }' "/proc/$pid/stat")
  for t in /proc/"$pid"/task/*; do
    ns=$((ns + $(cut -d' ' -f1 "$t/schedstat")))
    vol=$((vol + $(awk '/^voluntary_ctxt/ { print $2 }' "$t/status")))
    invol=$((invol + $(awk '/^nonvoluntary_ctxt/ { print $2 }' "$t/status")))
  done
  echo "$rss $ticks $ns $vol $invol"
}
# A / B and N / 60 s, to two places.
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
# "met" when A / B is at most LIMIT (as printed, to two places), else "MISSED".
goal() { awk -v a="$1" -v b="$2" -v l="$3" 'BEGIN { print (sprintf("%.2f", a / b) + 0 <= l ? "met" : "MISSED") }'; }
per_second() { awk -v v="$1" 'BEGIN { printf "%.2f", v / 60 }'; }
# One build's figures from the snapshots before and after the same 60 s.
footprint_figures() {  # ARCH KAIRON_BEFORE KAIRON_AFTER FLOOR_BEFORE FLOOR_AFTER IMPORTS_AFTER DIALOG_BEFORE DIALOG_AFTER
  local arch=$1 k0 kt0 kn0 kv0 ki0 k1 kt1 kn1 kv1 ki1 f0 ft0 fn0 fv0 fi0 f1 ft1 fn1 fv1 fi1 i1 ln0 lv0 l1 ln1 lv1
  read -r k0 kt0 kn0 kv0 ki0 <<<"$2"
  read -r k1 kt1 kn1 kv1 ki1 <<<"$3"
  read -r f0 ft0 fn0 fv0 fi0 <<<"$4"
  read -r f1 ft1 fn1 fv1 fi1 <<<"$5"
  read -r i1 _ <<<"$6"
  read -r _ _ ln0 lv0 _ <<<"$7"
  read -r l1 _ ln1 lv1 _ <<<"$8"
  local kn=$((kn1 - kn0)) fn=$((fn1 - fn0)) ln=$((ln1 - ln0))
  say "footprint-rss-kB $arch kairon=$k1 floor=$f1 ratio=$(ratio "$k1" "$f1"); floor importing shell32, comdlg32, winmm=$i1 ratio=$(ratio "$k1" "$i1"); floor showing the timer's dialog=$l1 ratio=$(ratio "$k1" "$l1")"
  say "footprint-cpu-ms-per-60s $arch kairon=$(((kt1 - kt0) * 10)) floor=$(((ft1 - ft0) * 10)) (utime+stime, 10 ms ticks)"
  say "footprint-cpu-on-cpu-ms-per-60s $arch kairon=$((kn / 1000000)) floor=$((fn / 1000000)) ratio=$(ratio $kn $fn) (schedstat); floor showing the timer's dialog=$((ln / 1000000)) ratio=$(ratio $kn $ln), its own to the floor=$(ratio $ln $fn)"
  say "goal-rss $arch kairon/floor=$(ratio "$k1" "$f1") (goal <= 1.15): $(goal "$k1" "$f1" 1.15)"
  say "goal-cpu $arch kairon/dialog=$(ratio $kn $ln) (on-CPU time; goal <= 1.1): $(goal $kn $ln 1.1)"
  say "footprint-wakeups-per-s $arch kairon=$(per_second $((kv1 - kv0))) floor=$(per_second $((fv1 - fv0))) floor showing the timer's dialog=$(per_second $((lv1 - lv0))) (voluntary switches of all threads; involuntary kairon=$((ki1 - ki0)) floor=$((fi1 - fi0)) in 60 s)"
}

if wanted footprint; then
  note "footprint"
  for arch in win64 win32; do
    if [ $arch = win64 ]; then k=$run/deadline/Kairon.exe m=$run/floor/minimal_dialog.exe; else
      k=$run/startup32/Kairon.exe m=$run/floor32/minimal_dialog.exe; fi
    say "exe-bytes $arch kairon=$(size "$k") floor=$(size "$m") ratio=$(awk -v a="$(size "$k")" -v b="$(size "$m")" 'BEGIN { printf "%.1f", a / b }')"
  done
  # Every program counts through the same 60 s, both builds side by side.
  archs=(win64)
  [ "$win32" = 1 ] && archs+=(win32) || say "footprint win32: not measured: $why32"
  declare -A pids=()
  for arch in "${archs[@]}"; do
    suffix=$([ $arch = win32 ] && echo 32)
    wine_run "$driver" arm "$(winpath "$run/footprint$suffix/Kairon.exe")" 3600 >/dev/null
    wine_run "$driver" open "$(winpath "$run/floor$suffix-timer/minimal_dialog.exe")" "Minimal dialog" /timer
    wine_run "$driver" open "$(winpath "$run/imports$suffix-timer/minimal_dialog_imports.exe")" "Minimal dialog" /timer
    wine_run "$driver" open "$(winpath "$run/dialog$suffix-timer/timer_dialog_floor.exe")" "Minimal dialog" /timer
    pids[$arch-kairon]=$(pid_of "footprint$suffix" Kairon.exe)
    pids[$arch-floor]=$(pid_of "floor$suffix-timer" minimal_dialog.exe)
    pids[$arch-imports]=$(pid_of "imports$suffix-timer" minimal_dialog_imports.exe)
    pids[$arch-dialog]=$(pid_of "dialog$suffix-timer" timer_dialog_floor.exe)
  done
  missing=0
  for key in "${!pids[@]}"; do [ -n "${pids[$key]}" ] || missing=1; done
  if [ "$missing" = 1 ]; then
    say "footprint: programs not found ($(for key in "${!pids[@]}"; do printf '%s=%s ' "$key" "${pids[$key]}"; done))"
  else
    sleep 3
    declare -A before=() after=()
    for key in "${!pids[@]}"; do before[$key]=$(snapshot "${pids[$key]}"); done
    sleep 60
    for key in "${!pids[@]}"; do after[$key]=$(snapshot "${pids[$key]}"); done
    for arch in "${archs[@]}"; do
      footprint_figures "$arch" "${before[$arch-kairon]}" "${after[$arch-kairon]}" "${before[$arch-floor]}" \
        "${after[$arch-floor]}" "${after[$arch-imports]}" "${before[$arch-dialog]}" "${after[$arch-dialog]}"
    done
  fi
  for key in "${!pids[@]}"; do [ -n "${pids[$key]}" ] && kill "${pids[$key]}" 2>/dev/null; done
fi

# ---------------------------------------------------------------- 1 expiry
if wanted expiry; then
# Countdowns run side by side, started 3 s apart: an expiry's close takes 2 s
# under Wine without a window manager, and must not overlap the next expiry
# (see the clustered run below for what happens when it does).
expiry_runs() {  # CONDITION
  wine_run "$driver" launch 5 "$stamp" "$out" | figures "$1"
  wine_run "$driver" expiry 5 5 1 3000 "$stamp" "$out" deadline "$kairon" ticks "$ticks" | figures "$1"
  wine_run "$driver" expiry 60 1 3 3000 "$stamp" "$out" deadline "$kairon" ticks "$ticks" | figures "$1"
  if [ "$full" = 1 ]; then
    wine_run "$driver" expiry 600 1 2 3000 "$stamp" "$out" deadline "$kairon" ticks "$ticks" | figures "$1"
  fi
}
note "expiry, idle (load average $(cut -d' ' -f1 /proc/loadavg))"
expiry_runs idle
note "expiry of copies started 0.4 s apart: each waits for the foreground copy's close"
wine_run "$driver" expiry 20 1 3 400 "$stamp" "$out" deadline "$kairon" ticks "$ticks" | figures clustered
note "expiry while a program in the foreground stops answering for 15 s (from 2 s after it shows)"
wine_run "$driver" expiry 8 1 1 0 "$stamp" "$out" deadline "$kairon" >"$run/hung.txt" 2>&1 &
hung_driver=$!
sleep 4.5
wine_run "$driver" open "$(winpath "$run/floor/minimal_dialog.exe")" "Minimal dialog" /hang
wait "$hung_driver"
hung_pid=$(pid_of floor minimal_dialog.exe)
[ -n "$hung_pid" ] && kill "$hung_pid"
figures hung-foreground <"$run/hung.txt"
note "expiry, both cores busy with two niced-0 busy loops"
for _ in 1 2; do
  bash -c 'while :; do :; done' &
  busy_pids+=($!)
done
expiry_runs loaded
kill "${busy_pids[@]}" 2>/dev/null
wait "${busy_pids[@]}" 2>/dev/null
busy_pids=()
fi

# ---------------------------------------------------------------- 4 settings
if wanted settings; then
settings_round() {  # WHERE N ROUNDS PROGRAM PATH_TEXT
  local where=$1 n=$2 rounds=$3 program=$4 path=$5 pids=() w
  rm -f "$run"/settings/shared* "$run"/settings/writer-*.txt
  # Every process begins at one moment, after the slowest has started.
  local start=$(($(date +%s%3N) + $([ "$where" = wine ] && echo 4000 || echo 500)))
  for ((w = 1; w <= n; w++)); do
    if [ "$where" = wine ]; then
      wine_run "$program" stress "$path" "$w" "$rounds" "$start" >"$run/settings/writer-$w.txt" 2>&1 &
    else
      "$program" stress "$path" "$w" "$rounds" "$start" >"$run/settings/writer-$w.txt" 2>&1 &
    fi
    pids+=($!)
  done
  wait "${pids[@]}"
  local final
  if [ "$where" = wine ]; then final=$(wine_run "$program" check "$path" "$rounds"); else
    final=$("$program" check "$path" "$rounds"); fi
  cat "$run"/settings/writer-*.txt | tr -d '\r' | awk -v where="$where" -v n="$n" -v final="$(echo "$final" | tr -d '\r' | cut -d' ' -f1)" '
    { for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] }
      ops += 2 * v["rounds"]; if (first == "" || v["first"] < first) first = v["first"]; if (v["last"] > last) last = v["last"]
      if (v["longest-save-ms"] > save) save = v["longest-save-ms"]; if (v["longest-load-ms"] > load) load = v["longest-load-ms"]
      failed += v["failed-saves"]; torn += v["torn"]; empty += v["empty"]; lost += v["lost"]; seen++ }
    END { printf "settings %s N=%d ops=%d ops-per-s=%.0f longest-save-ms=%.1f longest-load-ms=%.1f failed-saves=%d torn=%d empty=%d lost=%d processes-reporting=%d %s (goal: zero torn, empty, lost)\n",
            where, n, ops, ops / ((last - first) / 1000), save, load, failed, torn, empty, lost, seen, final }' |
    tee -a "$results"
}
# Kills a process that holds the file's lock while another waits for it: how
# long until the waiter has the lock.
killed_holder() {  # WHERE HOLDER WAITER PATH_TEXT MARKER_FILE
  local where=$1 holder=$2 waiter=$3 path=$4 marker=$5 samples=() i hpid wpid t got
  for i in 1 2 3 4 5; do
    rm -f "$marker" "$run/settings/waiter.txt"
    if [ "$where" = wine ]; then
      wine_run "$holder" hold "$path" "$(winpath "$marker")" >/dev/null 2>&1 &
    else
      "$holder" hold "$path" "$marker" >/dev/null 2>&1 &
    fi
    local started=$!
    disown "$started"  # killed below on purpose: no job report
    for _ in $(seq 1 3000); do [ -f "$marker" ] && break; sleep 0.01; done
    if [ "$where" = wine ]; then
      hpid=$(pid_of settings config_child.exe)
      wine_run "$waiter" wait "$path" >"$run/settings/waiter.txt" 2>&1 &
      wpid=$!
      sleep 3  # the waiter's Wine start, then its wait for the lock
    else
      hpid=$started
      "$waiter" wait "$path" >"$run/settings/waiter.txt" 2>&1 &
      wpid=$!
      sleep 0.5
    fi
    t=$(python3 -c 'import os, sys, time; t = time.time_ns(); os.kill(int(sys.argv[1]), 9); print(t // 1000)' "$hpid")
    wait "$wpid"
    got=$(tr -d '\r' <"$run/settings/waiter.txt" | sed -n 's/^locked-us=\([0-9]*\).*/\1/p')
    [ -n "$got" ] && samples+=("$(awk -v a="$got" -v b="$t" 'BEGIN { printf "%.1f", (a - b) / 1000 }')")
  done
  printf '%s\n' "${samples[@]}" | sort -n | awk -v where="$where" '{ s[NR] = $1 }
    END { printf "settings-killed-holder %s n=%d median-ms=%s max-ms=%s\n", where, NR, s[int((NR + 1) / 2)], s[NR] }' |
    tee -a "$results"
}
note "settings: N processes each saving and loading one file"
for n in 1 2 4 8; do settings_round native "$n" 200 build/bench-native/settings_bench "$run/settings/shared.cfg"; done
killed_holder native build/host/tests/config/config_child build/bench-native/settings_bench "$run/settings/held.cfg" \
  "$run/settings/holder.marker"
for n in 1 2 4 8; do
  settings_round wine "$n" 200 build/bench-win64/settings_bench.exe "$(winpath "$run/settings/shared-wine.cfg")"
done
cp build/win64/tests/config/config_child.exe "$run/settings/"
killed_holder wine "$run/settings/config_child.exe" build/bench-win64/settings_bench.exe \
  "$(winpath "$run/settings/held-wine.cfg")" "$run/settings/holder-wine.marker"
fi

# ---------------------------------------------------------------- 5 fuzzing
if wanted fuzz; then
seconds=30
[ "$full" = 1 ] && seconds=600
note "fuzzing every target for $seconds s"
KAIRON_FUZZ_BUILD=build/bench-fuzz tools/fuzz.sh "$seconds" 2>&1 | awk '
  /^== / { target = $2 } /^stat::number_of_executed_units/ { runs[target] = $2 } /FAILED/ { failed[target] = 1; print }
  END { for (t in runs) printf "fuzz %s executions=%d findings=%d\n", t, runs[t], failed[t] ? 1 : 0 }' | tee -a "$results"
fi

# ---------------------------------------------------------------- 6 freeze
# A 20 s countdown of each build, started together; 5 s in, both processes are
# stopped for FREEZE seconds: nothing of theirs runs, timers included, as when
# the machine is overloaded, being debugged or swapped out.
freeze_run() {  # FREEZE_SECONDS
  local log=$run/freeze-$1.txt dpid tpid
  wine_run "$driver" expiry 20 1 1 0 "$stamp" "$out" deadline "$kairon" ticks "$ticks" >"$log" 2>&1 &
  local driven=$!
  for _ in $(seq 1 600); do [ "$(grep -c '^started' "$log")" -ge 2 ] && break; sleep 0.1; done
  sleep 5
  dpid=$(pid_of deadline Kairon.exe)
  tpid=$(pid_of ticks Kairon.exe)
  if [ -z "$dpid" ] || [ -z "$tpid" ]; then
    say "freeze-${1}s: programs not found (deadline=$dpid ticks=$tpid)"
  else
    kill -STOP "$dpid" "$tpid"
    sleep "$1"
    kill -CONT "$dpid" "$tpid"
  fi
  wait "$driven"
  figures "freeze-${1}s" <"$log"
}
if wanted freeze; then
  note "freeze: 20 s countdowns stopped with SIGSTOP from 5 s in, for 10 s (inside the count) and 30 s (across the deadline)"
  freeze_run 10
  freeze_run 30
fi

note "done ($(date -u '+%Y-%m-%d %H:%M UTC')); load average at the end: $(cut -d' ' -f1-3 /proc/loadavg)"
