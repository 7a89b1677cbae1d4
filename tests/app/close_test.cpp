// The close controls on each page, and closing while the package job runs: a bounded wait that
// leaves resume files a later job picks up, and failure notices that never hold the close up.
#include <chrono>

#include "flow_fixture.h"
#include "zip_writer.h"

namespace ostrel::app::test {
namespace {

constexpr char kPackage[] = "OstrelPlatform_5.1.zip";
constexpr char kStagedPackage[] = "C:\\Program Files\\Ostrel\\InstOstrel\\Downloads\\OstrelPlatform_5.1.zip";

class Close : public FlowTest {
 protected:
  // Through "立即安装" to a running package job (a job against downloadPath's base).
  std::shared_ptr<TDownloadJob> StartDownload(const std::string& downloadPath, const std::string& bytes) {
    UseBases(downloadPath, "");
    ServeManifest(false, "5.1", kPackage, "00");
    if (!bytes.empty()) Serve(false, kPackage, bytes);
    Show();
    Click(&TfrmSpeedInstall::lblAZClick);
    Model().SetText("edtAZLJ", "C:\\Inst");
    Click(&TfrmSpeedInstall::lblLJAZClick);
    return form->DownloadJob();
  }
  static std::string Bytes(size_t size) {
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<char>((i * 7919) >> 5);
    return bytes;
  }
};

TEST_F(Close, EachPageWithoutAJobClosesTheWindowOrEndsTheProcess) {
  struct Case {
    int page;
    bool windowClosed;
    std::optional<int> exitCode;
  };
  const Case cases[] = {{kPageAZ, true, std::nullopt},
                        {kPageSZ, true, std::nullopt},
                        {kPageWC, true, std::nullopt},
                        {kPageXZ, false, 0}};  // no job: the process ends at once
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    host.closed = false;
    host.exitCode.reset();
    Show();
    form->ShowMainPage(c.page);
    Model().SetTimerEnabled("tmr1", true);
    Click(&TfrmSpeedInstall::lblCloseClick);
    EXPECT_EQ(host.exitCode, c.exitCode);
    EXPECT_EQ(host.closed, true);
    if (c.windowClosed) {
      EXPECT_FALSE(Model().Get("tmr1").enabled);
    }
    EXPECT_TRUE(host.boxes.empty());
  }
}

TEST_F(Close, ClosingDuringTheDownloadIsBoundedAndANewJobResumes) {
  const std::string bytes = Bytes(600 * 1024);
  const std::shared_ptr<TDownloadJob> job = StartDownload("fault/rate=60000/", bytes);
  ASSERT_NE(job, nullptr);
  ASSERT_TRUE(host.TickUntil(*form, "", [&] { return job->ReceivedSize > 0 && job->Running == 1; }));
  const auto before = std::chrono::steady_clock::now();
  Click(&TfrmSpeedInstall::lblCloseClick);
  const auto waited = std::chrono::steady_clock::now() - before;
  EXPECT_TRUE(host.closed);
  EXPECT_FALSE(host.exitCode);
  EXPECT_EQ(form->DownloadJob(), nullptr);  // released
  EXPECT_LT(waited, std::chrono::milliseconds(5200 + 3000));
  EXPECT_NE(job->Running, 1);
  ASSERT_TRUE(form->WaitForJobThreads(std::chrono::seconds(10)));
  ASSERT_TRUE(fs::exists(OnHost(std::string(kStagedPackage) + ".rpc.cfg")));

  // A new run of the installer resumes from what the stopped job left.
  host.closed = false;
  const uint64_t sentBefore = downloadServer_->BodyBytesSent();
  const std::shared_ptr<TDownloadJob> resumed = StartDownload("", "");  // the same file, untouched
  ASSERT_NE(resumed, nullptr);
  ASSERT_TRUE(host.TickUntil(*form, "", [&] { return resumed->Finished.load(); }));
  EXPECT_EQ(testkit::ReadFile(OnHost(kStagedPackage)), bytes);
  const uint64_t manifestBytes = 100;
  EXPECT_LT(downloadServer_->BodyBytesSent() - sentBefore, bytes.size() + manifestBytes);
}

TEST_F(Close, AFailureNoticeUnderWayDoesNotHoldTheCloseUp) {
  // The package is missing (404): the job's threads send their notices onto the window's
  // thread, where nobody takes them until the close waits.
  const std::shared_ptr<TDownloadJob> job = StartDownload("", "");
  ASSERT_NE(job, nullptr);
  const auto limit = std::chrono::steady_clock::now() + std::chrono::seconds(20);
  while (!job->Failure() && std::chrono::steady_clock::now() < limit)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));  // no pumping: the notice stays queued
  ASSERT_TRUE(job->Failure());
  Click(&TfrmSpeedInstall::lblCloseClick);
  EXPECT_TRUE(host.closed);
  EXPECT_TRUE(form->WaitForJobThreads(std::chrono::seconds(10)));
}

TEST_F(Close, NoticesAfterTheWindowIsGoneAreDropped) {
  Show();
  const std::shared_ptr<WindowThreadCaller> caller = host.CallerOnWindowThread();
  int ran = 0;
  std::thread before([&] { caller->Call([&] { ++ran; }); });
  ASSERT_TRUE(host.TickUntil(*form, "", [&] { return ran == 1; }));
  before.join();
  Click(&TfrmSpeedInstall::lblCloseClick);
  std::thread after([&] { caller->Call([&] { ++ran; }); });
  after.join();  // returns without anyone pumping
  host.Pump();
  EXPECT_EQ(ran, 1);
}

}  // namespace
}  // namespace ostrel::app::test
