#include "tests/e2e/settings_file.h"

#include "tests/support/settings_file_bytes.h"
#include "tests/support/temp_dir.h"

namespace Ostra::e2e {

namespace {

const std::string kMark = "\xFF\xFE";

}  // namespace

std::string utf16Bytes(const String& text) { return testing::utf16LeBytes(text.str()); }

std::string settingsFileBytes(const SettingsLines& lines) {
  std::string bytes = kMark;
  for (const auto& [key, value] : lines) bytes += utf16Bytes(key + u" = " + value + u"\r\n");
  return bytes;
}

std::optional<SettingsLines> readSettingsFile(const std::filesystem::path& file) {
  const std::string bytes = testing::readBytes(file);
  if (bytes.size() < 2 || bytes.compare(0, 2, kMark) != 0 || bytes.size() % 2 != 0) return std::nullopt;
  std::u16string text;
  for (size_t i = 2; i < bytes.size(); i += 2) {
    text += static_cast<char16_t>(static_cast<unsigned char>(bytes[i]) | static_cast<unsigned char>(bytes[i + 1]) << 8);
  }
  SettingsLines lines;
  size_t start = 0;
  while (start < text.size()) {
    const size_t end = text.find(u"\r\n", start);
    if (end == std::u16string::npos) return std::nullopt;  // a last line cut short
    const std::u16string line = text.substr(start, end - start);
    const size_t marker = line.find(u" = ");
    if (marker == std::u16string::npos) return std::nullopt;
    lines.emplace_back(String(line.substr(0, marker)), String(line.substr(marker + 3)));
    start = end + 2;
  }
  return lines;
}

std::optional<String> valueOf(const SettingsLines& lines, const String& key) {
  for (const auto& [k, v] : lines) {
    if (k == key) return v;
  }
  return std::nullopt;
}

SettingsLines defaultSettings() {
  SettingsLines lines;
  for (const std::u16string& line : testing::defaultSettingsLines()) {
    const size_t marker = line.find(u" = ");
    lines.emplace_back(String(line.substr(0, marker)), String(line.substr(marker + 3)));
  }
  return lines;
}

SettingsLines withValues(SettingsLines lines, const SettingsLines& changes) {
  for (const auto& [key, value] : changes) {
    bool found = false;
    for (auto& line : lines) {
      if (line.first == key) {
        line.second = value;
        found = true;
      }
    }
    if (!found) lines.emplace_back(key, value);
  }
  return lines;
}

}  // namespace Ostra::e2e
