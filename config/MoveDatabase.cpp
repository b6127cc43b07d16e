#include "config/MoveDatabase.h"

#include <stdexcept>

#include "base/Utf8.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"

namespace vellumio {

namespace {

std::runtime_error Failure(const std::string& what, const std::u16string& path) {
  return std::runtime_error(what + ": " + ToUtf8(path));
}

}  // namespace

bool SamePath(const std::u16string& a, const std::u16string& b) {
  return platform::LowerCase(a) == platform::LowerCase(b);
}

TMoveOutcome MoveDatabaseFile(IMoveSteps& steps, const std::u16string& from,
                              const std::u16string& to, bool replaceConfirmed) {
  if (SamePath(from, to)) return TMoveOutcome::kMoved;
  if (!steps.Exists(from)) throw Failure("The database file does not exist", from);
  if (steps.Exists(to) && !replaceConfirmed) throw Failure("The file already exists", to);
  if (steps.Move(from, to, replaceConfirmed)) return TMoveOutcome::kMoved;

  // The plain move failed (another drive, a read-only source). A copy that
  // fails, or does not read back as a database, must leave the source
  // alone: deleting it would destroy the user's only database.
  steps.ClearReadOnly(from);
  steps.Copy(from, to);
  if (!steps.CopyReadsBack(from, to)) {
    try {
      steps.Delete(to);
    } catch (const std::exception&) {
      // The broken copy stays; the source is what matters.
    }
    throw Failure("The copy of the database cannot be read", to);
  }
  try {
    steps.Delete(from);
  } catch (const std::exception&) {
    return TMoveOutcome::kSourceKept;
  }
  return TMoveOutcome::kMoved;
}

}  // namespace vellumio
