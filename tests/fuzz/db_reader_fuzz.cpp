// libFuzzer target for the database reader: any bytes either load or fail
// with EDatabaseError; whatever loads must write out, read back and write
// out again to the very same bytes. Any other exception escapes and counts
// as a finding, as do crashes, sanitizer reports and oversized allocations
// (run with -rss_limit_mb=512 -malloc_limit_mb=256).
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "base/Errors.h"
#include "base/Stream.h"
#include "store/uNotesList.h"

namespace {

using vellumio::TNoteListCollection;

// The full instance is the main database that hands out identities; it
// lives for the whole run, as in the program.
TNoteListCollection& MainDatabase() {
  static TNoteListCollection* db = new TNoteListCollection(false);
  return *db;
}

TNoteListCollection& ScratchDatabase() {
  static TNoteListCollection* db = new TNoteListCollection(true);
  return *db;
}

std::vector<uint8_t> Serialise(TNoteListCollection& db) {
  vellumio::TMemoryStream stream;
  db.SaveToStream(stream);
  return stream.TakeBytes();
}

[[noreturn]] void Finding(const char* what) {
  std::fprintf(stderr, "db_reader_fuzz: %s\n", what);
  std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TNoteListCollection& db = MainDatabase();
  try {
    vellumio::TBufferReader input(data, size);
    db.LoadFromStream(input);
  } catch (const vellumio::EDatabaseError&) {
    return 0;  // a damaged file, reported as such: expected
  }
  std::vector<uint8_t> first = Serialise(db);

  TNoteListCollection& copy = ScratchDatabase();
  try {
    vellumio::TBufferReader reader(first.data(), first.size());
    copy.LoadFromStream(reader);
  } catch (const vellumio::EDatabaseError& e) {
    std::fprintf(stderr, "reason: %s\n", e.Reason().c_str());
    Finding("a database written by the program does not read back");
  }
  if (Serialise(copy) != first) Finding("the second serialisation differs from the first");
  return 0;
}
