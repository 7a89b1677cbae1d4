#include "app/qt/QtWindowCaller.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QThread>

namespace ostrel::app::qt {

void QtWindowCaller::Call(const std::function<void()>& call) {
  QCoreApplication* application = QCoreApplication::instance();
  if (!application) return;
  if (QThread::currentThread() == application->thread()) {
    bool closed;
    {
      std::lock_guard hold(lock_);
      closed = closed_;
    }
    if (!closed) call();
    return;
  }
  auto pending = std::make_shared<Pending>();
  std::unique_lock hold(lock_);
  if (closed_) return;
  // Queued, not a blocking queued call: a caller must be able to give up when the window closes
  // while its call is still waiting in the queue.
  QMetaObject::invokeMethod(
      application, [self = shared_from_this(), pending, call] { self->RunQueued(pending, call); },
      Qt::QueuedConnection);
  settled_.wait(hold, [&] { return pending->done || closed_; });
}

void QtWindowCaller::RunQueued(const std::shared_ptr<Pending>& pending, const std::function<void()>& call) {
  {
    std::lock_guard hold(lock_);
    if (closed_) return;
  }
  call();  // on the window's thread, which alone closes the window: it is still there
  std::lock_guard hold(lock_);
  pending->done = true;
  settled_.notify_all();
}

void QtWindowCaller::Close() {
  std::lock_guard hold(lock_);
  closed_ = true;
  settled_.notify_all();
}

}  // namespace ostrel::app::qt
