#pragma once

#include <cstddef>
#include <functional>
#include <string>

#include "base/string.h"

// Windows' mark of the web: browsers, mail programs and zip tools give a file
// they bring from another computer the alternate data stream
// "Zone.Identifier", an INI-like text such as
//   [ZoneTransfer]
//   ZoneId=3
//   HostUrl=https://...
// whose ZoneId names the URL security zone it came from.
namespace Ostra {

constexpr int kNoZone = -1;
constexpr int kInternetZone = 3;
constexpr int kRestrictedZone = 4;

// No more of a stream is read: a real mark is a few hundred bytes, and a huge
// one must not cost memory or time.
constexpr size_t kMaxZoneStreamBytes = 64 * 1024;

// The ZoneId of the first such key inside a [ZoneTransfer] section, read as
// GetPrivateProfileInt reads it (section and key in any case, blanks around
// them and the '=', the value's leading digits); kNoZone when there is none
// or it has more than nine digits.
// Byte-order marks and NUL bytes are skipped, so UTF-16 text reads the same.
int zoneIdFromStream(const std::string& bytes);

// At most kMaxZoneStreamBytes of the stream "<file>:Zone.Identifier"; a path
// that names a stream of a file ("a.tpt:s", "a.tpt::$DATA") reads that file's.
// Empty when there is none or it cannot be read (also where the file system
// keeps no streams, as under Wine).
std::string readZoneStream(const String& path);

// True when the file carries the mark of the Internet or the restricted zone.
bool isFromAnotherComputer(const String& path);

// While alive, readZoneStream gives what `read` gives for the file's path
// instead of asking the file system, which may keep no streams.  Not thread-safe.
class ScopedZoneStreamForTesting {
 public:
  explicit ScopedZoneStreamForTesting(std::function<std::string(const String& path)> read);
  ~ScopedZoneStreamForTesting();
  ScopedZoneStreamForTesting(const ScopedZoneStreamForTesting&) = delete;
  ScopedZoneStreamForTesting& operator=(const ScopedZoneStreamForTesting&) = delete;

 private:
  std::function<std::string(const String& path)> previous_;
};

}  // namespace Ostra
