#include "store/NoteViewLink.h"

namespace vellumio {

namespace {
INoteViewFactory*& Factory() {
  static INoteViewFactory* factory = nullptr;
  return factory;
}
}  // namespace

void SetNoteViewFactory(INoteViewFactory* factory) { Factory() = factory; }
INoteViewFactory* NoteViewFactory() { return Factory(); }

}  // namespace vellumio
