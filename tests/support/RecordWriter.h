// Writes a DatabaseImage as the bytes of a database file, in any of the
// record versions the program has ever written. The store itself writes only
// the newest versions; this writer is how tests and the benchmark get files
// of the older ones.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "tests/support/DatabaseImage.h"

namespace vellumio {
class TStream;
}

namespace vellumio::testdata {

struct RecordVersions {
  int32_t database = 4;   // 0 ... 4
  int32_t list = 3;       // 0 ... 3 (4 and above: nothing after the name)
  int32_t note = 8;       // 0 ... 8
  uint32_t reminder = 2;  // 1 or 2
};

// Any 51-byte text will do: readers ignore the header's content.
inline constexpr std::string_view kTestHeader =
    "Vellumio, test data writer [PROJECT FILE]          ";

void WriteReminder(TStream& stream, const ReminderImage& reminder, uint32_t version);
// Writes every note, empty ones included (the store would skip those).
void WriteNote(TStream& stream, const NoteImage& note, const RecordVersions& versions);
void WriteList(TStream& stream, const ListImage& list, const RecordVersions& versions);
std::vector<uint8_t> WriteDatabase(const DatabaseImage& image, const RecordVersions& versions = {},
                                   std::string_view header = kTestHeader);

}  // namespace vellumio::testdata
