#include <gtest/gtest.h>

#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <string>

#include "base/encoding.h"
#include "base/exception.h"
#include "base/file.h"
#include "base/text_file.h"
#include "tests/support/temp_dir.h"

namespace Ostra {
namespace {

// /dev/full takes every open and write call and fails the moment bytes reach
// it: the disk that fills up while the last buffered bytes are written.
TEST(WriteTextFile, FullDiskIsAWriteFailureEvenWhenOnlyTheLastBytesAreLost) {
  const struct {
    const char* name;
    String path;
    String text;
  } cases[] = {
      {"fits the stream's buffer", u"/dev/full", u"k = v"},
      {"larger than the buffer", u"/dev/full", String(std::u16string(100000, u'x'))},
      {"written with backslashes", u"/dev\\full", u"k = v"},
  };
  for (const auto& c : cases) {
    try {
      writeTextFile(c.path, c.text);
      ADD_FAILURE() << c.name << ": no exception";
    } catch (const IOException& error) {
      EXPECT_EQ(defaultEncoding().encode(c.path + u" への書き込みに失敗しました"), error.what()) << c.name;
    }
  }
}

TEST(CStdFile, CloseReportsTheLostBytes) {
  CStdFile file(u"/dev/full", u"w+b");
  file.write("abc", 3);
  EXPECT_THROW(file.close(), IOException);
  EXPECT_FALSE(file.isOpen());
}

// A file-size limit fails the write past it, as a full disk does.
TEST(WriteNewTextFile, AFileThatCannotBeWrittenWholeIsRemoved) {
  const testing::TempDir folder;
  struct rlimit saved {};
  getrlimit(RLIMIT_FSIZE, &saved);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 4096;
  setrlimit(RLIMIT_FSIZE, &small);
  EXPECT_THROW(
      writeNewTextFile(folder.fileString("t.tmp"), String(std::u16string(100000, u'x')), WriteDurability::kToDisk),
      IOException);
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(std::filesystem::exists(folder.file("t.tmp")));
}

}  // namespace
}  // namespace Ostra
