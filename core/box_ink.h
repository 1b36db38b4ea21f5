// The two colours of the speed search's box: each gateway maps them to its
// host's palette.
#pragma once

#include <cstdint>

enum class Ink { kFrame, kField };

// The console attributes of a box whose host gives no palette: black on
// white for the frame, black on cyan for the field.
constexpr uint8_t FallbackAttribute(Ink ink) {
  return ink == Ink::kFrame ? 0x70 : 0x30;
}
