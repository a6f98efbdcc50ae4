#pragma once

class QWidget;

namespace tarvelo {

// Keeps a fixed-size window at its size when a title bar maximises it regardless.
// Qt 6.4 draws a maximise button on Wayland even for a fixed-size window; a compositor
// that then finds the window smaller than the size it gave ends the program with a
// protocol error. So the window takes the size it is given and goes straight back.
// Call once the window has its fixed size; the keeper is a child of `window`.
void KeepFixedSize(QWidget& window);

}  // namespace tarvelo
