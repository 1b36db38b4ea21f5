// Text written once in ASCII and handed to each host in its own character
// type: the names and English texts every interface shares.
#pragma once

#include <cstddef>

template <class Char, size_t N>
struct AsciiText {
  Char units[N];  // NUL-terminated, as the ASCII was
};

template <class Char, size_t N>
constexpr AsciiText<Char, N> Widen(const char (&ascii)[N]) {
  AsciiText<Char, N> text{};
  for (size_t i = 0; i < N; ++i) text.units[i] = static_cast<Char>(ascii[i]);
  return text;
}

// kAscii in Char, kept once in the module's constant data.
template <class Char, const auto& kAscii>
inline constexpr auto kTextIn = Widen<Char>(kAscii);
