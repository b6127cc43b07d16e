// One save of a serialised database: the bytes go to a temporary file
// beside the database, reach the disk, and only then replace the database
// file, so that at any moment the database file holds either the previous
// save or the new one, complete.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <vector>

namespace vellumio {

class ISaverFileSystem;

// The temporary file of a save: the extension of the file name replaced by
// ".$sbn" (or ".$sbn" appended when it has none).
std::u16string TempSavePath(const std::u16string& path);

// How long a move refused because another program holds a file is tried
// again (virus scanners and indexers open fresh files for a moment).
struct MoveRetry {
  int attempts = 11;
  std::chrono::milliseconds delay{100};
};

// Writes `bytes` to the temporary file, flushes and closes it, and moves it
// onto `path`. Throws std::runtime_error naming the failed step; `path` is
// untouched then.
void WriteSnapshotFile(ISaverFileSystem& files, const std::u16string& path,
                       const std::vector<uint8_t>& bytes, const MoveRetry& retry = {});

}  // namespace vellumio
