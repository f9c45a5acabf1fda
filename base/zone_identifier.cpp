#include "base/zone_identifier.h"

#include <utility>

#include "base/filesystem.h"
#include "base/path.h"

namespace Ostra {

namespace {

std::function<std::string(const String& path)>& testReader() {
  static std::function<std::string(const String& path)> reader;
  return reader;
}

bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string trimmed(const std::string& text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && isBlank(text[begin])) ++begin;
  while (end > begin && isBlank(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

bool equalsIgnoringCase(const std::string& text, const char* word) {
  const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  size_t i = 0;
  for (; i < text.size() && word[i] != '\0'; ++i) {
    if (lower(text[i]) != lower(word[i])) return false;
  }
  return i == text.size() && word[i] == '\0';
}

// The leading digits after an optional opening quote; kNoZone when there are
// none, or more than a zone number could have (no wrapping round into a zone).
int leadingNumber(const std::string& value) {
  constexpr size_t kMaxDigits = 9;
  const size_t start = (!value.empty() && (value[0] == '"' || value[0] == '\'')) ? 1 : 0;
  size_t end = start;
  while (end < value.size() && value[end] >= '0' && value[end] <= '9') ++end;
  if (end == start || end - start > kMaxDigits) return kNoZone;
  return std::stoi(value.substr(start, end - start));
}

// The bytes as ASCII text: byte-order marks and NUL bytes dropped, so that
// the ASCII names of UTF-16 text survive; other bytes stay and match nothing.
std::string asciiText(const std::string& bytes) {
  size_t start = 0;
  if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
    start = 3;
  } else if (bytes.compare(0, 2, "\xFF\xFE") == 0 || bytes.compare(0, 2, "\xFE\xFF") == 0) {
    start = 2;
  }
  std::string text;
  text.reserve(bytes.size() - start);
  for (size_t i = start; i < bytes.size(); ++i) {
    if (bytes[i] != '\0') text.push_back(bytes[i]);
  }
  return text;
}

}  // namespace

String zoneStreamPath(const String& path) {
  int nameStart = lastSeparator(path) + 1;
  // The colon of a drive ("C:a.tpt") names no stream.
  if (nameStart == 0 && path.length() >= 2 && path[1] == u':') nameStart = 2;
  const int colon = path.find(u":", nameStart, path.length() - nameStart);
  const String file = colon < 0 ? path : path.substring(0, colon);
  return file + u":Zone.Identifier";
}

int zoneIdFromStream(const std::string& bytes) {
  const std::string text = asciiText(bytes);
  bool inZoneTransfer = false;
  size_t lineStart = 0;
  while (lineStart <= text.size()) {
    size_t lineEnd = text.find_first_of("\r\n", lineStart);
    if (lineEnd == std::string::npos) lineEnd = text.size();
    const std::string line = trimmed(text.substr(lineStart, lineEnd - lineStart));
    lineStart = lineEnd + 1;
    if (!line.empty() && line[0] == '[') {
      const size_t close = line.find(']');
      inZoneTransfer =
          close != std::string::npos && equalsIgnoringCase(trimmed(line.substr(1, close - 1)), "ZoneTransfer");
      continue;
    }
    const size_t equals = line.find('=');
    if (!inZoneTransfer || equals == std::string::npos) continue;
    if (equalsIgnoringCase(trimmed(line.substr(0, equals)), "ZoneId"))
      return leadingNumber(trimmed(line.substr(equals + 1)));
  }
  return kNoZone;
}

ZoneStream readZoneStream(const String& path) {
  ZoneStream stream;
  if (testReader()) {
    stream.bytes = testReader()(path).substr(0, kMaxZoneStreamBytes);
    stream.state = stream.bytes.empty() ? StreamState::Missing : StreamState::Read;
    return stream;
  }
  stream.state = readFileStart(zoneStreamPath(path), kMaxZoneStreamBytes, &stream.bytes);
  return stream;
}

bool isFromAnotherComputer(const String& path) {
  const auto marked = [](int zone) { return zone == kInternetZone || zone == kRestrictedZone; };
  // The name as typed may differ from the file opened ("a.tpt." opens "a.tpt").
  const String file = fullPathName(path);
  const ZoneStream stream = readZoneStream(file);
  if (stream.state == StreamState::Unreadable) return true;
  if (stream.state == StreamState::Read && marked(zoneIdFromStream(stream.bytes))) return true;
  return marked(systemZone(file));
}

ScopedZoneStreamForTesting::ScopedZoneStreamForTesting(std::function<std::string(const String& path)> read)
    : previous_(std::exchange(testReader(), std::move(read))) {}

ScopedZoneStreamForTesting::~ScopedZoneStreamForTesting() { testReader() = std::move(previous_); }

}  // namespace Ostra
