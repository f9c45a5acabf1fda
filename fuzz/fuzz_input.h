#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

// What every fuzz target does with the fuzzer's input and at its start.
namespace Ostra::fuzzing {

// The input as UTF-16LE code units; an odd last byte is dropped.
inline std::u16string unitsOf(const std::uint8_t* data, std::size_t size) {
  std::u16string units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
  return units;
}

// Lets a short input stand for a long one, so that the targets also meet
// inputs of a few hundred KB: an input that starts with FF and a count byte C
// below 16 (so never a UTF-16 mark) stands for the rest repeated 2^C times,
// up to kGrownLimit bytes.
// Rare on purpose (a long input costs a thousand short ones); the seeds hold
// one of each target.  Any other input is taken as it is.
constexpr std::size_t kGrownLimit = 300 * 1024;

inline std::string grown(const std::uint8_t* data, std::size_t size) {
  if (size < 2 || data[0] != 0xFF || data[1] >= 16) return std::string(reinterpret_cast<const char*>(data), size);
  const std::string body(reinterpret_cast<const char*>(data) + 2, size - 2);
  std::string bytes;
  if (body.empty()) return bytes;
  for (std::size_t times = std::size_t{1} << data[1]; times > 0 && bytes.size() < kGrownLimit; --times) {
    bytes += body;
  }
  if (bytes.size() > kGrownLimit) bytes.resize(kGrownLimit);
  return bytes;
}

inline std::u16string unitsOf(const std::string& bytes) {
  return unitsOf(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
}

// The units cut at U+0001 into `count` pieces, the last taking the rest;
// missing pieces are empty.
inline std::vector<std::u16string> piecesOf(const std::u16string& units, std::size_t count) {
  std::vector<std::u16string> pieces;
  std::size_t start = 0;
  while (pieces.size() + 1 < count) {
    const std::size_t end = units.find(u'\x01', start);
    if (end == std::u16string::npos) break;
    pieces.push_back(units.substr(start, end - start));
    start = end + 1;
  }
  pieces.push_back(units.substr(std::min(start, units.size())));
  pieces.resize(count);
  return pieces;
}

// A rule of the code under test: a broken one ends the run as a crash, with
// the rule's text, for the fuzzer to keep the input.
inline void require(bool holds, const char* what) {
  if (holds) return;
  std::fprintf(stderr, "broken: %s\n", what);
  std::abort();
}

}  // namespace Ostra::fuzzing
