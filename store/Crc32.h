// CRC-32 (the reflected 0xEDB88320 polynomial of zip and PNG). The restore
// search uses it to tell most different previews apart without comparing
// them character by character.
#pragma once

#include <cstddef>
#include <cstdint>

namespace vellumio {

// `previous` continues a CRC over data given in pieces (0 to start).
uint32_t Crc32(const void* data, size_t size, uint32_t previous = 0);

}  // namespace vellumio
