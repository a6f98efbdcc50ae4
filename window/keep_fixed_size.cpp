#include "keep_fixed_size.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>
#include <QWindow>

namespace tarvelo {
namespace {

class FixedSizeKeeper final : public QObject {
 public:
  explicit FixedSizeKeeper(QWidget& window) : QObject(&window), window_(window) {}

  // Runs as the request leaves, before the desktop has answered it.
  void OnStateRequested(Qt::WindowState state) {
    if (state != Qt::WindowMaximized && state != Qt::WindowFullScreen) {
      return;
    }
    if (QGuiApplication::platformName() == u"wayland") {
      // The compositor insists on its size once it has given it; see eventFilter.
      window_.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
      window_.installEventFilter(this);
    } else {
      QTimer::singleShot(0, window_.windowHandle(),
                         [handle = window_.windowHandle()] { handle->setWindowStates({}); });
    }
  }

 protected:
  // Each step waits for the compositor: a request to be normal counts only once the
  // maximised size has been drawn, and the size is fixed again only once it is back.
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched != &window_) {
      return false;
    }
    const bool maximised = window_.isMaximized() || window_.isFullScreen();
    if (maximised && event->type() == QEvent::Paint) {
      QTimer::singleShot(0, &window_, &QWidget::showNormal);
    } else if (!maximised && window_.size() == size_ && event->type() == QEvent::Resize) {
      window_.setFixedSize(size_);
      window_.removeEventFilter(this);
    }
    return false;
  }

 private:
  QWidget& window_;
  QSize size_ = window_.size();
};

}  // namespace

void KeepFixedSize(QWidget& window) {
  window.winId();  // the native window must exist to report its state requests
  auto* keeper = new FixedSizeKeeper(window);
  QObject::connect(window.windowHandle(), &QWindow::windowStateChanged, keeper,
                   &FixedSizeKeeper::OnStateRequested);
}

}  // namespace tarvelo
