#include "base/filesystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "base/call_form.h"
#include "base/encoding.h"
#include "base/exception.h"
#include "base/path.h"
#include "tests/support/directory_link.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra {
namespace {

namespace fs = std::filesystem;
using testing::toPath;

// Every test runs with each form of the system calls the platform has (on
// Windows the ANSI form too, driven on the NT family).
class FileSystem : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!GetParam()) ansi_ = std::make_unique<ScopedAnsiCallsForTesting>();
  }

  // A path in the temporary folder, written with backslashes as the program writes them.
  String at(const char16_t* relative) const { return root_ + relative; }
  fs::path native(const char16_t* relative) const { return toPath(at(relative)); }

  void makeFile(const char16_t* relative, const std::string& bytes = "data") const {
    fs::create_directories(native(relative).parent_path());
    testing::writeBytes(native(relative), bytes);
  }
  void makeFolder(const char16_t* relative) const { fs::create_directories(native(relative)); }
  bool exists(const char16_t* relative) const { return fs::exists(fs::symlink_status(native(relative))); }
  std::string bytesOf(const char16_t* relative) const { return testing::readBytes(native(relative)); }
  void makeReadOnly(const char16_t* relative) const {
    fs::permissions(native(relative), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
  }

  std::vector<String> paths(std::initializer_list<const char16_t*> relatives) const {
    std::vector<String> out;
    for (const char16_t* relative : relatives) out.push_back(at(relative));
    std::sort(out.begin(), out.end());
    return out;
  }

  std::unique_ptr<ScopedAnsiCallsForTesting> ansi_;
  testing::TempDir temp_;
  const String root_ = temp_.string() + u"\\";
};

std::vector<String> sorted(std::vector<String> list) {
  std::sort(list.begin(), list.end());
  return list;
}

// what() is narrow text in the ANSI code page.
std::string narrow(const String& text) { return defaultEncoding().encode(text); }

template <typename Thrown, typename Action>
std::string messageOf(Action action) {
  try {
    action();
  } catch (const Thrown& error) {
    return error.what();
  }
  ADD_FAILURE() << "nothing was thrown";
  return {};
}

