// The floor the converter's start-up is measured against: a bare dialog captioned
// like it, holding one Japanese label, so that a Japanese font is loaded too.
#include <QApplication>
#include <QDialog>
#include <QLabel>

int main(int argc, char* argv[]) {
  const QApplication app(argc, argv);
  QDialog dialog;
  dialog.setWindowTitle(QStringLiteral("Tarvelo"));
  auto* label = new QLabel(QStringLiteral("年号"), &dialog);
  label->move(8, 8);
  dialog.setFixedSize(188, 130);
  dialog.show();
  return QApplication::exec();
}
