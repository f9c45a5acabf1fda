#include "base/text_file.h"

#include <string>
#include <vector>

#include "base/encoding.h"
#include "base/file.h"
#include "base/filesystem.h"

namespace Ostra {

namespace {

enum class ByteOrder { kLittleEndian, kBigEndian };

String readUtf16(CStdFile& file, long bytes, ByteOrder order) {
  std::vector<unsigned char> raw(static_cast<size_t>(bytes));
  file.read(raw.data(), raw.size());
  std::u16string units(raw.size() / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    const unsigned first = raw[2 * i];
    const unsigned second = raw[2 * i + 1];
    units[i] = static_cast<char16_t>(order == ByteOrder::kLittleEndian ? first | second << 8 : first << 8 | second);
  }
  return String(std::move(units));
}

}  // namespace

String readTextFile(const String& fileName) {
  CStdFile file(fileName, u"rb");
  const long size = file.size();
  if (size == 0) return String();
  // Only an even size can be a mark followed by whole UTF-16 units.  A mark
  // alone is the empty text writeTextFile leaves; the bytes FF FE or FE FF are
  // no text in any double-byte ANSI code page, so nothing is lost by it.
  if (size >= 2 && size % 2 == 0) {
    unsigned char mark[2];
    file.read(mark, sizeof mark);
    if (mark[0] == 0xFF && mark[1] == 0xFE) return readUtf16(file, size - 2, ByteOrder::kLittleEndian);
    if (mark[0] == 0xFE && mark[1] == 0xFF) return readUtf16(file, size - 2, ByteOrder::kBigEndian);
    file.seek(0, SEEK_SET);
  }
  std::string bytes(static_cast<size_t>(size), '\0');
  file.read(bytes.data(), bytes.size());
  return defaultEncoding().decode(bytes);
}

void writeTextFile(const String& fileName, const String& text, WriteDurability durability) {
  createDirectories(fileName);
  std::string bytes = {'\xFF', '\xFE'};
  bytes.reserve(2 + 2 * static_cast<size_t>(text.length()));
  for (const char16_t unit : text.str()) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  CStdFile file(fileName, u"w+b");
  file.write(bytes.data(), bytes.size());
  if (durability == WriteDurability::kToDisk) file.syncToDisk();
  file.close();
}

}  // namespace Ostra
