// Test doubles of the input fields and builders of linear programs for the model tests.
#pragma once

#include "InputFields.h"
#include "RatTestUtil.h"
#include "ZLPCore_Main.h"

#include <memory>
#include <string>
#include <vector>

namespace kt {

class FakeEdit final : public TEditField {
public:
  explicit FakeEdit(std::string text = "", bool canFocus = true) : Value(std::move(text)), CanFocus(canFocus) {}
  std::string Text() const override { return Value; }
  bool SetFocus() override {
    ++FocusCalls;
    return CanFocus;
  }
  void SelectAll() override { ++SelectCalls; }

  std::string Value;
  bool CanFocus;
  int FocusCalls = 0;
  int SelectCalls = 0;
};

class FakeLabel final : public TLabelField {
public:
  explicit FakeLabel(std::string caption) : Value(std::move(caption)) {}
  std::string Caption() const override { return Value; }
  std::string Value;
};

class FakeCombo final : public TComboField {
public:
  FakeCombo(int index, std::string text) : Index(index), Value(std::move(text)) {}
  int ItemIndex() const override { return Index; }
  std::string SelectedText() const override { return Value; }
  int Index;
  std::string Value;
};

// Owns the fakes behind one objective row and one constraint system.
struct FakeForm {
  std::vector<std::unique_ptr<FakeEdit>> Edits;
  std::vector<std::unique_ptr<FakeLabel>> Labels;
  std::vector<std::unique_ptr<FakeCombo>> Combos;

  FakeEdit* Edit(const std::string& text) {
    Edits.push_back(std::make_unique<FakeEdit>(text));
    return Edits.back().get();
  }
  FakeLabel* Label(const std::string& caption) {
    Labels.push_back(std::make_unique<FakeLabel>(caption));
    return Labels.back().get();
  }
  FakeCombo* Combo(int index, const std::string& text) {
    Combos.push_back(std::make_unique<FakeCombo>(index, text));
    return Combos.back().get();
  }

  // Objective: direction item (0 max, 1 min), coefficient texts with labels "X1+", ..., free term text.
  TUICore_ZLPFunction Function(int direction, const std::vector<std::string>& coeffs, const std::string& freeTerm) {
    TUICore_ZLPFunction f;
    f.Direction = Combo(direction, direction == 0 ? "Max" : "Min");
    for (std::size_t j = 0; j < coeffs.size(); ++j) {
      f.Coeffs.push_back(Edit(coeffs[j]));
      f.Labels.push_back(Label("X" + std::to_string(j + 1) + "+"));
    }
    f.FreeTerm = Edit(freeTerm);
    return f;
  }

  // One constraint row: relation text, coefficient texts, right-hand side text.
  TUICore_ZLPEquation Equation(const std::string& sign, const std::vector<std::string>& coeffs,
                               const std::string& rhs) {
    TUICore_ZLPEquation e;
    e.Sign = Combo(0, sign);
    for (std::size_t j = 0; j < coeffs.size(); ++j) {
      e.Coeffs.push_back(Edit(coeffs[j]));
      e.Labels.push_back(Label("X" + std::to_string(j + 1)));
    }
    e.RHS = Edit(rhs);
    return e;
  }
};

struct Constraint {
  std::vector<std::string> a;
  TZLPCore_InequalitySign sign;
  std::string rhs;
};

// A model set through the model's own setters: maximise/minimise obj . x + c0 subject to the rows.
inline TZLPCore_SubInterface_ZLP MakeModel(bool isMax, const std::vector<std::string>& obj, const std::string& c0,
                                           const std::vector<Constraint>& rows) {
  TZLPCore_SubInterface_ZLP z;
  z.IsMax = isMax;
  z.SetVarCount(static_cast<std::int32_t>(obj.size()));
  z.SetConstraintCount(static_cast<std::int32_t>(rows.size()));
  for (std::size_t j = 0; j < obj.size(); ++j) z.Objective.SetItem(static_cast<std::int32_t>(j + 1), R(obj[j]));
  z.FreeTerm = R(c0);
  for (std::size_t i = 0; i < rows.size(); ++i) {
    const auto ci = static_cast<std::int32_t>(i + 1);
    z.SetSign(ci, rows[i].sign);
    z.RHS.SetItem(ci, R(rows[i].rhs));
    for (std::size_t j = 0; j < rows[i].a.size(); ++j)
      z.Coeffs.SetItem(static_cast<std::int32_t>(j + 1), ci, R(rows[i].a[j]));
  }
  return z;
}

} // namespace kt
