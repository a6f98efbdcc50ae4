#pragma once

#include <QAccessibleInterface>
#include <QString>

class QObject;

namespace tarvelo {

// Accessible factory for the controls Qt describes wrongly: line edits (the year box) and
// plain frames drawn as lines, which Qt names after their group. Gives nullptr for every
// other object, leaving it to Qt.
//
// Qt 6.4's line edit leaves word and sentence queries to QAccessibleTextInterface's
// defaults, whose textAfterOffset takes toNextBoundary()'s -1 (no boundary left) for a
// position below the text's end and loops for good on the last unit of the text. Later
// qtbase sources end that loop when no boundary is left; once the oldest Qt supported has
// that check, the line edit part can go (the frame part stays).
QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object);

}  // namespace tarvelo
