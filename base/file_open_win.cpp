#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <windows.h>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/file_open.h"
#include "base/platform_win.h"

namespace Ostra {

namespace {

// The C library of older Windows knows no 'x' in a mode: the file is created
// through the descriptor calls with O_EXCL (CREATE_NEW) and then wrapped.
FILE* createNewStream(const String& fileName) {
  constexpr int kFlags = _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY;
  const int fd = useWideCalls()
                     ? _wsopen(wide(fileName), kFlags, _SH_DENYNO, _S_IREAD | _S_IWRITE)
                     : _sopen(defaultEncoding().encode(fileName).c_str(), kFlags, _SH_DENYNO, _S_IREAD | _S_IWRITE);
  if (fd < 0) return nullptr;
  FILE* stream = _fdopen(fd, "wb");
  if (stream == nullptr) _close(fd);
  return stream;
}

}  // namespace

FILE* openSharedStream(const String& fileName, const String& mode) {
  if (mode.str().find(u'x') != std::u16string::npos) return createNewStream(fileName);
  if (useWideCalls()) return _wfsopen(wide(fileName), wide(mode), _SH_DENYNO);
  const std::string narrowName = defaultEncoding().encode(fileName);
  const std::string narrowMode = defaultEncoding().encode(mode);
  return _fsopen(narrowName.c_str(), narrowMode.c_str(), _SH_DENYNO);
}

// _commit is FlushFileBuffers on the stream's own handle, which was opened for
// writing: no second open that another program's share mode could refuse.
bool syncStreamToDisk(FILE* stream) { return _commit(_fileno(stream)) == 0; }

}  // namespace Ostra
