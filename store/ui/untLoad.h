// The load dialog: lists stored problems, optionally of one task type, to load or delete one.
#pragma once

#include <QDialog>

#include <cstdint>

class QComboBox;
class QLabel;
class QPushButton;
class QTreeWidget;
class TDM;

class TLoadForm : public QDialog {
  Q_OBJECT

public:
  explicit TLoadForm(TDM& store, QWidget* parent = nullptr);

  // Shows the problems of task type t (all of them, with the filter and a column of their types,
  // for a type that is not in the filter list, such as 0) and returns the Id picked, or 0 when none
  // was. "Удалить" deletes a stored problem, after asking, either way.
  // After a non-zero result ChosenId and ChosenType describe the problem.
  [[nodiscard]] int ChooseProblem(std::uint8_t t);
  // Lists the Tasks rows of the current filter in table order, none selected.
  void FillList();

  // Task type of filter item index; 0 for "(Все типы задач)" and for a bad index.
  [[nodiscard]] static int FilterTaskType(int index);
  // The strip over the list for filter item index: "Все типы задач" or the type's full name.
  [[nodiscard]] static QString FilterTitle(int index);
  // The type column's text for a stored task type: the type's name, "" for none.
  [[nodiscard]] static QString TypeText(std::int64_t taskType);
  // Id remembered by a list row; 0 for none.
  [[nodiscard]] int RowId(int row) const;
  // Id of the selected row; 0 when no row is selected.
  [[nodiscard]] int SelectedId() const;

  int ChosenId = 0;
  std::uint8_t ChosenType = 0;

  QLabel* Label1 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QTreeWidget* ListView1 = nullptr;
  QPushButton* btnDelete = nullptr;
  QPushButton* Button2 = nullptr;
  QPushButton* Button1 = nullptr;

private slots:
  void ComboBox1Change();
  void Button2Click();
  void ListView1DblClick();
  void btnDeleteClick();

private:
  void FormCreate();
  void CenterOnScreen();

  TDM& Store;
};
