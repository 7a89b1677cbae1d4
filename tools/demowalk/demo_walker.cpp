#include "tools/demowalk/demo_walker.h"

#include <QApplication>
#include <QDateTime>
#include <QMessageBox>
#include <QPixmap>

#include <string_view>

#include "platform/text.h"
#include "skin/ControlNames.h"

namespace ostrel::demowalk {

namespace {
constexpr int kPollMs = 100;
constexpr int64_t kStepLimitMs = 180000;  // a step that doesn't come about in 3 minutes fails
int64_t NowMs() { return QDateTime::currentMSecsSinceEpoch(); }
}  // namespace

DemoWalker::DemoWalker(app::qt::SkinWindow& window, TfrmSpeedInstall& form, QString outDir)
    : window_(window), form_(form), outDir_(std::move(outDir)) {
  using app::kPageAZ, app::kPageSZ, app::kPageXZ, app::kPageWC;
  steps_ = {
      {"the start page", [this] { return window_.isVisible() && Page() == kPageAZ; },
       [this] { Shoot("AZ"); Click(skin::ctl::lblAZ); }},
      {"the folder page", [this] { return Page() == kPageSZ; },
       [this] { Shoot("SZ"); Click(skin::ctl::lblLJAZ); }},
      // The installing page is shot once its bar shows some progress.
      {"the installing page", [this] { return (Page() == kPageXZ && Percent() >= 30) || Page() == kPageWC; },
       [this] { if (Page() == kPageXZ) Shoot("XZ"); }},
      {"the done page", [this] { return Page() == kPageWC; },
       [this] { Shoot("WC"); Click(skin::ctl::lblClose4); }},
      {"the window closing", [this] { return !window_.isVisible(); }, [this] { succeeded_ = true; }},
  };
  connect(&poll_, &QTimer::timeout, this, [this] { Poll(); });
  connect(&boxes_, &QTimer::timeout, this, [this] { AnswerBoxes(); });
}

void DemoWalker::Start() {
  stepStarted_ = NowMs();
  poll_.start(kPollMs);
  boxes_.start(kPollMs);
}

int DemoWalker::Page() { return form_.Form().PageIndex(skin::ctl::nbMain); }

int DemoWalker::Percent() {
  const std::string& text = form_.Form().Get(skin::ctl::lblJD).text;  // "N%"
  return platform::ParseDigits<int>(std::string_view(text).substr(0, text.find('%'))).value_or(0);
}

void DemoWalker::Poll() {
  if (next_ >= steps_.size()) return;
  Step& step = steps_[next_];
  if (step.ready()) {
    notes_.push_back(std::string("reached ") + step.what);
    ++next_;
    stepStarted_ = NowMs();
    step.act();
    if (next_ == steps_.size()) {
      poll_.stop();
      QApplication::quit();
    }
  } else if (NowMs() - stepStarted_ > kStepLimitMs) {
    notes_.push_back(std::string("gave up waiting for ") + step.what);
    poll_.stop();
    window_.close();
    QApplication::quit();
  }
}

// A box would wait for a person: its text is noted and it is answered with OK.
void DemoWalker::AnswerBoxes() {
  auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
  if (!box) return;
  notes_.push_back("box: " + box->text().toStdString());
  window_.grab().save(outDir_ + "/box-" + QString::number(notes_.size()) + ".png");
  box->accept();
}

void DemoWalker::Click(std::string_view label) {
  skin::Form& form = form_.Form();
  const skin::Box box = form.AbsoluteBox(form.Get(label));
  const int x = box.left + box.width / 2, y = box.top + box.height / 2;
  form.PointerMove(x, y);
  form.PointerPress(x, y, skin::MouseButton::Left);
  form.PointerRelease(x, y, skin::MouseButton::Left);
}

void DemoWalker::Shoot(const char* name) {
  window_.repaint();
  window_.grab().save(outDir_ + "/" + name + ".png");
}

}  // namespace ostrel::demowalk
