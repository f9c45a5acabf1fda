#include "base/environment.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <memory>
#include <string>

#include "base/call_form.h"
#include "base/path.h"
#include "tests/support/environment_variable.h"
#include "tests/support/string_print.h"
#include "tests/support/temp_dir.h"

namespace Ostra {
namespace {

using testing::ScopedEnvironmentVariable;

class Environment : public ::testing::TestWithParam<bool> {
 protected:
  void SetUp() override {
    if (!GetParam()) ansi_ = std::make_unique<ScopedAnsiCallsForTesting>();
  }

  std::unique_ptr<ScopedAnsiCallsForTesting> ansi_;
  ScopedEnvironmentVariable alpha_{u"KAIRON_FS_A", u"alpha"};
  ScopedEnvironmentVariable japanese_{u"KAIRON_FS_J", u"日本語"};
  ScopedEnvironmentVariable drive_{u"KAIRON_FS_D", u"D:/v"};
};

TEST_P(Environment, ExpandsDefinedNamesAndKeepsTheRest) {
  const struct {
    const char16_t* text;
    const char16_t* want;
  } cases[] = {
      {u"C:\\plain\\name.tpt", u"C:\\plain\\name.tpt"},
      {u"%KAIRON_FS_A%\\x", u"alpha\\x"},
      {u"a%KAIRON_FS_A%%KAIRON_FS_A%b", u"aalphaalphab"},
      {u"%KAIRON_FS_J%\\テンプレート", u"日本語\\テンプレート"},
      {u"%KAIRON_FS_UNDEFINED%\\x", u"%KAIRON_FS_UNDEFINED%\\x"},
      {u"%KAIRON_FS_UNDEFINED%%KAIRON_FS_A%", u"%KAIRON_FS_UNDEFINED%alpha"},
      {u"50%", u"50%"},
      {u"%KAIRON_FS_A", u"%KAIRON_FS_A"},
      {u"", u""},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(String(cases[i].want), expandEnvironment(String(cases[i].text))) << "case " << i;
  }
}

TEST_P(Environment, LongValuesExpandWhole) {
  // Far more than twice the first 260-unit buffer.
  const std::u16string value(3000, u'v');
  const ScopedEnvironmentVariable longValue(u"KAIRON_FS_LONG", String(value));
  EXPECT_EQ(String(value + u"\\x"), expandEnvironment(String(u"%KAIRON_FS_LONG%\\x")));
  const std::u16string longText(1000, u't');
  EXPECT_EQ(String(longText + u"alpha"), expandEnvironment(String(longText + u"%KAIRON_FS_A%")));
  // Twice as many ANSI bytes as units: the system may fill the ANSI buffer to
  // its last byte and leave it unterminated.
  const std::u16string japanese(300, u'日');
  const ScopedEnvironmentVariable longJapanese(u"KAIRON_FS_LONG_J", String(japanese));
  EXPECT_EQ(String(japanese), expandEnvironment(String(u"%KAIRON_FS_LONG_J%")));
}

TEST_P(Environment, ResolvePathExpandsBeforeJoining) {
  const struct {
    const char16_t* path;
    const char16_t* base;
    const char16_t* want;
  } cases[] = {
      {u"%KAIRON_FS_A%\\t.tpt", u"C:\\b\\", u"C:\\b\\alpha\\t.tpt"},
      {u"%KAIRON_FS_D%\\x", u"C:\\b\\", u"D:\\v\\x"},
      {u"..\\%KAIRON_FS_J%.tpt", u"C:\\a\\b", u"C:\\a\\日本語.tpt"},
      {u"..\\t\\x.tpt", u"C:\\a\\b\\", u"C:\\a\\t\\x.tpt"},
      {u"..\\x", u"d", u"..\\x"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(String(cases[i].want), resolvePath(String(cases[i].path), String(cases[i].base))) << "case " << i;
  }
}

TEST_P(Environment, ExecutablePathAndFolder) {
  const String module = modulePath();
  const String directory = executableDirectory();
  ASSERT_FALSE(module.empty());
  EXPECT_TRUE(std::filesystem::is_regular_file(testing::toPath(module))) << toUtf8(module);
  EXPECT_EQ(directoryPart(module), directory);
  EXPECT_TRUE(isSeparator(directory[directory.length() - 1]));
  EXPECT_EQ(directory + u"template\\x.tpt", resolveFromExecutable(String(u"template\\x.tpt")));
  EXPECT_EQ(directoryPart(stripTrailingSeparator(directory)) + u"x.cfg", resolveFromExecutable(String(u"..\\x.cfg")));
  EXPECT_EQ(String(u"D:\\v\\y"), resolveFromExecutable(String(u"%KAIRON_FS_D%/y")));
  // A path longer than the first buffer comes whole, not cut.
  EXPECT_EQ(module, modulePathForTesting(5));
}

INSTANTIATE_TEST_SUITE_P(CallForms, Environment, ::testing::ValuesIn(availableCallForms()),
                         [](const ::testing::TestParamInfo<bool>& info) { return info.param ? "Wide" : "Ansi"; });

}  // namespace
}  // namespace Ostra
