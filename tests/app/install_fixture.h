// The whole-install fixture: a site on the download and web servers (manifest, package, components)
// and the window run as its host would, with the real engine.
#pragma once

#include <algorithm>
#include <functional>
#include <optional>

#include "flow_fixture.h"
#include "app/Servers.h"
#include "platform/file_system.h"
#include "support/PubCrc.h"
#include "support/pubShare.h"
#include "zip_writer.h"

namespace ostrel::app::test {

using namespace std::chrono_literals;

inline constexpr char kPackage[] = "OstrelPlatform_5.1.zip";
inline constexpr char kInstallDir[] = "C:\\Inst\\OstrelPlatform";
inline constexpr char kMsiPath[] = "rjxz/VARDAPRO/QLSFW/NimbrelBaseService.msi";
inline constexpr char kDriverFolder[] = "dlcpx/DOWN_CENTER/SBQD/";
inline constexpr const char* kDrivers[] = {"MarnkeyDrive.exe", "OstrelCSP.exe", "WLMDrive.exe"};
inline constexpr char kUninstallKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\";
inline constexpr char kAppPathKey[] = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\OstrelNorvik\\";

inline std::string Incompressible(size_t size) {
  std::string bytes(size, '\0');
  uint32_t x = 12345;
  for (char& c : bytes) c = static_cast<char>((x = x * 1103515245u + 12345u) >> 24);
  return bytes;
}

// The package's files: a launcher that leaves a mark, Chinese names, a file that doesn't
// compress, so that the package is as big as its data.
inline const std::vector<std::pair<std::string, std::string>>& PackageFiles() {
  static const std::vector<std::pair<std::string, std::string>> files = {
      {"OstrelLauncher.exe", "#!/bin/sh\necho ran > \"$(dirname \"$0\")/launched.txt\"\n"},
      {"Uninstall/uninst.exe", "MZ uninst"},
      {"OstrelMain.exe", "MZ main"},
      {"帮助/使用说明.txt", "说明"},
      {"Bin/data.bin", Incompressible(400000)},
  };
  return files;
}

class Install : public FlowTest {
 protected:
  Install() {
    altServer_ = std::make_unique<testkit::ServedFolder>(Root(true) + "-alt");
    testkit::SetEnv("OSTREL_WEB_SERVER_ALT", altServer_->Url(""));
  }
  ~Install() override { testkit::SetEnv("OSTREL_WEB_SERVER_ALT", std::nullopt); }

  // The package of files (stored, so that files of the same lengths give packages of the same
  // size), with the manifest that names it and the checksum crc (its own when absent), on both
  // servers.
  void ServePackage(const std::vector<std::pair<std::string, std::string>>& files,
                    const std::optional<std::string>& crc = std::nullopt) {
    const fs::path zip = fs::path(prefix_.scratch()) / "package.zip";
    std::vector<TestEntry> entries;
    for (const auto& [name, data] : files)
      entries.push_back({name, data, /*ZIP_CM_STORE*/ 0, std::pair<uint8_t, uint32_t>{kMadeOnUnix, 0100755u << 16}});
    WriteZip(zip, entries);
    package_ = testkit::ReadFile(zip.string());
    for (bool web : {false, true}) {
      ServeManifest(web, "5.1 版", kPackage, crc.value_or(GetFileCRC(zip.string())));
      Serve(web, kPackage, package_);
    }
  }
  // The site: manifest and package on both servers, components where asked.
  void ServeSite(bool msiOnDownload = true, bool msiOnAlt = true) {
    ServePackage(PackageFiles());
    for (bool web : {false, true}) {
      for (const char* driver : kDrivers) Serve(web, std::string(kDriverFolder) + driver, driver, false);
    }
    if (msiOnDownload) Serve(false, kMsiPath, "msi from download", false);
    if (msiOnAlt) {
      altServer_->Put(kMsiPath, "msi from 8080");
    }
  }

  // Shows the window and clicks "极速安装" and "立即安装" with the folder C:\Inst.
  void StartInstall() {
    Show();
    Click(&TfrmSpeedInstall::lblAZClick);
    Model().SetText("edtAZLJ", "C:\\Inst");
    Click(&TfrmSpeedInstall::lblLJAZClick);
  }

  // Runs the window as its host would: the engine's notices, the 100 ms polls, and the one-shot
  // fallback timer 1 s after it was armed; until done() holds.
  // Without fallback, an armed fallback timer is left armed (a test of what happens meanwhile).
  bool RunUntil(const std::function<bool()>& done, std::chrono::seconds limit = 30s, bool fallback = true) {
    const auto giveUp = std::chrono::steady_clock::now() + limit;
    bool armed = false;
    auto armedAt = std::chrono::steady_clock::now();
    while (!done()) {
      if (std::chrono::steady_clock::now() > giveUp || host.exitCode || host.closed) return done();
      host.Pump();
      for (const char* poll : {"tmr1", "tmr3"}) Model().TimerTick(poll);
      if (Model().Get("tmr2").enabled) {
        if (!armed) armedAt = std::chrono::steady_clock::now();
        armed = true;
        if (fallback && std::chrono::steady_clock::now() - armedAt >= 1s) Model().TimerTick("tmr2");
      } else {
        armed = false;
      }
      std::this_thread::sleep_for(20ms);
    }
    return true;
  }
  bool RunToDonePage() { return RunUntil([this] { return Page() == kPageWC; }); }

  std::string Installed(const std::string& relative) {
    return testkit::ReadFile(testkit::Utf8Path(OnHost(std::string(kInstallDir) + "\\" + relative)));
  }
  static std::string Reg(const char* key, const char* name) { return ReadRegString(key, name); }
  // Requests for path (a suffix of the target) that reached server.
  static int Asked(testserver::TestHttpServer& server, const std::string& path, const char* method = "GET") {
    int n = 0;
    for (const auto& r : server.Requests())
      if (r.method == method && r.target.size() >= path.size() &&
          r.target.compare(r.target.size() - path.size(), path.size(), path) == 0)
        ++n;
    return n;
  }
  void ExpectComponents(const std::string& msi) {
    EXPECT_EQ(Installed("ThirdSoftware\\BaseService.msi"), msi);
    for (const char* driver : kDrivers) EXPECT_EQ(Installed(std::string("App\\") + driver), driver);
  }

  std::unique_ptr<testkit::ServedFolder> altServer_;
  std::string package_;
};

}  // namespace ostrel::app::test
