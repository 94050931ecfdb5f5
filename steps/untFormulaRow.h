// One line of a formula on the input steps: coefficient edits, each followed by its variable name.
#pragma once

#include "InputFields.h"

#include <QComboBox>
#include <QLineEdit>
#include <QString>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A row reads "c1 X1+ c2 X2+ ... tail": edit j stands before the name "X" + j + "+", and the row
// ends either with the free-term edit of an objective or with a relation box and the right-hand
// side edit of a constraint. The relation box lies over the trailing "+" of the last name.
// The names are painted by the row itself rather than being widgets of their own: a 255 x 255
// problem then needs only the 65,025 edits.
class TFormulaRow final : public QWidget {
  Q_OBJECT

public:
  enum class TTail { FreeTerm, Relation };

  // Layout in pixels: edits are EditWidth wide, names start LabelGap after their edit and the next
  // edit NextGap after the name; the relation box starts SignOverlap before the end of the last name.
  static constexpr int EditWidth = 48;
  static constexpr int LabelGap = 2;
  static constexpr int NextGap = 3;
  static constexpr int SignWidth = 44;
  static constexpr int SignOverlap = 7;
  static constexpr int FreeTermGap = 2;
  static constexpr int RhsGap = 3;

  // cellHeight is the height of every edit and of the relation box.
  TFormulaRow(TTail tail, int cellHeight, QWidget* parent);
  ~TFormulaRow() override;

  [[nodiscard]] int VarCount() const noexcept { return static_cast<int>(Coeffs.size()); }
  // Text of a new edit j; without one, new edits read "0".
  using TNewText = std::function<QString(int j)>;
  // Edits beyond n are destroyed with their values; new ones get their text at creation, which
  // costs about half of creating them with "0" and setting the text afterwards. The row's width
  // follows.
  void SetVarCount(int n, const TNewText& newText = {});
  // Coefficient edit j (1-based); null outside 1..VarCount.
  [[nodiscard]] QLineEdit* Coeff(int j) const;
  // "X" + j + "+"; empty outside 1..VarCount.
  [[nodiscard]] QString LabelText(int j) const;
  // Where the name of variable j is painted, in row coordinates.
  [[nodiscard]] QRect LabelRect(int j) const;

  // Relation box of a constraint row ("<=", "=", ">="), null on an objective row.
  QComboBox* Sign = nullptr;
  // The free term of an objective or the right-hand side of a constraint.
  QLineEdit* Tail = nullptr;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  void PlaceTail();

  const int CellHeight;
  // Owned here so that dropping a variable destroys exactly its edit; each is also a Qt child of
  // the row, which it leaves when it is destroyed.
  std::vector<std::unique_ptr<QLineEdit>> Coeffs;
  std::vector<int> LabelLeft;
  std::vector<int> LabelWidth;
};

// The name of variable j on a row, as the model reads it.
class TFormulaLabelField final : public TLabelField {
public:
  TFormulaLabelField(const TFormulaRow& row, int j) : Row(&row), Index(j) {}
  [[nodiscard]] std::string Caption() const override { return Row->LabelText(Index).toStdString(); }

private:
  const TFormulaRow* Row;
  int Index;
};
