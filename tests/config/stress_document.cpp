#include "tests/config/stress_document.h"

#include <exception>

namespace Ostra::testing {

namespace {

// Units that exercise the escapes, the marker and the two code pages.
constexpr char16_t kAlphabet[] = u"Ka\\r\nn= \u3042\u65E5x\t0";

String payload(int writer, int round) {
  const unsigned seed = static_cast<unsigned>(writer) * 7919u + static_cast<unsigned>(round) * 104729u;
  const size_t length = seed % 3001;
  std::u16string text = u"P";  // no leading white space, which a round trip would drop
  for (size_t i = 0; i < length; ++i) text += kAlphabet[(seed + i * 31) % (std::size(kAlphabet) - 1)];
  return String(std::move(text));
}

}  // namespace

void fillStressDocument(CConfigData& document, int writer, int round) {
  document.setNumber(u"Writer", writer);
  document.setNumber(u"Round", round);
  document.setString(u"Payload", payload(writer, round));
  const int fillers = 1 + (writer + round) % 20;
  for (int i = 0; i < fillers; ++i) document.setNumber(String::format(u"Filler%02d", i), writer * 1000 + round + i);
  document.setBool(u"Zend", round % 2 == 0);
}

std::string checkStressDocument(const CConfigData& document) {
  try {
    CConfigData expected;
    fillStressDocument(expected, document.getNumber(u"Writer"), document.getNumber(u"Round"));
    if (expected.entries() != document.entries()) return "entries differ from those of writer and round";
    return std::string();
  } catch (const std::exception& e) {
    return std::string("unreadable: ") + e.what();
  }
}

}  // namespace Ostra::testing
