#include "app/startup_options.h"

#include <gtest/gtest.h>

#include <iterator>
#include <vector>

#include "base/command_line.h"
#include "tests/support/string_print.h"

using Ostra::String;

namespace {

TEST(StartupOptions, GrammarTable) {
  const struct {
    const char16_t* line;  // what follows the program name
    const char16_t* file;
    StartupMode mode;
    std::vector<String> extras;
  } cases[] = {
      {u"", u"", StartupMode::None, {}},
      {u"tea.tpt", u"tea.tpt", StartupMode::None, {}},
      {u"/open tea", u"tea", StartupMode::Open, {}},
      {u"tea /open", u"tea", StartupMode::Open, {}},
      {u"/select", u"", StartupMode::Select, {}},
      {u"/select tea", u"tea", StartupMode::Select, {}},
      {u"/open", u"", StartupMode::Open, {}},
      {u"/open /select", u"", StartupMode::Select, {}},
      {u"/select /open tea", u"tea", StartupMode::Open, {}},
      {u"\"my tea.tpt\"", u"my tea.tpt", StartupMode::None, {}},
      {u"/OPEN", u"/OPEN", StartupMode::None, {}},
      {u"tea /OPEN", u"tea", StartupMode::None, {String(u"/OPEN")}},
      {u"a b c", u"a", StartupMode::None, {String(u"b"), String(u"c")}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    const StartupOptions options = parseStartupArguments(Ostra::splitCommandLine(String(cases[i].line)));
    EXPECT_EQ(String(cases[i].file), options.file) << "case " << i;
    EXPECT_EQ(cases[i].mode, options.mode) << "case " << i;
    EXPECT_EQ(cases[i].extras, options.extras) << "case " << i;
  }
}

TEST(StartupOptions, ExtraArgumentMessageNamesTheArgument) {
  EXPECT_EQ(String(u"謎のコマンドライン引数が検出されました：b.tpt"), extraArgumentMessage(u"b.tpt"));
}

}  // namespace
