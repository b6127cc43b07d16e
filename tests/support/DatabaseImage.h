// A database described as plain values, independent of the store's classes,
// so that tests, the fuzz corpus and the benchmark can build files byte by
// byte in any record version and compare what the store reads back.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vellumio::testdata {

struct ReminderImage {
  uint8_t active = 0;
  double startTime = 0;
  int32_t kind = 0;
  int32_t interval = 1;
  int32_t intervalUnit = 2;
  int32_t reserved1 = 0;
  int32_t reserved2 = 5;
  uint8_t runProgram = 0;
  std::string programPath;  // ANSI bytes
  uint8_t playSound = 0;
  std::string soundFile;                                 // ANSI bytes
  std::array<uint8_t, 7> weekdays{0, 1, 1, 1, 1, 1, 0};  // Sunday first
  double nextTime = 0;
  uint8_t repeatSound = 0;  // record version 2 only
};

struct NoteImage {
  double created = 0;
  std::u16string text;
  uint8_t found = 0;
  uint8_t completed = 0;
  int32_t reserved = 0;
  ReminderImage reminder;
  std::u16string subject;
  int32_t uid = 0;
  int32_t layoutWidth = 0;
  int32_t lineCount = 3;
};

struct ListImage {
  std::string name;    // ANSI bytes
  std::string scheme;  // scheme file name, ANSI bytes
  uint32_t colour = 0xC0C0C0;
  int32_t uid = 0;
  std::vector<NoteImage> notes;
};

struct DatabaseImage {
  int32_t lastUid = 0;
  int32_t currentList = 0;
  std::array<int32_t, 3> reserved{0, 0, 0};
  std::vector<ListImage> lists;

  size_t NoteCount() const;
};

}  // namespace vellumio::testdata
