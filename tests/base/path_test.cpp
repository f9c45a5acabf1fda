#include "base/path.h"

#include <gtest/gtest.h>

#include <iterator>

#include "tests/support/string_print.h"

namespace Ostra {
namespace {

struct TextCase {
  const char16_t* path;
  const char16_t* want;
};

template <size_t N>
void expectEach(const TextCase (&cases)[N], String (*operation)(const String&)) {
  for (size_t i = 0; i < N; ++i) {
    EXPECT_EQ(String(cases[i].want), operation(String(cases[i].path))) << "case " << i << ": " << toUtf8(cases[i].path);
  }
}

TEST(PathText, SeparatorAndDotPositions) {
  const struct {
    const char16_t* path;
    int separator;
    int dot;
  } cases[] = {
      {u"C:\\a\\b.txt", 4, 6}, {u"C:\\a.d\\b", 6, -1}, {u"a/b.c/d.e", 5, 7}, {u"name", -1, -1},
      {u".profile", -1, 0},    {u"", -1, -1},          {u"x\\", 1, -1},      {u"a.b\\c/d.tar.gz", 5, 11},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].separator, lastSeparator(String(cases[i].path))) << "case " << i;
    EXPECT_EQ(cases[i].dot, extensionDot(String(cases[i].path))) << "case " << i;
  }
}

