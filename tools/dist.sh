#!/usr/bin/env bash
# Packs the release archives: dist/Kairon-<version>-win32.zip and -win64.zip,
# each with Kairon.exe, the sample templates, the Japanese user's guide and the
# licence.  The version is the one CMake's project() sets.
set -euo pipefail
cd "$(dirname "$0")/.."

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/win32/CMakeCache.txt)
[ -n "$version" ] || { echo "dist: no version in build/win32/CMakeCache.txt" >&2; exit 1; }

# Windows Notepad reads these best as UTF-8 with a byte-order mark and CRLF.
windows_text() { printf '\xef\xbb\xbf'; sed 's/\r\?$/\r/' "$1"; }

mkdir -p dist
for arch in win32 win64; do
  name="Kairon-$version-$arch"
  stage="build/dist/$name"
  rm -rf "$stage"
  mkdir -p "$stage/template"
  cp "build/$arch/app/Kairon.exe" "$stage/"
  triple=$([ "$arch" = win32 ] && echo i686 || echo x86_64)-w64-mingw32
  "$triple-strip" "$stage/Kairon.exe"
  cp resources/templates/*.tpt "$stage/template/"
  windows_text "docs/guide/はじめにお読みください.txt" >"$stage/はじめにお読みください.txt"
  windows_text LICENSE >"$stage/LICENSE.txt"
  # The Japanese names (the guide, the sample templates) are stored in UTF-8
  # with the zip's language encoding flag (general purpose bit 11), which
  # Python's zipfile sets for every name beyond ASCII.  Windows' own extractor
  # reads the flag from Windows 7 on and then shows the names rightly in any
  # system language; names in code page 932 without it would show only on a
  # Japanese system, and the Unicode Path extra field is not read by it at all.
  python3 - "build/dist" "$name" "dist/$name.zip" <<'PY'
import os, sys, zipfile
root, name, out = sys.argv[1:]
with zipfile.ZipFile(out, "w", zipfile.ZIP_DEFLATED) as z:
    for folder, dirs, files in sorted(os.walk(os.path.join(root, name))):
        dirs.sort()
        for f in sorted(files):
            path = os.path.join(folder, f)
            z.write(path, os.path.relpath(path, root))
with zipfile.ZipFile(out) as z:
    for entry in z.infolist():
        if not entry.filename.isascii() and not entry.flag_bits & 0x800:
            sys.exit(f"dist: {entry.filename} is not marked as UTF-8")
PY
  echo "dist: dist/$name.zip"
done
