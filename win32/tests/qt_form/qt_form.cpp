// Builds the dialog from form1.ui as Qt does and writes what it shows, for the Windows
// suites to hold the Windows dialog to: a reading of the form that does not go through
// form_from_ui.py. One line each: "client W H"; "place NAME X Y W H POINTSx100" for every
// control, in the dialog's client area (a line as the row Qt draws it on); "colour NAME
// RRGGBB" for the window, the labels' text and the buttons' faces and borders.
// usage: qt_form OUTPUT   (QT_QPA_PLATFORM=offscreen without a display)
#include <QApplication>
#include <QDialog>
#include <QFile>
#include <QFrame>
#include <QImage>
#include <QPushButton>
#include <QTextStream>

#include "ui_form1.h"

namespace {

QString Hex(QColor colour) { return colour.name(QColor::HexRgb).mid(1).toUpper(); }

// A button as it is painted: its face beside the caption, and its border half-way down.
struct Painted {
  QColor face;
  QColor border;
};

Painted Paint(QPushButton& button) {
  const QImage image = button.grab().toImage();
  return {image.pixelColor(6, 8), image.pixelColor(0, image.height() / 2)};
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2) {
    QTextStream(stderr) << "usage: qt_form OUTPUT\n";
    return 2;
  }
  QDialog dialog;
  Ui::Form1 form;
  form.setupUi(&dialog);
  dialog.ensurePolished();

  QFile file(QString::fromLocal8Bit(argv[1]));
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    QTextStream(stderr) << "qt_form: cannot write " << file.fileName() << '\n';
    return 1;
  }
  QTextStream out(&file);
  out << "client " << dialog.width() << ' ' << dialog.height() << '\n';
  for (QWidget* widget : dialog.findChildren<QWidget*>()) {
    if (widget->objectName().isEmpty() || widget->objectName().startsWith(QLatin1String("qt_"))) {
      continue;  // a part of a Qt control, not a control of the form
    }
    widget->ensurePolished();
    QRect place(widget->mapTo(&dialog, QPoint(0, 0)), widget->size());
    if (const auto* line = qobject_cast<QFrame*>(widget);
        line != nullptr && line->frameShape() == QFrame::HLine) {
      // QStyle draws a plain line across the middle row, lineWidth thick.
      place = QRect(place.x(), place.y() + place.height() / 2, place.width(), line->lineWidth());
    }
    out << "place " << widget->objectName() << ' ' << place.x() << ' ' << place.y() << ' '
        << place.width() << ' ' << place.height() << ' '
        << qRound(widget->font().pointSizeF() * 100) << '\n';
  }

  out << "colour window " << Hex(dialog.palette().color(QPalette::Window)) << '\n';
  out << "colour text " << Hex(form.Label1->palette().color(form.Label1->foregroundRole())) << '\n';
  QPushButton& button = *form.Command2;  // a button that is not the default
  const Painted normal = Paint(button);
  button.setDown(true);
  const Painted pressed = Paint(button);
  button.setDown(false);
  out << "colour buttonFace " << Hex(normal.face) << '\n';
  out << "colour buttonBorder " << Hex(normal.border) << '\n';
  out << "colour buttonPressed " << Hex(pressed.face) << '\n';
  out << "colour defaultBorder " << Hex(Paint(*form.Command1).border) << '\n';
  out << "colour buttonText " << Hex(button.palette().color(QPalette::Active, QPalette::ButtonText))
      << '\n';
  out << "colour disabledText "
      << Hex(button.palette().color(QPalette::Disabled, QPalette::ButtonText)) << '\n';
  return file.error() == QFileDevice::NoError ? 0 : 1;
}
