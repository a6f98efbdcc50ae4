#pragma once

#include <QDialog>
#include <QPointer>
#include <memory>

#include "form1.h"
#include "icu_eras.h"
#include "platform.h"

namespace Ui {
class Form1;
}

namespace tarvelo {

// The converter's window. Its controls come from form1.ui; every event is handed to the
// logic's Form1, which reaches back to the controls and the desktop through this class.
// The controls are open to tests, which hold them to the contract in platform.h.
class Form1Dialog final : public QDialog, public Controls, private Platform {
  Q_OBJECT

 public:
  explicit Form1Dialog(QWidget* parent = nullptr);
  ~Form1Dialog() override;
  Form1Dialog(const Form1Dialog&) = delete;
  Form1Dialog(Form1Dialog&&) = delete;
  Form1Dialog& operator=(const Form1Dialog&) = delete;
  Form1Dialog& operator=(Form1Dialog&&) = delete;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void changeEvent(QEvent* event) override;

 public:
  // Controls
  [[nodiscard]] std::string Text1Text() const override;
  void SetText1Text(std::string_view text) override;
  void SetText1MaxLength(int characters) override;
  void Text1SetFocus() override;
  [[nodiscard]] bool Option5Value() const override;
  [[nodiscard]] bool Option5Enabled() const override;

 private:
  // Platform
  void ShowMessage(std::string_view text, MessageStyle style, std::string_view title) override;
  void Beep() override;
  void EndProgram() override;
  void BringBoxBack();

  std::unique_ptr<Ui::Form1> ui_;
  bool arrowKey_ = false;  // an arrow key is moving the selection through the options
  QPointer<QWidget> box_;  // the message box open over the dialog
  IcuEraSource eras_;
  Form1 form_{*this, *this, &eras_};
};

}  // namespace tarvelo
