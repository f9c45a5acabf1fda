#pragma once

#include <memory>
#include <string>

namespace Ostra {

// The one text type: a shared handle to immutable UTF-16 text.  Copies share
// the text (one atomic increment, no allocation); every operation that changes
// text builds a new one, so other handles keep seeing the old characters.
// There is no null String: an empty value is a text of length 0.
class String {
 public:
  String();                      // the shared empty text
  String(const char16_t* text);  // up to the terminator
  String(const std::u16string& text);
  String(std::u16string&& text);

  // A text of the units in [begin, end).
  static String fromChars(const char16_t* begin, const char16_t* end);
  // printf conventions for int arguments ("%d", "%02d", " build-%d").
  static String format(const char16_t* pattern, ...);
  static String fromInt(int n);

  int length() const { return static_cast<int>(text_->size()); }
  bool empty() const { return text_->empty(); }
  // Terminated units; valid while any handle keeps the text.
  const char16_t* c_str() const { return text_->c_str(); }
  const std::u16string& str() const { return *text_; }
  char16_t operator[](int i) const { return (*text_)[static_cast<size_t>(i)]; }

  // Same text object, or the same code units.
  bool equals(const String& other) const;
  // True when both handles share one text object.
  bool sharesTextWith(const String& other) const { return text_ == other.text_; }

  String& operator+=(const String& other);
  String& operator+=(const char16_t* other);

  // count <= 0: emptyString(); count >= length(): this text, shared.
  String substring(int pos, int count) const;
  String substring(int pos) const { return substring(pos, length() - pos); }
  // The first maxUnits units, one fewer where the cut would split a surrogate
  // pair; this text, shared, when it is no longer.
  String wholeCharacterPrefix(int maxUnits) const;
  // Without leading white space (iswspace); emptyString() when nothing is left.
  String trimStart() const;
  // Every non-overlapping occurrence, left to right; the pattern is not empty.
  String replaceAll(const String& pattern, const String& replacement) const;

  // wcsncmp over count units from pos against other's start; modes 1, 3 and 5
  // ignore case (wcsnicmp), every other mode compares code units exactly.
  int compareAt(int pos, const String& other, int count, int mode) const;
  // First p in [start, start + count) where pattern matches; -1 when none.
  int find(const String& pattern, int start, int count) const;

  // atoi of the text in the ANSI code page: 0 when there are no digits.
  int toInt() const;
  // The ANSI bytes and a terminator; when they do not fit, as many whole
  // characters as fit in size - 1 bytes (never half a double-byte character).
  void copyToBuffer(char* buffer, int size) const;

 private:
  explicit String(std::shared_ptr<const std::u16string> text) : text_(std::move(text)) {}
  friend const String& emptyString();

  std::shared_ptr<const std::u16string> text_;
};

// The process-wide empty text, shared by every result that is empty.  Built on
// first use, so it serves static initialisers of any file too.
const String& emptyString();

String operator+(const String& a, const String& b);
String operator+(const String& a, const char16_t* b);
String operator+(const char16_t* a, const String& b);

inline bool operator==(const String& a, const String& b) { return a.equals(b); }
inline bool operator!=(const String& a, const String& b) { return !a.equals(b); }
// Lexicographic by code units, a proper prefix first: the key order of maps.
inline bool operator<(const String& a, const String& b) { return a.str() < b.str(); }

// UTF-8 conversions for the places that are UTF-8 by definition (POSIX file
// names, test output).  Unpaired surrogates become U+FFFD.
std::string toUtf8(const String& text);
String fromUtf8(const std::string& bytes);

}  // namespace Ostra
