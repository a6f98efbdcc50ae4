#pragma once

#include <memory>
#include <optional>

// Xlib's Display, kept out of the tests: its headers define macros that clash with Qt's.
struct _XDisplay;  // NOLINT(bugprone-reserved-identifier): the name is Xlib's

namespace tarvelo {

// Sees what the program did on the X server it runs on, through a connection of its own.
class X11Probe {
 public:
  struct MotifHints {
    unsigned long flags = 0;
    unsigned long functions = 0;
    unsigned long decorations = 0;
  };
  struct SizeLimits {
    int minWidth = 0;
    int minHeight = 0;
    int maxWidth = 0;
    int maxHeight = 0;
  };

  X11Probe();  // connects to $DISPLAY and listens for keyboard bells
  [[nodiscard]] bool connected() const { return display_ != nullptr; }
  // Keyboard bells rung on the server since the last call, all those that `program`, the
  // program's own connection, has asked for included.
  [[nodiscard]] int Bells(_XDisplay* program);
  [[nodiscard]] std::optional<MotifHints> Motif(unsigned long window) const;
  [[nodiscard]] std::optional<SizeLimits> NormalHints(unsigned long window) const;

 private:
  struct Closer {
    void operator()(_XDisplay* display) const;
  };
  std::unique_ptr<_XDisplay, Closer> display_;
  int xkbEventBase_ = 0;
};

}  // namespace tarvelo
