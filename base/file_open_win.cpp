#include <io.h>
#include <share.h>
#include <windows.h>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/file_open.h"
#include "base/platform_win.h"

namespace Ostra {

FILE* openSharedStream(const String& fileName, const String& mode) {
  if (useWideCalls()) return _wfsopen(wide(fileName), wide(mode), _SH_DENYNO);
  const std::string narrowName = defaultEncoding().encode(fileName);
  const std::string narrowMode = defaultEncoding().encode(mode);
  return _fsopen(narrowName.c_str(), narrowMode.c_str(), _SH_DENYNO);
}

// _commit is FlushFileBuffers on the stream's own handle, which was opened for
// writing: no second open that another program's share mode could refuse.
bool syncStreamToDisk(FILE* stream) { return _commit(_fileno(stream)) == 0; }

}  // namespace Ostra
