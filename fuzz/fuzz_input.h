#pragma once

#include <csignal>
#include <cstddef>
#include <cstdint>
#include <string>

// What every fuzz target does with the fuzzer's input and at its start.
namespace Ostra::fuzzing {

// The input as UTF-16LE code units; an odd last byte is dropped.
inline std::u16string unitsOf(const std::uint8_t* data, std::size_t size) {
  std::u16string units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  return units;
}

// The library turns hardware faults into exceptions; under the fuzzer they
// must stay crashes, for it to catch them.
inline void keepFaultsAsCrashes() {
  for (const int signal : {SIGFPE, SIGILL, SIGSEGV, SIGBUS}) std::signal(signal, SIG_DFL);
}

}  // namespace Ostra::fuzzing
