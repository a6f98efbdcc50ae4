#pragma once

class QWidget;

namespace tarvelo {

// Keeps a fixed-size window at its size when a title bar maximises it regardless.
// On Wayland a compositor that draws no title bars leaves them to Qt, and Qt's own title
// bar offers maximise even to a fixed-size window (seen with Qt 6.4); a compositor that
// then finds the window smaller than the size it gave ends the program with a protocol
// error. So the window takes the size it is given and goes straight back. Call once the
// window has its fixed size; the keeper is a child of `window` and follows it onto every
// native window Qt makes for it.
void KeepFixedSize(QWidget& window);

}  // namespace tarvelo
