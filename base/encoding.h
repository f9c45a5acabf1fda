#pragma once

#include <string>

#include "base/string.h"

namespace Ostra {

// Conversion between String and narrow text in the system's ANSI code page
// (on POSIX, the locale's character set).  Conversions never throw: a failed
// one gives no bytes or an empty text.
class Encoding {
 public:
  Encoding() = default;
  Encoding(const Encoding&) = delete;
  Encoding& operator=(const Encoding&) = delete;
  virtual ~Encoding() = default;

  // Bytes written, at most byteCapacity; 0 on failure or when charCount <= 0.
  // Characters the code page cannot hold become its default character.
  virtual int encodeChars(const char16_t* chars, int charCount, char* bytes, int byteCapacity) = 0;
  virtual int maxByteCount(int charCount) = 0;
  virtual int maxCharCount(int byteCount) = 0;
  // count <= 0: emptyString(); a failed conversion: a new empty text.
  virtual String decodeBytes(const std::string& bytes, int index, int count) = 0;
  virtual bool query(int what) = 0;

  std::string encode(const String& text);
  std::string encode(const String& text, int index, int count);
  String decode(const std::string& bytes);
};

// The one process-wide encoding, created on first use.
Encoding& defaultEncoding();

}  // namespace Ostra