TEST_P(FileSystem, AttributesOfFilesFoldersAndMissingPaths) {
  makeFile(u"f.txt");
  makeFile(u"ro.txt");
  makeReadOnly(u"ro.txt");
  makeFolder(u"テンプレート");
  const struct {
    const char16_t* path;
    bool exists;
    bool directory;
    bool readOnly;
  } cases[] = {
      {u"f.txt", true, false, false},         {u"ro.txt", true, false, true},
      {u"テンプレート", true, true, false},   {u"テンプレート\\", false, true, false},
      {u"テンプレート/", false, true, false}, {u"missing", false, false, false},
      {u"missing\\", false, false, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const unsigned attributes = fileAttributes(at(cases[i].path));
    if (cases[i].exists) {
      ASSERT_NE(kInvalidAttributes, attributes) << "case " << i;
      EXPECT_EQ(cases[i].directory, (attributes & kDirectoryAttribute) != 0) << "case " << i;
      EXPECT_EQ(cases[i].readOnly, (attributes & kReadOnlyAttribute) != 0) << "case " << i;
    } else if (!cases[i].directory) {
      EXPECT_EQ(kInvalidAttributes, attributes) << "case " << i;
    }
    EXPECT_EQ(cases[i].directory, isDirectory(at(cases[i].path))) << "case " << i;
  }
  clearFileAttributes(at(u"ro.txt"));
  EXPECT_EQ(0u, fileAttributes(at(u"ro.txt")) & kReadOnlyAttribute);
}

TEST_P(FileSystem, CopyTreeCreatesOnlyFoldersThatReceiveFiles) {
  makeFile(u"s\\top.txt", "top");
  makeFile(u"s\\sub\\f", "f");
  makeFile(u"s\\sub\\deeper\\テスト.txt", "deep");
  makeFolder(u"s\\e");
  makeFolder(u"s\\sub\\empty");
  copyPath(at(u"s\\"), at(u"t\\"), false);
  EXPECT_EQ("top", bytesOf(u"t\\top.txt"));
  EXPECT_EQ("f", bytesOf(u"t\\sub\\f"));
  EXPECT_EQ("deep", bytesOf(u"t\\sub\\deeper\\テスト.txt"));
  EXPECT_FALSE(exists(u"t\\e"));
  EXPECT_FALSE(exists(u"t\\sub\\empty"));
  // The source is untouched.
  EXPECT_EQ("f", bytesOf(u"s\\sub\\f"));
}

TEST_P(FileSystem, CopyFileIntoFolderOrOntoFileName) {
  makeFile(u"src\\a.txt", "a");
  const struct {
    const char16_t* source;
    const char16_t* target;
    const char16_t* created;
  } cases[] = {
      {u"src\\a.txt", u"into\\", u"into\\a.txt"},
      {u"src\\a.txt", u"new\\folders\\b.txt", u"new\\folders\\b.txt"},
      {u"src/a.txt", u"slash/c.txt", u"slash\\c.txt"},
      {u"src\\a.txt", u"日本\\", u"日本\\a.txt"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    copyPath(at(cases[i].source), at(cases[i].target), false);
    EXPECT_EQ("a", bytesOf(cases[i].created)) << "case " << i;
  }
}

TEST_P(FileSystem, CopyOntoExistingFileNeedsOverwrite) {
  makeFile(u"a.txt", "new");
  makeFile(u"b.txt", "old");
  const String source = at(u"a.txt");
  const String target = at(u"b.txt");
  EXPECT_EQ(narrow(u"ファイルのコピーに失敗しました (" + source + u" → " + target + u")"),
            messageOf<IOException>([&] { copyPath(source, target, false); }));
  EXPECT_EQ("old", bytesOf(u"b.txt"));
  copyPath(source, target, true);
  EXPECT_EQ("new", bytesOf(u"b.txt"));
}

TEST_P(FileSystem, CopyOntoItselfFailsAndKeepsTheFile) {
  makeFile(u"same.txt", "keep me");
  EXPECT_THROW(copyPath(at(u"same.txt"), at(u"same.txt"), true), IOException);
  EXPECT_EQ("keep me", bytesOf(u"same.txt"));
  EXPECT_THROW(copyPath(at(u"missing.txt"), at(u"x.txt"), true), IOException);
  EXPECT_FALSE(exists(u"x.txt"));
}

TEST_P(FileSystem, DeleteReadOnlyFileOnlyWithClearAttributes) {
  makeFile(u"ro.txt");
  makeReadOnly(u"ro.txt");
  const String path = at(u"ro.txt");
  EXPECT_EQ(narrow(path + u"の削除に失敗しました"), messageOf<IOException>([&] { deletePath(path, false); }));
  EXPECT_TRUE(exists(u"ro.txt"));
  deletePath(path, true);
  EXPECT_FALSE(exists(u"ro.txt"));
}

TEST_P(FileSystem, DeleteTreeLeavesItsNeighbours) {
  const char16_t* const forms[] = {u"d\\t", u"d\\t\\", u"d/t/"};
  for (const char16_t* form : forms) {
    makeFile(u"d\\t\\f.txt");
    makeFile(u"d\\t\\sub\\g.txt");
    makeFile(u"d\\t\\sub\\読み取り専用.txt");
    makeReadOnly(u"d\\t\\sub\\読み取り専用.txt");
    makeFile(u"d\\t\\.git\\config");
    makeFolder(u"d\\t\\empty");
    // A read-only folder gives up its entries once its attributes are cleared.
    makeReadOnly(u"d\\t\\sub");
    makeFile(u"d\\t.txt");
    makeFile(u"d\\other\\keep.txt");
    deletePath(at(form), true);
    EXPECT_FALSE(exists(u"d\\t")) << toUtf8(form);
    EXPECT_TRUE(exists(u"d\\t.txt")) << toUtf8(form);
    EXPECT_TRUE(exists(u"d\\other\\keep.txt")) << toUtf8(form);
  }
}

TEST_P(FileSystem, DeleteOfMissingPathFails) {
  const char16_t* const missing[] = {u"missing.txt", u"missing\\", u"no\\such\\file"};
  for (const char16_t* relative : missing) {
    const String path = at(relative);
    EXPECT_EQ(narrow(path + u"の削除に失敗しました"), messageOf<IOException>([&] { deletePath(path, true); }))
        << toUtf8(relative);
  }
}

TEST_P(FileSystem, CreateDirectoriesFromTheTopDown) {
  makeFolder(u"exists\\inner");
  const struct {
    const char16_t* path;
    const char16_t* folder;
  } cases[] = {
      {u"a\\b\\c.txt", u"a\\b"},
      {u"x\\y\\z\\", u"x\\y\\z"},
      {u"s/l/", u"s\\l"},
      {u"exists\\inner\\", u"exists\\inner"},
      {u"exists\\inner\\f.txt", u"exists\\inner"},
      {u"新規\\フォルダ\\", u"新規\\フォルダ"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    createDirectories(at(cases[i].path));
    EXPECT_TRUE(fs::is_directory(native(cases[i].folder))) << "case " << i;
  }
  EXPECT_FALSE(exists(u"a\\b\\c.txt"));
  // No folder to create in a bare name.
  createDirectories(String(u"bare-name.txt"));
  createDirectories(emptyString());
}

TEST_P(FileSystem, CreateDirectoriesNamesTheFolderThatFailed) {
  makeFile(u"file.txt");
  const String blocked = at(u"file.txt\\");
  EXPECT_EQ(narrow(blocked + u"の作成に失敗しました"),
            messageOf<IOException>([&] { createDirectories(at(u"file.txt\\sub\\x.txt")); }));
}

class Listing : public FileSystem {
 protected:
  void SetUp() override {
    FileSystem::SetUp();
    makeFile(u"d\\x");
    makeFile(u"d\\.hidden");
    makeFile(u"d\\sub\\y");
    makeFile(u"d\\sub\\deep\\z");
    makeFile(u"d\\.git\\config");
    makeFolder(u"d\\空");
  }
};

TEST_P(Listing, KindsAndDepths) {
  const struct {
    std::vector<String> (*list)(const String&, int);
    int depth;
    std::initializer_list<const char16_t*> want;
  } cases[] = {
      {listFiles, 0, {u"d\\x", u"d\\.hidden"}},
      {listDirectories, 0, {u"d\\sub\\", u"d\\空\\"}},
      {listEntries, 0, {u"d\\x", u"d\\.hidden", u"d\\sub\\", u"d\\空\\"}},
      {listFiles, 1, {u"d\\x", u"d\\.hidden", u"d\\sub\\y"}},
      {listDirectories, 1, {u"d\\sub\\", u"d\\空\\", u"d\\sub\\deep\\"}},
      {listFiles, -1, {u"d\\x", u"d\\.hidden", u"d\\sub\\y", u"d\\sub\\deep\\z"}},
      {listEntries,
       -1,
       {u"d\\x", u"d\\.hidden", u"d\\sub\\", u"d\\空\\", u"d\\sub\\y", u"d\\sub\\deep\\", u"d\\sub\\deep\\z"}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(paths(cases[i].want), sorted(cases[i].list(at(u"d\\"), cases[i].depth))) << "case " << i;
  }
}

TEST_P(Listing, AFoldersContentsFollowItDirectly) {
  const std::vector<String> all = listEntries(at(u"d\\"), -1);
  const String sub = at(u"d\\sub\\");
  const auto first = std::find(all.begin(), all.end(), sub);
  ASSERT_NE(all.end(), first);
  // Its three descendants come right after it, in one block.
  ASSERT_GE(all.end() - first, 4);
  for (auto it = first + 1; it != first + 4; ++it) {
    EXPECT_EQ(0, it->compareAt(0, sub, sub.length(), 0)) << toUtf8(*it);
  }
}

TEST_P(Listing, ListsTheDirectoryPartOfItsArgument) {
  // Without the trailing separator "d" names an entry of the folder above.
  EXPECT_EQ(paths({u"d\\"}), sorted(listDirectories(at(u"d"), 0)));
  EXPECT_EQ(paths({u"d\\x", u"d\\.hidden"}), sorted(listFiles(at(u"d\\x"), 0)));
  // The folder part is kept as written.
  EXPECT_EQ(paths({u"d/sub/y"}), sorted(listFiles(at(u"d/sub/"), 0)));
  EXPECT_TRUE(listEntries(at(u"d\\空\\"), -1).empty());
}

TEST_P(Listing, MissingFolderThrowsWin32Exception) {
  const String pattern = at(u"nope\\*");
  const std::string message = messageOf<Win32Exception>([&] { listFiles(at(u"nope\\"), 0); });
  EXPECT_EQ(0u, message.rfind(narrow(pattern + u" の検索に失敗"), 0)) << message;
  EXPECT_THROW(listEntries(at(u"d\\x\\"), 0), Win32Exception);
}

TEST_P(FileSystem, NearestExistingDirectory) {
  makeFolder(u"a\\b");
  makeFile(u"a\\f.txt");
  const struct {
    const char16_t* path;
    const char16_t* want;
  } cases[] = {
      {u"a\\b", u"a\\b"},
      {u"a\\b\\", u"a\\b\\"},
      {u"a\\b\\missing\\x.txt", u"a\\b\\"},
      {u"a\\f.txt", u"a\\"},
      {u"a\\missing\\deeper\\", u"a\\"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(at(cases[i].want), nearestExistingDirectory(at(cases[i].path))) << "case " << i;
  }
  EXPECT_EQ(emptyString(), nearestExistingDirectory(String(u"kairon-no-such-folder\\x")));
  EXPECT_EQ(emptyString(), nearestExistingDirectory(emptyString()));
}

TEST_P(FileSystem, CurrentDirectoryScopeRestoresAlsoWhenAnExceptionPasses) {
  makeFolder(u"here");
  makeFolder(u"ここ");
  const String before = currentDirectory();
  ASSERT_FALSE(before.empty());
  try {
    CurrentDirectoryScope scope;
    EXPECT_EQ(before, scope.saved());
    ASSERT_TRUE(setCurrentDirectory(at(u"ここ")));
    EXPECT_TRUE(fs::equivalent(native(u"ここ"), toPath(currentDirectory())));
    EXPECT_FALSE(setCurrentDirectory(at(u"missing")));
    EXPECT_TRUE(fs::equivalent(native(u"ここ"), toPath(currentDirectory())));
    // Relative paths now start there.
    EXPECT_TRUE(isDirectory(String(u"..\\here")));
    throw RuntimeException(u"passing through");
  } catch (const RuntimeException&) {
  }
  EXPECT_EQ(before, currentDirectory());
}

// Links: the tree a link leads to is never entered, emptied or copied.
class Links : public FileSystem {
 protected:
  void SetUp() override {
    FileSystem::SetUp();
    makeFile(u"outside\\precious.txt", "keep");
    makeFile(u"d\\own.txt");
    // Wine keeps no reparse points: its link call claims success and makes nothing.
    if (!testing::makeDirectoryLink(native(u"d\\link"), native(u"outside"))) {
      GTEST_SKIP() << "this system makes no directory links";
    }
  }
};

TEST_P(Links, LinkIsAFolderEntryButNotEntered) {
  EXPECT_TRUE(isDirectory(at(u"d\\link")));
  EXPECT_EQ(paths({u"d\\own.txt", u"d\\link\\"}), sorted(listEntries(at(u"d\\"), -1)));
  EXPECT_EQ(paths({u"d\\own.txt"}), sorted(listFiles(at(u"d\\"), -1)));
}

TEST_P(Links, DeleteRemovesTheLinkNotItsTarget) {
  const char16_t* const forms[] = {u"d\\link", u"d\\link\\"};
  for (const char16_t* form : forms) {
    if (!exists(u"d\\link")) {
      ASSERT_TRUE(testing::makeDirectoryLink(native(u"d\\link"), native(u"outside")));
    }
    deletePath(at(form), true);
    EXPECT_FALSE(exists(u"d\\link")) << toUtf8(form);
    EXPECT_EQ("keep", bytesOf(u"outside\\precious.txt")) << toUtf8(form);
  }
  ASSERT_TRUE(testing::makeDirectoryLink(native(u"d\\link"), native(u"outside")));
  deletePath(at(u"d"), true);
  EXPECT_FALSE(exists(u"d"));
  EXPECT_EQ("keep", bytesOf(u"outside\\precious.txt"));
}

TEST_P(Links, CopyLeavesTheLinkedTreeOut) {
  copyPath(at(u"d\\"), at(u"t\\"), false);
  EXPECT_TRUE(exists(u"t\\own.txt"));
  EXPECT_FALSE(exists(u"t\\link"));
}

std::string formName(const ::testing::TestParamInfo<bool>& info) { return info.param ? "Wide" : "Ansi"; }

INSTANTIATE_TEST_SUITE_P(CallForms, FileSystem, ::testing::ValuesIn(availableCallForms()), formName);
INSTANTIATE_TEST_SUITE_P(CallForms, Listing, ::testing::ValuesIn(availableCallForms()), formName);
INSTANTIATE_TEST_SUITE_P(CallForms, Links, ::testing::ValuesIn(availableCallForms()), formName);

}  // namespace
}  // namespace Ostra
