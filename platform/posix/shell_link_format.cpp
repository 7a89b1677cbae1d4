#include "platform/posix/shell_link_format.h"

#include "platform/posix/utf16.h"

namespace platform::posix {
namespace {

enum LinkFlags : uint32_t {
  kHasLinkInfo = 0x02,
  kHasName = 0x04,
  kHasWorkingDir = 0x10,
  kHasArguments = 0x20,
  kIsUnicode = 0x80,
};
constexpr uint32_t kHeaderSize = 0x4C;
constexpr uint32_t kLinkInfoHeaderSize = 0x24;  // with the Unicode offsets
constexpr uint32_t kVolumeIdAndLocalBasePath = 0x01;
// {00021401-0000-0000-C000-000000000046}
constexpr unsigned char kLinkClsid[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                          0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

void Put16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void Put64(std::string& out, uint64_t v) {
  Put32(out, static_cast<uint32_t>(v));
  Put32(out, static_cast<uint32_t>(v >> 32));
}
void PutUtf16(std::string& out, const std::u16string& s) {
  for (char16_t u : s) Put16(out, u);
}

// The ANSI copy of a path: the code page of the reader is unknown, so only
// ASCII is kept and everything else reads "?"; readers take the UTF-16 copy.
std::string AnsiCopy(const std::u16string& s) {
  std::string out;
  for (char16_t u : s) out += (u < 0x80) ? static_cast<char>(u) : '?';
  return out;
}

std::string LinkInfo(const ShellLinkData& data) {
  const std::u16string path = Utf8ToUtf16(data.target);
  std::string volumeId;
  Put32(volumeId, 0x11);  // VolumeIDSize: 16 bytes of fields + the empty label
  Put32(volumeId, data.driveType);
  Put32(volumeId, 0);     // DriveSerialNumber
  Put32(volumeId, 0x10);  // VolumeLabelOffset
  volumeId += '\0';

  std::string body = volumeId;
  const uint32_t localBasePathOffset = kLinkInfoHeaderSize + static_cast<uint32_t>(body.size());
  body += AnsiCopy(path) + '\0';
  const uint32_t commonPathSuffixOffset = kLinkInfoHeaderSize + static_cast<uint32_t>(body.size());
  body += '\0';
  const uint32_t localBasePathOffsetUnicode = kLinkInfoHeaderSize + static_cast<uint32_t>(body.size());
  PutUtf16(body, path);
  Put16(body, 0);
  const uint32_t commonPathSuffixOffsetUnicode = kLinkInfoHeaderSize + static_cast<uint32_t>(body.size());
  Put16(body, 0);

  std::string out;
  Put32(out, kLinkInfoHeaderSize + static_cast<uint32_t>(body.size()));
  Put32(out, kLinkInfoHeaderSize);
  Put32(out, kVolumeIdAndLocalBasePath);
  Put32(out, kLinkInfoHeaderSize);  // VolumeIDOffset
  Put32(out, localBasePathOffset);
  Put32(out, 0);  // CommonNetworkRelativeLinkOffset
  Put32(out, commonPathSuffixOffset);
  Put32(out, localBasePathOffsetUnicode);
  Put32(out, commonPathSuffixOffsetUnicode);
  return out + body;
}

bool PutStringData(std::string& out, const std::string& text) {
  const std::u16string s = Utf8ToUtf16(text);
  if (s.size() > 0xFFFF) return false;
  Put16(out, static_cast<uint32_t>(s.size()));
  PutUtf16(out, s);
  return true;
}

}  // namespace

std::string BuildShellLink(const ShellLinkData& data) {
  uint32_t flags = kHasLinkInfo | kIsUnicode;
  if (!data.description.empty()) flags |= kHasName;
  if (!data.workingDirectory.empty()) flags |= kHasWorkingDir;
  if (!data.arguments.empty()) flags |= kHasArguments;

  std::string out;
  Put32(out, kHeaderSize);
  out.append(reinterpret_cast<const char*>(kLinkClsid), sizeof kLinkClsid);
  Put32(out, flags);
  Put32(out, data.fileAttributes);
  Put64(out, data.creationTime);
  Put64(out, data.accessTime);
  Put64(out, data.writeTime);
  Put32(out, data.fileSize);
  Put32(out, 0);  // IconIndex
  Put32(out, data.showCommand);
  Put16(out, 0);  // HotKey
  Put16(out, 0);  // Reserved1
  Put32(out, 0);  // Reserved2
  Put32(out, 0);  // Reserved3

  if (Utf8ToUtf16(data.target).size() > 0xFFFF) return {};
  out += LinkInfo(data);
  // String data, in the order the format fixes: name, relative path, working dir, arguments, icon.
  if ((flags & kHasName) && !PutStringData(out, data.description)) return {};
  if ((flags & kHasWorkingDir) && !PutStringData(out, data.workingDirectory)) return {};
  if ((flags & kHasArguments) && !PutStringData(out, data.arguments)) return {};
  Put32(out, 0);  // TerminalBlock
  return out;
}

}  // namespace platform::posix
