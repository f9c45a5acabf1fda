#include "tests/support/settings_file_bytes.h"

namespace Ostra::testing {

const char16_t kDefaultSettingsText[] =
    u"CloseWithEnd = true\r\n"
    u"MinimizeWithStart = true\r\n"
    u"NotifyBeep = false\r\n"
    u"NotifyExe = false\r\n"
    u"NotifyExeFile = %comspec%\r\n"
    u"NotifyExePrm = \r\n"
    u"NotifyMsg = true\r\n"
    u"NotifyMsgText = \r\n"
    u"NotifyWav = false\r\n"
    u"NotifyWavFile = %windir%\\Media\\chimes.wav\r\n"
    u"TimeH = 0\r\n"
    u"TimeM = 0\r\n"
    u"TimeMode = false\r\n"
    u"TimeS = 0\r\n";

const std::vector<std::u16string>& defaultSettingsLines() {
  static const std::vector<std::u16string> lines = [] {
    std::vector<std::u16string> split;
    const std::u16string text = kDefaultSettingsText;
    for (size_t start = 0; start < text.size();) {
      const size_t end = text.find(u"\r\n", start);
      split.push_back(text.substr(start, end - start));
      start = end + 2;
    }
    return split;
  }();
  return lines;
}

std::string utf16LeBytes(const std::u16string& text) {
  std::string bytes;
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

std::string utf16FileBytes(const std::u16string& text) { return "\xFF\xFE" + utf16LeBytes(text); }

std::string settingsFileBytes(const std::vector<std::u16string>& lines) {
  std::u16string text;
  for (const std::u16string& line : lines) text += line + u"\r\n";
  return utf16FileBytes(text);
}

}  // namespace Ostra::testing
