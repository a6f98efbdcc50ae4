#include <QApplication>

#include "form1_dialog.h"

int main(int argc, char* argv[]) {
  const QApplication app(argc, argv);
  tarvelo::Form1Dialog dialog;
  dialog.show();
  return QApplication::exec();
}
