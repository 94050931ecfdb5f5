// The save dialog: asks for the name under which a problem statement is stored.
#include "untSave.h"

#include "ZLPCore_StageTasks.h"

#include <QApplication>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

TSaveForm::TSaveForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Сохранить условие"));
  setModal(true);

  Image1 = new QLabel(this);
  Image1->setPixmap(style()->standardIcon(QStyle::SP_DialogSaveButton).pixmap(32, 32));
  Image1->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
  Label1 = new QLabel(QStringLiteral("   Укажите название сохраняемой задачи, вы можете указать уже "
                                     "существующее имя без удаления старой задачи:"),
                      this);
  Label1->setWordWrap(true);
  Label2 = new QLabel(QStringLiteral("Название задачи:"), this);
  Edit1 = new QLineEdit(this);
  Edit1->setMinimumWidth(280);
  Label2->setBuddy(Edit1);
  Button1 = new QPushButton(QString::fromUtf8("ОК"), this);
  Button1->setDefault(true);
  Button2 = new QPushButton(QStringLiteral("Отмена"), this);

  auto* top = new QHBoxLayout;
  top->addWidget(Image1);
  top->addWidget(Label1, 1);
  auto* name = new QHBoxLayout;
  name->addWidget(Label2);
  name->addWidget(Edit1, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(Button1);
  buttons->addWidget(Button2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addLayout(name);
  layout->addLayout(buttons);
  setMinimumWidth(420);

  connect(Button1, &QPushButton::clicked, this, &TSaveForm::Button1Click);
  // Escape already rejects a QDialog; the button does the same.
  connect(Button2, &QPushButton::clicked, this, &QDialog::reject);
}

std::string TSaveForm::AskName(std::uint8_t taskType) {
  Edit1->setText(QString::fromStdString(GetTaskName(taskType)));
  CenterOnCaller();
  if (exec() != QDialog::Accepted) return {};
  return Edit1->text().toStdString();
}

void TSaveForm::Button1Click() {
  if (Edit1->text().isEmpty()) return;
  accept();
}

void TSaveForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The window manager activates the dialog after it is mapped; focus the edit once it is.
  QTimer::singleShot(0, this, &TSaveForm::FormActivate);
}

void TSaveForm::FormActivate() {
  Edit1->setFocus();
  Edit1->selectAll();
}

void TSaveForm::CenterOnCaller() {
  adjustSize();
  const QWidget* caller = QApplication::activeWindow();
  QRect area;
  if (caller != nullptr && caller != this)
    area = caller->frameGeometry();
  else if (const QScreen* screen = QGuiApplication::primaryScreen())
    area = screen->availableGeometry();
  if (area.isValid()) move(area.center() - rect().center());
}
