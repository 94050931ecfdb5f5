// The save dialog: asks for the name under which a problem statement is stored.
#pragma once

#include <QDialog>

#include <cstdint>
#include <string>

class QLabel;
class QLineEdit;
class QPushButton;

class TSaveForm : public QDialog {
  Q_OBJECT

public:
  explicit TSaveForm(QWidget* parent = nullptr);

  // Proposes the task type's name, shows the dialog modally and returns the name typed, or "" when
  // the student cancelled. The name is not trimmed: a name of blanks is a name.
  [[nodiscard]] std::string AskName(std::uint8_t taskType);

  QLabel* Image1 = nullptr;
  QLabel* Label1 = nullptr;
  QLabel* Label2 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* Button1 = nullptr;
  QPushButton* Button2 = nullptr;

protected:
  void showEvent(QShowEvent* event) override;

private slots:
  void Button1Click();

private:
  void FormActivate();
  // Centres the dialog on the window active when it is asked, else on the screen.
  void CenterOnCaller();
};
