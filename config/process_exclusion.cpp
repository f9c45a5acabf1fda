#include "config/process_exclusion.h"

namespace Ostra {

namespace {

// Windows object names may not hold '\' and are at most 260 units long.
constexpr int kMaxNameLength = 259;

String exclusionName(const String& path) {
  const String name = path.replaceAll(u"\\", u"/");
  return name.length() > kMaxNameLength ? name.substring(0, kMaxNameLength) : name;
}

}  // namespace

CProcessExclusion::CProcessExclusion(const String& path) : name_(exclusionName(path)) {}

}  // namespace Ostra
