#include <gtest/gtest.h>

#include <string>

#include "base/encoding.h"
#include "base/exception.h"
#include "base/file.h"
#include "base/text_file.h"

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

}  // namespace
}  // namespace Ostra