TEST(PathText, FileNameDirectoryAndStem) {
  const struct {
    const char16_t* path;
    const char16_t* name;
    const char16_t* directory;
    const char16_t* stem;
  } cases[] = {
      {u"C:\\a\\b.txt", u"b.txt", u"C:\\a\\", u"b"}, {u"C:\\a\\.profile", u".profile", u"C:\\a\\", u""},
      {u".profile", u".profile", u"", u""},          {u"C:/x/y.tar.gz", u"y.tar.gz", u"C:/x/", u"y.tar"},
      {u"C:\\a.d\\b", u"b", u"C:\\a.d\\", u"b"},     {u"dir\\", u"", u"dir\\", u""},
      {u"plain", u"plain", u"", u"plain"},           {u"", u"", u"", u""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const String path(cases[i].path);
    EXPECT_EQ(String(cases[i].name), fileNamePart(path)) << "case " << i;
    EXPECT_EQ(String(cases[i].directory), directoryPart(path)) << "case " << i;
    EXPECT_EQ(String(cases[i].stem), stem(path)) << "case " << i;
  }
}

TEST(PathText, UnchangedResultsShareTheTextAndEmptyOnesAreEmptyString) {
  const String file(u"b.txt");
  EXPECT_TRUE(fileNamePart(file).sharesTextWith(file));
  EXPECT_TRUE(directoryPart(file).sharesTextWith(emptyString()));
  const String folder(u"C:\\a\\");
  EXPECT_TRUE(ensureTrailingSeparator(folder).sharesTextWith(folder));
  EXPECT_TRUE(stripTrailingSeparator(String(u"C:\\a")).equals(String(u"C:\\a")));
  const String root(u"C:\\");
  EXPECT_TRUE(stripTrailingSeparator(root).sharesTextWith(root));
  EXPECT_TRUE(parentDirectory(root).sharesTextWith(emptyString()));
  EXPECT_TRUE(containingDirectoryName(String(u"C:\\x")).sharesTextWith(emptyString()));
  const String noExtension(u"C:\\p\\name");
  EXPECT_TRUE(changeExtension(noExtension, emptyString()).sharesTextWith(noExtension));
}

TEST(PathText, TrailingSeparators) {
  const TextCase strip[] = {
      {u"C:\\", u"C:\\"}, {u"C:\\a\\", u"C:\\a"}, {u"C:/a/", u"C:/a"}, {u"C:\\a", u"C:\\a"},
      {u"", u""},         {u"D:/", u"D:/"},       {u"a\\\\", u"a\\"},  {u"\\", u""},
  };
  expectEach(strip, stripTrailingSeparator);
  const TextCase ensure[] = {
      {u"C:\\a", u"C:\\a\\"}, {u"C:\\a\\", u"C:\\a\\"}, {u"a/", u"a/"}, {u"", u""}, {u"C:", u"C:\\"},
  };
  expectEach(ensure, ensureTrailingSeparator);
}

TEST(PathText, ParentAndContainingDirectory) {
  const TextCase parent[] = {
      {u"C:\\a\\b\\", u"C:\\a\\"},
      {u"C:\\a\\b", u"C:\\a\\"},
      {u"C:\\a\\", u"C:\\"},
      {u"C:\\", u""},
      {u"", u""},
      {u"a", u""},
      {u"a/b/c/", u"a/b/"},
  };
  expectEach(parent, parentDirectory);
  const TextCase containing[] = {
      {u"C:\\a\\b\\", u"b"}, {u"C:\\a\\b\\x.txt", u"b"}, {u"C:\\x", u""}, {u"C:\\", u""}, {u"x", u""},
      {u"a/b/", u"b"},       {u"\\a\\", u"a"},
  };
  expectEach(containing, containingDirectoryName);
}

TEST(PathText, ChangeExtension) {
  const struct {
    const char16_t* path;
    const char16_t* ext;
    const char16_t* want;
  } cases[] = {
      {u"C:\\p\\Kairon.exe", u"cfg", u"C:\\p\\Kairon.cfg"},
      {u".profile", u"x", u".profile.x"},
      {u".profile", u"", u".profile"},
      {u"a.b", u"", u"a"},
      {u"a", u"txt", u"a.txt"},
      {u"a.tar.gz", u"zip", u"a.tar.zip"},
      {u"C:\\a.d\\b", u"x", u"C:\\a.d\\b.x"},
      {u"a.", u"x", u"a.x"},
      // A name that begins with its only dot has no extension, also after folders.
      {u"C:\\p\\.profile", u"x", u"C:\\p\\.profile.x"},
      {u"C:/p/.profile", u"", u"C:/p/.profile"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(String(cases[i].want), changeExtension(String(cases[i].path), String(cases[i].ext))) << "case " << i;
  }
}

TEST(PathText, IsRelativeAndRoots) {
  const struct {
    const char16_t* path;
    bool relative;
    bool root;
  } cases[] = {
      {u"C:", true, false},     {u"a\\b", true, false},        {u"\\a", true, false},
      {u"C:\\a", false, false}, {u"\\\\srv\\s", false, false}, {u"C:\\", false, true},
      {u"C:/", false, true},    {u"//srv/s", false, false},    {u"", true, false},
      {u"ab", true, false},     {u"C:x", false, true},         {u"/usr/x", true, false},
      {u"..\\x", true, false},  {u"\\\\", true, false},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(cases[i].relative, isRelative(String(cases[i].path))) << "case " << i;
    EXPECT_EQ(cases[i].root, isRoot(String(cases[i].path))) << "case " << i;
  }
}

TEST(IsNetworkPath, AnyPathToAnotherComputer) {
  const struct {
    const char16_t* path;
    bool network;
  } cases[] = {
      {u"\\\\host\\s\\a.wav", true},
      {u"//host/s/a.wav", true},
      {u"\\\\?\\UNC\\host\\s\\a.wav", true},
      {u"\\\\.\\UNC\\host\\s", true},
      {u"\\\\h@SSL\\DavWWWRoot\\a", true},
      {u"\\\\?\\GLOBALROOT\\Device\\Mup\\h", true},
      {u"\\\\?\\C:\\a.wav", false},
      {u"\\\\.\\c:\\a.wav", false},
      {u"C:\\Windows\\Media\\a.wav", false},
      {u"\\a.wav", false},
      {u"a.wav", false},
      {u"", false},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(cases[i].network, isNetworkPath(String(cases[i].path))) << "case " << i;
}

TEST(PathText, ToBackslashes) {
  const TextCase cases[] = {{u"D:/x/y", u"D:\\x\\y"}, {u"a\\b/c", u"a\\b\\c"}, {u"", u""}, {u"//s/", u"\\\\s\\"}};
  expectEach(cases, toBackslashes);
}

TEST(ResolveLiteralPath, RelativeStepsAgainstBase) {
  const struct {
    const char16_t* path;
    const char16_t* base;
    const char16_t* want;
  } cases[] = {
      {u"..\\t\\x.tpt", u"C:\\a\\b\\", u"C:\\a\\t\\x.tpt"},
      {u".\\x", u"C:\\a\\", u"C:\\a\\x"},
      {u"a/b", u"C:\\d", u"C:\\d\\a\\b"},
      {u"D:/x/y", u"C:\\a\\", u"D:\\x\\y"},
      {u"\\\\srv\\s/f", u"C:\\a\\", u"\\\\srv\\s\\f"},
      {u"..\\x", u"d", u"..\\x"},
      {u"x", u"", u"x"},
      {u"a/b", u"", u"a\\b"},
      {u"..\\..\\x", u"C:\\a\\b\\", u"C:\\x"},
      // Above the root the root stays.
      {u"..\\..\\..\\x", u"C:\\a\\", u"C:\\x"},
      {u"../x", u"C:/a/b/", u"C:/a/x"},
      {u"a\\.\\b\\..\\c", u"C:\\d\\", u"C:\\d\\a\\c"},
      {u"template\\t.tpt", u"C:\\Program Files\\Kairon\\", u"C:\\Program Files\\Kairon\\template\\t.tpt"},
      {u".hidden\\f", u"C:\\d\\", u"C:\\d\\.hidden\\f"},
      {u"a..b", u"C:\\d\\", u"C:\\d\\a..b"},
      {u"..", u"C:\\d\\", u"C:\\d\\.."},
      // Dots inside a name are part of it, not steps.
      {u"a.\\b", u"C:\\d\\", u"C:\\d\\a.\\b"},
      {u"x..\\y", u"C:\\d\\", u"C:\\d\\x..\\y"},
      {u"\\top", u"C:\\d\\", u"C:\\d\\\\top"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(String(cases[i].want), resolveLiteralPath(String(cases[i].path), String(cases[i].base)))
        << "case " << i << ": " << toUtf8(cases[i].path);
  }
}

}  // namespace
}  // namespace Ostra
