// Small abstract views of the input widgets, so that reading a model needs no window.
#pragma once

#include <string>

// An edit box: its text, and the focus with the whole text selected when an entry is refused.
class TEditField {
public:
  virtual ~TEditField() = default;
  [[nodiscard]] virtual std::string Text() const = 0;
  // Gives the box the input focus; false when it cannot take it.
  virtual bool SetFocus() = 0;
  virtual void SelectAll() = 0;
};

// A label beside an edit box.
class TLabelField {
public:
  virtual ~TLabelField() = default;
  [[nodiscard]] virtual std::string Caption() const = 0;
};

// A drop-down list: the selected item (-1 for none) and its text.
class TComboField {
public:
  virtual ~TComboField() = default;
  [[nodiscard]] virtual int ItemIndex() const = 0;
  [[nodiscard]] virtual std::string SelectedText() const = 0;
};
