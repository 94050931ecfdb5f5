// The program's message boxes: the message seam shown through QMessageBox with Russian buttons.
#include "QtMessageSink.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <array>
#include <utility>

namespace {

QMessageBox::Icon BoxIcon(TMsgIcon icon) {
  switch (icon) {
  case TMsgIcon::Information: return QMessageBox::Information;
  case TMsgIcon::Warning: return QMessageBox::Warning;
  case TMsgIcon::Error: return QMessageBox::Critical;
  case TMsgIcon::Question: return QMessageBox::Question;
  case TMsgIcon::None: break;
  }
  return QMessageBox::NoIcon;
}

struct TButtonInfo {
  TMsgButton Button;
  const char* Text;
  QMessageBox::ButtonRole Role;
  TMsgAnswer Answer;
};

// In the order the buttons stand in the box.
constexpr std::array<TButtonInfo, 4> ButtonInfos{{
    {mbYes, "Да", QMessageBox::YesRole, TMsgAnswer::Yes},
    {mbNo, "Нет", QMessageBox::NoRole, TMsgAnswer::No},
    {mbOK, "OK", QMessageBox::AcceptRole, TMsgAnswer::Ok},
    {mbCancel, "Отмена", QMessageBox::RejectRole, TMsgAnswer::Cancel},
}};

} // namespace

TMsgAnswer TQtMessageSink::Show(const std::string& caption, const std::string& text, TMsgIcon icon,
                                TMsgButtons buttons) {
  if ((buttons & (mbOK | mbCancel | mbYes | mbNo)) == 0) buttons = mbOK;
  QMessageBox box(BoxIcon(icon), QString::fromStdString(caption), QString::fromStdString(text), QMessageBox::NoButton,
                  QApplication::activeWindow());
  std::vector<std::pair<QAbstractButton*, TMsgAnswer>> answers;
  QAbstractButton* escapeButton = nullptr;
  TMsgAnswer escapeAnswer = TMsgAnswer::Ok;
  for (const TButtonInfo& info : ButtonInfos) {
    if ((buttons & info.Button) == 0) continue;
    QPushButton* button = box.addButton(QString::fromUtf8(info.Text), info.Role);
    if (answers.empty()) box.setDefaultButton(button);
    answers.emplace_back(button, info.Answer);
    if (info.Button == mbNo || info.Button == mbCancel || !escapeButton) {
      escapeButton = button;
      escapeAnswer = info.Answer;
    }
  }
  box.setEscapeButton(escapeButton);
  box.exec();
  for (const auto& [button, answer] : answers)
    if (box.clickedButton() == button) return answer;
  return escapeAnswer;
}
