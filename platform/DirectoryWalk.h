// Listing folders without ever following a link. The restore search walks
// whole drives: junctions and symbolic links form loops there (and under
// Wine one drive maps the whole Unix file system, /proc and /sys included),
// so a linked folder is reported as a link and never entered.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace vellumio::platform {

struct DirEntry {
  std::u16string name;  // without the folder
  bool isFolder = false;
  // A symbolic link, junction or other reparse point. For a link, isFolder
  // says whether it points to a folder (when that can be told).
  bool isLink = false;
};

// Calls `visit` for every entry of `folder` except "." and ".."; `visit`
// returns false to end the listing early. Returns false when the folder
// cannot be listed (missing, not a folder, no permission): callers that
// walk trees skip such folders silently.
bool ForEachEntry(const std::u16string& folder, const std::function<bool(const DirEntry&)>& visit);

// `folder` and `name` joined with the platform's separator (none added when
// the folder already ends in one, as a drive root does).
std::u16string JoinPath(const std::u16string& folder, const std::u16string& name);

// The roots of the logical drives ("C:\", "D:\", ...; natively just "/").
std::vector<std::u16string> LogicalDriveRoots();

// True when the root can be listed and holds at least one entry. Drives
// that are not ready (an empty card reader) answer false without the
// system's "insert a disk" prompt.
bool IsRootReady(const std::u16string& root);

}  // namespace vellumio::platform
