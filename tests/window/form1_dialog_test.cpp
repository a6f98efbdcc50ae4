#include "form1_dialog.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGlyphRun>
#include <QGroupBox>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPalette>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionGroupBox>
#include <QTextLayout>
#include <QTimer>
#include <QWindow>
#include <QtTest>
#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <memory>
#include <mutex>
#include <stop_token>
#include <thread>

#include "contract_check.h"
#include "start.h"
#include "x11_probe.h"

namespace tarvelo {
namespace {

struct ShownBox {
  QString text;
  QString title;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  QString iconName;  // what a screen reader says for the icon
};

// Answers every message box with OK as soon as it opens, keeping what it showed.
class BoxAnswerer : public QObject {
 public:
  BoxAnswerer() {
    connect(&timer_, &QTimer::timeout, this, &BoxAnswerer::Answer);
    timer_.start(5);
  }
  [[nodiscard]] const QList<ShownBox>& boxes() const { return boxes_; }

 private:
  void Answer() {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (box == nullptr) {
      return;
    }
    // Qt's own name for the icon; a box without it records no icon name.
    auto* icon = box->findChild<QLabel*>("qt_msgboxex_icon_label");
    QAccessibleInterface* named = QAccessible::queryAccessibleInterface(icon);
    boxes_.append({box->text(), box->windowTitle(), box->icon(),
                   named != nullptr ? named->text(QAccessible::Name) : QString()});
    QTest::mouseClick(box->button(QMessageBox::Ok), Qt::LeftButton);
  }
  QTimer timer_;
  QList<ShownBox> boxes_;
};

QString ToQString(std::string_view text) {
  return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

// Types text key by key; characters beyond Latin-1 arrive as an input method commits them.
void Type(QWidget* widget, const QString& text) {
  for (const QChar character : text) {
    if (character.unicode() < 0x80) {
      QTest::keyClick(widget, character.toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(character),
                          Qt::NoModifier);
    }
  }
}

// Pastes text with Ctrl+V. Give it a QStringLiteral: Qt 6.4's Wayland clipboard never frees
// what it is handed, and a literal's text is not on the heap to be reported as a leak.
void Paste(QWidget* widget, const QString& text) {
  QApplication::clipboard()->setText(text);
  QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
}

double Luminance(const QColor& colour) {
  const auto linear = [](double value) {
    return value <= 0.04045 ? value / 12.92 : std::pow((value + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) +
         0.0722 * linear(colour.blueF());
}

// WCAG contrast ratio of the two colours, 1 to 21.
double Contrast(const QColor& one, const QColor& other) {
  const auto [dark, light] = std::minmax({Luminance(one), Luminance(other)});  // by value
  return (light + 0.05) / (dark + 0.05);
}

// Contrast of a caption with its background: that of the pixel in the area (logical pixels)
// that stands out most, the core of a glyph.
double CaptionContrast(const QImage& shot, const QRect& area, const QColor& background) {
  const QRect pixels(area.topLeft() * shot.devicePixelRatio(),
                     area.size() * shot.devicePixelRatio());
  double most = 1;
  for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
    for (int x = pixels.left(); x <= pixels.right(); ++x) {
      most = std::max(most, Contrast(shot.pixelColor(x, y), background));
    }
  }
  return most;
}

// Mean colour of an area in logical pixels.
QColor MeanColour(const QImage& shot, const QRect& area) {
  const qreal ratio = shot.devicePixelRatio();
  double red = 0;
  double green = 0;
  double blue = 0;
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      const QColor pixel = shot.pixelColor(QPoint(x, y) * ratio);
      red += pixel.redF();
      green += pixel.greenF();
      blue += pixel.blueF();
      ++count;
    }
  }
  return QColor::fromRgbF(float(red / count), float(green / count), float(blue / count));
}

// Where the dialog draws each caption: its control, and the rectangle its text takes in
// the control as the style lays it out. A caption cut by its room lies far away.
QList<QPair<QWidget*, QRect>> Captions(const QWidget& dialog) {
  const auto textIn = [](QWidget* widget, const QString& text, Qt::Alignment alignment,
                         const QRect& contents) {
    const QSize size = widget->fontMetrics().size(Qt::TextShowMnemonic, text);
    const QRect rect = QStyle::alignedRect(Qt::LeftToRight, alignment, size, contents);
    return contents.contains(rect) ? rect : rect.united(contents.translated(10000, 0));
  };
  QList<QPair<QWidget*, QRect>> captions;
  for (auto* option : dialog.findChildren<QRadioButton*>()) {
    QStyleOptionButton style;
    style.initFrom(option);
    captions.append({option, textIn(option, option->text(), Qt::AlignLeft | Qt::AlignVCenter,
                                    option->style()->subElementRect(QStyle::SE_RadioButtonContents,
                                                                    &style, option))});
  }
  for (auto* button : dialog.findChildren<QPushButton*>()) {
    QStyleOptionButton style;
    style.initFrom(button);
    style.text = button->text();
    captions.append({button, textIn(button, button->text(), Qt::AlignCenter,
                                    button->style()->subElementRect(QStyle::SE_PushButtonContents,
                                                                    &style, button))});
  }
  for (auto* frame : dialog.findChildren<QGroupBox*>()) {
    QStyleOptionGroupBox box;
    box.initFrom(frame);
    box.text = frame->title();
    box.textAlignment = frame->alignment();
    box.subControls = QStyle::SC_GroupBoxFrame | QStyle::SC_GroupBoxLabel;
    box.lineWidth = 1;
    captions.append(
        {frame, textIn(frame, frame->title(), Qt::AlignCenter,
                       frame->style()->subControlRect(QStyle::CC_GroupBox, &box,
                                                      QStyle::SC_GroupBoxLabel, frame))});
  }
  for (auto* label : dialog.findChildren<QLabel*>()) {
    if (label->isVisibleTo(&dialog)) {
      captions.append(
          {label, textIn(label, label->text(), label->alignment(), label->contentsRect())});
    }
  }
  return captions;
}

// Options, buttons, the frame and the label beside the box.
constexpr qsizetype kCaptions = 9;

// A dark desktop palette, as Breeze Dark or Adwaita-dark give.
QPalette DarkPalette() {
  QPalette dark(QColor(49, 54, 59), QColor(35, 38, 41));  // button, window
  for (const auto group : {QPalette::Active, QPalette::Inactive}) {
    dark.setColor(group, QPalette::WindowText, QColor(252, 252, 252));
    dark.setColor(group, QPalette::ButtonText, QColor(252, 252, 252));
    dark.setColor(group, QPalette::Text, QColor(252, 252, 252));
    dark.setColor(group, QPalette::Base, QColor(27, 30, 32));
  }
  return dark;
}

// Ends the whole run if it is not dismissed in time: a query that never returns cannot fail a
// check of its own.
class Watchdog {
 public:
  Watchdog(std::chrono::seconds limit, const char* what)
      : thread_([limit, what](const std::stop_token& stop) {
          std::mutex mutex;
          std::condition_variable_any dismissed;
          std::unique_lock lock(mutex);
          if (!dismissed.wait_for(lock, stop, limit, [&stop] { return stop.stop_requested(); })) {
            std::cerr << "FAIL: " << what << " did not return within " << limit.count() << " s"
                      << '\n';
            std::_Exit(EXIT_FAILURE);
          }
        }) {}

