#include "base/exception.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>

#include "base/encoding.h"
#include "tests/base/helpers/last_error.h"
#include "tests/support/string_print.h"

namespace Ostra {
namespace {

std::string ansi(const String& text) { return defaultEncoding().encode(text); }

bool hasJapanese() { return ansi(u"異常終了").find('?') == std::string::npos; }

TEST(Exception, FaultExceptionsCarryTheirFixedTexts) {
  EXPECT_EQ(ansi(u"浮動小数点数エラーがありました"), FPEException().what());
  EXPECT_EQ(ansi(u"不正な命令が検出されました"), InvalidProgramException().what());
  EXPECT_EQ(ansi(u"不正なメモリアクセスがありました"), AccessViolationException().what());
}

TEST(Exception, EveryClassReachesAStdExceptionHandlerWithItsMessage) {
  const String message(u"C:\\Tools\\Kairon.cfg.tmp への書き込みに失敗しました");
  const struct {
    void (*raise)(const String&);
    const char* name;
  } cases[] = {
      {[](const String& m) { throw Exception(m); }, "Exception"},
      {[](const String& m) { throw RuntimeException(m); }, "RuntimeException"},
      {[](const String& m) { throw IOException(m); }, "IOException"},
      {[](const String& m) {
         testing::setLastError(0);
         throw Win32Exception(m);
       },
       "Win32Exception"},
  };
  for (const auto& c : cases) {
    try {
      c.raise(message);
      ADD_FAILURE() << c.name << " was not thrown";
    } catch (const std::exception& error) {
      EXPECT_EQ(ansi(message), error.what()) << c.name;
      EXPECT_NE(nullptr, dynamic_cast<const Exception*>(&error)) << c.name;
    }
  }
}

TEST(Exception, TextIsCutTo511Bytes) {
  const struct {
    int length;
    size_t want;
  } cases[] = {{0, 0}, {1, 1}, {510, 510}, {511, 511}, {512, 511}, {2000, 511}};
  for (const auto& c : cases) {
    const String message(std::u16string(static_cast<size_t>(c.length), u'x'));
    const std::string what = RuntimeException(message).what();
    EXPECT_EQ(std::string(c.want, 'x'), what) << "length " << c.length;
  }
}

TEST(Exception, DoubleByteTextIsCutOnACharacterBoundary) {
  if (!hasJapanese()) GTEST_SKIP() << "the narrow character set has no Japanese";
  const size_t width = ansi(u"あ").size();  // 2 in code page 932, 3 in UTF-8
  for (const char16_t* prefix : {u"", u"a", u"ab"}) {
    const String message = String(prefix) + String(std::u16string(400, u'あ'));
    const size_t prefixBytes = std::char_traits<char16_t>::length(prefix);
    const size_t wholeCharacters = (511 - prefixBytes) / width;
    const std::string what = IOException(message).what();
    EXPECT_EQ(prefixBytes + wholeCharacters * width, what.size()) << "prefix " << prefixBytes;
    EXPECT_EQ(ansi(message.substring(0, static_cast<int>(prefixBytes + wholeCharacters))), what);
  }
}

TEST(Exception, EachExceptionKeepsItsOwnText) {
  const IOException first(u"C:\\a\\long file name.cfg が開けませんでした");
  const RuntimeException second(u"短い");
  const FPEException third;
  EXPECT_EQ(ansi(u"C:\\a\\long file name.cfg が開けませんでした"), first.what());
  EXPECT_EQ(ansi(u"短い"), second.what());
  // A shorter text after a longer one leaves no trace of the longer.
  EXPECT_EQ(ansi(u"短い").size(), std::string(second.what()).size());
  EXPECT_EQ(ansi(u"浮動小数点数エラーがありました"), third.what());
}

TEST(Exception, ExceptionConstructedWhileHandlingAnotherLeavesItAlone) {
  try {
    throw IOException(u"first");
  } catch (const std::exception& outer) {
    try {
      throw RuntimeException(u"second");
    } catch (const std::exception& inner) {
      EXPECT_STREQ("second", inner.what());
    }
    EXPECT_STREQ("first", outer.what());
  }
}

TEST(Exception, CopiesShareTheTextAndNeverThrow) {
  static_assert(std::is_nothrow_copy_constructible_v<RuntimeException>);
  static_assert(std::is_nothrow_copy_assignable_v<RuntimeException>);
  static_assert(std::is_nothrow_copy_constructible_v<Win32Exception>);
  const RuntimeException original(u"shared");
  RuntimeException copy(u"other");
  copy = original;
  const RuntimeException constructed(original);
  EXPECT_EQ(original.what(), copy.what());
  EXPECT_EQ(original.what(), constructed.what());
  EXPECT_STREQ("shared", copy.what());
}

TEST(Win32Exception, AppendsTheSystemTextOfTheLastError) {
  const unsigned long accessDenied = testing::accessDeniedError();
  testing::setLastError(accessDenied);
  const Win32Exception error(u"C:\\x.cfg");
  const std::string systemText = testing::systemText(accessDenied);
  ASSERT_FALSE(systemText.empty());
  EXPECT_EQ("C:\\x.cfg : " + systemText, error.what());
}

TEST(Win32Exception, MessageAloneWhenTheLastErrorIsZero) {
  testing::setLastError(0);
  EXPECT_STREQ("C:\\x.cfg", Win32Exception(u"C:\\x.cfg").what());
}

TEST(Win32Exception, CodeWithoutSystemTextStillShowsTheNumber) {
  testing::setLastError(99999);
  const std::string what = Win32Exception(u"search").what();
  EXPECT_EQ(0u, what.find("search : ")) << what;
  EXPECT_NE(std::string::npos, what.find("99999")) << what;
}

TEST(Win32Exception, LongComposedTextIsCutTo511BytesOnACharacterBoundary) {
  const unsigned long accessDenied = testing::accessDeniedError();
  testing::setLastError(accessDenied);
  const std::string what = Win32Exception(String(std::u16string(505, u'p'))).what();
  const std::string whole = std::string(505, 'p') + " : " + testing::systemText(accessDenied);
  // At most one character short of 511 bytes, and no half character at the end.
  EXPECT_LE(what.size(), 511u);
  EXPECT_GE(what.size(), 509u);
  EXPECT_EQ(whole.substr(0, what.size()), what);
  EXPECT_EQ(what, ansi(defaultEncoding().decode(what)));
}

}  // namespace
}  // namespace Ostra
