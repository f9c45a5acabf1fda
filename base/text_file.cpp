#include "base/text_file.h"

#include <optional>
#include <string>
#include <vector>

#include "base/encoding.h"
#include "base/exception.h"
#include "base/file.h"
#include "base/filesystem.h"

namespace Ostra {

namespace {

const char kUtf8Mark[] = "\xEF\xBB\xBF";

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

std::string utf16WithMark(const String& text) {
  std::string bytes = {'\xFF', '\xFE'};
  bytes.reserve(2 + 2 * static_cast<size_t>(text.length()));
  for (const char16_t unit : text.str()) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>(unit >> 8));
  }
  return bytes;
}

void writeAndClose(CStdFile& file, const std::string& bytes, WriteDurability durability) {
  file.write(bytes.data(), bytes.size());
  if (durability == WriteDurability::kToDisk) file.syncToDisk();
  file.close();
}

bool hasNonAscii(const std::string& bytes) {
  for (const char byte : bytes)
    if (static_cast<unsigned char>(byte) > 0x7F) return true;
  return false;
}

}  // namespace

String readTextFile(const String& fileName, long maxBytes) {
  CStdFile file(fileName, u"rb");
  const long size = file.size();
  if (size < 0 || size > maxBytes) throw IOException(fileName + u" は大きすぎます");
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
  if (bytes.compare(0, 3, kUtf8Mark) == 0) return fromUtf8(bytes.substr(3));
  // Japanese in Shift_JIS or another double-byte code page almost never forms
  // well-formed UTF-8, so an ANSI file keeps reading as it always did.
  if (hasNonAscii(bytes) && isUtf8(bytes)) return fromUtf8(bytes);
  return defaultEncoding().decode(bytes);
}

void writeTextFile(const String& fileName, const String& text, WriteDurability durability) {
  createDirectories(fileName);
  const std::string bytes = utf16WithMark(text);
  CStdFile file(fileName, u"w+b");
  writeAndClose(file, bytes, durability);
}

void writeNewTextFile(const String& fileName, const String& text, WriteDurability durability) {
  createDirectories(fileName);
  const std::string bytes = utf16WithMark(text);
  std::optional<CStdFile> file;
  file.emplace(fileName, u"wxb");  // nothing of ours to remove when this fails
  try {
    writeAndClose(*file, bytes, durability);
  } catch (...) {
    file.reset();  // Windows deletes no file that is still open
    deletePathQuietly(fileName);
    throw;
  }
}

}  // namespace Ostra
