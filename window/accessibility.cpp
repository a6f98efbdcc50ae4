#include "accessibility.h"

#include <QAccessibleWidget>
#include <QFrame>
#include <QLineEdit>
#include <QList>
#include <QTextBoundaryFinder>
#include <algorithm>

namespace tarvelo {
namespace {

// Offsets assistive tools send to mean the end of the text and where the cursor is.
constexpr int kEndOffset = -1;
constexpr int kCursorOffset = -2;

// Offsets where the units of a boundary type begin and end, 0 and the length included.
// A single line holds one sentence, one paragraph and one line.
QList<int> Boundaries(const QString& text, QAccessible::TextBoundaryType type) {
  const auto length = static_cast<int>(text.size());
  QList<int> offsets{0};
  if (type == QAccessible::CharBoundary || type == QAccessible::WordBoundary) {
    QTextBoundaryFinder finder(type == QAccessible::CharBoundary ? QTextBoundaryFinder::Grapheme
                                                                 : QTextBoundaryFinder::Word,
                               text);
    // Every step goes forward, so there are at most as many as characters.
    for (int step = 0; step < length; ++step) {
      const auto next = static_cast<int>(finder.toNextBoundary());
      if (next <= offsets.last() || next > length) {
        break;
      }
      offsets.append(next);
    }
  }
  if (offsets.last() != length) {
    offsets.append(length);
  }
  return offsets;
}

enum class Where { kBefore, kAt, kAfter };

// The unit before, at or after an offset, as an assistive tool asks for it.
QString UnitNear(const QString& text, int offset, QAccessible::TextBoundaryType type, Where where,
                 int* start, int* end) {
  const auto length = static_cast<int>(text.size());
  if (offset < 0 || offset > length) {
    *start = -1;
    *end = -1;
    return {};
  }
  const QList<int> offsets = Boundaries(text, type);
  const auto units = static_cast<int>(offsets.size()) - 1;
  // The unit holding the offset; at the very end, the last unit, except that past the
  // last character there is no character.
  int unit = 0;
  if (offset == length) {
    unit = type == QAccessible::CharBoundary ? units : units - 1;
  } else {
    while (offsets[unit + 1] <= offset) {
      ++unit;
    }
  }
  if (where == Where::kBefore) {
    --unit;
  } else if (where == Where::kAfter) {
    ++unit;
  }
  if (unit < 0 || unit >= units) {
    *start = *end = unit < 0 ? 0 : length;
    return {};
  }
  *start = offsets[unit];
  *end = offsets[unit + 1];
  return text.mid(*start, *end - *start);
}

class LineEditAccessible final : public QAccessibleWidget,
                                 public QAccessibleTextInterface,
                                 public QAccessibleEditableTextInterface {
 public:
  explicit LineEditAccessible(QLineEdit* box) : QAccessibleWidget(box, QAccessible::EditableText) {}

  void* interface_cast(QAccessible::InterfaceType type) override {
    if (type == QAccessible::TextInterface) {
      return static_cast<QAccessibleTextInterface*>(this);
    }
    if (type == QAccessible::EditableTextInterface) {
      return static_cast<QAccessibleEditableTextInterface*>(this);
    }
    return QAccessibleWidget::interface_cast(type);
  }

  [[nodiscard]] QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value) {
      return box()->displayText();
    }
    return QAccessibleWidget::text(kind);
  }

  void setText(QAccessible::Text kind, const QString& text) override {
    if (kind == QAccessible::Value) {
      box()->setText(text);
    }
  }

  [[nodiscard]] QAccessible::State state() const override {
    QAccessible::State state = QAccessibleWidget::state();
    state.editable = !box()->isReadOnly();
    state.readOnly = box()->isReadOnly();
    state.selectableText = true;
    return state;
  }

  // QAccessibleTextInterface
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override {
    *startOffset = *endOffset = 0;
    if (selectionIndex == 0 && box()->hasSelectedText()) {
      *startOffset = box()->selectionStart();
      *endOffset = box()->selectionEnd();
    }
  }
  [[nodiscard]] int selectionCount() const override { return box()->hasSelectedText() ? 1 : 0; }
  void addSelection(int startOffset, int endOffset) override {
    setSelection(0, startOffset, endOffset);
  }
  void removeSelection(int selectionIndex) override {
    if (selectionIndex == 0) {
      box()->deselect();
    }
  }
  void setSelection(int selectionIndex, int startOffset, int endOffset) override {
    if (selectionIndex != 0) {
      return;
    }
    const int start = Clamped(startOffset);
    box()->setSelection(start, Clamped(endOffset) - start);
  }
  [[nodiscard]] int cursorPosition() const override { return box()->cursorPosition(); }
  void setCursorPosition(int position) override { box()->setCursorPosition(Clamped(position)); }
  [[nodiscard]] QString text(int startOffset, int endOffset) const override {
    const int start = Clamped(startOffset);
    return box()->displayText().mid(start, std::max(0, Clamped(endOffset) - start));
  }
  [[nodiscard]] QString textBeforeOffset(int offset, QAccessible::TextBoundaryType type,
                                         int* startOffset, int* endOffset) const override {
    return UnitNear(box()->displayText(), Resolved(offset), type, Where::kBefore, startOffset,
                    endOffset);
  }
  [[nodiscard]] QString textAfterOffset(int offset, QAccessible::TextBoundaryType type,
                                        int* startOffset, int* endOffset) const override {
    return UnitNear(box()->displayText(), Resolved(offset), type, Where::kAfter, startOffset,
                    endOffset);
  }
  [[nodiscard]] QString textAtOffset(int offset, QAccessible::TextBoundaryType type,
                                     int* startOffset, int* endOffset) const override {
    return UnitNear(box()->displayText(), Resolved(offset), type, Where::kAt, startOffset,
                    endOffset);
  }
  [[nodiscard]] int characterCount() const override {
    return static_cast<int>(box()->displayText().size());
  }
  [[nodiscard]] QRect characterRect(int offset) const override {
    const QString text = box()->displayText();
    if (offset < 0 || offset >= text.size()) {
      return {};
    }
    // The box says where it draws its cursor, with its margins and however far its text
    // has scrolled: the characters lie at their advances from there, as high as its line.
    const QRect cursor = box()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    const QFontMetrics metrics = box()->fontMetrics();
    const int cursorX = cursor.left() + cursor.width() / 2;
    const int left = cursorX + metrics.horizontalAdvance(text.left(offset)) -
                     metrics.horizontalAdvance(text.left(box()->cursorPosition()));
    const QRect character(left, cursor.top(), metrics.horizontalAdvance(text.mid(offset, 1)),
                          cursor.height());
    return {box()->mapToGlobal(character.topLeft()), character.size()};
  }
  [[nodiscard]] int offsetAtPoint(const QPoint& point) const override {
    const QPoint local = box()->mapFromGlobal(point);
    return box()->rect().contains(local) ? box()->cursorPositionAt(local) : -1;
  }
  void scrollToSubstring(int startIndex, int endIndex) override {
    box()->setCursorPosition(Clamped(endIndex));
    box()->setCursorPosition(Clamped(startIndex));
  }
  [[nodiscard]] QString attributes(int offset, int* startOffset, int* endOffset) const override {
    // One run without attributes of its own.
    const bool valid = offset >= 0 && offset <= characterCount();
    *startOffset = valid ? 0 : -1;
    *endOffset = valid ? characterCount() : -1;
    return {};
  }

