#include "tests/support/temp_dir.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <iterator>
#include <random>

namespace Ostra::testing {

namespace fs = std::filesystem;

TempDir::TempDir() {
  static std::atomic<int> counter{0};
  std::random_device random;
  const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
  for (;;) {
    path_ = fs::temp_directory_path() / ("kairon-test-" + std::to_string(stamp % 1000000007) + "-" +
                                         std::to_string(random() % 100000) + "-" + std::to_string(counter++));
    std::error_code error;
    if (fs::create_directory(path_, error)) break;
  }
}

TempDir::~TempDir() {
  std::error_code error;
  // Read-only leftovers of a test must not keep the folder alive.
  for (auto it = fs::recursive_directory_iterator(path_, error); !error && it != fs::recursive_directory_iterator();
       it.increment(error)) {
    fs::permissions(it->path(), fs::perms::owner_all, fs::perm_options::add, error);
  }
  fs::remove_all(path_, error);
}

String TempDir::string() const { return fromPath(path_); }

fs::path TempDir::file(const std::string& name) const { return path_ / fs::u8path(name); }

String TempDir::fileString(const std::string& name) const { return fromPath(file(name).make_preferred()); }

std::string readBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeBytes(const fs::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

fs::path toPath(const String& text) {
  std::u16string units = text.str();
  // The program writes '\' between folders; on POSIX the system wants '/'.
  if (fs::path::preferred_separator == '/') {
    for (char16_t& unit : units)
      if (unit == u'\\') unit = u'/';
  }
  return fs::path(units);
}

String fromPath(const fs::path& path) { return String(path.u16string()); }

}  // namespace Ostra::testing
