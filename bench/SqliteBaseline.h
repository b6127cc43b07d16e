// The comparison the store is measured against: the same notes in one
// SQLite table on disk, read and searched through the C API the ordinary
// way (prepared statements, page cache warm).
#pragma once

#include <cstdint>
#include <string>

#include "tests/support/DatabaseImage.h"

struct sqlite3;

namespace vellumio::bench {

class SqliteBaseline {
public:
  // Creates (replacing) the database file and fills the table.
  SqliteBaseline(const std::string& path, const testdata::DatabaseImage& image);
  ~SqliteBaseline();
  SqliteBaseline(const SqliteBaseline&) = delete;
  SqliteBaseline& operator=(const SqliteBaseline&) = delete;

  // SELECT of every row, the text columns copied out; returns the rows read.
  size_t ReadAllNotes() const;
  // count(*) of the notes whose text or subject is LIKE '%word%'.
  int64_t CountLike(const std::string& word) const;

private:
  void Exec(const char* sql) const;
  void Fill(const testdata::DatabaseImage& image);

  sqlite3* db_ = nullptr;
};

}  // namespace vellumio::bench
