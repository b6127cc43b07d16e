#include "config/StartupLink.h"

#include <stdexcept>

namespace vellumio {

#ifndef _WIN32
namespace {

class TUnsupportedStartupLink final : public TStartupLink {
public:
  bool Supported() const override { return false; }
  bool Exists() const override { return false; }
  void Create() override {
    throw std::runtime_error("Starting with the system is not supported on this platform");
  }
  void Remove() override {}
};

}  // namespace

std::unique_ptr<TStartupLink> MakeSystemStartupLink() {
  return std::make_unique<TUnsupportedStartupLink>();
}
#endif

}  // namespace vellumio
