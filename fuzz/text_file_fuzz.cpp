// Reading a settings file against arbitrary bytes: any size, odd or even, with
// or without a byte-order mark, in a folder whose path is past 260 units.
// Reading never fails on a file that is there, a mark decides as documented,
// ASCII text is itself in every encoding, and what writeTextFile writes reads
// back unchanged.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "base/string.h"
#include "base/text_file.h"
#include "fuzz/fuzz_input.h"

namespace {

using namespace Ostra;
using Ostra::fuzzing::require;
namespace fs = std::filesystem;

// A private folder nested deep enough that its path is past 260 units, with
// non-ASCII names on the way.
const fs::path& deepFolder() {
  static const fs::path folder = [] {
    char pattern[] = "/tmp/kairon-text-fuzz-XXXXXX";
    const char* made = mkdtemp(pattern);
    require(made != nullptr, "a temporary folder");
    fs::path deep(made);
    for (int level = 0; level < 6; ++level)
      deep /= u8"設定のフォルダ-" + std::string(40, static_cast<char>('a' + level));
    fs::create_directories(deep);
    require(fromUtf8(deep.string()).length() > 260, "the folder's path is past 260 units");
    return deep;
  }();
  return folder;
}

void writeBytes(const std::string& path, const std::string& bytes) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW, 0600);
  require(fd >= 0, "the file can be made");
  for (size_t done = 0; done < bytes.size();) {
    const ssize_t written = write(fd, bytes.data() + done, bytes.size() - done);
    require(written > 0, "the file can be written");
    done += static_cast<size_t>(written);
  }
  close(fd);
}

std::u16string unitsFrom(const std::string& bytes, size_t from, bool bigEndian) {
  std::u16string units((bytes.size() - from) / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) {
    const auto first = static_cast<unsigned char>(bytes[from + 2 * i]);
    const auto second = static_cast<unsigned char>(bytes[from + 2 * i + 1]);
    units[i] = static_cast<char16_t>(bigEndian ? first << 8 | second : first | second << 8);
  }
  return units;
}

bool startsWith(const std::string& bytes, const char* mark) { return bytes.rfind(mark, 0) == 0; }

void decodingKeepsItsRules(const std::string& bytes, const String& read) {
  const bool even = bytes.size() % 2 == 0;
  if (even && startsWith(bytes, "\xFF\xFE")) {
    require(read.str() == unitsFrom(bytes, 2, false), "FF FE: UTF-16 little-endian after the mark");
    return;
  }
  if (even && startsWith(bytes, "\xFE\xFF")) {
    require(read.str() == unitsFrom(bytes, 2, true), "FE FF: UTF-16 big-endian after the mark");
    return;
  }
  for (const char byte : bytes) {
    if (static_cast<unsigned char>(byte) >= 0x80) return;
  }
  require(read.str() == std::u16string(bytes.begin(), bytes.end()), "ASCII reads as itself");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes = Ostra::fuzzing::grown(data, size);
  const std::string path = (deepFolder() / "Kairon.cfg").string();
  const String name = fromUtf8(path);

  writeBytes(path, bytes);
  decodingKeepsItsRules(bytes, readTextFile(name));

  // Whatever text is written, lone surrogates and NULs included, reads back.
  const String text(Ostra::fuzzing::unitsOf(bytes));
  writeTextFile(name, text);
  require(readTextFile(name) == text, "a written text reads back unchanged");
  return 0;
}
