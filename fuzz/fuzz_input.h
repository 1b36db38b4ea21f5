// What the fuzz targets share: reading their input from the front, and
// stopping at the first broken invariant.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define CHECK(cond)                                                                     \
  do {                                                                                  \
    if (!(cond)) {                                                                      \
      std::fprintf(stderr, "%s:%d: invariant broken: %s\n", __FILE__, __LINE__, #cond); \
      std::abort();                                                                     \
    }                                                                                   \
  } while (0)

// Whatever runs out reads as zeros.
struct Reader {
  const uint8_t* data;
  size_t size;

  uint8_t Byte() {
    if (size == 0) return 0;
    --size;
    return *data++;
  }
  uint16_t U16() { return static_cast<uint16_t>(Byte() | Byte() << 8); }
  uint32_t U32() { return U16() | static_cast<uint32_t>(U16()) << 16; }
  int32_t I32() { return static_cast<int32_t>(U32()); }
  std::string Bytes(size_t n) {
    std::string s;
    while (n-- > 0 && size > 0) s.push_back(static_cast<char>(Byte()));
    return s;
  }
  bool Empty() const { return size == 0; }
};
