// Saves while other programs hold the files open, as backup and sync clients,
// editors and scanners do.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>

#include "config/config_data.h"
#include "config/save_steps.h"
#include "tests/support/temp_dir.h"

namespace Ostra {
namespace {

using testing::TempDir;

// A handle of another program's kind on a file: reading, letting others read
// and write, but not delete (nor rename over) it.
class OpenElsewhere {
 public:
  OpenElsewhere(const std::filesystem::path& file, DWORD share)
      : handle_(
            CreateFileW(file.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {}
  ~OpenElsewhere() { close(); }
  OpenElsewhere(const OpenElsewhere&) = delete;
  OpenElsewhere& operator=(const OpenElsewhere&) = delete;

  bool valid() const { return handle_ != INVALID_HANDLE_VALUE; }
  void close() {
    if (valid()) CloseHandle(handle_);
    handle_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

String savedValue(const String& path) {
  CConfigData back;
  return back.load(path) ? back.getString(u"k") : String(u"(no file)");
}

TEST(ConfigFileBusy, SaveSucceedsWhileAnotherProgramHoldsTheTargetOpen) {
  TempDir dir;
  const String path = dir.fileString("held.cfg");
  CConfigData document;
  document.setString(u"k", u"old");
  ASSERT_TRUE(document.save(path));
  OpenElsewhere reader(dir.file("held.cfg"), FILE_SHARE_READ | FILE_SHARE_WRITE);
  ASSERT_TRUE(reader.valid());
  document.setString(u"k", u"new");
  EXPECT_TRUE(document.save(path));
  reader.close();
  EXPECT_EQ(String(u"new"), savedValue(path));
  EXPECT_FALSE(std::filesystem::exists(dir.file("held.cfg.tmp")));
}

// A scanner that opens the new temporary file the moment it is written lets
// nobody else write it.
std::filesystem::path scannedFile;
std::unique_ptr<OpenElsewhere> scanner;

void scanTemporary(SaveStep step, const String&) {
  if (step == SaveStep::TemporaryWritten && scanner == nullptr)
    scanner = std::make_unique<OpenElsewhere>(scannedFile, FILE_SHARE_READ | FILE_SHARE_DELETE);
}

TEST(ConfigFileBusy, SaveSucceedsWhileAScannerReadsTheTemporaryFile) {
  TempDir dir;
  const String path = dir.fileString("scanned.cfg");
  scannedFile = dir.file("scanned.cfg.tmp");
  setSaveStepObserver(scanTemporary);
  CConfigData document;
  document.setString(u"k", u"new");
  const bool saved = document.save(path);
  setSaveStepObserver(nullptr);
  ASSERT_NE(nullptr, scanner);
  EXPECT_TRUE(scanner->valid());
  scanner.reset();
  EXPECT_TRUE(saved);
  EXPECT_EQ(String(u"new"), savedValue(path));
}

}  // namespace
}  // namespace Ostra
