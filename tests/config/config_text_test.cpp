#include "config/config_text.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>
#include <utility>
#include <vector>

#include "config/config_data.h"
#include "tests/support/string_print.h"

namespace Ostra {
namespace {

using Pairs = std::vector<std::pair<std::u16string, std::u16string>>;

Pairs entriesOf(const CConfigData& document) {
  Pairs pairs;
  for (const auto& entry : document.entries()) pairs.emplace_back(entry.first.str(), entry.second.str());
  return pairs;
}

Pairs parsed(const std::u16string& text) {
  CConfigData document;
  parseText(document, String(text));
  return entriesOf(document);
}

TEST(ParseText, LineMarkersKeysAndValues) {
  const struct {
    std::u16string line;
    Pairs want;
  } cases[] = {
      {u"a=b", {}},
      {u"a =b", {{u"a", u"b"}}},
      {u"a = ", {{u"a", u""}}},
      {u"a =", {{u"a", u""}}},
      {u"a = b = c", {{u"a", u"b = c"}}},
      {u"  a  = x", {{u"  a ", u"x"}}},
      {u" = x", {{u"", u"x"}}},
      {u"k = true ", {{u"k", u"true "}}},
      {u"k =\t \t v\t", {{u"k", u"v\t"}}},
      {u"k =\v\f v", {{u"k", u"v"}}},
      {u"[heading]", {}},
      {u"", {}},
      {u"k\u00A0= v", {}},                     // only a plain blank starts the marker
      {u"k = C:\\new", {{u"k", u"C:\\new"}}},  // stored as it stands, escapes included
      {u"\u30BF\u30A4\u30DE = \u6642\u9593", {{u"\u30BF\u30A4\u30DE", u"\u6642\u9593"}}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].want, parsed(cases[i].line)) << "case " << i;
}

TEST(ParseText, LineBreaksInEveryForm) {
  const Pairs two = {{u"a", u"1"}, {u"b", u"2"}};
  const struct {
    std::u16string text;
    Pairs want;
  } cases[] = {
      {u"a = 1\r\nb = 2\r\n", two},
      {u"a = 1\nb = 2\n", two},
      {u"a = 1\rb = 2\r", two},
      {u"a = 1\n\rb = 2", two},  // LF CR is two breaks; the empty line between is skipped
      {u"a = 1\r\r\n\nb = 2", two},
      {u"a = 1\r\nb = 2", two},  // the piece after the last break is a line too
      {u"\r\n\r\n", {}},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(cases[i].want, parsed(cases[i].text)) << "case " << i;
}

TEST(ParseText, MergesIntoTheDocumentAndTheLaterLineWins) {
  CConfigData document;
  document.setRaw(u"kept", u"old");
  document.setRaw(u"Key", u"old");
  parseText(document, u"Key = first\r\nkey = lower\r\nKey = second\r\n");
  EXPECT_EQ((Pairs{{u"Key", u"second"}, {u"kept", u"old"}, {u"key", u"lower"}}), entriesOf(document));
}

TEST(ComposeText, LinesInCodeUnitOrderEachEndedByCrLf) {
  CConfigData document;
  EXPECT_EQ(String(u""), composeText(document));
  document.setRaw(u"TimeS", u"0");
  document.setRaw(u"TimeMode", u"false");
  document.setRaw(u"TimeM", u"0");
  document.setRaw(u"Empty", u"");
  document.setRaw(u"\uFF21", u"wide");
  document.setRaw(u"\U0001F375", u"surrogate");
  EXPECT_EQ(String(u"Empty = \r\nTimeM = 0\r\nTimeMode = false\r\nTimeS = 0\r\n"
                   u"\U0001F375 = surrogate\r\n\uFF21 = wide\r\n"),
            composeText(document));
}

TEST(ComposeText, MultiLineMessageBecomesOneEscapedLine) {
  CConfigData document;
  document.setString(u"NotifyMsgText", u"Lunch\r\nGo");
  EXPECT_EQ(String(u"NotifyMsgText = Lunch\\r\\nGo\r\n"), composeText(document));
}

TEST(ComposeText, ParsedBackItGivesTheSameEntriesExceptLeadingWhiteSpace) {
  CConfigData document;
  const std::u16string values[] = {u"plain",        u"",
                                   u"  lead",       u"\tlead",
                                   u"trail  ",      u"a = b",
                                   u"C:\\x\\y",     std::u16string(u"nul\0in", 6),
                                   u"two\r\nlines", u"\u65E5\u672C"};
  for (size_t i = 0; i < std::size(values); ++i) document.setString(String::fromInt(static_cast<int>(i)), values[i]);
  CConfigData back;
  parseText(back, composeText(document));
  ASSERT_EQ(document.entries().size(), back.entries().size());
  for (size_t i = 0; i < std::size(values); ++i) {
    const String key = String::fromInt(static_cast<int>(i));
    EXPECT_EQ(String(values[i]).trimStart(), back.getString(key)) << "value " << i;
  }
}

TEST(Escapes, EachOfTheFourAndNothingElse) {
  const struct {
    std::u16string value;
    std::u16string escaped;
  } cases[] = {
      {u"", u""},
      {u"\\", u"\\\\"},
      {u"\r", u"\\r"},
      {u"\n", u"\\n"},
      {std::u16string(1, u'\0'), u"\\0"},
      {u"a\r\nb", u"a\\r\\nb"},
      {u" \t=\"'\u3042", u" \t=\"'\u3042"},
      {u"C:\\new", u"C:\\\\new"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(String(cases[i].escaped), escapeValue(cases[i].value)) << "case " << i;
    EXPECT_EQ(String(cases[i].value), unescapeValue(escapeValue(cases[i].value))) << "case " << i;
  }
}

TEST(Escapes, UnescapeKeepsEveryBackslashThatStartsNoEscape) {
  const struct {
    std::u16string stored;
    std::u16string want;
  } cases[] = {
      {u"end\\", u"end\\"}, {u"\\x", u"\\x"},      {u"\\\\n", u"\\n"},  // the pair is taken first
      {u"\\\\\\", u"\\\\"}, {u"\\\\\\n", u"\\\n"}, {u"\\R\\N", u"\\R\\N"}, {u"\\0\\1", std::u16string(u"\0\\1", 3)},
      {u"\\", u"\\"},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(String(cases[i].want), unescapeValue(cases[i].stored)) << "case " << i;
}

}  // namespace
}  // namespace Ostra
