#include <share.h>
#include <windows.h>

#include "base/encoding.h"
#include "base/file_open.h"
#include "base/platform_win.h"

namespace Ostra {

FILE* openSharedStream(const String& fileName, const String& mode) {
  if (isNtPlatform()) return _wfsopen(wide(fileName), wide(mode), _SH_DENYNO);
  const std::string narrowName = defaultEncoding().encode(fileName);
  const std::string narrowMode = defaultEncoding().encode(mode);
  return _fsopen(narrowName.c_str(), narrowMode.c_str(), _SH_DENYNO);
}

}  // namespace Ostra
