#include "tools/demosite/platform_package.h"

#include "platform/text_codec.h"
#include "tools/demosite/filler_bytes.h"
#include "tools/demosite/platform_scripts.h"

namespace ostrel::demosite {

namespace {

// A text file as the target systems write it: CRLF lines in code page 936.
std::string TargetTextFile(std::string_view utf8Lines) {
  std::string crlf;
  for (char c : utf8Lines) {
    if (c == '\n') crlf += '\r';
    crlf += c;
  }
  return platform::Utf8ToGbk(crlf).value();
}

PackageEntry Folder(std::string name, NameForm form = NameForm::kCodePage936) {
  return {std::move(name), {}, form, 0755, true};
}

PackageEntry Program(std::string name, std::string script) {
  return {std::move(name), std::move(script), {}, 0755, true};
}

PackageEntry File(std::string name, std::string data, NameForm form = NameForm::kCodePage936) {
  return {std::move(name), std::move(data), form, 0644, true};
}

// Kept as it is: there is nothing to gain, and the archive's size stays predictable.
PackageEntry StoredFile(std::string name, std::string data) {
  return {std::move(name), std::move(data), {}, 0644, false};
}

}  // namespace

std::vector<PackageEntry> PlatformPackageEntries(std::string_view version) {
  const std::string config = "[Platform]\nName=OstrelPro\nVersion=" + std::string(version) + "\nServerCheck=1\n";
  return {
      Program("OstrelLauncher.exe", LauncherScript()),
      Program("OstrelMain.exe", MainProgramScript()),
      Folder("Uninstall/"),
      Program("Uninstall/uninst.exe", UninstallerScript()),
      Folder("Bin/"),
      StoredFile("Bin/OstrelCore.dll", StandInFile("Bin/OstrelCore.dll", kLargeFileSize)),
      File("Bin/OstrelData.dat", StandInFile("Bin/OstrelData.dat", 256 * 1024)),
      Folder("Config/"),
      File("Config/Ostrel.ini", TargetTextFile(config)),
      File("版本说明.txt", TargetTextFile("OstrelPro " + std::string(version) + "\n演示用的平台安装包。\n")),
      Folder("帮助/"),
      File("帮助/使用说明.txt", TargetTextFile("使用说明\n双击桌面上的 OstrelPro 图标启动平台。\n")),
      Folder("模板/", NameForm::kUtf8),
      File("模板/申报表.xlsx", StandInFile("模板/申报表.xlsx", 24 * 1024), NameForm::kUtf8),
  };
}

}  // namespace ostrel::demosite
