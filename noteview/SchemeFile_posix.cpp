#include "noteview/SchemeFile.h"

namespace vellumio {

std::unique_ptr<TProfileReader> OpenProfileFile(const std::u16string& path) {
  return std::make_unique<TIniProfileReader>(path);
}

}  // namespace vellumio
