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

std::string utf16FileBytes(const std::u16string& text) {
  std::string bytes = "\xFF\xFE";
  for (char16_t unit : text) {
    bytes += static_cast<char>(unit & 0xFF);
    bytes += static_cast<char>(unit >> 8);
  }
  return bytes;
}

}  // namespace Ostra::testing
