#pragma once

#include "base/string.h"

// Text from a file, made safe to show in a question: what the user reads is
// what the text holds, and the box stays on the screen.

// Longer texts show their first and last kShownEnds characters.
constexpr int kShownLimit = 500;
constexpr int kShownEnds = 200;
// A run of more blanks than this shows as one blank and its length.
constexpr int kShownBlankRun = 4;

// Control and format characters (Unicode Cc and Cf: the direction marks and
// embeddings among them), line and paragraph separators and unpaired
// surrogates as "<U+202E>"; a run of more than kShownBlankRun blanks as one
// blank and "（空白 N 文字）"; then, when more than kShownLimit characters and
// runs remain, their first and last kShownEnds with "…（全 N 文字）" between (N
// counts the text's own characters).
Ostra::String shownText(const Ostra::String& text);

// True for the characters shownText writes as "<U+XXXX>".
bool isHiddenCharacter(char32_t c);
