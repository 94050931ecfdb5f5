// Problems kept as files in the text form of kelvano-solve.
#include "ProblemFile.h"

#include "MessageSeam.h"
#include "TaskCatalog.h"
#include "TextFormat.h"
#include "ZLPCore_Main.h"
#include "ZLPCore_SolutionResult.h"
#include "untStrConst.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QSaveFile>
#include <QSettings>

#include <utility>

using namespace Qt::Literals::StringLiterals;

namespace {

// Files larger than this are refused rather than read, as kelvano-solve refuses them.
constexpr qint64 MaxProblemFileSize = 16 * 1024 * 1024;

const QString RecentKey = u"recentProblems"_s;

QString Filter() { return u"Задачи (*.%1);;Все файлы (*)"_s.arg(QString::fromLatin1(ProblemFileSuffix)); }

QString DefaultQuestion(QWidget* parent, TFileKind kind) {
  const QStringList recent = RecentProblemFiles();
  const QString folder = recent.isEmpty() ? QDir::homePath() : QFileInfo(recent.front()).absolutePath();
  if (kind == TFileKind::OpenProblem)
    return QFileDialog::getOpenFileName(parent, u"Открыть задачу"_s, folder, Filter());
  const bool report = kind == TFileKind::SaveReport;
  QFileDialog dialog(parent, report ? u"Сохранить отчёт как HTML"_s : u"Сохранить задачу как"_s, folder,
                     report ? u"Страницы HTML (*.html *.htm);;Все файлы (*)"_s : Filter());
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(report ? u"html"_s : QString::fromLatin1(ProblemFileSuffix));
  return dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty() ? dialog.selectedFiles().front()
                                                                                 : QString();
}

TProblemFileQuestion& Question() {
  static TProblemFileQuestion question = DefaultQuestion;
  return question;
}

std::string Local(const QString& path) { return QDir::toNativeSeparators(path).toStdString(); }

} // namespace

std::optional<TStatementGrid> ReadProblemFile(const QString& path, std::string& error) {
  const std::string name = Local(path);
  const QFileInfo info(path);
  // A pipe, a device or a socket is not opened at all: opening some of them waits or does something.
  if (!info.exists()) {
    error = name + ": файл не найден";
    return std::nullopt;
  }
  if (info.isDir() || !info.isFile()) {
    error = name + (info.isDir() ? ": это папка, а не файл" : ": это не обычный файл");
    return std::nullopt;
  }
  if (info.size() > MaxProblemFileSize) {
    error = name + ": файл больше 16 МБ";
    return std::nullopt;
  }
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    error = name + ": файл не удалось открыть (" + file.errorString().toStdString() + ")";
    return std::nullopt;
  }
  const QByteArray bytes = file.read(MaxProblemFileSize + 1);
  if (bytes.size() > MaxProblemFileSize) {
    error = name + ": файл больше 16 МБ";
    return std::nullopt;
  }
  TTextFormatError textError;
  std::optional<TStatementGrid> grid = ParseStatementText(bytes.toStdString(), textError);
  if (!grid) {
    error = name;
    if (textError.Line > 0) error += ":" + std::to_string(textError.Line);
    if (!textError.Field.empty()) error += ": " + textError.Field;
    error += ": " + textError.Message;
    return std::nullopt;
  }
  // Every field as the input steps read it, so that a file the windows would refuse on "Далее" is
  // refused here, once, naming the field.
  TZLPCore_Interface scratch;
  TStatementError readError;
  if (!ReadStatement(*grid, scratch, readError)) {
    error = name + ": " + readError.Field + ": " + readError.Message;
    return std::nullopt;
  }
  return grid;
}

bool WriteProblemFile(const QString& path, const TStatementGrid& grid, std::string& error) {
  const std::string text = StatementToText(grid);
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) ||
      file.write(text.data(), static_cast<qint64>(text.size())) != static_cast<qint64>(text.size()) || !file.commit()) {
    error = Local(path) + ": файл не записан (" + file.errorString().toStdString() + ")";
    return false;
  }
  return true;
}

