#include "config/config_data.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <string>

#include "base/encoding.h"
#include "base/exception.h"
#include "tests/support/string_print.h"

namespace Ostra {
namespace {

// What survives of a message in the narrow text of what(): all of it where the
// narrow set holds Japanese.
String narrowed(const String& message) { return defaultEncoding().decode(defaultEncoding().encode(message)); }

// The message a getter throws, decoded back from the exception's narrow text.
String failureOf(const std::function<void()>& get) {
  try {
    get();
  } catch (const RuntimeException& e) {
    return defaultEncoding().decode(e.what());
  }
  return u"(no exception)";
}

TEST(ConfigData, SettersStoreTheTextOfTheirKind) {
  CConfigData document;
  document.setNumber(u"n", -15);
  document.setNumber(u"zero", 0);
  document.setNumber(u"max", 2147483647);
  document.setBool(u"yes", true);
  document.setBool(u"no", false);
  document.setString(u"s", u"C:\\a\r\n");
  document.setRaw(u"r", u"C:\\a");
  const struct {
    const char16_t* key;
    const char16_t* stored;
  } cases[] = {
      {u"n", u"-15"},    {u"zero", u"0"},          {u"max", u"2147483647"}, {u"yes", u"true"},
      {u"no", u"false"}, {u"s", u"C:\\\\a\\r\\n"}, {u"r", u"C:\\a"},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(String(cases[i].stored), document.getRaw(cases[i].key)) << "case " << i;
  EXPECT_EQ(-15, document.getNumber(u"n"));
  EXPECT_TRUE(document.getBool(u"yes"));
  EXPECT_FALSE(document.getBool(u"no"));
}

TEST(ConfigData, GetNumberReadsLikeAtoi) {
  const struct {
    const char16_t* stored;
    int want;
  } cases[] = {
      {u" 42", 42}, {u"42 ", 42}, {u"12abc", 12}, {u"x", 0}, {u"-7", -7}, {u"+8", 8}, {u"\t\n3", 3}, {u"0", 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    CConfigData document;
    document.setRaw(u"k", cases[i].stored);
    EXPECT_EQ(cases[i].want, document.getNumber(u"k")) << "case " << i;
  }
}

TEST(ConfigData, GetStringGivesBackEveryValueExactly) {
  const std::u16string values[] = {u"",      u"\\",  u"a\\b\\",      u"\r\n\r", std::u16string(u"x\0y\0", 4),
                                   u" lead", u"\\n", u"\u3042\u3044"};
  for (size_t i = 0; i < std::size(values); ++i) {
    CConfigData document;
    document.setString(u"k", values[i]);
    EXPECT_EQ(String(values[i]), document.getString(u"k")) << "value " << i;
  }
}

TEST(ConfigData, GetStringUnescapesRawTextButGetRawDoesNot) {
  CConfigData document;
  document.setRaw(u"k", u"C:\\new");
  EXPECT_EQ(String(u"C:\new"), document.getString(u"k"));
  EXPECT_EQ(String(u"C:\\new"), document.getRaw(u"k"));
  document.setRaw(u"p", u"C:\\path");
  EXPECT_EQ(String(u"C:\\path"), document.getString(u"p"));
}

TEST(ConfigData, FailedGetsNameKeyAndKind) {
  CConfigData document;
  document.setRaw(u"empty", u"");
  const struct {
    std::function<void()> get;
    const char16_t* message;
  } cases[] = {
      {[&] { document.getNumber(u"TimeH"); }, u"コンフィグデータ 'TimeH' (数値)の読み込みに失敗しました"},
      {[&] { document.getRaw(u"TimeH"); }, u"コンフィグデータ 'TimeH' の読み込みに失敗しました"},
      {[&] { document.getString(u"Msg"); }, u"コンフィグデータ 'Msg' (文字列)の読み込みに失敗しました"},
      {[&] { document.getBool(u"On"); }, u"コンフィグデータ 'On' (真偽値)の読み込みに失敗しました"},
      {[&] { document.getNumber(u"empty"); }, u"コンフィグデータ 'empty' (数値)の読み込みに失敗しました"},
  };
  for (size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(narrowed(cases[i].message), failureOf(cases[i].get)) << "case " << i;
  }
  EXPECT_EQ(1u, document.entries().size());
  EXPECT_FALSE(document.contains(u"TimeH"));
}

TEST(ConfigData, GetBoolAcceptsOnlyTheTwoExactWords) {
  const char16_t* rejected[] = {u"TRUE", u"True", u"1", u" true", u"true ", u"", u"False", u"yes"};
  for (size_t i = 0; i < std::size(rejected); ++i) {
    CConfigData document;
    document.setRaw(u"b", rejected[i]);
    EXPECT_EQ(narrowed(u"コンフィグデータ 'b' (真偽値)の読み込みに失敗しました"),
              failureOf([&] { document.getBool(u"b"); }))
        << "case " << i;
  }
}

TEST(ConfigData, SettingAgainReplacesTheOneEntry) {
  CConfigData document;
  document.setString(u"k", u"first");
  document.setNumber(u"k", 5);
  document.setString(u"k", u"second");
  EXPECT_TRUE(document.contains(u"k"));
  EXPECT_EQ(1u, document.entries().size());
  EXPECT_EQ(String(u"second"), document.getString(u"k"));
}

TEST(ConfigData, KeysAreCaseSensitiveAndEmptyValuesCount) {
  CConfigData document;
  document.setRaw(u"Key", u"");
  EXPECT_TRUE(document.contains(u"Key"));
  EXPECT_FALSE(document.contains(u"key"));
  EXPECT_EQ(narrowed(u"コンフィグデータ 'key' の読み込みに失敗しました"), failureOf([&] { document.getRaw(u"key"); }));
  document.setRaw(u"key", u"x");
  EXPECT_EQ(2u, document.entries().size());
  EXPECT_EQ(String(u""), document.getRaw(u"Key"));
}

}  // namespace
}  // namespace Ostra
