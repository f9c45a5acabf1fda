#include "base/command_line.h"

#include <cwctype>

namespace Ostra {

std::vector<String> splitCommandLine() { return splitCommandLine(commandLine()); }

std::vector<String> splitCommandLine(const String& line) {
  std::vector<String> arguments;
  const int length = line.length();
  int at = 0;
  for (;;) {
    while (at < length && std::iswspace(static_cast<wint_t>(line[at]))) ++at;
    if (at >= length) break;
    if (line[at] == u'"') {
      int close = at + 1;
      while (close < length && line[close] != u'"') ++close;
      if (close >= length) {
        // An unclosed quote takes the rest of the line.
        if (at + 1 < length) arguments.push_back(line.substring(at + 1));
        break;
      }
      arguments.push_back(line.substring(at + 1, close - at - 1));
      at = close + 1;
      continue;
    }
    int end = at;
    while (end < length && line[end] != u' ') ++end;
    arguments.push_back(line.substring(at, end - at));
    at = end + 1;
  }
  return arguments;
}

}  // namespace Ostra
