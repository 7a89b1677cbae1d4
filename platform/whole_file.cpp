// Whole files on every system: read up to a cap, replaced through a flushed temporary and a rename.
#include "platform/file.h"
#include "platform/file_events.h"
#include "platform/host_path.h"

namespace platform {
namespace {

// The folder that holds hostPath ("." for a bare name).
std::string FolderOf(const std::string& hostPath) {
  const size_t slash = LastHostSeparator(hostPath);
  if (slash == std::string::npos) return ".";
  return slash == 0 ? hostPath.substr(0, 1) : hostPath.substr(0, slash);
}

}  // namespace

std::optional<std::string> ReadWholeFile(const std::string& hostPath, size_t maxBytes) {
  File file = File::Open(hostPath, File::Mode::Read);
  const int64_t length = file.Length();
  if (length < 0 || static_cast<uint64_t>(length) > maxBytes) return std::nullopt;
  std::string bytes;
  bytes.resize(static_cast<size_t>(length));
  if (file.ReadAt(bytes.data(), bytes.size(), 0) != length) return std::nullopt;
  char extra;  // a file that grew since: only up to the cap
  if (file.ReadAt(&extra, 1, length) != 0) return std::nullopt;
  return bytes;
}

bool ReplaceFileAtomically(const std::string& hostPath, std::string_view bytes, unsigned permissions) {
  std::string temp;
  File file = CreateTemporaryBeside(hostPath, ".tmp", temp, permissions);
  if (!file.IsOpen()) return false;
  bool ok = file.Write(bytes.data(), bytes.size()) && file.Sync();
  ok = file.Close() && ok;
  ok = ok && RenameReplacing(temp, hostPath) == FileError::None;
  if (!ok) {
    RemovePath(temp);
    return false;
  }
  SyncFolder(FolderOf(hostPath));
  if (const std::optional<uint64_t> id = FileIdOf(hostPath)) ReportFileEvent(FileEvent::kReplaced, *id, hostPath);
  return true;
}

}  // namespace platform
