#include "ui/file_name_repair.h"

#include "base/encoding.h"
#include "base/platform_win.h"

namespace Ostra {

namespace {

// Where a colon stays: "C:" puts it at index 1.
constexpr size_t kLastColonIndexKept = 2;

bool isForbidden(unsigned unit) {
  switch (unit) {
    case '\\':
    case '/':
    case '*':
    case '"':
    case '?':
    case '<':
    case '>':
    case '|':
      return true;
    default:
      return false;
  }
}

bool isShiftJisLeadByte(unsigned char byte) { return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC); }

}  // namespace

void repairFileName(char* bytes) {
  size_t i = 0;
  while (bytes[i] != '\0') {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (isForbidden(byte) || (byte == ':' && i > kLastColonIndexKept)) bytes[i] = '-';
    if (!isShiftJisLeadByte(static_cast<unsigned char>(bytes[i]))) {
      ++i;
      continue;
    }
    if (bytes[i + 1] == '\0') return;
    i += 2;
  }
}

void repairFileName(wchar_t* units) {
  for (size_t i = 0; units[i] != L'\0'; ++i) {
    if (isForbidden(units[i])) {
      units[i] = L'-';
    } else if (units[i] == L':') {
      const size_t byteIndex = defaultEncoding().encode(fromWide(units, static_cast<int>(i))).size();
      if (byteIndex > kLastColonIndexKept) units[i] = L'-';
    }
  }
}

}  // namespace Ostra
