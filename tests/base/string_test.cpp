#include "base/string.h"

#include <gtest/gtest.h>

#include <climits>
#include <iterator>
#include <thread>
#include <vector>

#include "base/encoding.h"
#include "tests/support/string_print.h"

namespace Ostra {
namespace {

TEST(String, SubstringSharesWholeTextAndGivesEmptyStringForNoUnits) {
  const String text(u"abcdef");
  EXPECT_TRUE(text.substring(0, text.length()).sharesTextWith(text));
  EXPECT_TRUE(text.substring(0, text.length() + 5).sharesTextWith(text));
  EXPECT_TRUE(text.substring(3, 0).sharesTextWith(emptyString()));
  EXPECT_TRUE(text.substring(3, -1).sharesTextWith(emptyString()));
  EXPECT_EQ(String(u"cde"), text.substring(2, 3));
  EXPECT_EQ(String(u"ef"), text.substring(4));
  EXPECT_EQ(2, text.substring(4).length());
}

TEST(String, DefaultAndEmptyResultsShareTheOneEmptyText) {
  EXPECT_TRUE(String().sharesTextWith(emptyString()));
  EXPECT_TRUE(String(u"   ").trimStart().sharesTextWith(emptyString()));
  EXPECT_TRUE(defaultEncoding().decode(std::string()).sharesTextWith(emptyString()));
  EXPECT_EQ(0, emptyString().length());
  EXPECT_EQ(u'\0', emptyString().c_str()[0]);
}

// This file's static initialisers may run before those of the library.
const bool emptyDuringStaticInitialisation = emptyString().empty() && String(u"").substring(0, 0).empty();

TEST(String, EmptyStringServesStaticInitialisersOfOtherFiles) { EXPECT_TRUE(emptyDuringStaticInitialisation); }

TEST(String, AppendRepointsOnlyTheAssignedHandle) {
  String a(u"abc");
  const String shared = a;
  a += String(u"def");
  EXPECT_EQ(String(u"abcdef"), a);
  EXPECT_EQ(String(u"abc"), shared);
  a += u"!";
  EXPECT_EQ(String(u"abcdef!"), a);
  EXPECT_EQ(String(u"x-abc"), u"x-" + shared);
  EXPECT_EQ(String(u"abc-y"), shared + u"-y");
}

TEST(String, EqualsComparesCodeUnitsAndOrdersPrefixFirst) {
  EXPECT_TRUE(String(u"abc").equals(String(u"abc")));
  EXPECT_FALSE(String(u"abc").equals(String(u"ABC")));
  EXPECT_FALSE(String(u"abc").equals(String(u"ab")));
  EXPECT_LT(String(u"ab"), String(u"abc"));
  EXPECT_LT(String(u"ABC"), String(u"abc"));
  EXPECT_FALSE(String(u"abc") < String(u"abc"));
  // Code-unit order: a surrogate (D83C) sorts before U+FF21.
  EXPECT_LT(String(u"\U0001F375"), String(u"\uFF21"));
}

TEST(String, FindSearchesOnlyItsWindow) {
  const String text(u"abcb");
  const String b(u"b");
  EXPECT_EQ(1, text.find(b, 0, 4));
  EXPECT_EQ(3, text.find(b, 2, 2));
  EXPECT_EQ(-1, text.find(String(u"x"), 0, 4));
  EXPECT_EQ(-1, text.find(b, 2, 1));
  EXPECT_EQ(2, text.find(String(u"cb"), 0, 4));
  EXPECT_EQ(-1, text.find(String(u"cbz"), 0, 4));
}

TEST(String, CompareAtModes) {
  const String text(u"xxHello");
  EXPECT_EQ(0, text.compareAt(2, String(u"Hello"), 5, 0));
  EXPECT_NE(0, text.compareAt(2, String(u"hello"), 5, 0));
  for (int mode : {1, 3, 5}) EXPECT_EQ(0, text.compareAt(2, String(u"hELLo"), 5, mode)) << mode;
  for (int mode : {2, 4, 6}) EXPECT_NE(0, text.compareAt(2, String(u"hELLo"), 5, mode)) << mode;
  EXPECT_LT(text.compareAt(2, String(u"Help"), 4, 0), 0);
  // Stops at the terminator like wcsncmp.
  EXPECT_EQ(0, String(u"ab").compareAt(0, String(u"ab"), 10, 0));
}

TEST(String, ReplaceAllScansLeftToRightWithoutOverlap) {
  EXPECT_EQ(String(u"a_b_"), String(u"a\\b\\").replaceAll(String(u"\\"), String(u"_")));
  EXPECT_EQ(String(u"xa"), String(u"aaa").replaceAll(String(u"aa"), String(u"x")));
  EXPECT_EQ(String(u"\\\\n"), String(u"\\n").replaceAll(String(u"\\"), String(u"\\\\")));
  const String plain(u"nothing here");
  const String replaced = plain.replaceAll(String(u"#"), String(u"_"));
  EXPECT_EQ(plain, replaced);
  EXPECT_FALSE(replaced.sharesTextWith(plain));
}

TEST(String, TrimStartDropsLeadingWhiteSpaceOnly) {
  EXPECT_EQ(String(u"x y"), String(u"  x y").trimStart());
  EXPECT_EQ(String(u"x  "), String(u"\t\r\n x  ").trimStart());
  const String untouched(u"x ");
  EXPECT_EQ(untouched, untouched.trimStart());
}

TEST(String, FormatMeasuresExactly) {
  EXPECT_EQ(String(u"-7"), String::fromInt(-7));
  const String padded = String::format(u"%02d", 5);
  EXPECT_EQ(String(u"05"), padded);
  EXPECT_EQ(2, padded.length());
  EXPECT_EQ(String(u"Kairon build-6"), String(u"Kairon") + String::format(u" build-%d", 6));
  EXPECT_EQ(String(u"あと12分"), String::format(u"あと%d分", 12));
  EXPECT_EQ(String(u"-2147483648"), String::fromInt(-2147483647 - 1));
}

TEST(String, ToIntReadsLeadingDigitsLikeAtoi) {
  EXPECT_EQ(42, String(u" 42abc").toInt());
  EXPECT_EQ(0, String(u"abc").toInt());
  EXPECT_EQ(0, String().toInt());
  EXPECT_EQ(-3, String(u"-3").toInt());
  EXPECT_EQ(7, String(u"+7x9").toInt());
  // Beyond 32 bits: clamped, never wrapped into another number.
  EXPECT_EQ(INT_MAX, String(u"2147483648").toInt());
  EXPECT_EQ(INT_MAX, String(u"4294967297").toInt());
  EXPECT_EQ(INT_MAX, String(u" 99999999999999999999999999").toInt());
  EXPECT_EQ(INT_MIN, String(u"-2147483648").toInt());
  EXPECT_EQ(INT_MIN, String(u"-4294967295").toInt());
  EXPECT_EQ(INT_MAX, String(u"2147483647").toInt());
}

TEST(String, CopyToBufferCutsAndTerminates) {
  char buffer[8];
  String(u"abc").copyToBuffer(buffer, 4);
  EXPECT_STREQ("abc", buffer);
  String(u"abc").copyToBuffer(buffer, 3);
  EXPECT_STREQ("ab", buffer);
  String(u"abcdefghijk").copyToBuffer(buffer, sizeof buffer);
  EXPECT_STREQ("abcdefg", buffer);
}

TEST(String, CopyToBufferNeverSplitsAMultiByteCharacter) {
  // Whatever the narrow encoding, the cut falls on a character boundary: the
  // kept bytes are exactly the encoding of a prefix of the text.
  const String text(u"aあいう");
  const std::string whole = defaultEncoding().encode(text);
  for (int size = 1; size <= static_cast<int>(whole.size()) + 1; ++size) {
    std::vector<char> buffer(static_cast<size_t>(size), '\x7f');
    text.copyToBuffer(buffer.data(), size);
    const std::string kept(buffer.data());
    bool isPrefix = false;
    for (int units = 0; units <= text.length(); ++units)
      isPrefix = isPrefix || kept == defaultEncoding().encode(text.substring(0, units));
    EXPECT_TRUE(isPrefix) << "size " << size;
    EXPECT_LT(kept.size(), static_cast<size_t>(size));
  }
}

TEST(String, CopiesAreSafeAcrossThreads) {
  const String shared(u"shared text");
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&shared] {
      for (int i = 0; i < 10000; ++i) {
        String copy = shared;
        copy += u"!";
        ASSERT_EQ(12, copy.length());
      }
    });
  }
  for (auto& thread : threads) thread.join();
  EXPECT_EQ(String(u"shared text"), shared);
}

TEST(Utf8, RoundTripsEveryPlaneAndReplacesBrokenInput) {
  const String text(u"a\u00e9\u3042\U0001F375");
  EXPECT_EQ("a\xc3\xa9\xe3\x81\x82\xf0\x9f\x8d\xb5", toUtf8(text));
  EXPECT_EQ(text, fromUtf8(toUtf8(text)));
  EXPECT_EQ(String(u"\uFFFDx"), fromUtf8("\xff"
                                         "x"));
  EXPECT_EQ(String(u"\uFFFD"), fromUtf8("\xc0\xaf").substring(0, 1));
  const char16_t lone[] = {0xD800, u'x', 0};
  EXPECT_EQ("\xef\xbf\xbdx", toUtf8(String(lone)));
}

}  // namespace
}  // namespace Ostra
