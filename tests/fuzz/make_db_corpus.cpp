// Writes the seed corpus of db_reader_fuzz: small databases in every record
// version the reader accepts, so that fuzzing starts from each branch of it.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "tests/support/DatabaseGenerator.h"
#include "tests/support/RecordWriter.h"

namespace {

using namespace vellumio::testdata;

void WriteFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

DatabaseImage SmallDatabase(uint64_t seed, int lists, int notes) {
  GeneratorOptions o;
  o.seed = seed;
  o.listCount = lists;
  o.noteCount = notes;
  o.averageTextLength = 24;
  o.subjectPercent = 50;
  o.reminderPercent = 50;
  o.nonAsciiPercent = 30;
  return GenerateDatabase(o);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_db_corpus FOLDER\n");
    return 2;
  }
  std::filesystem::path folder = argv[1];
  std::filesystem::create_directories(folder);
  // database, list, note, reminder versions
  const RecordVersions versions[] = {
      {4, 3, 8, 2}, {4, 3, 7, 2}, {4, 3, 6, 1}, {3, 3, 5, 2}, {3, 2, 4, 1}, {2, 2, 3, 1},
      {2, 1, 2, 2}, {1, 1, 1, 1}, {1, 0, 0, 1}, {0, 0, 8, 2}, {4, 4, 8, 2},
  };
  int index = 0;
  for (const RecordVersions& v : versions) {
    std::string name = "db" + std::to_string(v.database) + "-list" + std::to_string(v.list) +
                       "-note" + std::to_string(v.note) + "-rem" + std::to_string(v.reminder) +
                       ".sbn";
    WriteFile(folder / name, WriteDatabase(SmallDatabase(++index, 2, 3), v));
  }
  WriteFile(folder / "no-lists.sbn", WriteDatabase(DatabaseImage{}));
  WriteFile(folder / "one-empty-list.sbn", WriteDatabase(SmallDatabase(99, 1, 0)));
  return 0;
}
