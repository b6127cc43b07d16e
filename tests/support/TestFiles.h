// Scratch folders and small file helpers for the tests that touch the disk.
#pragma once

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>
#include <set>
#include <stdexcept>
#include <string>

namespace vellumio::test {

// A fresh folder for one test, removed afterwards (made writable first, in
// case a test took the write permission away).
class TempFolder {
public:
  explicit TempFolder(const std::string& prefix = "vellumio-test-") {
    std::random_device random;
    path_ = std::filesystem::temp_directory_path() /
            (prefix + std::to_string(random()) + std::to_string(random()));
    std::filesystem::create_directories(path_);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                 std::filesystem::perm_options::add, ignored);
    std::filesystem::remove_all(path_, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Root() const { return path_; }
  std::filesystem::path Path(const std::string& name = {}) const {
    return name.empty() ? path_ : path_ / name;
  }
  std::u16string U(const std::string& name = {}) const { return Path(name).u16string(); }

private:
  std::filesystem::path path_;
};

inline std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

inline void WriteText(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

inline std::set<std::string> Entries(const std::filesystem::path& folder) {
  std::set<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(folder))
    names.insert(entry.path().filename().string());
  return names;
}

// The message of the std::runtime_error the action throws.
inline std::string ErrorOf(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::runtime_error& e) {
    return e.what();
  }
  return "(no error)";
}

}  // namespace vellumio::test
