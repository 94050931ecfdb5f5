// Tests of the load dialog against a real store: filters, loading, deleting and its messages.
#include "DataMod.h"
#include "MessageRecorder.h"
#include "untLoad.h"

#include <QComboBox>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include <functional>
#include <memory>

namespace {

QString U(const char* text) { return QString::fromUtf8(text); }

// Runs action on the dialog once its modal loop has started; a dialog that the action left open
// (a failed check returns early) is closed so that the test goes on.
void WhileShown(TLoadForm& form, std::function<void()> action) {
  QTimer::singleShot(0, &form, [&form, action = std::move(action)] {
    QVERIFY(form.isVisible());
    action();
    if (form.isVisible()) form.reject();
  });
}

QStringList Names(const TLoadForm& form) {
  QStringList names;
  for (int i = 0; i < form.ListView1->topLevelItemCount(); ++i) names << form.ListView1->topLevelItem(i)->text(1);
  return names;
}

void SelectRow(TLoadForm& form, int row) {
  QTreeWidgetItem* item = form.ListView1->topLevelItem(row);
  QVERIFY(item != nullptr);
  const QRect rect = form.ListView1->visualItemRect(item);
  QTest::mouseClick(form.ListView1->viewport(), Qt::LeftButton, {}, rect.center());
  QCOMPARE(form.ListView1->selectedItems().size(), 1);
}

} // namespace

