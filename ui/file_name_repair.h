#pragma once

namespace Ostra {

// Makes a file name the common dialogs rejected acceptable, in place up to its
// NUL: each of \ / * " ? < > | becomes '-', and so does ':' unless it is among
// the first three bytes (a drive's colon).  The byte after a Shift_JIS lead
// byte (0x81-0x9F, 0xE0-0xFC) is never looked at, whatever the code page, so
// the second half of a double-byte character stays even when it equals '\'.
void repairFileName(char* bytes);
// The same on wide text; a colon's place is counted in bytes of the text's
// ANSI form, so both forms keep the same colons.
void repairFileName(wchar_t* units);

}  // namespace Ostra
