#include "app/capture/ClipboardSnapshot_win.h"

#include <algorithm>
#include <cstring>

namespace vellumio::capture {

namespace {

// Formats whose data is a handle of another kind than memory, and which the
// system makes again from a memory format the snapshot keeps anyway (a
// bitmap from its DIB), or which only their owner can render.
bool HandleOnlyFormat(UINT format) {
  switch (format) {
    case CF_BITMAP:
    case CF_DSPBITMAP:
    case CF_PALETTE:
    case CF_OWNERDISPLAY:
    case CF_DSPENHMETAFILE:
    case CF_DSPMETAFILEPICT:
      return true;
    default:
      return (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) ||
             (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
  }
}

HGLOBAL GlobalCopy(const void* data, size_t size) {
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, std::max<size_t>(size, 1));
  if (!memory) return nullptr;
  if (void* target = GlobalLock(memory)) {
    if (size) std::memcpy(target, data, size);
    GlobalUnlock(memory);
    return memory;
  }
  GlobalFree(memory);
  return nullptr;
}

}  // namespace

bool OpenClipboardPatiently(HWND owner, int milliseconds) {
  const DWORD start = GetTickCount();
  while (!OpenClipboard(owner)) {
    if (static_cast<int>(GetTickCount() - start) >= milliseconds) return false;
    Sleep(5);
  }
  return true;
}

bool TClipboardSnapshot::Keep(UINT format, HANDLE data, TFormat& kept) {
  kept.id = format;
  if (format == CF_ENHMETAFILE) {
    const auto metafile = static_cast<HENHMETAFILE>(data);
    const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    kept.kind = TKind::kEnhMetafile;
    kept.bytes.resize(size);
    return size > 0 && GetEnhMetaFileBits(metafile, size, kept.bytes.data()) == size;
  }
  if (format == CF_METAFILEPICT) {
    const auto* picture = static_cast<const METAFILEPICT*>(GlobalLock(data));
    if (!picture) return false;
    kept.kind = TKind::kMetafilePict;
    kept.picture = *picture;
    GlobalUnlock(data);
    const UINT size = GetMetaFileBitsEx(kept.picture.hMF, 0, nullptr);
    kept.bytes.resize(size);
    return size > 0 && GetMetaFileBitsEx(kept.picture.hMF, size, kept.bytes.data()) == size;
  }
  const SIZE_T size = GlobalSize(data);
  const void* source = GlobalLock(data);
  if (!source) return false;
  kept.kind = TKind::kMemory;
  kept.bytes.assign(static_cast<const uint8_t*>(source),
                    static_cast<const uint8_t*>(source) + size);
  GlobalUnlock(data);
  return true;
}

TClipboardSnapshot TClipboardSnapshot::Take(HWND owner) {
  TClipboardSnapshot snapshot;
  if (!OpenClipboardPatiently(owner)) return snapshot;
  for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
    if (HandleOnlyFormat(format)) continue;
    HANDLE data = GetClipboardData(format);
    if (!data) continue;
    TFormat kept;
    if (Keep(format, data, kept)) snapshot.formats_.push_back(std::move(kept));
  }
  CloseClipboard();
  return snapshot;
}

bool TClipboardSnapshot::Has(UINT format) const {
  return std::any_of(formats_.begin(), formats_.end(),
                     [format](const TFormat& f) { return f.id == format; });
}

HANDLE TClipboardSnapshot::Recreate(const TFormat& kept) {
  switch (kept.kind) {
    case TKind::kEnhMetafile:
      return SetEnhMetaFileBits(static_cast<UINT>(kept.bytes.size()), kept.bytes.data());
    case TKind::kMetafilePict: {
      METAFILEPICT picture = kept.picture;
      picture.hMF = SetMetaFileBitsEx(static_cast<UINT>(kept.bytes.size()), kept.bytes.data());
      if (!picture.hMF) return nullptr;
      HGLOBAL memory = GlobalCopy(&picture, sizeof(picture));
      if (!memory) DeleteMetaFile(picture.hMF);
      return memory;
    }
    case TKind::kMemory:
    default:
      return GlobalCopy(kept.bytes.data(), kept.bytes.size());
  }
}

bool TClipboardSnapshot::Restore(HWND owner) const {
  if (!OpenClipboardPatiently(owner)) return false;
  EmptyClipboard();
  for (const TFormat& kept : formats_) {
    HANDLE data = Recreate(kept);
    if (data && !SetClipboardData(kept.id, data)) {
      // Not taken: the handle is still ours.
      if (kept.kind == TKind::kEnhMetafile)
        DeleteEnhMetaFile(static_cast<HENHMETAFILE>(data));
      else
        GlobalFree(data);
    }
  }
  CloseClipboard();
  return true;
}

}  // namespace vellumio::capture
