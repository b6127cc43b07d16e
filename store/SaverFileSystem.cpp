#include "store/SaverFileSystem.h"

#include "platform/FileOps.h"
#include "platform/Platform.h"

namespace vellumio {

namespace {

class TRealFile final : public ISaverFile {
public:
  explicit TRealFile(std::unique_ptr<platform::FileWriter> file) : file_(std::move(file)) {}
  void Write(const void* data, size_t size) override { file_->Write(data, size); }
  void Flush() override { file_->Flush(); }
  void Close() override { file_->Close(); }

private:
  std::unique_ptr<platform::FileWriter> file_;
};

class TRealFileSystem final : public ISaverFileSystem {
public:
  void CreateFolders(const std::u16string& folder) override { platform::ForceDirectories(folder); }
  std::unique_ptr<ISaverFile> Create(const std::u16string& path) override {
    return std::make_unique<TRealFile>(platform::CreateOrTruncate(path));
  }
  void MoveReplacing(const std::u16string& from, const std::u16string& to) override {
    platform::MoveFileReplacing(from, to);
  }
  void Remove(const std::u16string& path) override {
    // Only a file: the name may belong to a folder that is not ours.
    if (!platform::FileExists(path)) return;
    try {
      platform::DeleteFileIfExists(path);
    } catch (const std::exception&) {
    }
  }
};

}  // namespace

ISaverFileSystem& RealSaverFileSystem() {
  static TRealFileSystem files;
  return files;
}

}  // namespace vellumio
