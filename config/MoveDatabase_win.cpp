// The move's steps on Windows.
#include <windows.h>

#include "config/MoveDatabase.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"
#include "platform/Win32Text_win.h"
#include "store/DatabaseRestore.h"

namespace vellumio {

namespace {

using platform::win::W;

class TSystemMoveSteps final : public IMoveSteps {
public:
  bool Move(const std::u16string& from, const std::u16string& to, bool replace) override {
    // No MOVEFILE_COPY_ALLOWED: a move to another drive goes through the
    // checked copy of MoveDatabaseFile instead of the system's unchecked one.
    return MoveFileExW(W(from), W(to), replace ? MOVEFILE_REPLACE_EXISTING : 0) != 0;
  }
  bool Exists(const std::u16string& path) override { return platform::FileExists(path); }
  void ClearReadOnly(const std::u16string& path) override {
    const DWORD attributes = GetFileAttributesW(W(path));
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY))
      SetFileAttributesW(W(path), attributes & ~FILE_ATTRIBUTE_READONLY);
  }
  void Copy(const std::u16string& from, const std::u16string& to) override {
    platform::CopyFileReplacing(from, to);
  }
  bool CopyReadsBack(const std::u16string& from, const std::u16string& to) override {
    return IsWholeCopy(from, to);
  }
  void Delete(const std::u16string& path) override { platform::DeleteFileIfExists(path); }
};

}  // namespace

IMoveSteps& SystemMoveSteps() {
  static TSystemMoveSteps steps;
  return steps;
}

}  // namespace vellumio
