// The shortcut "Vellumio.lnk" in the user's Startup folder that makes the
// system start the program at log-on. Windows has it (a shell link to the
// program's own executable); the native build has no such thing and says so.
#pragma once

#include <memory>
#include <string>

namespace vellumio {

class TStartupLink {
public:
  virtual ~TStartupLink() = default;
  // False where there is no Startup folder to put a link into.
  virtual bool Supported() const = 0;
  virtual bool Exists() const = 0;
  // Creates the link to the running executable, replacing an existing one;
  // throws std::runtime_error on failure (and where it is not supported).
  virtual void Create() = 0;
  // Deletes the link; a missing one is no error.
  virtual void Remove() = 0;
};

// The link of this system: in the Startup folder on Windows, unsupported in
// the native build.
std::unique_ptr<TStartupLink> MakeSystemStartupLink();

#ifdef _WIN32
// A link in the given folder instead of the Startup folder (for tests).
std::unique_ptr<TStartupLink> MakeStartupLinkIn(const std::u16string& folder);
#endif

}  // namespace vellumio
