#include "base/file.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/exception.h"
#include "base/filesystem.h"
#include "tests/support/temp_dir.h"

namespace Ostra {
namespace {

using testing::readBytes;
using testing::TempDir;
using testing::writeBytes;

std::string ansi(const String& text) { return defaultEncoding().encode(text); }

// The message of the IOException the call throws; empty when it throws none.
template <class Call>
std::string ioFailure(Call call) {
  try {
    call();
  } catch (const IOException& error) {
    return error.what();
  }
  return "";
}

TEST(CStdFile, OpenFailureNamesTheFile) {
  TempDir folder;
  const struct {
    String path;
    const char16_t* mode;
  } cases[] = {
      {folder.fileString("missing.cfg"), u"rb"},
      {folder.fileString("no folder/x.cfg"), u"rb"},
      {folder.fileString("no folder/x.cfg"), u"w+b"},
      {folder.string(), u"w+b"},  // a folder cannot be written as a file
      {folder.string(), u"rb"},   // ... nor read as one
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ansi(c.path + u" が開けませんでした"), ioFailure([&] { CStdFile file(c.path, c.mode); }))
        << toUtf8(c.path);
  }
}

TEST(CStdFile, OperationFailuresNameTheFileAndLeaveItUsable) {
  TempDir folder;
  const String path = folder.fileString("data.bin");
  writeBytes(folder.file("data.bin"), "0123456789");
  CStdFile file(path, u"rb");
  // Larger than the stream's buffer, so that a write goes to the system at once.
  std::vector<char> buffer(100000);
  const struct {
    const char* name;
    void (*call)(IFile&, char*);
    const char16_t* suffix;
  } cases[] = {
      {"seek before the start", [](IFile& f, char*) { f.seek(-1, SEEK_SET); },
       u" のファイルポインタの設定に失敗しました"},
      {"read past the end",
       [](IFile& f, char* b) {
         f.seek(-4, SEEK_END);
         f.read(b, 10);
       },
       u" からの読み込みに失敗しました"},
      {"write to a file opened for reading", [](IFile& f, char* b) { f.write(b, 100000); },
       u" への書き込みに失敗しました"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ansi(path + c.suffix), ioFailure([&] { c.call(file, buffer.data()); })) << c.name;
    file.seek(2, SEEK_SET);
    file.read(buffer.data(), 3);
    EXPECT_EQ("234", std::string(buffer.data(), 3)) << "after " << c.name;
  }
}

TEST(CStdFile, ReadOfZeroBytesAtTheEndDoesNothing) {
  TempDir folder;
  writeBytes(folder.file("data.bin"), "abc");
  CStdFile file(folder.fileString("data.bin"), u"rb");
  file.seek(0, SEEK_END);
  file.read(nullptr, 0);
  EXPECT_EQ(3, file.tell());
}

TEST(CStdFile, SizeLeavesThePositionWhereItWas) {
  TempDir folder;
  writeBytes(folder.file("data.bin"), std::string(100, 'z'));
  CStdFile file(folder.fileString("data.bin"), u"rb");
  for (const long position : {0L, 1L, 57L, 100L}) {
    file.seek(position, SEEK_SET);
    EXPECT_EQ(100, file.size()) << position;
    EXPECT_EQ(position, file.tell());
  }
}

TEST(CStdFile, ReserveGrowsOnlyAbove1024Bytes) {
  const struct {
    size_t bytes;
    long want;
  } cases[] = {{0, 0}, {1024, 0}, {1025, 1025}, {4096, 4096}};
  for (const auto& c : cases) {
    TempDir folder;
    const String path = folder.fileString("reserved.bin");
    {
      CStdFile file(path, u"w+b");
      file.reserve(c.bytes);
      EXPECT_EQ(0, file.tell()) << c.bytes;
      EXPECT_EQ(c.want, file.size()) << c.bytes;
    }
    const std::string bytes = readBytes(folder.file("reserved.bin"));
    EXPECT_EQ(static_cast<size_t>(c.want), bytes.size()) << c.bytes;
    if (!bytes.empty()) {
      EXPECT_EQ('\0', bytes.back()) << c.bytes;
    }
  }
}

TEST(CStdFile, WritesReadBackThroughTheSameObject) {
  TempDir folder;
  const String path = folder.fileString("data.bin");
  CStdFile file(path, u"w+b");
  EXPECT_TRUE(file.isOpen());
  EXPECT_NE(nullptr, file.nativeHandle());
  EXPECT_EQ(path, file.fileName);
  file.write("hello world", 11);
  EXPECT_EQ(0, file.flush());
  EXPECT_EQ(11, file.size());
  file.seek(6, SEEK_SET);
  char buffer[5] = {};
  file.read(buffer, sizeof buffer);
  EXPECT_EQ("world", std::string(buffer, sizeof buffer));
  EXPECT_EQ("hello world", readBytes(folder.file("data.bin")));
}

TEST(CStdFile, CloseReportsSuccessAndEndsTheStream) {
  TempDir folder;
  CStdFile file(folder.fileString("data.bin"), u"w+b");
  file.write("abc", 3);
  file.close();
  EXPECT_FALSE(file.isOpen());
  EXPECT_EQ("abc", readBytes(folder.file("data.bin")));
}

// Other copies of the program read and write the same settings files; the
// open must not lock them out.
TEST(CStdFile, OpenFilesAreSharedWithOtherOpeners) {
  TempDir folder;
  const String path = folder.fileString("shared.cfg");
  CStdFile writer(path, u"w+b");
  writer.write("abcd", 4);
  writer.flush();
  CStdFile reader(path, u"rb");
  CStdFile secondWriter(path, u"r+b");
  secondWriter.seek(0, SEEK_SET);
  secondWriter.write("X", 1);
  secondWriter.flush();
  char buffer[4] = {};
  reader.read(buffer, sizeof buffer);
  EXPECT_EQ("Xbcd", std::string(buffer, sizeof buffer));
}

TEST(CStdFile, NamesWithEitherSeparatorAndJapaneseCharactersOpen) {
  TempDir folder;
  std::filesystem::create_directory(folder.file("sub"));
  writeBytes(folder.file("sub/設定.cfg"), "ok");
  for (const String& path : {folder.string() + u"\\sub\\設定.cfg", folder.string() + u"/sub/設定.cfg"}) {
    CStdFile file(path, u"rb");
    EXPECT_EQ(2, file.size()) << toUtf8(path);
  }
}

// The file objects take the call form the file functions take, so a name that
// the ANSI code page cannot carry fails alike in both.
TEST(CStdFile, OpensWhatTheFileFunctionsSeeInEitherCallForm) {
  TempDir folder;
  writeBytes(folder.file("\xED\x95\x9C.cfg"), "ok");  // U+D55C: in neither the Japanese nor the Western page
  const String path = folder.fileString("\xED\x95\x9C.cfg");
  for (const bool wide : availableCallForms()) {
    std::unique_ptr<ScopedAnsiCallsForTesting> ansi;
    if (!wide) ansi = std::make_unique<ScopedAnsiCallsForTesting>();
    const bool seen = fileAttributes(path) != kInvalidAttributes;
    EXPECT_EQ(seen, ioFailure([&] { CStdFile file(path, u"rb"); }).empty()) << (wide ? "wide" : "ANSI");
  }
}

}  // namespace
}  // namespace Ostra