class TestLoadForm : public QObject {
  Q_OBJECT

private slots:
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::Russian)); }

  void init() {
    Folder = std::make_unique<QTemporaryDir>();
    QVERIFY(Folder->isValid());
    Store = std::make_unique<TDM>(Folder->path().toStdString());
    QVERIFY(Store->IsOpen());
    Ids.clear();
    Ids << Add("Первая задача ЛП", 8) << Add("Задача Гомори", 24) << Add("Назначение бригад", 88)
        << Add("Вторая задача ЛП", 8);
  }

  void cleanup() {
    Store.reset();
    Folder.reset();
  }

  void FilterItems() {
    TLoadForm form(*Store);
    const QStringList expected = {U("(Все типы задач)"),        U("Линейного программирования"),
                                  U("Целочисленного прогр."),   U("Квадратичного прогр."),
                                  U("Дробно-линейного прогр."), U("Задачи о раскрое"),
                                  U("Задачи о назначении"),     U("Поиск коэф. регрессии"),
                                  U("Транспортные задачи")};
    QStringList items;
    for (int i = 0; i < form.ComboBox1->count(); ++i) items << form.ComboBox1->itemText(i);
    QCOMPARE(items, expected);
    QCOMPARE(form.windowTitle(), U("Загрузка условия задачи"));
    QCOMPARE(form.ListView1->headerItem()->text(0), U("Дата"));
    QCOMPARE(form.ListView1->headerItem()->text(1), U("Название"));
    QCOMPARE(form.ListView1->headerItem()->text(2), U("Тип задачи"));
  }

  void ChooseFiltered_data() {
    QTest::addColumn<int>("taskType");
    QTest::addColumn<QStringList>("names");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("canFilter");
    QTest::newRow("all") << 0
                         << QStringList{U("Первая задача ЛП"), U("Задача Гомори"), U("Назначение бригад"),
                                        U("Вторая задача ЛП")}
                         << U("Все типы задач") << true;
    QTest::newRow("8") << 8 << QStringList{U("Первая задача ЛП"), U("Вторая задача ЛП")}
                       << U("Задача линейного программирования") << false;
    QTest::newRow("24") << 24 << QStringList{U("Задача Гомори")} << U("Задача целочисленного программирования")
                        << false;
    QTest::newRow("104 none stored") << 104 << QStringList{} << U("Поиск коэффициентов регрессии") << false;
    QTest::newRow("255 is not a filter") << 255
                                         << QStringList{U("Первая задача ЛП"), U("Задача Гомори"),
                                                        U("Назначение бригад"), U("Вторая задача ЛП")}
                                         << U("Все типы задач") << true;
  }

  // A type shows only its problems in table order, without the filter and the type column but with
  // "Удалить"; the strip names the list in the same form either way; closing with "Отмена" picks
  // nothing.
  void ChooseFiltered() {
    QFETCH(int, taskType);
    QFETCH(QStringList, names);
    QFETCH(QString, caption);
    QFETCH(bool, canFilter);
    TLoadForm form(*Store);
    WhileShown(form, [&] {
      QCOMPARE(Names(form), names);
      QCOMPARE(form.Label1->text(), caption);
      QCOMPARE(form.ComboBox1->isVisible(), canFilter);
      QCOMPARE(!form.ListView1->isColumnHidden(2), canFilter);
      QVERIFY(form.btnDelete->isVisible());
      QVERIFY(form.ListView1->selectedItems().isEmpty());
      for (int i = 0; i < form.ListView1->topLevelItemCount(); ++i)
        QVERIFY(form.ListView1->topLevelItem(i)->text(0).startsWith(U("  20")));
      QTest::mouseClick(form.Button1, Qt::LeftButton);
    });
    QCOMPARE(form.ChooseProblem(static_cast<std::uint8_t>(taskType)), 0);
  }

  // Changing the filter refills the list and the caption strip.
  void FilterChange() {
    TLoadForm form(*Store);
    QStringList afterChange;
    QString caption;
    WhileShown(form, [&] {
      form.ComboBox1->setCurrentIndex(6);
      afterChange = Names(form);
      caption = form.Label1->text();
      form.ComboBox1->setCurrentIndex(0);
      QCOMPARE(Names(form).size(), 4);
      form.reject();
    });
    static_cast<void>(form.ChooseProblem(0));
    QCOMPARE(afterChange, QStringList{U("Назначение бригад")});
    QCOMPARE(caption, U("Задача о назначении"));
  }

  void Load_data() {
    QTest::addColumn<int>("filter");
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("index");
    QTest::addColumn<bool>("doubleClick");
    QTest::newRow("all, third row") << 0 << 2 << 2 << false;
    QTest::newRow("8, second row") << 8 << 1 << 3 << false;
    QTest::newRow("all, double click") << 0 << 1 << 1 << true;
  }

  // The picked row's Id comes back with its task type.
  void Load() {
    QFETCH(int, filter);
    QFETCH(int, row);
    QFETCH(int, index);
    QFETCH(bool, doubleClick);
    TLoadForm form(*Store);
    WhileShown(form, [&] {
      SelectRow(form, row);
      if (doubleClick) {
        const QRect rect = form.ListView1->visualItemRect(form.ListView1->topLevelItem(row));
        QTest::mouseDClick(form.ListView1->viewport(), Qt::LeftButton, {}, rect.center());
      } else {
        QTest::mouseClick(form.Button2, Qt::LeftButton);
      }
    });
    const int id = form.ChooseProblem(static_cast<std::uint8_t>(filter));
    const int expected = Ids.at(index);
    QCOMPARE(id, expected);
    QCOMPARE(form.ChosenId, expected);
    QCOMPARE(int(form.ChosenType), Store->FindTask(expected)->TaskType);
  }

  void NoSelection_data() {
    QTest::addColumn<bool>("deleting");
    QTest::addColumn<QString>("text");
    QTest::newRow("Загрузить") << false << U("Выберите из списка задачу, которую вы хотите загрузить");
    QTest::newRow("Удалить") << true << U("Выберите из списка задачу, которую вы хотите удалить");
  }

  // Without a selected row the button explains itself and the dialog stays open.
  void NoSelection() {
    QFETCH(bool, deleting);
    QFETCH(QString, text);
    TMessageRecorder messages;
    TLoadForm form(*Store);
    bool stayed = false;
    WhileShown(form, [&] {
      QTest::mouseClick(deleting ? form.btnDelete : form.Button2, Qt::LeftButton);
      stayed = form.isVisible();
      form.reject();
    });
    QCOMPARE(form.ChooseProblem(0), 0);
    QVERIFY(stayed);
    QCOMPARE(messages.Messages.size(), std::size_t{1});
    QCOMPARE(QString::fromStdString(messages.Messages[0].Text), text);
    QCOMPARE(messages.Messages[0].Buttons, TMsgButtons{mbOK});
    QCOMPARE(Store->ListTasks()->size(), std::size_t{4});
  }

  void Delete_data() {
    QTest::addColumn<int>("filter"); // 0: "База задач"; 8: opened for the linear programs
    QTest::addColumn<int>("row");
    QTest::addColumn<int>("index"); // of the problem in Ids
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QStringList>("left");
    const QStringList all = {U("Первая задача ЛП"), U("Задача Гомори"), U("Назначение бригад"), U("Вторая задача ЛП")};
    QTest::newRow("all, Да") << 0 << 1 << 1 << true
                             << QStringList{U("Первая задача ЛП"), U("Назначение бригад"), U("Вторая задача ЛП")};
    QTest::newRow("all, Нет") << 0 << 1 << 1 << false << all;
    QTest::newRow("8, Да") << 8 << 1 << 3 << true << QStringList{U("Первая задача ЛП")};
    QTest::newRow("8, Нет") << 8 << 1 << 3 << false << QStringList{U("Первая задача ЛП"), U("Вторая задача ЛП")};
  }

  // "Удалить", in both forms of the dialog, asks first; only "Да" removes the problem from the
  // store and the list, and the other problems stay with their statements.
  void Delete() {
    QFETCH(int, filter);
    QFETCH(int, row);
    QFETCH(int, index);
    QFETCH(bool, confirm);
    QFETCH(QStringList, left);
    TMessageRecorder messages;
    messages.Answers.push_back(confirm ? TMsgAnswer::Yes : TMsgAnswer::No);
    TLoadForm form(*Store);
    QStringList after;
    WhileShown(form, [&] {
      QVERIFY(form.btnDelete->isVisible());
      SelectRow(form, row);
      QTest::mouseClick(form.btnDelete, Qt::LeftButton);
      after = Names(form);
      form.reject();
    });
    static_cast<void>(form.ChooseProblem(static_cast<std::uint8_t>(filter)));
    QCOMPARE(messages.Messages.size(), std::size_t{1});
    const TRecordedMessage& question = messages.Messages[0];
    QCOMPARE(QString::fromStdString(question.Caption), U("Подтверждение удаления"));
    QCOMPARE(QString::fromStdString(question.Text), U("Вы действительно хотите удалить условие данной задачи ?"));
    QCOMPARE(question.Icon, TMsgIcon::Warning);
    QCOMPARE(question.Buttons, TMsgButtons(mbYes | mbNo));
    QCOMPARE(Store->FindTask(Ids[index]).has_value(), !confirm);
    QCOMPARE(after, left);
    // Reopened, the dialog lists the same: the store itself changed, not only the list.
    WhileShown(form, [&] {
      after = Names(form);
      form.reject();
    });
    static_cast<void>(form.ChooseProblem(static_cast<std::uint8_t>(filter)));
    QCOMPARE(after, left);
    QCOMPARE(Store->ListTasks()->size(), std::size_t(confirm ? 3 : 4));
  }

  // Among all types every row names its type; a leftover temporary row names none.
  void TypeColumn() {
    Ids << Add("Раскрой листов", 72);
    QVERIFY(Store->CreateTempTask() > 0);
    TLoadForm form(*Store);
    QStringList types;
    WhileShown(form, [&] {
      for (int i = 0; i < form.ListView1->topLevelItemCount(); ++i) types << form.ListView1->topLevelItem(i)->text(2);
      form.ComboBox1->setCurrentIndex(5);
      QCOMPARE(Names(form), QStringList{U("Раскрой листов")});
      QCOMPARE(form.ListView1->topLevelItem(0)->text(2), U("Задача о раскрое"));
      form.reject();
    });
    static_cast<void>(form.ChooseProblem(0));
    // The rows in table order: the four of init, the cutting-stock problem, the temporary row.
    QCOMPARE(types, (QStringList{U("Задача линейного программирования"), U("Задача целочисленного программирования"),
                                 U("Задача о назначении"), U("Задача линейного программирования"),
                                 U("Задача о раскрое"), QString()}));
  }

  // Deleting the only row of a filtered list leaves it empty with nothing selected.
  void DeleteLastOfFilter() {
    TLoadForm form(*Store);
    WhileShown(form, [&] {
      form.ComboBox1->setCurrentIndex(2);
      SelectRow(form, 0);
      QTest::mouseClick(form.btnDelete, Qt::LeftButton);
      QCOMPARE(form.ListView1->topLevelItemCount(), 0);
      QCOMPARE(form.SelectedId(), 0);
      QTest::mouseClick(form.Button2, Qt::LeftButton);
      form.reject();
    });
    TMessageRecorder messages;
    QCOMPARE(form.ChooseProblem(0), 0);
    QCOMPARE(messages.Messages.size(), std::size_t{2}); // the question, then "Выберите ..."
    QVERIFY(!Store->FindTask(Ids[1]));
  }

  // A temporary row left behind is listed only among all types, blank, and loads as type 0.
  void LeftoverTemporaryRow() {
    const int temp = Store->CreateTempTask();
    QVERIFY(temp > 0);
    TLoadForm form(*Store);
    WhileShown(form, [&] {
      QCOMPARE(form.ListView1->topLevelItemCount(), 5);
      QCOMPARE(form.ListView1->topLevelItem(4)->text(0), U("  "));
      QCOMPARE(form.ListView1->topLevelItem(4)->text(1), QString());
      SelectRow(form, 4);
      QTest::mouseClick(form.Button2, Qt::LeftButton);
    });
    QCOMPARE(form.ChooseProblem(0), temp);
    QCOMPARE(int(form.ChosenType), 0);

    WhileShown(form, [&] {
      QCOMPARE(form.ListView1->topLevelItemCount(), 2);
      form.reject();
    });
    static_cast<void>(form.ChooseProblem(8));
  }

private:
  int Add(const char* name, int taskType) {
    const int temp = Store->CreateTempTask();
    const int id = Store->SaveTempTaskAs(name, taskType);
    Store->DropTempTask();
    return temp > 0 ? id : -1;
  }

  std::unique_ptr<QTemporaryDir> Folder;
  std::unique_ptr<TDM> Store;
  QList<int> Ids;
};

QTEST_MAIN(TestLoadForm)
#include "tst_untLoad.moc"