  // QAccessibleEditableTextInterface: edits go through the box as typing would, so its
  // length limit and the dialog's input filter apply.
  void deleteText(int startOffset, int endOffset) override {
    replaceText(startOffset, endOffset, {});
  }
  void insertText(int offset, const QString& text) override { replaceText(offset, offset, text); }
  void replaceText(int startOffset, int endOffset, const QString& text) override {
    const int start = Clamped(startOffset);
    box()->setCursorPosition(start);
    if (Clamped(endOffset) > start) {
      box()->setSelection(start, Clamped(endOffset) - start);
    }
    box()->insert(text);
  }

 private:
  [[nodiscard]] QLineEdit* box() const { return qobject_cast<QLineEdit*>(widget()); }
  [[nodiscard]] int Clamped(int offset) const { return std::clamp(offset, 0, characterCount()); }
  [[nodiscard]] int Resolved(int offset) const {
    if (offset == kEndOffset) {
      return characterCount();
    }
    return offset == kCursorOffset ? box()->cursorPosition() : offset;
  }
};

// A plain frame; drawn as a line between controls it is a separator with nothing to read
// out. Its shape is looked at on each question, as it is set after the frame is made.
class FrameAccessible final : public QAccessibleWidget {
 public:
  explicit FrameAccessible(QFrame* frame) : QAccessibleWidget(frame, QAccessible::Border) {}
  [[nodiscard]] QAccessible::Role role() const override {
    return IsLine() ? QAccessible::Separator : QAccessibleWidget::role();
  }
  [[nodiscard]] QString text(QAccessible::Text kind) const override {
    return IsLine() ? QString() : QAccessibleWidget::text(kind);
  }

 private:
  [[nodiscard]] bool IsLine() const {
    const auto shape = qobject_cast<QFrame*>(widget())->frameShape();
    return shape == QFrame::HLine || shape == QFrame::VLine;
  }
};

// The dialog as assistive tools meet it: its controls, but none that is hidden (the
// credit label below the client area), which no one sees and so no one should hear.
class DialogAccessible final : public QAccessibleWidget {
 public:
  explicit DialogAccessible(QWidget* dialog) : QAccessibleWidget(dialog, QAccessible::Dialog) {}
  [[nodiscard]] int childCount() const override { return static_cast<int>(Shown().size()); }
  [[nodiscard]] QAccessibleInterface* child(int index) const override {
    const QList<QWidget*> shown = Shown();
    return index >= 0 && index < shown.size() ? QAccessible::queryAccessibleInterface(shown[index])
                                              : nullptr;
  }
  [[nodiscard]] int indexOfChild(const QAccessibleInterface* child) const override {
    const auto* widget = child != nullptr ? qobject_cast<QWidget*>(child->object()) : nullptr;
    return static_cast<int>(Shown().indexOf(widget));
  }

 private:
  [[nodiscard]] QList<QWidget*> Shown() const {
    QList<QWidget*> shown;
    for (QWidget* control : widget()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      if (!control->isWindow() && !control->isHidden()) {
        shown.append(control);
      }
    }
    return shown;
  }
};

}  // namespace

QAccessibleInterface* AccessibleFactory(const QString& className, QObject* object) {
  // Asked as soon as a control exists, before its name and properties are set. The
  // interfaces are owned by Qt's accessibility cache.
  if (auto* box = qobject_cast<QLineEdit*>(object);
      box != nullptr && className == QLatin1String("QLineEdit")) {
    return new LineEditAccessible(box);
  }
  if (auto* frame = qobject_cast<QFrame*>(object);
      frame != nullptr && className == QLatin1String("QFrame")) {
    return new FrameAccessible(frame);
  }
  if (auto* dialog = qobject_cast<QWidget*>(object);
      dialog != nullptr && className == QLatin1String("tarvelo::Form1Dialog")) {
    return new DialogAccessible(dialog);
  }
  return nullptr;
}

}  // namespace tarvelo
