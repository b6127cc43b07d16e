// The database every store benchmark measures: the same generator settings,
// so that figures of the different benchmarks can be compared.
#pragma once

#include "tests/support/DatabaseGenerator.h"

namespace vellumio::bench {

inline testdata::DatabaseImage BenchDatabaseImage(int notes, int lists = 8) {
  testdata::GeneratorOptions o;
  o.seed = 20261209;
  o.listCount = lists;
  o.noteCount = notes;
  o.averageTextLength = 470;
  o.subjectPercent = 30;
  o.reminderPercent = 10;
  o.nonAsciiPercent = 5;
  return testdata::GenerateDatabase(o);
}

}  // namespace vellumio::bench
