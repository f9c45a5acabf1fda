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

// Lets a short input stand for a long one, so that every run also meets
// inputs of a few hundred KB: when the first byte is 0xF0 or more, the rest is
// repeated 2^(its low four bits) times, up to kGrownLimit bytes.  Any other
// input is taken as it is.
constexpr std::size_t kGrownLimit = 512 * 1024;

inline std::string grown(const std::uint8_t* data, std::size_t size) {
  if (size == 0 || data[0] < 0xF0) return std::string(reinterpret_cast<const char*>(data), size);
  const std::string body(reinterpret_cast<const char*>(data) + 1, size - 1);
  std::string bytes;
  if (body.empty()) return bytes;
  for (std::size_t times = std::size_t{1} << (data[0] & 0x0F); times > 0 && bytes.size() < kGrownLimit; --times) {
    bytes += body;
  }
  if (bytes.size() > kGrownLimit) bytes.resize(kGrownLimit);
  return bytes;
}

inline std::u16string unitsOf(const std::string& bytes) {
  return unitsOf(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// The library turns hardware faults into exceptions; under the fuzzer they
// must stay crashes, for it to catch them.
inline void keepFaultsAsCrashes() {
  for (const int signal : {SIGFPE, SIGILL, SIGSEGV, SIGBUS}) std::signal(signal, SIG_DFL);
}

}  // namespace Ostra::fuzzing
