// The colours of one colour-scheme file: the note view of each list owns
// one, and the main window one for the program-wide scheme.
#pragma once

#include <cstdint>
#include <string>

#include "noteview/SchemeColor.h"

namespace vellumio {

class TProfileReader;

class TScheme {
public:
  // A scheme with every default colour and no file.
  TScheme();

  // Reads the file; keys that are missing, and the whole file when it is
  // missing, keep their defaults. FileName becomes the file part of `path`.
  void Load(const std::u16string& path);
  // The same from an opened file, for callers that read it another way.
  void LoadFrom(TProfileReader& reader);

  TColor InfoBk0, InfoBk1, InfoFr0, InfoFr1;
  TColor NoteBk0, NoteBk1, NoteFr0, NoteFr1, NoteFrFirst;
  TColor TabColor;
  TGradientSpec DateBk;
  TColor DateFr, DateSep, DateLine;
  TColor CaptionFr, CaptionBk, CurItemRect;
  TColor CheckBkSel, CheckFrSel, CheckFr;
  TColor FocusedColor;
  int32_t FocusedAlpha;  // weight of FocusedColor, out of 256
  TColor ReminderColor;
  int32_t ReminderAlpha;  // weight of ReminderColor, out of 256
  std::u16string Name;
  std::u16string FileName;  // without the folder
};

// The file-name part of a path with either kind of separator.
std::u16string SchemeFileNameOf(const std::u16string& path);

// An integer key of a scheme: decimal, or hexadecimal after "$" or "0x";
// `fallback` when the text is no number.
int32_t ParseSchemeInteger(std::u16string_view text, int32_t fallback);

}  // namespace vellumio
