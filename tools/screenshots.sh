#!/usr/bin/env bash
# Refreshes the README's pictures of the timer dialog, idle and counting down
# (docs/screenshot-idle.png, docs/screenshot-running.png), taken under Wine on
# a virtual display of their own.  Usage: screenshots.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build/win64}
tool=$build/tests/e2e/e2e_screenshots.exe
[ -f "$tool" ] || { echo "screenshots: $tool is missing; run 'make win64'" >&2; exit 1; }

shots=$(mktemp -d)
trap 'rm -rf "$shots"' EXIT

# Inside a Wine desktop window Wine draws the title bars itself; without a
# window manager there would be none, and the title carries the countdown.
# Wine sees the Unix root as drive Z:.
xvfb-run -a -s '-screen 0 1024x768x24' \
  tools/wine-run.sh explorer /desktop=kairon-screenshots,800x600 "$PWD/$tool" "Z:${shots//\//\\}"

mkdir -p docs
for name in idle running; do
  [ -s "$shots/$name.bmp" ] || { echo "screenshots: no $name picture was taken" >&2; exit 1; }
  # No time stamps: the same pixels give the same file.
  convert "$shots/$name.bmp" -strip -define png:exclude-chunks=date,time "png:docs/screenshot-$name.png"
done
echo "screenshots: docs/screenshot-idle.png and docs/screenshot-running.png"
