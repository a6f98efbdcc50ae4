#include "form1_dialog.h"

#include <QApplication>
#include <QFont>
#include <QIcon>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPixmap>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QWindow>

#include "icon_pixels.h"
#include "keep_fixed_size.h"
#include "ui_form1.h"

namespace tarvelo {
namespace {

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The icon of a message box, and its name for a screen reader, which cannot tell a
// refusal from an answer by the picture.
struct MessageIcon {
  QMessageBox::Icon icon;
  QString name;
};

MessageIcon IconOf(MessageStyle style) {
  switch (style) {
    case MessageStyle::kCritical:
      return {QMessageBox::Critical, QStringLiteral("エラー")};
    case MessageStyle::kExclamation:
      return {QMessageBox::Warning, QStringLiteral("警告")};
    case MessageStyle::kInformation:
      return {QMessageBox::Information, QStringLiteral("情報")};
  }
  return {QMessageBox::NoIcon, {}};
}

// The input box's font is stored by its Windows name; elsewhere a Gothic face that
// looks alike stands in for it.
void InstallFontSubstitutes(const QString& family) {
  QFont::insertSubstitutions(
      family, {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
               QStringLiteral("Noto Sans CJK JP"), QStringLiteral("VL PGothic"),
               QStringLiteral("TakaoPGothic"), QStringLiteral("IPAexGothic"),
               QStringLiteral("Hiragino Kaku Gothic ProN"), QStringLiteral("Yu Gothic UI"),
               QStringLiteral("Meiryo")});
}

QIcon WindowIcon() {
  QIcon icon;
  for (const auto& [size, pixels] : icon_pixels::kPictures) {
    // Read in place: the pictures are built into the program.
    const QImage picture(reinterpret_cast<const uchar*>(pixels.data()),  // NOLINT: bytes
                         size, size, static_cast<qsizetype>(size) * 4, QImage::Format_ARGB32);
    icon.addPixmap(QPixmap::fromImage(picture));
  }
  return icon;
}

}  // namespace

Form1Dialog::Form1Dialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                          Qt::MSWindowsFixedSizeDialogHint),
      ui_(std::make_unique<Ui::Form1>()) {
  // The box's font as form1.ui names it; set before the form gives the box that font, so
  // that the face standing in is the first one looked for and loaded.
  InstallFontSubstitutes(QStringLiteral("ＭＳ Ｐゴシック"));
  // The form's style sheet sets the captions' and the box's point sizes, those its fixed
  // pixel layout was made for, whatever size the desktop's font has: larger text comes from
  // the display's scale, which the dialog follows. Message boxes and menus keep the
  // desktop's font.
  ui_->setupUi(this);
  setWindowIcon(WindowIcon());
  ui_->Text1->setFocus();
  KeepFixedSize(*this);

  connect(ui_->Command1, &QPushButton::clicked, this, [this] { form_.Command1_Click(); });
  connect(ui_->Command2, &QPushButton::clicked, this, [this] { form_.Command2_Click(); });
  connect(ui_->Text1, &QLineEdit::textChanged, this, [this] { form_.Text1_Change(); });
  // A mode changes when an option becomes selected, by mouse or by the arrow keys.
  const auto onSelected = [this](QRadioButton* option, void (Form1::*handler)()) {
    option->installEventFilter(this);
    connect(option, &QRadioButton::toggled, this, [this, handler](bool selected) {
      if (selected) {
        (form_.*handler)();
      }
    });
  };
  onSelected(ui_->Option1, &Form1::Option1_Click);
  onSelected(ui_->Option2, &Form1::Option2_Click);
  onSelected(ui_->Option3, &Form1::Option3_Click);
  onSelected(ui_->Option4, &Form1::Option4_Click);
  onSelected(ui_->Option5, &Form1::Option5_Click);
}

Form1Dialog::~Form1Dialog() = default;

void Form1Dialog::keyPressEvent(QKeyEvent* event) {
  // There is no cancel button: Esc must not close the converter.
  if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier) {
    event->accept();
    return;
  }
  QDialog::keyPressEvent(event);
}

bool Form1Dialog::eventFilter(QObject* watched, QEvent* event) {
  // An arrow key selects the next option and leaves the focus on it, so that the next
  // arrow moves on; the mode's request to focus the box is let pass only for the mouse and
  // the access keys, or a screen reader would announce the box in between.
  const auto* key = event->type() == QEvent::KeyPress ? dynamic_cast<QKeyEvent*>(event) : nullptr;
  if (key != nullptr && !arrowKey_) {
    switch (key->key()) {
      case Qt::Key_Up:
      case Qt::Key_Down:
      case Qt::Key_Left:
      case Qt::Key_Right: {
        const QScopedValueRollback arrow(arrowKey_, true);
        watched->event(event);
        return true;
      }
      default:
        break;
    }
  }
  return QDialog::eventFilter(watched, event);
}

std::string Form1Dialog::Text1Text() const { return ui_->Text1->text().toStdString(); }

void Form1Dialog::SetText1Text(std::string_view text) { ui_->Text1->setText(ToQString(text)); }

void Form1Dialog::SetText1MaxLength(int characters) {
  // The box cuts its text to the new limit; the logic empties it right after, so the
  // cut must not reach the filter as a keystroke.
  const QSignalBlocker quiet(ui_->Text1);
  ui_->Text1->setMaxLength(characters);
}

void Form1Dialog::Text1SetFocus() {
  if (!arrowKey_) {
    ui_->Text1->setFocus(Qt::OtherFocusReason);
  }
}

bool Form1Dialog::Option5Value() const { return ui_->Option5->isChecked(); }

bool Form1Dialog::Option5Enabled() const { return ui_->Option5->isEnabled(); }

void Form1Dialog::ShowMessage(std::string_view text, MessageStyle style, std::string_view title) {
  const MessageIcon icon = IconOf(style);
  QMessageBox box(icon.icon, ToQString(title), ToQString(text), QMessageBox::Ok, this);
  if (auto* label = box.findChild<QLabel*>(QStringLiteral("qt_msgboxex_icon_label"))) {
    label->setAccessibleName(icon.name);
  }
  // A box of fixed size with a close button alone, which a title bar may still maximise.
  box.setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                     Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
  KeepFixedSize(box);
  const QScopedValueRollback<QPointer<QWidget>> open(box_, &box);
  // The dialog is blocked while the box is open, and may not hear of its activation.
  const QMetaObject::Connection activated =
      connect(qApp, &QGuiApplication::focusWindowChanged, &box, [this](QWindow* focused) {
        if (focused != nullptr && focused == windowHandle()) {
          BringBoxBack();
        }
      });
  box.exec();
  disconnect(activated);
}

void Form1Dialog::changeEvent(QEvent* event) {
  // A desktop that minimises the box alone leaves the dialog waiting on a box out of
  // sight: activating the dialog brings the box back in front of it.
  if (event->type() == QEvent::ActivationChange && box_ != nullptr &&
      QGuiApplication::focusWindow() == windowHandle()) {
    BringBoxBack();
  }
  QDialog::changeEvent(event);
}

void Form1Dialog::BringBoxBack() {
  if (box_->isMinimized()) {
    box_->showNormal();
  }
  box_->raise();
  box_->activateWindow();
}

void Form1Dialog::Beep() { QApplication::beep(); }

void Form1Dialog::EndProgram() {
  hide();
  QCoreApplication::exit(0);
}

}  // namespace tarvelo
