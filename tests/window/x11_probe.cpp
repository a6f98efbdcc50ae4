#include "x11_probe.h"

#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tarvelo {

void X11Probe::Closer::operator()(_XDisplay* display) const { XCloseDisplay(display); }

X11Probe::X11Probe() {
  int major = XkbMajorVersion;
  int minor = XkbMinorVersion;
  int reason = 0;
  int errorBase = 0;
  display_.reset(XkbOpenDisplay(nullptr, &xkbEventBase_, &errorBase, &major, &minor, &reason));
  if (display_ == nullptr ||
      XkbSelectEvents(display_.get(), XkbUseCoreKbd, XkbBellNotifyMask, XkbBellNotifyMask) == 0) {
    display_.reset();
    return;
  }
  XSync(display_.get(), False);
}

int X11Probe::Bells(_XDisplay* program) {
  if (!connected() || program == nullptr) {
    return 0;
  }
  // The server answers a client's requests in order: once the program's round trip is back,
  // it has rung every bell asked before it and queued the notices for this connection,
  // which come here ahead of the answer to this connection's own round trip.
  XSync(program, False);
  XSync(display_.get(), False);
  int bells = 0;
  while (XPending(display_.get()) > 0) {
    XEvent event;
    XNextEvent(display_.get(), &event);
    const auto* xkb = reinterpret_cast<const XkbAnyEvent*>(&event);  // NOLINT: Xlib's union
    if (event.type == xkbEventBase_ + XkbEventCode && xkb->xkb_type == XkbBellNotify) {
      ++bells;
    }
  }
  return bells;
}

std::optional<X11Probe::MotifHints> X11Probe::Motif(unsigned long window) const {
  if (!connected()) {
    return std::nullopt;
  }
  const Atom property = XInternAtom(display_.get(), "_MOTIF_WM_HINTS", True);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  if (property == None ||
      XGetWindowProperty(display_.get(), window, property, 0, 5, False, AnyPropertyType, &type,
                         &format, &count, &remaining, &data) != Success ||
      data == nullptr) {
    return std::nullopt;
  }
  std::optional<MotifHints> hints;
  if (format == 32 && count >= 3) {
    const auto* values = reinterpret_cast<const unsigned long*>(data);  // NOLINT: format 32
    hints = MotifHints{values[0], values[1], values[2]};
  }
  XFree(data);
  return hints;
}

std::optional<X11Probe::SizeLimits> X11Probe::NormalHints(unsigned long window) const {
  if (!connected()) {
    return std::nullopt;
  }
  XSizeHints hints{};
  long supplied = 0;
  if (XGetWMNormalHints(display_.get(), window, &hints, &supplied) == 0 ||
      (hints.flags & (PMinSize | PMaxSize)) != (PMinSize | PMaxSize)) {
    return std::nullopt;
  }
  return SizeLimits{hints.min_width, hints.min_height, hints.max_width, hints.max_height};
}

}  // namespace tarvelo
