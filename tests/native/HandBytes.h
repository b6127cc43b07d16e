// Builds record bytes by hand, field by field, for the format tests. It
// knows nothing of the store's classes on purpose: the tests compare what
// the store reads and writes against bytes written out independently.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace vellumio::test {

class HandBytes {
public:
  HandBytes& i32(int32_t v) { return raw(&v, 4); }
  HandBytes& u32(uint32_t v) { return raw(&v, 4); }
  HandBytes& u16(uint16_t v) { return raw(&v, 2); }
  HandBytes& f64(double v) { return raw(&v, 8); }
  HandBytes& u8(uint8_t v) { return raw(&v, 1); }
  // A stream string with the short (16-bit) length.
  HandBytes& str(std::string_view s) {
    u16(static_cast<uint16_t>(s.size()));
    return raw(s.data(), s.size());
  }
  HandBytes& bytes(const std::vector<uint8_t>& other) {
    b.insert(b.end(), other.begin(), other.end());
    return *this;
  }
  HandBytes& raw(const void* p, size_t n) {
    const auto* c = static_cast<const uint8_t*>(p);
    b.insert(b.end(), c, c + n);
    return *this;
  }
  // Version 1 or 2 reminder record with recognisable values.
  HandBytes& reminder(uint32_t version, uint8_t active = 1, double start = 45000.25,
                      int32_t kind = 2, int32_t interval = 3, int32_t unit = 1) {
    u32(version).u8(active).f64(start).i32(kind).i32(interval).i32(unit).i32(0).i32(5);
    u8(1).str("notepad.exe").u8(1).str("ding.wav");
    for (uint8_t d : {0, 1, 0, 1, 0, 1, 0}) u8(d);
    f64(45001.5);
    if (version == 2) u8(1);
    return *this;
  }
  HandBytes& header51() {
    std::string h = "Vellumio, test [PROJECT FILE]";
    h.resize(51, ' ');
    return str(h);
  }

  std::vector<uint8_t> b;
};

}  // namespace vellumio::test
