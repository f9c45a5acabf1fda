#pragma once

#include <optional>
#include <vector>

#include "base/string.h"

namespace Ostra {

// The longest file name shellOpen passes on: the shell takes a path of at
// most MAX_PATH units and an address of at most 2083, and a longer name has
// overrun a stack in some shells.
constexpr int kMaxShellFileLength = 2048;

// Opens a document or starts a program, as the shell's "open" does, without
// waiting for it.  parameters is one command-line text.  showCommand is a
// Windows SW_ value (ignored on POSIX, where a program is run with parameters
// split as splitCommandLine does and anything else goes to xdg-open).  False
// when nothing could be started (no such file, no program for it, access
// denied); never throws.
bool shellOpen(const String& file, int showCommand);
bool shellOpen(const String& file, const String& parameters, int showCommand);

// The file shellOpen opens for a name, as far as the file system tells:
// an address ("https:...", "mailto:...") as it is; a path with a folder made
// absolute (fullPathName); a bare name looked for as the shell looks, in the
// current directory, then the programSearchFolders, also with each of the
// programExtensions when it has no extension of its own.  The name itself
// when nothing is found (the shell may still know it, or fails).  Never throws.
String findProgram(const String& file);
// Windows: the Windows folder, the system folder, then the folders of PATH;
// POSIX: the folders of PATH.
std::vector<String> programSearchFolders();
// Windows: those of PATHEXT (".COM;.EXE;.BAT;.CMD" when it is not set);
// POSIX: none.
std::vector<String> programExtensions();

// What a shortcut file (.lnk) starts: its target as stored, environment
// references expanded, and its arguments.  Nothing when the file is no
// shortcut or cannot be read (always on POSIX).  Needs COM on the thread.
struct ShortcutTarget {
  String target;
  String arguments;
};
std::optional<ShortcutTarget> readShortcut(const String& file);
// The address an internet shortcut (.url) opens ("URL" of its
// [InternetShortcut] section); empty when there is none.
String internetShortcutAddress(const String& file);

}  // namespace Ostra
