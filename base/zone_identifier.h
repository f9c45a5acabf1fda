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

// What reading a file's stream found.  Only Missing means no mark: a stream
// that is there but cannot be read (held open by another program, access
// denied) may hold one.
enum class StreamState { Missing, Unreadable, Read };
struct ZoneStream {
  StreamState state = StreamState::Missing;
  std::string bytes;  // at most kMaxZoneStreamBytes, when Read
};

// The stream that holds the mark of the file at path: "<file>:Zone.Identifier";
// a path that names a stream of a file ("a.tpt:s", "a.tpt::$DATA") gives that
// file's.
String zoneStreamPath(const String& path);
// The stream of zoneStreamPath(path).  Missing also where the file system
// keeps no streams (a file of the stream's name stands in for it under Wine).
ZoneStream readZoneStream(const String& path);

// True when the file carries the mark of the Internet or the restricted zone,
// or Windows' zone manager puts it there (a network folder in the Internet
// zone carries no stream).  The file is the one the system opens for the
// path (fullPathName: "a.tpt." is "a.tpt"); a stream that cannot be read
// counts as a mark.
bool isFromAnotherComputer(const String& path);

// The URL security zone Windows gives the file at a full path
// (IInternetSecurityManager::MapUrlToZone, which reads the stream too);
// kNoZone when the zone manager cannot be had (always on POSIX).  urlmon is
// loaded from the system folder on first use.
int systemZone(const String& fullPath);
// Reads at most maxBytes of the file at path.  One definition per platform.
StreamState readFileStart(const String& path, size_t maxBytes, std::string* bytes);

// While alive, readZoneStream gives what `read` gives for the file's path
// (empty: no stream) instead of asking the file system, which may keep no
// streams.  Not thread-safe.
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