TProblemFileQuestion SetProblemFileQuestion(TProblemFileQuestion question) {
  return std::exchange(Question(), question ? std::move(question) : TProblemFileQuestion(DefaultQuestion));
}

QString AskProblemFile(QWidget* parent, TFileKind kind) { return Question()(parent, kind); }

QStringList RecentProblemFiles() {
  QStringList files = QSettings().value(RecentKey).toStringList();
  files.removeAll(QString());
  if (files.size() > RecentProblemCount) files.resize(RecentProblemCount);
  return files;
}

void NoteRecentProblemFile(const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList files = RecentProblemFiles();
  files.removeAll(absolute);
  files.prepend(absolute);
  if (files.size() > RecentProblemCount) files.resize(RecentProblemCount);
  QSettings().setValue(RecentKey, files);
}

void FillRecentMenu(QMenu& menu, const std::function<void(const QString&)>& open) {
  menu.clear();
  const QStringList files = RecentProblemFiles();
  for (qsizetype i = 0; i < files.size(); ++i) {
    const QString& file = files[i];
    // "&1 name": the digit chooses the file from the keyboard.
    QAction* action = menu.addAction(u"&%1 %2"_s.arg(i + 1).arg(QFileInfo(file).fileName()));
    action->setToolTip(file);
    action->setStatusTip(file);
    QObject::connect(action, &QAction::triggered, &menu, [open, file] { open(file); });
  }
  menu.setEnabled(!files.isEmpty());
}

std::string ProblemNameOfFile(const QString& path) { return QFileInfo(path).completeBaseName().toStdString(); }

std::optional<TStatementGrid> OpenProblemFile(QWidget* parent, QString path, QString* opened) {
  if (path.isEmpty()) path = AskProblemFile(parent, TFileKind::OpenProblem);
  if (path.isEmpty()) return std::nullopt;
  std::string error;
  std::optional<TStatementGrid> grid = ReadProblemFile(path, error);
  if (!grid) {
    ShowMessage(sError, "Задача не открыта.\n" + error, TMsgIcon::Error);
    return std::nullopt;
  }
  NoteRecentProblemFile(path);
  if (opened) *opened = path;
  return grid;
}

bool SaveProblemFileAs(QWidget* parent, const TStatementGrid& grid) {
  // Only a statement that reads is written: a box left empty or holding "1 2" would give a file
  // that cannot be opened, or one that opens as another problem.
  TZLPCore_Interface scratch;
  TStatementError readError;
  if (!ReadStatement(grid, scratch, readError)) {
    ShowMessage(sAppTitle, "Задача не сохранена: " + readError.Field + ": " + readError.Message, TMsgIcon::Warning,
                mbOK);
    return false;
  }
  QString path = AskProblemFile(parent, TFileKind::SaveProblem);
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += u'.' + QString::fromLatin1(ProblemFileSuffix);
  std::string error;
  if (!WriteProblemFile(path, grid, error)) {
    ShowMessage(sError, error, TMsgIcon::Error);
    return false;
  }
  NoteRecentProblemFile(path);
  return true;
}

bool SaveReportAs(QWidget* parent, const TZLPCore_SolutionResult& report) {
  QString path = AskProblemFile(parent, TFileKind::SaveReport);
  if (path.isEmpty()) return false;
  if (QFileInfo(path).suffix().isEmpty()) path += u".html"_s;
  if (!report.WriteStandaloneDocument(QFile::encodeName(path).toStdString())) {
    ShowMessage(sError, Local(path) + ": отчёт не записан", TMsgIcon::Error);
    return false;
  }
  return true;
}

std::optional<TStatementGrid> TFileProblemStore::LoadStatement(int id, std::string& error) const {
  if (id == FileProblemId) return Grid;
  if (!Store) {
    error = "база задач недоступна";
    return std::nullopt;
  }
  return Store->LoadStatement(id, error);
}
