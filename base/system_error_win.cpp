#include <windows.h>

#include "base/encoding.h"
#include "base/system_error.h"
#include "base/unique_handle_win.h"

namespace Ostra {

unsigned long lastSystemError() { return GetLastError(); }

String systemErrorText(unsigned long code) {
  char* text = nullptr;
  const DWORD length = FormatMessageA(
      FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS | FORMAT_MESSAGE_ALLOCATE_BUFFER, nullptr, code,
      MAKELANGID(LANG_NEUTRAL, SUBLANG_DEFAULT), reinterpret_cast<char*>(&text), 0, nullptr);
  const UniqueLocalMemory owner(text);
  if (length == 0 || text == nullptr) return String();
  return defaultEncoding().decode(std::string(text, length));
}

}  // namespace Ostra
