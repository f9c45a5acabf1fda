#include "base/encoding.h"

#include <gtest/gtest.h>

#include "tests/support/string_print.h"

namespace Ostra {
namespace {

TEST(Encoding, EmptyInBothDirections) {
  EXPECT_EQ("", defaultEncoding().encode(String()));
  EXPECT_TRUE(defaultEncoding().decode("").sharesTextWith(emptyString()));
  EXPECT_TRUE(defaultEncoding().decodeBytes("abc", 1, 0).sharesTextWith(emptyString()));
  char byte = 'x';
  EXPECT_EQ(0, defaultEncoding().encodeChars(u"a", 0, &byte, 1));
}

TEST(Encoding, AsciiRoundTripsAndDecodesARange) {
  EXPECT_EQ("Kairon build-6", defaultEncoding().encode(String(u"Kairon build-6")));
  EXPECT_EQ(String(u"bcd"), defaultEncoding().decodeBytes("abcde", 1, 3));
  EXPECT_EQ("cd", defaultEncoding().encode(String(u"abcde"), 2, 2));
  EXPECT_FALSE(defaultEncoding().query(0));
}

TEST(Encoding, JapaneseRoundTripsThroughTheNarrowSet) {
  const String text(u"あと1時間02分05秒 / Kairon build-6");
  const std::string bytes = defaultEncoding().encode(text);
  if (bytes.find('?') != std::string::npos) GTEST_SKIP() << "the narrow character set has no Japanese";
  EXPECT_EQ(text, defaultEncoding().decode(bytes));
}

TEST(Encoding, UnrepresentableCharacterBecomesDefaultCharacterWithoutShortening) {
  // U+1F375 is in no ANSI code page; U+0100 is in neither 932 nor ASCII.
  const std::string bytes = defaultEncoding().encode(String(u"a\u0100b"));
  if (bytes.size() == 4) GTEST_SKIP() << "the narrow character set is UTF-8";
  EXPECT_EQ("a?b", bytes);
}

}  // namespace
}  // namespace Ostra
