#include "download/ReceiveFile.h"

#include <thread>

#include "download/ResumeNames.h"
#include "platform/host_path.h"

namespace ostrel::download {

namespace {

bool TextExists(const std::string& pathText) { return platform::PathExists(platform::HostPath(pathText)); }

}  // namespace

CreateResult CreateReceiveFile(const std::string& hostPath, int64_t size) {
  // Whatever stands under the name is removed, a link as a link; a folder stays and fails below.
  if (platform::PathExists(hostPath)) platform::RemovePath(hostPath);
  platform::File file = platform::File::Open(hostPath, platform::File::Mode::CreateNew);
  if (!file.IsOpen()) return CreateResult::CannotCreate;
  if (file.Reserve(size)) return CreateResult::Ok;
  return file.Error() == platform::FileError::NoSpace ? CreateResult::NoSpace : CreateResult::CannotSize;
}

platform::File OpenReceiveFileForWriting(const std::string& hostPath) {
  return platform::File::Open(hostPath, platform::File::Mode::WriteExisting);
}

bool SyncReceiveFile(const std::string& hostPath) {
  platform::File file = OpenReceiveFileForWriting(hostPath);
  return file.IsOpen() && file.Sync();
}

std::string PutInPlace(const std::string& receiveHostPath, const std::string& target,
                       std::chrono::milliseconds retryFor) {
  const auto giveUpAt = std::chrono::steady_clock::now() + retryFor;
  for (;;) {
    const std::string finalName = FirstFreeName(target, TextExists);
    const platform::FileError error = platform::RenameNoReplace(receiveHostPath, platform::HostPath(finalName));
    if (error == platform::FileError::None) return finalName;
    if (std::chrono::steady_clock::now() >= giveUpAt) return {};
    // A name taken since we looked is passed over at once; other failures wait a little.
    if (error != platform::FileError::Exists) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

}  // namespace ostrel::download
