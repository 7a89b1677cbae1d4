// The installer window on a scripted host, against two local servers (the download server and
// the web server) and a temporary prefix.
#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "ScriptedHost.h"
#include "install_traces.h"
#include "app/FSpeedInstall.h"
#include "app/Manifest.h"
#include "app/SharedValues.h"
#include "platform/host_path.h"
#include "platform/text_codec.h"
#include "tests/testkit/files.h"
#include "tests/testkit/host_only.h"
#include "tests/testkit/served_folder.h"
#include "tests/testkit/temp_prefix.h"

namespace ostrel::app::test {

namespace fs = std::filesystem;

// The staging folder on drive C: of a prefix without further drives.
inline constexpr char kStaging[] = "C:\\Program Files\\Ostrel\\InstOstrel\\";

class FlowTest : public ::testing::Test {
 protected:
  FlowTest() {
    RemoveInstallTraces();
    downloadServer_ = std::make_unique<testkit::ServedFolder>(Root(false));
    webServer_ = std::make_unique<testkit::ServedFolder>(Root(true));
    UseBases("", "");
    ResetSharedValues();
  }
  ~FlowTest() override {
    host.CloseWindow();
    if (form) form->WaitForJobThreads(std::chrono::seconds(10));
    form.reset();
    testkit::SetEnv("OSTREL_DOWNLOAD_SERVER", std::nullopt);
    testkit::SetEnv("OSTREL_WEB_SERVER", std::nullopt);
    ResetSharedValues();
  }

  // The server bases: each server's root followed by path ("fault/status=404/" refuses all).
  void UseBases(const std::string& downloadPath, const std::string& webPath) {
    testkit::SetEnv("OSTREL_DOWNLOAD_SERVER", downloadServer_->Url(downloadPath));
    testkit::SetEnv("OSTREL_WEB_SERVER", webServer_->Url(webPath));
  }
  std::string Root(bool web) const { return prefix_.scratch() + (web ? "/web" : "/download"); }
  testkit::ServedFolder& Server(bool web) { return web ? *webServer_ : *downloadServer_; }

  // A file on a server, under the package folder when inPackageFolder.
  void Serve(bool web, const std::string& name, const std::string& bytes, bool inPackageFolder = true) {
    Server(web).Put((inPackageFolder ? std::string(kPackageFolder) : "") + name, bytes);
  }
  // The manifest as the maker writes it: INI text in code page 936.
  void ServeManifest(bool web, const std::string& version, const std::string& url, const std::string& crc) {
    const std::string text = "[Setup]\r\nLargeVer=" + version + "\r\nurl=" + url + "\r\ncrc=" + crc + "\r\n";
    Serve(web, "OSTREL.XML", platform::Utf8ToGbk(text).value());
  }

  // The window, shown.
  TfrmSpeedInstall& Show() {
    form = std::make_unique<TfrmSpeedInstall>(host);
    form->FormShow();
    return *form;
  }
  skin::Form& Model() { return form->Form(); }
  std::string Text(const char* control) { return Model().Get(control).text; }
  int Page() { return Model().PageIndex("nbMain"); }
  void Click(void (TfrmSpeedInstall::*handler)(TfrmSpeedInstall::TControl*)) { (form.get()->*handler)(nullptr); }

  // A Windows path's file on the host.
  static std::string OnHost(const std::string& windowsPath) { return platform::HostPath(windowsPath); }
  static void Put(const std::string& windowsPath, const std::string& bytes) {
    testkit::WriteFile(testkit::Utf8Path(OnHost(windowsPath)), bytes);
  }

  testkit::TempPrefix prefix_;
  std::unique_ptr<testkit::ServedFolder> downloadServer_, webServer_;
  ScriptedHost host;
  std::unique_ptr<TfrmSpeedInstall> form;
};

}  // namespace ostrel::app::test
