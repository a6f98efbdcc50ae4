#pragma once

class QApplication;

namespace tarvelo {

// Runs the program: answers the command line, then shows the dialog until it ends.
// Returns the exit status: 1 when no window can be opened, 2 for an argument that is
// neither the program's nor Qt's.
int Start(int argc, char* argv[]);

// What the dialog needs of the application, set once before the first window: Qt's own
// texts in Japanese (the context menu of the year box, ...) whatever the locale, and the
// accessible text of line edits.
void PrepareApplication(QApplication& app);

}  // namespace tarvelo
