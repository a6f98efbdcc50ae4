#pragma once

#include <QByteArray>

namespace tarvelo {

// The platform plug-ins to start with when neither -platform nor QT_QPA_PLATFORM names
// one, or empty to leave the choice to Qt. In a Wayland session it asks the compositor
// whether it draws window frames (it offers zxdg_decoration_manager_v1): then the dialog
// is a Wayland window with the desktop's frame; otherwise (GNOME, weston) it is an X11
// window through XWayland when there is one, framed by the desktop, since Qt's own
// Wayland frame offers maximise to a fixed-size window and clips its title.
QByteArray ChoosePlatform();

}  // namespace tarvelo
