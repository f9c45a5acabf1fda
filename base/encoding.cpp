#include "base/encoding.h"

#include <vector>

namespace Ostra {

std::string Encoding::encode(const String& text) { return encode(text, 0, text.length()); }

std::string Encoding::encode(const String& text, int index, int count) {
  const int capacity = maxByteCount(count);
  if (capacity <= 0) return std::string();
  std::vector<char> buffer(static_cast<size_t>(capacity) + 1, '\0');
  const int n = encodeChars(text.c_str() + index, count, buffer.data(), capacity);
  return std::string(buffer.data(), static_cast<size_t>(n > 0 ? n : 0));
}

String Encoding::decode(const std::string& bytes) { return decodeBytes(bytes, 0, static_cast<int>(bytes.size())); }

}  // namespace Ostra
