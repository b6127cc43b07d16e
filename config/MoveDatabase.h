// Moving the database file to another place (the settings dialog's Move
// button). A plain move is tried first; where it cannot work (another
// drive, a read-only source) the file is copied and the source deleted, but
// only once the copy is known to be a whole database: the file moved is
// the user's only copy of the notes.
#pragma once

#include <string>

namespace vellumio {

// The file-system steps of a move, so that the order of the steps and the
// handling of each failure can be checked with failures injected.
class IMoveSteps {
public:
  virtual ~IMoveSteps() = default;
  // A plain move (rename); `replace` allows replacing an existing target.
  // False when it did not work.
  virtual bool Move(const std::u16string& from, const std::u16string& to, bool replace) = 0;
  virtual bool Exists(const std::u16string& path) = 0;
  virtual void ClearReadOnly(const std::u16string& path) = 0;
  // Copies, replacing the target; throws std::runtime_error on failure.
  virtual void Copy(const std::u16string& from, const std::u16string& to) = 0;
  // True when the copy is whole: as long as the source and reading back as
  // a database.
  virtual bool CopyReadsBack(const std::u16string& from, const std::u16string& to) = 0;
  // Throws std::runtime_error on failure.
  virtual void Delete(const std::u16string& path) = 0;
};

enum class TMoveOutcome {
  kMoved,       // the file is at the target and no longer at the source
  kSourceKept,  // copied, but the source could not be deleted: both exist
};

// Moves `from` to `to`. An existing target is replaced only when
// `replaceConfirmed` (the user answered Yes); otherwise, and on every
// failure, std::runtime_error tells why, and the source is untouched.
TMoveOutcome MoveDatabaseFile(IMoveSteps& steps, const std::u16string& from,
                              const std::u16string& to, bool replaceConfirmed);

// The same file named twice (letter case ignored, as the file system does).
bool SamePath(const std::u16string& a, const std::u16string& b);

#ifdef _WIN32
// The real steps: the file system's wide calls (a path may hold characters
// outside the ANSI code page), and the database reader to check a copy.
IMoveSteps& SystemMoveSteps();
#endif

}  // namespace vellumio
