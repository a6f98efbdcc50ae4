#pragma once

#include <QAccessibleInterface>
#include <QString>

class QObject;

namespace tarvelo {

// Accessible factory for the year box. Qt 6.4's own line-edit support never returns
// from some word, sentence and line queries of assistive tools; this one answers every
// query on the box's short single-line text. Gives nullptr for every other object.
QAccessibleInterface* YearBoxAccessibleFactory(const QString& className, QObject* object);

}  // namespace tarvelo
