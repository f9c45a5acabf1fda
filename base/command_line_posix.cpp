#include <fstream>
#include <iterator>

#include "base/command_line.h"

namespace Ostra {

String commandLine() {
  // The kernel keeps the arguments NUL-separated; quote the ones that
  // splitCommandLine would otherwise cut or lose.
  std::ifstream in("/proc/self/cmdline", std::ios::binary);
  const std::string all((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::u16string line;
  size_t at = 0;
  while (at < all.size()) {
    size_t end = all.find('\0', at);
    if (end == std::string::npos) end = all.size();
    const std::u16string argument = fromUtf8(all.substr(at, end - at)).str();
    if (!line.empty()) line += u' ';
    const bool quote = argument.empty() || argument.find_first_of(u" \t\n\v\f\r") != std::u16string::npos;
    if (quote) line += u'"';
    line += argument;
    if (quote) line += u'"';
    at = end + 1;
  }
  return String(std::move(line));
}

}  // namespace Ostra
