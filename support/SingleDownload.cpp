#include "support/SingleDownload.h"

#include <array>
#include <string_view>

#include "platform/ascii_case.h"
#include "platform/file.h"
#include "platform/file_system.h"
#include "platform/host_path.h"
#include "platform/temporaries.h"
#include "platform/text.h"
#include "support/RequestLog.h"
#include "support/SingleTransfer.h"

namespace {

constexpr char kTemporaryTag[] = ".part";
constexpr std::array<std::string_view, 3> kBinaryExtensions = {".exe", ".msi", ".zip"};

// Folder part of a path text: everything before the last "\" or "/".
std::string FolderOf(const std::string& path) {
  const size_t sep = path.find_last_of("\\/");
  return sep == std::string::npos ? std::string() : path.substr(0, sep);
}

FetchResult LocalFileFailure(const std::string& what, platform::FileError error) {
  return {FetchError::LocalFile, what + ": " + platform::FileErrorText(error)};
}

}  // namespace

void RemoveSingleDownloadLeftovers(const std::string& fileName) {
  platform::RemoveTemporariesBeside(platform::HostPath(fileName), kTemporaryTag);
}

bool ExpectsBinaryBody(const std::string& fileName) {
  const std::string_view name(fileName);
  for (std::string_view ext : kBinaryExtensions)
    if (name.size() > ext.size() && platform::EqualsNoCase(name.substr(name.size() - ext.size()), ext)) return true;
  return false;
}

FetchResult FetchToFile(const std::string& url, const std::string& fileName, const DownloadOptions& options,
                        const DownloadProgressHandlers* progress) {
  const std::string trimmedUrl(platform::TrimBlanksAndControls(url));
  if (trimmedUrl.empty()) return {FetchError::BlankUrl, "no URL"};
  if (fileName.empty()) return {FetchError::LocalFile, "no file name"};

  const std::string folder = FolderOf(fileName);
  if (!folder.empty() && !platform::DirectoryExists(folder)) platform::ForceDirectories(folder);
  // The file and its temporary are reached by path: never through a link planted on the way.
  if (!folder.empty() && !platform::IsLinkFreeFolder(folder))
    return {FetchError::LocalFile, "a link is on the way to " + folder};
  platform::RemoveFile(fileName);
  const std::string target = platform::HostPath(fileName);
  RemoveSingleDownloadLeftovers(fileName);  // of a call that was killed

  std::string temporary;
  platform::File file = platform::CreateTemporaryBeside(target, kTemporaryTag, temporary);
  if (!file.IsOpen()) return LocalFileFailure("no temporary file beside the target", file.Error());
  FetchResult result = ReceiveBody(trimmedUrl, file, options, progress, ExpectsBinaryBody(fileName));
  if (!file.Close() && result) result = LocalFileFailure("the file can't be written", file.Error());
  if (result) {
    const platform::FileError renamed = platform::RenameReplacing(temporary, target);
    if (renamed != platform::FileError::None) result = LocalFileFailure("the file can't be put in place", renamed);
  }
  if (!result) {
    platform::RemovePath(temporary);
    ostrel::support::NoteSingleRequestFailure(trimmedUrl, result.reason);
  }
  return result;
}
