#include "base/environment.h"

#include "base/exception.h"
#include "base/path.h"

namespace Ostra {

String resolvePath(const String& path, const String& base) { return resolveLiteralPath(expandEnvironment(path), base); }

String executableDirectory() {
  const String path = modulePath();
  const int separator = lastSeparator(path);
  if (separator < 0) {
    throw RuntimeException(u"実行ファイルのファイル名にディレクトリ区切り文字 L'\\' がありません");
  }
  return path.substring(0, separator + 1);
}

String resolveFromExecutable(const String& path) { return resolvePath(path, executableDirectory()); }

}  // namespace Ostra
