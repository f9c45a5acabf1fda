#include <unistd.h>

#include <cstdlib>
#include <vector>

#include "base/environment.h"
#include "base/system_path_posix.h"

namespace Ostra {

String expandEnvironment(const String& text) {
  // The rules of the Windows expansion: %NAME% becomes the value; a name that
  // is not defined stays as written with both its signs, and a '%' without a
  // partner is kept.
  const std::u16string& units = text.str();
  if (units.find(u'%') == std::u16string::npos) return text;
  std::u16string out;
  size_t at = 0;
  while (at < units.size()) {
    const size_t open = units.find(u'%', at);
    if (open == std::u16string::npos) break;
    const size_t close = units.find(u'%', open + 1);
    if (close == std::u16string::npos) break;
    out.append(units, at, open - at);
    const std::string name = toUtf8(String(units.substr(open + 1, close - open - 1)));
    const char* value = name.empty() ? nullptr : std::getenv(name.c_str());
    if (value != nullptr) {
      out += fromUtf8(value).str();
    } else {
      out.append(units, open, close - open + 1);
    }
    at = close + 1;
  }
  out.append(units, at, std::u16string::npos);
  return String(std::move(out));
}

namespace {

String readModulePath(unsigned firstBufferUnits) {
  std::vector<char> buffer(firstBufferUnits == 0 ? 1 : firstBufferUnits);
  for (;;) {
    const ssize_t n = readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (n < 0) return emptyString();
    if (static_cast<size_t>(n) < buffer.size()) return fromUtf8(std::string(buffer.data(), static_cast<size_t>(n)));
    buffer.resize(buffer.size() * 2);
  }
}

}  // namespace

String modulePath() { return readModulePath(4096); }

String modulePathForTesting(unsigned firstBufferUnits) { return readModulePath(firstBufferUnits); }

}  // namespace Ostra
