// The hand-over from the database to the background saver. The database
// serialises itself on the main thread and passes the bytes here; the saver
// thread writes them. Facts the saver needs about the database are taken on
// the main thread with the snapshot, so that the worker never reads the live
// model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vellumio {

struct SnapshotFacts {
  int32_t listCount = 0;
  int32_t noteCount = 0;  // notes in all lists, empty ones included
  // One list without notes: such a state does not replace a backup.
  bool singleEmptyList() const { return listCount == 1 && noteCount == 0; }
};

class ISnapshotSaver {
public:
  virtual ~ISnapshotSaver() = default;
  // Queues the snapshot; an older one still queued is dropped for it.
  virtual void Enqueue(const std::u16string& path, std::vector<uint8_t> snapshot,
                       const SnapshotFacts& facts) = 0;
  // True when nothing is queued and nothing is being written.
  virtual bool IsIdle() const = 0;
};

}  // namespace vellumio
