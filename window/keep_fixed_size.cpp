#include "keep_fixed_size.h"

#include <QEvent>
#include <QGuiApplication>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace tarvelo {
namespace {

constexpr Qt::WindowStates kEnlarged = Qt::WindowMaximized | Qt::WindowFullScreen;

bool Enlarged(Qt::WindowStates states) { return states.testAnyFlags(kEnlarged); }

class FixedSizeKeeper final : public QObject {
 public:
  explicit FixedSizeKeeper(QWidget& window) : QObject(&window), window_(window) {
    window_.installEventFilter(this);
    Watch(window_.windowHandle());
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &window_) {
      if (event->type() == QEvent::WinIdChange) {
        Watch(window_.windowHandle());
      } else if (event->type() == QEvent::LayoutRequest && restoring_) {
        // A message box fixes its size again at every layout request: not while the
        // compositor's answer is awaited, or the box would answer at the old size.
        return true;
      } else if (event->type() == QEvent::Paint && leaveWhenDrawn_) {
        // A request to be normal counts only once the given size has been drawn. Not
        // the widget's showNormal(): its show event has a message box fix its size at once.
        leaveWhenDrawn_ = false;
        QTimer::singleShot(0, handle_, [handle = handle_] {
          if (handle != nullptr) {
            handle->setWindowStates(handle->windowStates() & ~kEnlarged);
          }
        });
      }
    } else if (watched == handle_ && event->type() == QEvent::WindowStateChange &&
               event->spontaneous() && QGuiApplication::platformName() == u"wayland") {
      OnAnswer(handle_->windowStates());
    }
    return false;
  }

 private:
  // Each native window Qt makes for the widget reports its own requests and answers.
  void Watch(QWindow* handle) {
    if (handle == nullptr || handle == handle_) {
      return;
    }
    handle_ = handle;
    handle->installEventFilter(this);
    connect(handle, &QWindow::windowStateChanged, this, &FixedSizeKeeper::OnStateChanged);
  }

  // Runs as a request leaves, before the desktop has answered it.
  void OnStateChanged(Qt::WindowState state) {
    if (!Enlarged(state)) {
      return;
    }
    if (QGuiApplication::platformName() == u"wayland") {
      // The window goes back only once the answer has come and been drawn.
      LiftLimit();
    } else {
      QTimer::singleShot(0, handle_, [handle = handle_] {
        if (handle != nullptr) {
          handle->setWindowStates({});
        }
      });
    }
  }

  // The compositor insists on the size it gives: the limit goes until it has answered,
  // whatever it answers. A message box fixes its size as it is shown.
  void LiftLimit() {
    if (!restoring_) {
      size_ = window_.maximumSize();
    }
    window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    restoring_ = true;
  }

  // The desktop's answer to a request, or a change of its own, which Qt 6.4 reports before
  // the state's signal. The window goes back once it has been enlarged, and is fixed again
  // once the desktop says it is normal: after going back, or because the request was
  // refused; with whatever size the desktop gave, the fixed one returns.
  void OnAnswer(Qt::WindowStates states) {
    if (Enlarged(states)) {
      LiftLimit();
      LeaveWhenDrawn();
      return;
    }
    if (!restoring_) {
      return;
    }
    restoring_ = false;
    leaveWhenDrawn_ = false;
    window_.setFixedSize(size_);
  }

  // The desktop may enlarge the window itself (a window menu, a key): it goes back as soon
  // as it has drawn itself at the size it was given, even an unchanged one.
  void LeaveWhenDrawn() {
    leaveWhenDrawn_ = true;
    window_.update();
  }

  QWidget& window_;
  QSize size_;
  QPointer<QWindow> handle_;
  bool restoring_ = false;
  bool leaveWhenDrawn_ = false;
};

}  // namespace

void KeepFixedSize(QWidget& window) { new FixedSizeKeeper(window); }

}  // namespace tarvelo
