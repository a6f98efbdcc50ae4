// The program started with no arguments at all, not even its own name, as execve allows
// (Linux puts an empty name in, other systems leave the vector empty): the dialog opens,
// and the program ends normally.
#include "start.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <array>

namespace {

bool& DialogShown() {
  static bool shown = false;
  return shown;
}

// Runs as the application is made: once its event loop turns, notes whether the dialog is
// on the screen and ends the program.
void EndOnceRunning() {
  QTimer::singleShot(0, [] {
    for (const QWidget* window : QApplication::topLevelWidgets()) {
      DialogShown() = DialogShown() || (window->objectName() == "Form1" && window->isVisible());
    }
    QCoreApplication::quit();
  });
}
Q_COREAPP_STARTUP_FUNCTION(EndOnceRunning)

TEST(Start, OpensTheDialogWithAnEmptyArgumentVector) {
  std::array<char*, 1> none{nullptr};
  EXPECT_EQ(tarvelo::Start(0, none.data()), 0);
  EXPECT_TRUE(DialogShown());
}

}  // namespace