 private:
  std::jthread thread_;
};

// How a test of messages presses 変換.
constexpr int kClick = 0;
constexpr int kAltC = 1;
constexpr int kEnter = 2;

// Generous: a valgrind run on a busy machine answers slowly.
constexpr int kPatience = 20000;

// Lets events run until the condition holds or the patience runs out; the comparison that
// follows says what was found. (Qt 6.8's QTRY_ macros narrow their time-out to int, which
// the build's warnings refuse.)
void WaitUntil(const std::function<bool()>& holds) {
  static_cast<void>(QTest::qWaitFor(holds, kPatience));
}

}  // namespace

class Form1DialogTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    dialog_ = std::make_unique<Form1Dialog>();
    dialog_->show();
    dialog_->activateWindow();
    // Wayland lets the compositor decide, and Qt cannot wait for it there: wait for the
    // window to become active, whoever activates it.
    WaitUntil([&] { return QApplication::activeWindow() == dialog_.get(); });
    QCOMPARE(QApplication::activeWindow(), dialog_.get());
    QVERIFY2(Find(text1_, "Text1"), "Text1");
    QVERIFY2(Find(command1_, "Command1"), "Command1");
    QVERIFY2(Find(command2_, "Command2"), "Command2");
    for (std::size_t i = 1; i <= 5; ++i) {
      const QString name = QString("Option%1").arg(i);
      QVERIFY2(Find(option_.at(i), name), qPrintable(name));
    }
    QVERIFY2(Find(line1_, "Line1"), "Line1");
    answerer_ = std::make_unique<BoxAnswerer>();
  }

  void cleanup() {
    answerer_.reset();
    dialog_.reset();
  }

  void messages_data() {
    QTest::addColumn<int>("option");   // clicked first; 0 for none: 西暦, as the dialog opens
    QTest::addColumn<bool>("pasted");  // or typed
    QTest::addColumn<QString>("input");
    QTest::addColumn<int>("press");  // kClick, kAltC or kEnter
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("icon");
    const int info = QMessageBox::Information;
    const int warn = QMessageBox::Warning;
    const int stop = QMessageBox::Critical;
    QTest::newRow("empty, Alt+C") << 0 << false << "" << kAltC << "年を入力してください。"
                                  << "Error" << warn;
    QTest::newRow("negative") << 0 << true << QStringLiteral("-5") << kClick
                              << "正の値を入力してください。"
                              << "Error" << stop;
    QTest::newRow("before meiji") << 0 << false << "1867" << kClick
                                  << "西暦1867年以前は変換できません。"
                                  << "Error" << warn;
    QTest::newRow("year zero") << 3 << false << "0" << kClick << "0年はありません。"
                               << "Error" << stop;
    QTest::newRow("right after start, Enter")
        << 0 << false << "1926" << kEnter << "西暦1926年は昭和元年です。"
        << "変換結果" << info;
    QTest::newRow("full-width") << 0 << false << "２０００" << kClick
                                << "西暦２０００年は平成12年です。"
                                << "変換結果" << info;
    QTest::newRow("era") << 1 << false << "05" << kClick << "昭和5年は西暦1930年です。"
                         << "変換結果" << info;
    QTest::newRow("first year") << 2 << false << "1" << kClick << "大正元年は西暦1912年です。"
                                << "変換結果" << info;
    QTest::newRow("heisei") << 4 << false << "１２" << kClick << "平成12年は西暦2000年です。"
                            << "変換結果" << info;
  }

  // One box per press, and the box left empty and focused for the next year.
  void messages() {
    QFETCH(int, option);
    QFETCH(bool, pasted);
    QFETCH(QString, input);
    QFETCH(int, press);
    QFETCH(QString, text);
    QFETCH(QString, title);
    QFETCH(int, icon);

    if (option != 0) {
      QTest::mouseClick(option_.at(std::size_t(option)), Qt::LeftButton);
    }
    // A mode chosen with the mouse hands the focus to the box, where the user types.
    QCOMPARE(QApplication::focusWidget(), Text1());
    if (pasted) {
      Paste(Text1(), input);
    } else {
      Type(Text1(), input);
    }
    if (press == kAltC) {
      QTest::keyClick(dialog_.get(), Qt::Key_C, Qt::AltModifier);
      // An access key clicks the button a moment later.
      WaitUntil([this] { return !answerer_->boxes().isEmpty(); });
    } else if (press == kEnter) {
      QTest::keyClick(Text1(), Qt::Key_Return);
    } else {
      QTest::mouseClick(command1_, Qt::LeftButton);
    }

    QCOMPARE(answerer_->boxes().size(), 1);
    QCOMPARE(answerer_->boxes()[0].text, text);
    QCOMPARE(answerer_->boxes()[0].title, title);
    QCOMPARE(int(answerer_->boxes()[0].icon), icon);
    const QMap<int, QString> iconNames = {{QMessageBox::Information, "情報"},
                                          {QMessageBox::Warning, "警告"},
                                          {QMessageBox::Critical, "エラー"}};
    QCOMPARE(answerer_->boxes()[0].iconName, iconNames[icon]);
    QVERIFY(Text1()->text().isEmpty());
    QCOMPARE(dialog_->focusWidget(), Text1());
  }

  // The window keeps the rules its Form1 relies on.
  void keepsTheContractOfTheLogic() {
    const auto broken = BrokenContractRules(
        {*dialog_, [this](std::string_view text) { Type(Text1(), ToQString(text)); },
         [this](int option) {
           QTest::mouseClick(option_.at(std::size_t(option)), Qt::LeftButton);
         }});
    QStringList lines;
    for (const std::string& line : broken) {
      lines << QString::fromStdString(line);
    }
    QVERIFY2(lines.isEmpty(), qPrintable(lines.join("; ")));
  }

  // The focus stays in the group while the arrows pick an era; Tab then reaches the box.
  // One press moves the focus once: a screen reader announces no box in between.
  void arrowKeysSelectWithinTheGroup() {
    option_[5]->setFocus();
    WaitUntil([&] { return QApplication::focusWidget() == option_[5]; });
    QCOMPARE(QApplication::focusWidget(), option_[5]);
    int focusMoves = 0;
    const QObject watch;
    connect(qApp, &QApplication::focusChanged, &watch, [&focusMoves] { ++focusMoves; });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QVERIFY(option_[3]->isChecked());  // 明治 lies under 西暦
    QCOMPARE(QApplication::focusWidget(), option_[3]);
    QCOMPARE(focusMoves, 1);
    QCOMPARE(Text1()->maxLength(), 2);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    QVERIFY(option_[2]->isChecked());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), Text1());
    QTest::keyClicks(QApplication::focusWidget(), "1");
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(answerer_->boxes().size(), 1);
    QCOMPARE(answerer_->boxes()[0].text, QString("大正元年は西暦1912年です。"));
  }

  void quitsWithStatusZero_data() {
    QTest::addColumn<int>("way");
    QTest::newRow("Enter on 終了") << 0;
    QTest::newRow("Alt+Q with a year typed") << 1;
    QTest::newRow("close button") << 2;
  }

  void quitsWithStatusZero() {
    QFETCH(int, way);
    const std::array<std::function<void()>, 3> quit = {
        [this] {
          command2_->setFocus();
          QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        },
        [this] {
          Type(Text1(), "2000");
          QTest::keyClick(dialog_.get(), Qt::Key_Q, Qt::AltModifier);
        },
        [this] { dialog_->close(); }};
    // Both end with the test: an exit called after the loop has ended would stay pending
    // and end the next loop at once, such as a later message box's.
    const QObject scope;
    QTimer::singleShot(0, &scope, quit.at(std::size_t(way)));
    QTimer::singleShot(kPatience, &scope, [] { QCoreApplication::exit(1); });
    QCOMPARE(QApplication::exec(), 0);
    QVERIFY(!dialog_->isVisible());
    QVERIFY(answerer_->boxes().isEmpty());
  }

  void escapeKeepsTheWindowOpen() {
    Type(Text1(), "19");
    QTest::keyClick(Text1(), Qt::Key_Escape);
    QVERIFY(dialog_->isVisible());
    QCOMPARE(Text1()->text(), QString("19"));
  }

  void tabFollowsTheTabOrder() {
    const QStringList expected = {"Command1", "Command2", "Option5", "Text1"};
    QStringList visited;
    for (int i = 0; i < expected.size(); ++i) {
      QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
      visited << QApplication::focusWidget()->objectName();
    }
    QCOMPARE(visited, expected);
  }

  void windowHasItsSizeAndColours() {
    QCOMPARE(dialog_->size(), QSize(188, 130));
    const QList<QSize> iconSizes = {{16, 16}, {24, 24}, {32, 32}, {48, 48}, {64, 64}};
    QCOMPARE(dialog_->windowIcon().availableSizes(), iconSizes);
    const QImage shot = dialog_->grab().toImage();
    const qreal ratio = shot.devicePixelRatio();
    QCOMPARE(shot.pixelColor(QPoint(185, 125) * ratio), QColor(192, 192, 255));  // window
    QCOMPARE(shot.pixelColor(QPoint(84, 60) * ratio), QColor(192, 192, 255));    // inside the frame
    // A strip of each button's face beside its caption.
    for (const QPushButton* button : {command1_, command2_}) {
      const QRect strip = button->geometry().adjusted(3, 3, 0, -3);
      QCOMPARE(MeanColour(shot, strip.adjusted(0, 0, 6 - strip.width(), 0)).name(),
               QColor(224, 224, 224).name());
    }
  }

  void captionsAreReadableOnEveryTheme_data() {
    QTest::addColumn<bool>("dark");
    QTest::newRow("desktop") << false;  // whatever the platform theme gives
    QTest::newRow("dark") << true;
  }

  // The fixed backgrounds keep black captions; the box and the message boxes follow the theme.
  void captionsAreReadableOnEveryTheme() {
    QFETCH(bool, dark);
    answerer_.reset();  // the message box below stays open
    const QPalette desktop = QApplication::palette();
    const auto restore = qScopeGuard([&desktop] { QApplication::setPalette(desktop); });
    if (dark) {
      QApplication::setPalette(DarkPalette());
    }
    const QPalette theme = QApplication::palette();
    // A dark platform theme that failed to load would leave the light default to pass.
    if (qEnvironmentVariableIsSet("TARVELO_EXPECT_DARK")) {
      QVERIFY(Luminance(theme.color(QPalette::Window)) < 0.2);
    }
    Form1Dialog dialog;
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const QImage shot = dialog.grab().toImage();
    const QColor window(192, 192, 255);
    const QColor face(224, 224, 224);
    const auto captions = Captions(dialog);
    QCOMPARE(captions.size(), kCaptions);
    for (const auto& [widget, text] : captions) {
      const QColor background = qobject_cast<QPushButton*>(widget) != nullptr ? face : window;
      const QRect area(widget->mapTo(&dialog, text.topLeft()), text.size());
      const double contrast = CaptionContrast(shot, area & dialog.rect(), background);
      QVERIFY2(contrast >= 4.5,
               qPrintable(QString("%1: %2").arg(widget->objectName()).arg(contrast)));
    }

    auto* box = dialog.findChild<QLineEdit*>("Text1");
    QVERIFY(box != nullptr);
    // A theme may give line edits colours of their own (Qt 6.8's GTK 3 theme does).
    const QPalette edit = QApplication::palette(box);
    QCOMPARE(box->palette().color(QPalette::Base), edit.color(QPalette::Base));
    QCOMPARE(box->palette().color(QPalette::Text), edit.color(QPalette::Text));
    QMessageBox message(QMessageBox::Information, "変換結果", "西暦1989年は平成元年です。",
                        QMessageBox::Ok, &dialog);
    message.show();
    QVERIFY(QTest::qWaitForWindowExposed(&message));
    QCOMPARE(message.palette().color(QPalette::Window), theme.color(QPalette::Window));
    const QImage messageShot = message.grab().toImage();
    auto* text = message.findChild<QLabel*>("qt_msgbox_label");
    QVERIFY(text != nullptr);
    QVERIFY(CaptionContrast(messageShot, text->geometry(), theme.color(QPalette::Window)) >= 4.5);
    // The dialog's own button face stays on its own buttons.
    QAbstractButton* ok = message.button(QMessageBox::Ok);
    const QRect strip(ok->mapTo(&message, QPoint(3, 3)), QSize(4, ok->height() - 6));
    QVERIFY(MeanColour(messageShot, strip).name() != face.name());
  }

  // Whatever size the desktop's font has (ctest sets it to 18 pt through Qt's KDE and GTK
  // themes), each caption is drawn whole inside its control and the window, clear of the
  // others and of the line under 西暦.
  void captionsFitAtTheDesktopFontSize() {
    if (qEnvironmentVariableIsSet("TARVELO_EXPECT_FONT_POINTS")) {  // the theme was read
      QCOMPARE(QApplication::font().pointSize(),
               qEnvironmentVariableIntValue("TARVELO_EXPECT_FONT_POINTS"));
    }
    const auto captions = Captions(*dialog_);
    QCOMPARE(captions.size(), kCaptions);
    QList<QRect> placed = {QRect(line1_->mapTo(dialog_.get(), QPoint()), line1_->size())};
    for (const auto& [widget, text] : captions) {
      const QString name = widget->objectName();
      for (QWidget* room = widget; room != dialog_.get(); room = room->parentWidget()) {
        const QRect there(widget->mapTo(room, text.topLeft()), text.size());
        QVERIFY2(room->rect().contains(there),
                 qPrintable(QString("%1 cut by %2").arg(name, room->objectName())));
      }
      const QRect onWindow(widget->mapTo(dialog_.get(), text.topLeft()), text.size());
      QVERIFY2(dialog_->rect().contains(onWindow), qPrintable(name + " cut by the window"));
      for (const QRect& other : std::as_const(placed)) {
        QVERIFY2(!onWindow.intersects(other), qPrintable(name + " touches another caption"));
      }
      placed.append(onWindow);
    }
  }

  // What Qt writes by itself is Japanese like the rest, whatever the locale: every entry
  // of the year box's context menu (qt6-translations-l10n).
  void contextMenuIsJapanese() {
    if (!QFile::exists(QLibraryInfo::path(QLibraryInfo::TranslationsPath) + "/qtbase_ja.qm")) {
      QSKIP("Qt's Japanese translation is not installed (qt6-translations-l10n)");
    }
    const std::unique_ptr<QMenu> menu(Text1()->createStandardContextMenu());
    int entries = 0;
    for (const QAction* action : menu->actions()) {
      if (action->isSeparator()) {
        continue;
      }
      ++entries;
      const QString text = action->text();
      QVERIFY2(std::ranges::any_of(text, [](QChar c) { return c.unicode() >= 0x3000; }),
               qPrintable(text));
    }
    QCOMPARE(entries, 7);  // undo, redo, cut, copy, paste, delete, select all
  }

  void separatorShowsAtEveryScale_data() {
    QTest::addColumn<double>("scale");
    for (const double scale : {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0}) {
      QTest::newRow(qPrintable(QString::number(scale))) << scale;
    }
  }

  // The line under 西暦 drawn at the pixel density of a scaled screen: some row of pixels
  // across it stays dark along most of its length.
  void separatorShowsAtEveryScale() {
    QFETCH(double, scale);
    QWidget* line = line1_;
    QImage image((QSizeF(dialog_->size()) * scale).toSize(), QImage::Format_RGB32);
    image.setDevicePixelRatio(scale);
    dialog_->render(&image);
    const QRect area(line->mapTo(dialog_.get(), QPoint()), line->size());
    const QColor window(192, 192, 255);
    int darkestRow = 0;
    for (int y = int(area.top() * scale) - 1; y <= int((area.bottom() + 1) * scale); ++y) {
      int dark = 0;
      for (int x = int(area.left() * scale); x < int((area.right() + 1) * scale); ++x) {
        dark += Contrast(image.pixelColor(x, y), window) >= 3 ? 1 : 0;
      }
      darkestRow = std::max(darkestRow, dark);
    }
    QVERIFY2(darkestRow >= int(area.width() * scale * 0.9),
             qPrintable(QString::number(darkestRow)));
  }

  // The Gothic face installed with the program (fonts-ipafont-gothic) stands in for the
  // box's font and really draws its characters.
  void inputBoxUsesAJapaneseGothicFont() {
    QCOMPARE(Text1()->font().pointSizeF(), 14.25);
    const QString face = "IPAPGothic";
    QVERIFY2(QFontDatabase::families().contains(face), "fonts-ipafont-gothic is not installed");
    QCOMPARE(QFontInfo(Text1()->font()).family(), face);
    QTextLayout layout("1989年", Text1()->font());
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    QStringList faces;
    for (const QGlyphRun& run : layout.glyphRuns()) {
      faces << run.rawFont().familyName().toLower();  // as the font file spells it
    }
    QCOMPARE(faces, QStringList{face.toLower()});
  }

  void refusedKeysRingTheBellOnceEach_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("bells");
    QTest::newRow("digits") << "1989" << 0;
    QTest::newRow("letter") << "a" << 1;
    QTest::newRow("letter after digits") << "12a" << 1;
    QTest::newRow("two letters") << "ab" << 2;
  }

  // The bell as the X server hears it.
  void refusedKeysRingTheBellOnceEach() {
    if (QGuiApplication::platformName() != "xcb") {
      QSKIP("needs an X server (ctest runs this as window.x11)");
    }
    QFETCH(QString, typed);
    QFETCH(int, bells);
    X11Probe server;
    QVERIFY(server.connected());
    const auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    QVERIFY(x11 != nullptr && x11->display() != nullptr);
    Type(Text1(), typed);
    QCOMPARE(server.Bells(x11->display()), bells);
  }

  // A fixed-size dialog: the window manager is told, in the hints it reads, to offer only
  // a close button, and the size.
  void titleBarOffersOnlyClose() {
    if (QGuiApplication::platformName() != "xcb") {
      QSKIP("needs an X server (ctest runs this as window.x11)");
    }
    const X11Probe server;
    const auto motif = server.Motif(dialog_->winId());
    QVERIFY(motif.has_value());
    constexpr unsigned long kFunctions = 1;  // flags: functions and decorations given
    constexpr unsigned long kDecorations = 2;
    constexpr unsigned long kAll = 1;  // functions and decorations: all but those named
    constexpr unsigned long kMinimize = 8;
    constexpr unsigned long kMaximize = 16;
    constexpr unsigned long kClose = 32;
    constexpr unsigned long kMinimizeButton = 32;
    constexpr unsigned long kMaximizeButton = 64;
    QCOMPARE(motif->flags & (kFunctions | kDecorations), kFunctions | kDecorations);
    QCOMPARE(motif->functions & (kAll | kMinimize | kMaximize | kClose), kClose);
    QCOMPARE(motif->decorations & (kAll | kMinimizeButton | kMaximizeButton), 0UL);
    const auto limits = server.NormalHints(dialog_->winId());
    QVERIFY(limits.has_value());
    const QSize size = dialog_->size() * dialog_->devicePixelRatio();
    QCOMPARE(QSize(limits->minWidth, limits->minHeight), size);
    QCOMPARE(QSize(limits->maxWidth, limits->maxHeight), size);
  }

  void textQueriesOfAssistiveToolsAlwaysAnswer_data() {
    QTest::addColumn<QString>("text");
    QTest::newRow("empty") << QStringLiteral("");
    QTest::newRow("digit") << QStringLiteral("7");
    QTest::newRow("year") << QStringLiteral("1989");
    QTest::newRow("full-width") << QStringLiteral("２０００");
    QTest::newRow("sign") << QStringLiteral("-12");
  }

  // Every question a screen reader may ask about the box's text gets an answer that makes
  // sense, wherever the offset lies.
  void textQueriesOfAssistiveToolsAlwaysAnswer() {
    QFETCH(QString, text);
    Paste(Text1(), text);
    QCOMPARE(Text1()->text(), text);
    QAccessibleTextInterface* accessible =
        QAccessible::queryAccessibleInterface(Text1())->textInterface();
    QVERIFY(accessible != nullptr);
    const auto length = int(text.size());
    struct Span {
      QString text;
      int start = 0;
      int end = 0;
    };
    struct Answer {
      int type;
      int asked;
      Span before, at, after;
    };
    QList<Answer> answers;
    {
      const Watchdog watchdog(std::chrono::seconds(120), "a text query of the box");
      for (int type = QAccessible::CharBoundary; type <= QAccessible::NoBoundary; ++type) {
        const auto boundary = QAccessible::TextBoundaryType(type);
        // -1 stands for the end of the text; offsets past it are wrong.
        for (int asked = -1; asked <= length + 1; ++asked) {
          Answer answer{type, asked, {}, {}, {}};
          answer.before.text = accessible->textBeforeOffset(asked, boundary, &answer.before.start,
                                                            &answer.before.end);
          answer.at.text =
              accessible->textAtOffset(asked, boundary, &answer.at.start, &answer.at.end);
          answer.after.text =
              accessible->textAfterOffset(asked, boundary, &answer.after.start, &answer.after.end);
          answers.append(answer);
        }
      }
    }
    for (const auto& [type, asked, before, at, after] : answers) {
      const QString where = QString("boundary %1 offset %2").arg(type).arg(asked);
      const int offset = asked == -1 ? length : asked;
      if (offset > length) {
        QVERIFY2(at.text.isEmpty() && before.text.isEmpty() && after.text.isEmpty(),
                 qPrintable(where));
        continue;
      }
      for (const Span& span : {before, at, after}) {
        QVERIFY2(0 <= span.start && span.start <= span.end && span.end <= length,
                 qPrintable(where));
        QCOMPARE(span.text, text.mid(span.start, span.end - span.start));
      }
      QVERIFY2(before.end <= at.start && at.end <= after.start, qPrintable(where));
      if (offset < length) {
        QVERIFY2(at.start <= offset && offset < at.end, qPrintable(where));
      } else if (type != QAccessible::CharBoundary) {
        QVERIFY2(at.end == length && (length == 0 || at.start < at.end), qPrintable(where));
      }
      if (type > QAccessible::WordBoundary) {  // a single line is one sentence, paragraph, line
        QCOMPARE(at.text, text);
        QVERIFY2(before.text.isEmpty() && after.text.isEmpty(), qPrintable(where));
      }
    }
  }

  // A screen reader meets every control, by its name, in the order the eye reads them, and
  // nothing else.
  void accessibleTreeFollowsTheScreen() {
    QStringList met;
    const std::function<void(QAccessibleInterface*)> walk = [&](QAccessibleInterface* node) {
      for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface* child = node->child(i);
        if (child == nullptr) {
          met << "no node";
          continue;
        }
        met << QString("%1 %2").arg(child->role(), 0, 16).arg(child->text(QAccessible::Name));
        walk(child);
      }
    };
    walk(QAccessible::queryAccessibleInterface(dialog_.get()));
    const auto entry = [](QAccessible::Role role, const QString& name) {
      return QString("%1 %2").arg(role, 0, 16).arg(name);
    };
    const QStringList expected = {
        entry(QAccessible::Grouping, "年号"),    entry(QAccessible::RadioButton, "西暦"),
        entry(QAccessible::Separator, ""),       entry(QAccessible::RadioButton, "明治"),
        entry(QAccessible::RadioButton, "大正"), entry(QAccessible::RadioButton, "昭和"),
        entry(QAccessible::RadioButton, "平成"), entry(QAccessible::EditableText, "年"),
        entry(QAccessible::StaticText, "年"),    entry(QAccessible::Button, "変換(C)"),
        entry(QAccessible::Button, "終了(Q)"),
    };
    QCOMPARE(met, expected);
  }

  void sizeComesBackWhateverTheDesktopAnswers_data() {
    QTest::addColumn<bool>("box");
    QTest::addColumn<bool>("recreated");
    QTest::addColumn<QList<int>>("requests");
    const int maximised = Qt::WindowMaximized;
    const int full = Qt::WindowFullScreen;
    QTest::newRow("maximised") << false << false << QList<int>{maximised};
    QTest::newRow("full screen") << false << false << QList<int>{full};
    QTest::newRow("withdrawn") << false << false << QList<int>{maximised, Qt::WindowNoState};
    QTest::newRow("maximised then full screen") << false << false << QList<int>{maximised, full};
    QTest::newRow("new native window") << false << true << QList<int>{maximised};
    // A message box fixes its size at every layout request and as it is shown.
    QTest::newRow("message box maximised") << true << false << QList<int>{maximised};
    QTest::newRow("message box full screen") << true << false << QList<int>{full};
  }

  // A title bar may maximise a fixed-size window regardless, as Qt's own does on Wayland.
  // However the requests follow one another and whatever the desktop answers, the window
  // survives and ends normal, at its size and fixed; also on a native window made after the
  // first, and with a layout request before the answer, as a change of font or style brings.
  void sizeComesBackWhateverTheDesktopAnswers() {
    QFETCH(bool, box);
    QFETCH(bool, recreated);
    QFETCH(QList<int>, requests);
    if (recreated) {
      const QPointer<QWindow> first = dialog_->windowHandle();
      const Qt::WindowFlags flags = dialog_->windowFlags();
      QWidget holder;
      dialog_->setParent(&holder);  // gives up its native window
      dialog_->setParent(nullptr, flags);
      dialog_->show();
      QVERIFY(QTest::qWaitForWindowExposed(dialog_.get()));
      QVERIFY(first.isNull() && dialog_->windowHandle() != nullptr);
    }
    bool checked = false;
    const auto check = [&checked, &requests](QWidget* window) {
      const QSize size = window->size();
      for (const int state : requests) {
        window->windowHandle()->setWindowStates(Qt::WindowStates(state));
      }
      QEvent layout(QEvent::LayoutRequest);
      QCoreApplication::sendEvent(window, &layout);
      WaitUntil([window] { return window->windowHandle()->windowStates() == Qt::WindowNoState; });
      QCOMPARE(window->windowHandle()->windowStates(), Qt::WindowNoState);
      WaitUntil([window, size] { return window->maximumSize() == size; });
      QCOMPARE(window->maximumSize(), size);
      WaitUntil([window, size] { return window->size() == size; });
      QCOMPARE(window->size(), size);
      checked = true;
    };
    if (!box) {
      check(dialog_.get());
      QVERIFY(checked);
      return;
    }
    answerer_.reset();
    QTimer opened;
    connect(&opened, &QTimer::timeout, this, [&] {
      auto* shown = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
      if (shown == nullptr) {
        return;
      }
      opened.stop();
      const auto answer = qScopeGuard([shown] { shown->button(QMessageBox::Ok)->click(); });
      QVERIFY(QTest::qWaitForWindowExposed(shown, kPatience));
      check(shown);
    });
    opened.start(5);
    Text1()->setText("1989");
    command1_->click();  // returns once the box is closed
    QVERIFY(checked);
    QVERIFY(dialog_->isVisible());
  }

  void characterRectsFollowScrolledText_data() {
    QTest::addColumn<int>("cursor");
    QTest::newRow("start") << 0;
    QTest::newRow("middle") << 9;
    QTest::newRow("end") << 18;
  }

  // Screen readers show and name the character under a point: a line edit finds that
  // character a quarter and three quarters of the way across each rectangle it gives,
  // however far its text has scrolled.
  void characterRectsFollowScrolledText() {
    QFETCH(int, cursor);
    QLineEdit box("西暦1989年は平成元年です。昭和64年");
    box.setFixedWidth(80);
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    box.setCursorPosition(cursor);
    box.repaint();  // a line edit scrolls as it paints
    QAccessibleTextInterface* accessible =
        QAccessible::queryAccessibleInterface(&box)->textInterface();
    int visible = 0;
    for (int offset = 0; offset < box.text().size(); ++offset) {
      const QRect global = accessible->characterRect(offset);
      const QRect rect(box.mapFromGlobal(global.topLeft()), global.size());
      QVERIFY2(rect.width() > 0 && rect.height() > 0, qPrintable(QString::number(offset)));
      if (!box.rect().contains(rect)) {
        continue;  // scrolled out of sight
      }
      ++visible;
      const int y = rect.center().y();
      QCOMPARE(box.cursorPositionAt({rect.left() + rect.width() / 4, y}), offset);
      QCOMPARE(box.cursorPositionAt({rect.left() + rect.width() * 3 / 4, y}), offset + 1);
    }
    QVERIFY(visible >= 3);
  }

 private:  // NOLINT(readability-redundant-access-specifiers): moc reads "private slots" apart
  // Finds a control by its name in form1.ui; a missing one fails init(), naming it, and the
  // test does not run.
  template <typename Widget>
  bool Find(Widget*& widget, const QString& name) {
    widget = dialog_->findChild<Widget*>(name);
    return widget != nullptr;
  }
  [[nodiscard]] QLineEdit* Text1() const { return text1_; }

  std::unique_ptr<Form1Dialog> dialog_;
  QLineEdit* text1_ = nullptr;
  QPushButton* command1_ = nullptr;
  QPushButton* command2_ = nullptr;
  std::array<QRadioButton*, 6> option_{};  // Option1 to Option5 at their numbers
  QWidget* line1_ = nullptr;
  std::unique_ptr<BoxAnswerer> answerer_;
};

}  // namespace tarvelo

int main(int argc, char* argv[]) {
  // Headless unless the caller chose a platform.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  QApplication app(argc, argv);
  tarvelo::PrepareApplication(app);
  tarvelo::Form1DialogTest test;
  return QTest::qExec(&test, argc, argv);
}
#include "form1_dialog_test.moc"
