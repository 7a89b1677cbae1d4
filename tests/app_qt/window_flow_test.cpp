// The Qt host's side of the flow: its box, folder dialog, error box, and the calls that the
// engine's threads send onto the window's thread.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <filesystem>
#include <functional>
#include <thread>

#include "app/FSpeedInstall.h"
#include "app/SharedValues.h"
#include "app/qt/SkinWindow.h"
#include "platform/host_path.h"

namespace ostrel::app::qt {
namespace {

// Runs answer on the first modal dialog of type T that comes up while the test waits in a call.
template <typename T>
class WhenModal {
 public:
  explicit WhenModal(std::function<void(T*)> answer) : answer_(std::move(answer)) {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      if (auto* dialog = qobject_cast<T*>(QApplication::activeModalWidget())) {
        poll_.stop();
        answer_(dialog);
      }
    });
    poll_.start(20);
  }

 private:
  std::function<void(T*)> answer_;
  QTimer poll_;
};

// Runs answer on the first window of type T that is on show while the test waits in a call.
template <typename T>
class WhenShown {
 public:
  explicit WhenShown(std::function<void(T*)> answer) : answer_(std::move(answer)) {
    QObject::connect(&poll_, &QTimer::timeout, [this] {
      for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* shown = qobject_cast<T*>(w); shown && shown->isVisible()) {
          poll_.stop();
          answer_(shown);
          return;
        }
    });
    poll_.start(20);
  }

 private:
  std::function<void(T*)> answer_;
  QTimer poll_;
};

class QtFlowHost : public ::testing::Test {
 protected:
  QtFlowHost() : form(window) {
    window.Attach(form);
    form.FormShow();
    window.show();
  }
  QPoint CentreOf(std::string_view name) {
    skin::Box b = form.Form().VisibleBox(form.Form().Get(name));
    return {b.left + b.width / 2 + kFrame, b.top + b.height / 2 + kFrame};
  }
  SkinWindow window;
  TfrmSpeedInstall form;
};

TEST_F(QtFlowHost, TheBoxIsAnInformationWithOneOkOwnedByTheWindow) {
  QString title, text;
  QMessageBox::Icon icon{};
  Qt::TextFormat format{};
  QWidget* owner = nullptr;
  int buttons = 0;
  WhenModal<QMessageBox> answer([&](QMessageBox* box) {
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    format = box->textFormat();
    owner = box->parentWidget();
    buttons = static_cast<int>(box->buttons().size());
    box->button(QMessageBox::Ok)->click();
  });
  window.ShowMessage("<b>下载失败</b>");  // returns once dismissed
  EXPECT_EQ(title, QString::fromUtf8("提示"));
  EXPECT_EQ(text, QString::fromUtf8("<b>下载失败</b>"));
  EXPECT_EQ(icon, QMessageBox::Information);
  EXPECT_EQ(format, Qt::PlainText);
  EXPECT_EQ(owner, &window);
  EXPECT_EQ(buttons, 1);
}

TEST_F(QtFlowHost, AnErrorEscapingAHandlerIsShownCaptionedOstrelAndTheWindowGoesOn) {
  ::setenv("OSTREL_DOWNLOAD_SERVER", "download.ostrel.example", 1);  // GetNewVer throws
  form.ShowMainPage(kPageSZ);
  form.Form().SetText("edtAZLJ", "C:\\Qt Flow Test");
  QString title, text;
  QMessageBox::Icon icon{};
  WhenModal<QMessageBox> answer([&](QMessageBox* box) {
    title = box->windowTitle();
    text = box->text();
    icon = box->icon();
    box->button(QMessageBox::Ok)->click();
  });
  QTest::mouseClick(&window, Qt::LeftButton, {}, CentreOf("lblLJAZ"));
  ::setenv("OSTREL_DOWNLOAD_SERVER", "http://127.0.0.1:1/", 1);
  EXPECT_EQ(title, "Ostrel");
  EXPECT_EQ(icon, QMessageBox::Critical);
  EXPECT_TRUE(text.startsWith("OSTREL_DOWNLOAD_SERVER")) << text.toStdString();
  QTest::mouseClick(&window, Qt::LeftButton, {}, CentreOf("lblFH"));
  EXPECT_EQ(form.Form().PageIndex("nbMain"), kPageAZ);
}

TEST_F(QtFlowHost, TheFolderDialogOpensAtTheEditsFolderAndAnswersWithAWindowsPath) {
  const std::string start = "C:\\Qt Browse Start";
  const std::string chosen = "C:\\Qt Browse Start\\Tools";
  std::filesystem::create_directories(platform::HostPath(chosen));
  QString title, directory;
  WhenShown<QFileDialog> answer([&](QFileDialog* dialog) {
    title = dialog->windowTitle();
    directory = dialog->directory().absolutePath();
    dialog->setDirectory(QString::fromStdString(platform::HostPath(chosen)));
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog::accept, as the OK button
  });
  const std::optional<std::string> answerPath = window.BrowseForFolder("请选择安装文件夹", start);
  EXPECT_EQ(title, QString::fromUtf8("请选择安装文件夹"));
  EXPECT_EQ(directory, QDir(QString::fromStdString(platform::HostPath(start))).absolutePath());
  EXPECT_EQ(answerPath, chosen);
}

