#include "app/shown_text.h"

#include <gtest/gtest.h>

#include <iterator>
#include <string>

using Ostra::String;

namespace {

TEST(ShownText, HidesNothingAndStaysBounded) {
  const std::u16string blanks4000(4000, u' ');
  const struct {
    std::u16string text;
    std::u16string want;
  } cases[] = {
      {u"C:\\ツール\\a b.exe", u"C:\\ツール\\a b.exe"},
      // Direction marks, embeddings and isolates would reorder what follows them.
      {u"invoice_\u202Efdp.exe", u"invoice_<U+202E>fdp.exe"},
      {u"\u202A\u202B\u202C\u202D\u2066\u2067\u2068\u2069\u200E\u200F",
       u"<U+202A><U+202B><U+202C><U+202D><U+2066><U+2067><U+2068><U+2069><U+200E><U+200F>"},
      {u"a\r\nb\tc\u0085\u2028\uFEFF\U000E0041", u"a<U+000D><U+000A>b<U+0009>c<U+0085><U+2028><U+FEFF><U+E0041>"},
      {std::u16string(u"x\xD800y"), u"x<U+D800>y"},
      {u"😀", u"😀"},
      // Blanks: a few stay as they are, a long run shows its length.
      {u"a    b", u"a    b"},
      {u"a     b", u"a （空白 5 文字）b"},
      {blanks4000 + u"& stamp.exe PAYLOAD", u" （空白 4000 文字）& stamp.exe PAYLOAD"},
      {u"a\u3000\u3000\u3000\u00A0\u2003b", u"a （空白 5 文字）b"},
      // Long texts: the first and last 200 characters.
      {std::u16string(500, u'a'), std::u16string(500, u'a')},
      {std::u16string(200, u'a') + std::u16string(3921, u'm') + std::u16string(200, u'z'),
       std::u16string(200, u'a') + u"…（全 4321 文字）" + std::u16string(200, u'z')},
      {std::u16string(300, u'a') + blanks4000 + u"PAYLOAD", std::u16string(300, u'a') + u" （空白 4000 文字）PAYLOAD"},
      {std::u16string(300, u'a') + blanks4000 + std::u16string(300, u'z'),
       std::u16string(200, u'a') + u"…（全 4600 文字）" + std::u16string(200, u'z')},
  };
  for (size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(String(cases[i].want), shownText(String(cases[i].text))) << "case " << i;
}

}  // namespace
