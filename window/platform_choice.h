#pragma once

#include <QByteArray>
#include <QString>
#include <functional>

namespace tarvelo {

// The platform plug-ins to start with when neither -platform nor QT_QPA_PLATFORM names
// one, or empty to leave the choice to Qt. In a Wayland session it asks the compositor
// whether it draws window frames (it offers zxdg_decoration_manager_v1): then the dialog
// is a Wayland window with the desktop's frame; otherwise (GNOME, weston) it is an X11
// window through XWayland when there is one, framed by the desktop, since Qt's own
// Wayland frame offers maximise to a fixed-size window and clips its title.
// A connection handed over in WAYLAND_SOCKET is left to Qt untouched, since asking on it
// would use it up: the launcher asked for Wayland. Nothing of libwayland's is written
// while the compositor is asked; when none answers (no runtime folder, no socket), Qt
// chooses.
QByteArray ChoosePlatform();

// The platforms Qt 6 tries by itself: wayland first in a Wayland session (WAYLAND_DISPLAY
// or XDG_SESSION_TYPE=wayland), then xcb.
QByteArray QtDefaultPlatforms();

// From now on libwayland's own messages go to Qt's message handler, which the start-up
// holds until it knows whether a display opened.
void SendWaylandLogToQt();

// The one line said when none of `tried` (names joined by ';', each with optional
// ':options', as Qt takes them) opened: for each, that its plug-in is missing (`installed`
// says) and what to install, or which variable to check; and how to choose another.
QString CannotOpenMessage(const QString& tried,
                          const std::function<bool(const QString& name)>& installed);

}  // namespace tarvelo
