#include "bench/SqliteBaseline.h"

#include <sqlite3.h>

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "base/Utf8.h"

namespace vellumio::bench {

namespace {

// What a program keeps of a row after reading it.
struct NoteRow {
  int64_t uid = 0, list = 0;
  double created = 0, startTime = 0, nextTime = 0;
  int found = 0, completed = 0, active = 0, kind = 0, interval = 0, unit = 0;
  std::string text, subject, soundFile;
};

class Statement {
public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &stmt_, nullptr) != SQLITE_OK) {
      throw std::runtime_error(std::string("sqlite: ") + sqlite3_errmsg(db));
    }
  }
  ~Statement() { sqlite3_finalize(stmt_); }
  sqlite3_stmt* get() const { return stmt_; }

private:
  sqlite3_stmt* stmt_ = nullptr;
};

std::string Column(sqlite3_stmt* s, int i) {
  const unsigned char* text = sqlite3_column_text(s, i);
  return text ? std::string(reinterpret_cast<const char*>(text),
                            static_cast<size_t>(sqlite3_column_bytes(s, i)))
              : std::string();
}

void BindNote(sqlite3_stmt* s, const testdata::NoteImage& n, int64_t list) {
  std::string text = ToUtf8(n.text), subject = ToUtf8(n.subject);
  sqlite3_bind_int64(s, 1, n.uid);
  sqlite3_bind_int64(s, 2, list);
  sqlite3_bind_double(s, 3, n.created);
  sqlite3_bind_text(s, 4, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
  sqlite3_bind_text(s, 5, subject.data(), static_cast<int>(subject.size()), SQLITE_TRANSIENT);
  sqlite3_bind_int(s, 6, n.found);
  sqlite3_bind_int(s, 7, n.completed);
  sqlite3_bind_int(s, 8, n.reminder.active);
  sqlite3_bind_double(s, 9, n.reminder.startTime);
  sqlite3_bind_double(s, 10, n.reminder.nextTime);
  sqlite3_bind_int(s, 11, n.reminder.kind);
  sqlite3_bind_int(s, 12, n.reminder.interval);
  sqlite3_bind_int(s, 13, n.reminder.intervalUnit);
  sqlite3_bind_text(s, 14, n.reminder.soundFile.data(),
                    static_cast<int>(n.reminder.soundFile.size()), SQLITE_TRANSIENT);
}

}  // namespace

SqliteBaseline::SqliteBaseline(const std::string& path, const testdata::DatabaseImage& image) {
  std::remove(path.c_str());
  if (sqlite3_open(path.c_str(), &db_) != SQLITE_OK)
    throw std::runtime_error("sqlite: cannot open " + path);
  Exec("PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF;");
  Exec(
      "CREATE TABLE notes (uid INTEGER PRIMARY KEY, list INTEGER, created REAL, text TEXT, subject "
      "TEXT,"
      " found INTEGER, completed INTEGER, active INTEGER, start_time REAL, next_time REAL, kind "
      "INTEGER,"
      " interval INTEGER, unit INTEGER, sound_file TEXT)");
  Fill(image);
}

SqliteBaseline::~SqliteBaseline() { sqlite3_close(db_); }

void SqliteBaseline::Exec(const char* sql) const {
  char* message = nullptr;
  if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) != SQLITE_OK) {
    std::string text = message ? message : "?";
    sqlite3_free(message);
    throw std::runtime_error("sqlite: " + text);
  }
}

void SqliteBaseline::Fill(const testdata::DatabaseImage& image) {
  Exec("BEGIN");
  Statement insert(
      db_,
      "INSERT INTO notes VALUES (?1, ?2, ?3, ?4, ?5, ?6, ?7, ?8, ?9, ?10, ?11, ?12, ?13, ?14)");
  for (size_t l = 0; l < image.lists.size(); ++l) {
    for (const testdata::NoteImage& note : image.lists[l].notes) {
      BindNote(insert.get(), note, static_cast<int64_t>(l));
      if (sqlite3_step(insert.get()) != SQLITE_DONE)
        throw std::runtime_error("sqlite: insert failed");
      sqlite3_reset(insert.get());
    }
  }
  Exec("COMMIT");
}

size_t SqliteBaseline::ReadAllNotes() const {
  Statement select(db_,
                   "SELECT uid, list, created, text, subject, found, completed, active, start_time,"
                   " next_time, kind, interval, unit, sound_file FROM notes");
  std::vector<NoteRow> rows;
  sqlite3_stmt* s = select.get();
  while (sqlite3_step(s) == SQLITE_ROW) {
    NoteRow& r = rows.emplace_back();
    r.uid = sqlite3_column_int64(s, 0);
    r.list = sqlite3_column_int64(s, 1);
    r.created = sqlite3_column_double(s, 2);
    r.text = Column(s, 3);
    r.subject = Column(s, 4);
    r.found = sqlite3_column_int(s, 5);
    r.completed = sqlite3_column_int(s, 6);
    r.active = sqlite3_column_int(s, 7);
    r.startTime = sqlite3_column_double(s, 8);
    r.nextTime = sqlite3_column_double(s, 9);
    r.kind = sqlite3_column_int(s, 10);
    r.interval = sqlite3_column_int(s, 11);
    r.unit = sqlite3_column_int(s, 12);
    r.soundFile = Column(s, 13);
  }
  return rows.size();
}

int64_t SqliteBaseline::CountLike(const std::string& word) const {
  Statement count(db_, "SELECT count(*) FROM notes WHERE text LIKE ?1 OR subject LIKE ?1");
  std::string pattern = "%" + word + "%";
  sqlite3_bind_text(count.get(), 1, pattern.data(), static_cast<int>(pattern.size()),
                    SQLITE_TRANSIENT);
  if (sqlite3_step(count.get()) != SQLITE_ROW) throw std::runtime_error("sqlite: count failed");
  return sqlite3_column_int64(count.get(), 0);
}

}  // namespace vellumio::bench
