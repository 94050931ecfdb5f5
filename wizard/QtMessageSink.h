// The program's message boxes: the message seam shown through QMessageBox with Russian buttons.
#pragma once

#include "MessageSeam.h"

// Shows every message modally over the active window. The buttons read "OK", "Отмена", "Да" and
// "Нет"; Enter presses the first button offered, Esc the "Нет" or "Отмена" button.
class TQtMessageSink final : public TMessageSink {
public:
  TMsgAnswer Show(const std::string& caption, const std::string& text, TMsgIcon icon, TMsgButtons buttons) override;
};
