// Deterministic databases of any size: note texts drawn from a mixed
// vocabulary (Latin, accented, Greek, Cyrillic, CJK and a few characters
// outside the Basic Multilingual Plane), with subjects, reminders and line
// breaks on a share of the notes. The same seed always gives the same bytes.
#pragma once

#include <cstdint>

#include "tests/support/DatabaseImage.h"

namespace vellumio::testdata {

struct GeneratorOptions {
  uint64_t seed = 1;
  int listCount = 4;
  int noteCount = 100;
  // Average note text length in UTF-16 code units (lengths vary from a
  // tenth to about twice this).
  int averageTextLength = 400;
  int subjectPercent = 25;
  int reminderPercent = 10;
  // Share of words taken from the non-ASCII part of the vocabulary.
  int nonAsciiPercent = 10;
  int32_t firstUid = 1000000;
};

DatabaseImage GenerateDatabase(const GeneratorOptions& options);

}  // namespace vellumio::testdata