// "浏览" opens the picker; meanwhile the window is enabled, nothing is modal, a click on "返回"
// works, and a second "浏览" opens no second picker. The answer lands when the picker closes.
TEST_F(QtFlowHost, ThePickerLeavesTheWindowWorkingAndItsAnswerLandsWhenItCloses) {
  const std::string chosen = "C:\\Qt Picker\\Tools";
  std::filesystem::create_directories(platform::HostPath(chosen));
  form.ShowMainPage(kPageSZ);
  form.Form().SetText("edtAZLJ", "C:\\Qt Picker");
  bool enabled = false, modal = true;
  int pageAfterBack = -1, pickers = 0;
  std::string editWhileOpen;
  WhenShown<QFileDialog> answer([&](QFileDialog* picker) {
    enabled = window.isEnabled();
    modal = QApplication::activeModalWidget() != nullptr || picker->isModal();
    QTest::mouseClick(&window, Qt::LeftButton, {}, CentreOf("lblLL"));  // the picker is already open
    for (QWidget* w : QApplication::topLevelWidgets()) pickers += qobject_cast<QFileDialog*>(w) && w->isVisible();
    editWhileOpen = form.Form().Get("edtAZLJ").text;
    QTest::mouseClick(&window, Qt::LeftButton, {}, CentreOf("lblFH"));
    pageAfterBack = form.Form().PageIndex("nbMain");
    picker->setDirectory(QString::fromStdString(platform::HostPath(chosen)));
    static_cast<QDialog*>(picker)->accept();
  });
  QTest::mouseClick(&window, Qt::LeftButton, {}, CentreOf("lblLL"));  // returns once the picker has closed
  EXPECT_TRUE(enabled);
  EXPECT_FALSE(modal);
  EXPECT_EQ(pickers, 1);
  EXPECT_EQ(editWhileOpen, "C:\\Qt Picker\\OstrelPlatform") << "the second click answered as cancelled";
  EXPECT_EQ(pageAfterBack, kPageAZ);
  EXPECT_EQ(form.Form().Get("edtAZLJ").text, chosen + "\\OstrelPlatform");
}

// Alt+F4, the window manager's close, the end of the session: the close control's way, so that
// closing the done page registers the platform.
TEST_F(QtFlowHost, ASystemCloseTakesTheCloseControlsWay) {
  form.ShowMainPage(kPageWC);
  InstallDir = "C:\\Qt Close\\OstrelPlatform";
  EXPECT_TRUE(window.close());
  EXPECT_TRUE(window.WindowClosed());
  EXPECT_EQ(ReadRegString("SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\OstrelNorvik\\", "DisplayName"),
            "OstrelPro");
}

TEST_F(QtFlowHost, ClosingTheWindowCancelsAnOpenPicker) {
  bool closed = false;
  WhenShown<QFileDialog> closeWindow([&](QFileDialog*) { closed = window.close(); });
  EXPECT_EQ(window.BrowseForFolder("请选择安装文件夹", ""), std::nullopt);
  EXPECT_TRUE(closed);
  for (QWidget* w : QApplication::topLevelWidgets()) EXPECT_FALSE(qobject_cast<QFileDialog*>(w) && w->isVisible());
}

TEST_F(QtFlowHost, CallsFromOtherThreadsRunOnTheWindowsThreadAndWaitForIt) {
  const std::shared_ptr<WindowThreadCaller> caller = window.CallerOnWindowThread();
  std::atomic<bool> onWindowThread{false}, ran{false}, returned{false}, ranBeforeReturn{false};
  std::thread worker([&] {
    caller->Call([&] {
      onWindowThread = QThread::currentThread() == QCoreApplication::instance()->thread();
      ran = true;
    });
    ranBeforeReturn = ran.load();
    returned = true;
  });
  EXPECT_TRUE(QTest::qWaitFor([&] { return returned.load(); }, 10000));
  worker.join();
  EXPECT_TRUE(onWindowThread);
  EXPECT_TRUE(ranBeforeReturn);
  int direct = 0;
  caller->Call([&] { ++direct; });  // from the window's own thread: at once
  EXPECT_EQ(direct, 1);
}

TEST_F(QtFlowHost, ClosingTheWindowReleasesAWaitingCallAndDropsLaterOnes) {
  const std::shared_ptr<WindowThreadCaller> caller = window.CallerOnWindowThread();
  std::atomic<int> ran{0};
  std::atomic<bool> started{false};
  std::thread worker([&] {
    started = true;
    caller->Call([&] { ++ran; });  // queued; nobody runs the events until the window has closed
  });
  while (!started) std::this_thread::yield();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  window.close();
  worker.join();  // returns: no deadlock
  std::thread late([&] { caller->Call([&] { ++ran; }); });
  late.join();
  QCoreApplication::processEvents();
  EXPECT_EQ(ran, 0);
}

}  // namespace
}  // namespace ostrel::app::qt
