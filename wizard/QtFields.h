// The input steps' edit boxes, labels and drop-down lists seen through the abstract fields of core.
#pragma once

#include "InputFields.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

// Views over widgets that outlive them; texts cross as UTF-8.
class TQtEditField final : public TEditField {
public:
  explicit TQtEditField(QLineEdit& edit) : Edit(&edit) {}
  [[nodiscard]] std::string Text() const override { return Edit->text().toStdString(); }
  bool SetFocus() override {
    if (!Edit->isEnabled() || !Edit->isVisibleTo(Edit->window())) return false;
    Edit->setFocus(Qt::OtherFocusReason);
    return true;
  }
  void SelectAll() override { Edit->selectAll(); }

private:
  QLineEdit* Edit;
};

class TQtLabelField final : public TLabelField {
public:
  explicit TQtLabelField(QLabel& label) : Label(&label) {}
  [[nodiscard]] std::string Caption() const override { return Label->text().toStdString(); }

private:
  QLabel* Label;
};

class TQtComboField final : public TComboField {
public:
  explicit TQtComboField(QComboBox& combo) : Combo(&combo) {}
  [[nodiscard]] int ItemIndex() const override { return Combo->currentIndex(); }
  [[nodiscard]] std::string SelectedText() const override {
    return Combo->currentIndex() < 0 ? std::string() : Combo->currentText().toStdString();
  }

private:
  QComboBox* Combo;
};
