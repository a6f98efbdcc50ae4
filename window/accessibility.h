#pragma once

#include <QAccessibleInterface>
#include <QString>

class QObject;

namespace tarvelo {

// Accessible factory for the controls Qt describes wrongly: line edits (the year box), whose
// support in Qt 6.4 never returns from some word, sentence and line queries of assistive
// tools, and plain frames drawn as lines, which Qt names after their group. Gives nullptr
// for every other object, leaving it to Qt.
QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object);

}  // namespace tarvelo
