#include "store/SaveFailure.h"

#include "store/NoteListCollection.h"

namespace vellumio {

void TDatabaseSaveFailure::SaveFailed(const std::u16string& path, const std::string& message) {
  database_.SetErrorState(2);
  database_.Changed(true);
  if (next_) next_->SaveFailed(path, message);
}

}  // namespace vellumio
