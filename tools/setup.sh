#!/usr/bin/env bash
# Installs what the build and the tests need on a Debian 12 machine (run as root).
# Quick and silent when everything is already there.  A package list that will
# not download is a warning, not the end: the install goes on with the lists
# that did.  The 32-bit Wine is optional: when apt refuses it, the reason is
# recorded in build/wine32-refused and the win32 tests are reported as not run.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
record=$here/../build/wine32-refused

packages=(
  cmake make ninja-build g++ clang libclang-rt-14-dev clang-format googletest
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64
  wine wine64 locales fonts-ipafont-gothic xvfb xauth imagemagick x11-utils
  python3 python3-pil zip unzip pulseaudio libpulse0
)
export DEBIAN_FRONTEND=noninteractive

installed() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'ok installed'; }

# apt-get update, tried again after short waits while an index fails (a mirror
# in the middle of a sync); what still fails after that is named and skipped.
updated=0
update_lists() {
  ((updated)) && return 0
  updated=1
  local attempt out
  for attempt in 1 2 3; do
    if out=$(apt-get update -qq 2>&1); then
      return 0
    fi
    ((attempt == 3)) || sleep "${KAIRON_APT_RETRY_WAIT:-5}"
  done
  local failed
  failed=$(grep -oE 'Failed to fetch [^ ]+' <<<"$out" | sed 's/^Failed to fetch //' | sort -u | paste -sd' ' - || true)
  echo "setup: warning: package lists that could not be downloaded: ${failed:-$(tail -n 1 <<<"$out")}; going on with the others"
}

missing=()
for p in "${packages[@]}"; do
  installed "$p" || missing+=("$p")
done

if ((${#missing[@]})); then
  echo "setup: installing ${missing[*]}"
  update_lists
  # Anything that truly cannot be installed ends the set-up with apt's message.
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# The win32 tests run under 32-bit Wine, which only a kernel that runs 32-bit
# programs can start.  apt may refuse it (its i386 libraries must match the
# amd64 ones exactly, so one stale i386 list is enough); that is recorded, not
# fatal.  A refusal is tried again after six hours, not at every make.
if why=$(bash "$here/runs-32bit.sh"); then
  if installed wine32:i386; then
    rm -f "$record"
  elif [ -f "$record" ] && [ -z "$(find "$record" -mmin +360)" ]; then
    :
  else
    echo "setup: installing wine32:i386"
    if ! dpkg --print-foreign-architectures | grep -qx i386; then
      dpkg --add-architecture i386
      updated=0
    fi
    update_lists
    if out=$(apt-get install -y -qq --no-install-recommends wine32:i386 2>&1 >/dev/null); then
      rm -f "$record"
      # Its sound driver's library; without it the 32-bit programs have no device.
      apt-get install -y -qq --no-install-recommends libpulse0:i386 >/dev/null 2>&1 ||
        echo "setup: warning: libpulse0:i386 could not be installed; the win32 programs will have no sound device"
    else
      reason=$(grep -E '^E: ' <<<"$out" | sed 's/^E: //' | paste -sd';' - | sed 's/;/; /g' || true)
      reason=${reason:-$(tail -n 1 <<<"$out")}
      mkdir -p "$(dirname "$record")"
      echo "apt refused wine32:i386: $reason" >"$record"
      echo "setup: wine32 not installed, the win32 tests will not run: apt refused it: $reason"
    fi
  fi
else
  echo "setup: not installing wine32: $why; the win32 tests will not run"
fi

# Wine runs the tests with code page 932, which needs the Japanese locale.
if ! locale -a 2>/dev/null | grep -qi '^ja_JP\.utf-\?8$'; then
  sed -i 's/^# *\(ja_JP.UTF-8 UTF-8\)/\1/' /etc/locale.gen
  grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen || echo 'ja_JP.UTF-8 UTF-8' >>/etc/locale.gen
  locale-gen >/dev/null
fi
