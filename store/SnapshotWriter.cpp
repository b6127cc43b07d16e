#include "store/SnapshotWriter.h"

#include <stdexcept>
#include <thread>

#include "base/Utf8.h"
#include "platform/FileOps.h"
#include "platform/Platform.h"
#include "store/SaverFileSystem.h"

namespace vellumio {

namespace {

bool IsSeparator(char16_t c) { return c == u'/' || c == u'\\'; }

[[noreturn]] void ThrowStep(const std::u16string& path, const char* step, const std::exception& e) {
  throw std::runtime_error("Cannot save \"" + ToUtf8(path) + "\": " + step + " failed (" +
                           e.what() + ")");
}

// The temporary file is complete and on the disk before anything happens
// to the database file; the handle is closed before the move because
// Windows (and Wine) refuse to move a file that is open.
void WriteTemporary(ISaverFileSystem& files, const std::u16string& temp, const std::u16string& path,
                    const std::vector<uint8_t>& bytes) {
  std::unique_ptr<ISaverFile> file;
  try {
    file = files.Create(temp);
  } catch (const std::exception& e) {
    ThrowStep(path, "creating the temporary file", e);
  }
  const char* step = "writing the temporary file";
  try {
    file->Write(bytes.data(), bytes.size());
    step = "flushing the temporary file";
    file->Flush();
    step = "closing the temporary file";
    file->Close();
  } catch (const std::exception& e) {
    file.reset();
    files.Remove(temp);
    ThrowStep(path, step, e);
  }
}

void MoveIntoPlace(ISaverFileSystem& files, const std::u16string& temp, const std::u16string& path,
                   const MoveRetry& retry) {
  for (int attempt = 1;; ++attempt) {
    try {
      files.MoveReplacing(temp, path);
      return;
    } catch (const platform::FileBusyError& e) {
      if (attempt >= retry.attempts) ThrowStep(path, "replacing the database file", e);
    } catch (const std::exception& e) {
      ThrowStep(path, "replacing the database file", e);
    }
    std::this_thread::sleep_for(retry.delay);
  }
}

}  // namespace

std::u16string TempSavePath(const std::u16string& path) {
  size_t nameStart = path.size();
  while (nameStart > 0 && !IsSeparator(path[nameStart - 1])) --nameStart;
  const size_t dot = path.rfind(u'.');
  const bool hasExtension = dot != std::u16string::npos && dot >= nameStart;
  return (hasExtension ? path.substr(0, dot) : path) + u".$sbn";
}

void WriteSnapshotFile(ISaverFileSystem& files, const std::u16string& path,
                       const std::vector<uint8_t>& bytes, const MoveRetry& retry) {
  const std::u16string temp = TempSavePath(path);
  try {
    files.CreateFolders(platform::ExtractFileDir(temp));
  } catch (const std::exception& e) {
    ThrowStep(path, "creating the folder", e);
  }
  WriteTemporary(files, temp, path, bytes);
  MoveIntoPlace(files, temp, path, retry);
}

}  // namespace vellumio
