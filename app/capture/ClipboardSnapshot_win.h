// Everything the clipboard held, kept as memory so that it can be put back:
// a capture copies the user's selection through the clipboard and must not
// lose what the user had there (text in all its forms, HTML, RTF, images,
// files, formats of other programs).
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

namespace vellumio::capture {

class TClipboardSnapshot {
public:
  // What the clipboard holds now; an empty snapshot when it cannot be
  // opened.
  static TClipboardSnapshot Take(HWND owner);

  // Empties the clipboard and puts every kept format back, in the order
  // they were offered. False when the clipboard could not be opened.
  bool Restore(HWND owner) const;

  size_t FormatCount() const { return formats_.size(); }
  bool Has(UINT format) const;

private:
  enum class TKind { kMemory, kEnhMetafile, kMetafilePict };
  struct TFormat {
    UINT id = 0;
    TKind kind = TKind::kMemory;
    std::vector<uint8_t> bytes;
    METAFILEPICT picture{};  // kMetafilePict: the header; bytes hold the metafile
  };
  static bool Keep(UINT format, HANDLE data, TFormat& kept);
  static HANDLE Recreate(const TFormat& kept);

  std::vector<TFormat> formats_;
};

// Opens the clipboard, retrying for a moment while another program has it
// open (it is still writing its copy).
bool OpenClipboardPatiently(HWND owner, int milliseconds = 500);

}  // namespace vellumio::capture
