#!/usr/bin/env bash
# The set-up's decisions, with stand-ins for apt-get, dpkg, dpkg-query and the
# kernel's 32-bit check early on PATH: a failing package list, a refused wine32,
# a recorded refusal and none.  Prints "N passed, N failed"; exits 1 on failure.
set -uo pipefail
tools=$(cd "$(dirname "$0")/../../tools" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
passed=0
failed=0

check() {  # NAME CONDITION...
  local name=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAILED: $name ($*)"
    sed 's/^/  out: /' "$case_dir/out"
    sed 's/^/  apt: /' "$case_dir/calls"
  fi
}

# Runs a copy of setup.sh in a fresh tree.  Environment of the stand-ins:
# MISSING (packages dpkg-query calls not installed), UPDATE_FAILS (how many
# apt-get updates fail with a stale list), REFUSE (a package apt will not
# install), KERNEL32 (0 or 1).
run_setup() {
  case_dir=$(mktemp -d "$work/case.XXXX")
  mkdir -p "$case_dir/tools" "$case_dir/bin"
  cp "$tools/setup.sh" "$case_dir/tools/"
  printf '#!/bin/sh\n[ "${KERNEL32:-1}" = 1 ] && exit 0\necho "the kernel cannot run 32-bit programs"; exit 1\n' \
    >"$case_dir/tools/runs-32bit.sh"
  cat >"$case_dir/bin/apt-get" <<'EOF'
#!/bin/bash
echo "$*" >>"$CALLS"
if [ "$1" = update ]; then
  n=$(grep -c '^update' "$CALLS")
  if [ "$n" -le "${UPDATE_FAILS:-0}" ]; then
    echo "E: Failed to fetch http://mirror.invalid/debian-security/binary-i386/Packages.xz  File has unexpected size" >&2
    echo "E: Some index files failed to download." >&2
    exit 100
  fi
  exit 0
fi
for p in "$@"; do
  if [ -n "${REFUSE:-}" ] && [ "$p" = "$REFUSE" ]; then
    echo "E: Error, pkgProblemResolver::Resolve generated breaks, this may be caused by held packages." >&2
    exit 100
  fi
done
exit 0
EOF
  cat >"$case_dir/bin/dpkg-query" <<'EOF'
#!/bin/bash
for p in $MISSING; do [ "$p" = "${!#}" ] && exit 1; done
printf 'install ok installed'
EOF
  printf '#!/bin/sh\n[ "$1" = --print-foreign-architectures ] && echo i386\nexit 0\n' >"$case_dir/bin/dpkg"
  printf '#!/bin/sh\necho ja_JP.utf8\n' >"$case_dir/bin/locale"
  chmod +x "$case_dir"/bin/* "$case_dir/tools/runs-32bit.sh"
  : >"$case_dir/calls"
  CALLS=$case_dir/calls KAIRON_APT_RETRY_WAIT=0 PATH="$case_dir/bin:$PATH" \
    bash "$case_dir/tools/setup.sh" >"$case_dir/out" 2>&1
  code=$?
  record=$case_dir/build/wine32-refused
}
updates() { grep -c '^update' "$case_dir/calls"; }

# Everything there: nothing asked of apt.
MISSING= run_setup
check "all installed" test "$code" = 0 -a ! -s "$case_dir/calls" -a ! -s "$case_dir/out"

# A list that stays stale: tried three times, named, and the install goes on.
MISSING=pulseaudio UPDATE_FAILS=9 run_setup
check "stale list: goes on" test "$code" = 0 -a "$(updates)" = 3
check "stale list: named" grep -q 'warning: .*binary-i386/Packages.xz; going on' "$case_dir/out"
check "stale list: installed" grep -q 'install .* pulseaudio' "$case_dir/calls"

# A list that fails once only: no warning.
MISSING=pulseaudio UPDATE_FAILS=1 run_setup
check "passing fault: retried" test "$code" = 0 -a "$(updates)" = 2
check "passing fault: no warning" test -z "$(grep warning "$case_dir/out")"

# A package that cannot be installed still ends the set-up, with apt's words.
MISSING=pulseaudio REFUSE=pulseaudio run_setup
check "refused package: fails" test "$code" != 0
check "refused package: apt's message" grep -q 'pkgProblemResolver' "$case_dir/out"

# wine32 refused: one line with apt's reason, recorded, and the set-up goes on.
MISSING=wine32:i386 REFUSE=wine32:i386 UPDATE_FAILS=9 run_setup
check "wine32 refused: goes on" test "$code" = 0
check "wine32 refused: said once" test "$(grep -c 'wine32 not installed.*pkgProblemResolver' "$case_dir/out")" = 1
check "wine32 refused: recorded" grep -q 'pkgProblemResolver' "$record"

# A fresh record: not tried again at every make; once stale, tried again.
rerun() {
  : >"$case_dir/calls"
  CALLS=$case_dir/calls KAIRON_APT_RETRY_WAIT=0 PATH="$case_dir/bin:$PATH" \
    bash "$case_dir/tools/setup.sh" >"$case_dir/out" 2>&1
}
MISSING=wine32:i386 REFUSE=wine32:i386 rerun
check "fresh record: apt left alone" test ! -s "$case_dir/calls" -a -s "$record"
touch -d '7 hours ago' "$record"
MISSING=wine32:i386 rerun
check "stale record: tried again" grep -q 'install .*wine32:i386' "$case_dir/calls"
check "stale record: installed, record gone" test ! -e "$record"

# A kernel without 32-bit programs: wine32 is not tried, nothing recorded.
MISSING=wine32:i386 KERNEL32=0 run_setup
check "no 32-bit kernel: not tried" test "$code" = 0 -a ! -e "$record" -a -z "$(grep wine32 "$case_dir/calls")"

# What the test run makes of it: a recorded refusal excuses the missing wine32
# (exit 1, with the reason), no record does not (exit 3).  This needs a kernel
# that runs 32-bit programs, as the real check asks the kernel itself.
if bash "$tools/runs-32bit.sh" >/dev/null; then
  case_dir=$(mktemp -d "$work/case.XXXX")
  mkdir -p "$case_dir/tools" "$case_dir/bin" "$case_dir/build"
  cp "$tools/runs-32bit.sh" "$case_dir/tools/"
  printf '#!/bin/sh\nexit 1\n' >"$case_dir/bin/dpkg-query"
  chmod +x "$case_dir/bin/dpkg-query"
  : >"$case_dir/calls"
  PATH="$case_dir/bin:$PATH" bash "$case_dir/tools/runs-32bit.sh" --wine >"$case_dir/out"
  check "no record: set up wrongly" test "$?" = 3
  echo "apt refused wine32:i386: held packages" >"$case_dir/build/wine32-refused"
  PATH="$case_dir/bin:$PATH" bash "$case_dir/tools/runs-32bit.sh" --wine >"$case_dir/out"
  check "record: excused" test "$?" = 1
  check "record: reason told" grep -q 'apt refused wine32:i386: held packages' "$case_dir/out"
else
  echo "runs-32bit.sh --wine cases NOT RUN: this kernel does not run 32-bit programs"
fi

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
