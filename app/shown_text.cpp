#include "app/shown_text.h"

#include <cstdio>
#include <string>
#include <vector>

using Ostra::String;

namespace {

bool isHighSurrogate(char16_t unit) { return unit >= 0xD800 && unit <= 0xDBFF; }
bool isLowSurrogate(char16_t unit) { return unit >= 0xDC00 && unit <= 0xDFFF; }

// The text as code points; an unpaired surrogate stays as itself.
std::vector<char32_t> codePoints(const std::u16string& units) {
  std::vector<char32_t> points;
  points.reserve(units.size());
  for (size_t i = 0; i < units.size(); ++i) {
    if (isHighSurrogate(units[i]) && i + 1 < units.size() && isLowSurrogate(units[i + 1])) {
      points.push_back(0x10000 + ((static_cast<char32_t>(units[i]) - 0xD800) << 10) + (units[i + 1] - 0xDC00));
      ++i;
    } else {
      points.push_back(units[i]);
    }
  }
  return points;
}

void append(std::u16string& out, char32_t c) {
  if (c < 0x10000) {
    out.push_back(static_cast<char16_t>(c));
    return;
  }
  c -= 0x10000;
  out.push_back(static_cast<char16_t>(0xD800 + (c >> 10)));
  out.push_back(static_cast<char16_t>(0xDC00 + (c & 0x3FF)));
}

void appendAscii(std::u16string& out, const char* text) {
  for (; *text != '\0'; ++text) out.push_back(static_cast<char16_t>(*text));
}

void appendNumber(std::u16string& out, size_t n) {
  char digits[24];
  std::snprintf(digits, sizeof digits, "%zu", n);
  appendAscii(out, digits);
}

// Unicode's space separators (Zs).
bool isBlank(char32_t c) {
  return c == 0x20 || c == 0xA0 || c == 0x1680 || (c >= 0x2000 && c <= 0x200A) || c == 0x202F || c == 0x205F ||
         c == 0x3000;
}

// One thing shown: a character, or a run of blanks shown as its length.
struct Piece {
  char32_t character;
  size_t blanks;  // 0 for a character
};

std::vector<Piece> pieces(const std::vector<char32_t>& points) {
  std::vector<Piece> shown;
  for (size_t i = 0; i < points.size();) {
    size_t run = i;
    while (run < points.size() && isBlank(points[run])) ++run;
    if (run - i > static_cast<size_t>(kShownBlankRun)) {
      shown.push_back({0, run - i});
      i = run;
    } else {
      shown.push_back({points[i], 0});
      ++i;
    }
  }
  return shown;
}

void appendShown(std::u16string& out, const std::vector<Piece>& shown, size_t begin, size_t end) {
  for (size_t i = begin; i < end; ++i) {
    if (shown[i].blanks > 0) {
      out += u" （空白 ";
      appendNumber(out, shown[i].blanks);
      out += u" 文字）";
    } else if (isHiddenCharacter(shown[i].character)) {
      char code[16];
      std::snprintf(code, sizeof code, "<U+%04X>", static_cast<unsigned>(shown[i].character));
      appendAscii(out, code);
    } else {
      append(out, shown[i].character);
    }
  }
}

}  // namespace

bool isHiddenCharacter(char32_t c) {
  // Cc
  if (c < 0x20 || (c >= 0x7F && c <= 0x9F)) return true;
  // Cs left unpaired, Zl and Zp
  if ((c >= 0xD800 && c <= 0xDFFF) || c == 0x2028 || c == 0x2029) return true;
  // Cf
  static const char32_t kFormat[][2] = {
      {0xAD, 0xAD},       {0x600, 0x605},     {0x61C, 0x61C},     {0x6DD, 0x6DD},     {0x70F, 0x70F},
      {0x890, 0x891},     {0x8E2, 0x8E2},     {0x180E, 0x180E},   {0x200B, 0x200F},   {0x202A, 0x202E},
      {0x2060, 0x2064},   {0x2066, 0x206F},   {0xFEFF, 0xFEFF},   {0xFFF9, 0xFFFB},   {0x110BD, 0x110BD},
      {0x110CD, 0x110CD}, {0x13430, 0x1343F}, {0x1BCA0, 0x1BCA3}, {0x1D173, 0x1D17A}, {0xE0001, 0xE0001},
      {0xE0020, 0xE007F},
  };
  for (const auto& range : kFormat) {
    if (c >= range[0] && c <= range[1]) return true;
  }
  return false;
}

String shownText(const String& text) {
  const std::vector<char32_t> points = codePoints(text.str());
  // Blank runs first: a long one alone then needs no cut.
  const std::vector<Piece> shown = pieces(points);
  std::u16string out;
  if (shown.size() <= static_cast<size_t>(kShownLimit)) {
    appendShown(out, shown, 0, shown.size());
    return String(out);
  }
  appendShown(out, shown, 0, kShownEnds);
  out += u"…（全 ";
  appendNumber(out, points.size());
  out += u" 文字）";
  appendShown(out, shown, shown.size() - kShownEnds, shown.size());
  return String(out);
}
