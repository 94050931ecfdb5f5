// kelvano-solve: writes the final report of linear programs from text files or from the problem store.
#include "AppPaths.h"
#include "DataMod.h"
#include "LinearStatement.h"
#include "MessageSeam.h"
#include "ZLPCore_Pages.h"
#include "ZLPCore_SolutionResult.h"
#include "ZLPCore_StageTasks.h"
#include "ZLPCore_TextFormat.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Exit statuses; with several problems the status is that of the first one not solved to the optimum.
enum TExit : int {
  ExitOptimal = 0,
  ExitBadInput = 1,
  ExitUnbounded = 2,
  ExitInfeasible = 3,
  ExitCycling = 4,
  ExitOverflow = 5,
  ExitUsage = 64,
};

const char* const Usage =
    "Использование: kelvano-solve [параметры] [ФАЙЛ...]\n"
    "Решает задачи линейного программирования симплекс-методом и пишет отчёт, такой же, как\n"
    "\"Мастер решений\" после кнопок \"Решить\" и \"Далее\" (HTML в кодировке windows-1251).\n"
    "\n"
    "Параметры:\n"
    "  -o, --output ФАЙЛ   записать отчёт в ФАЙЛ (только для одной задачи)\n"
    "  -d, --dir ПАПКА     записать отчёты в ПАПКУ, по одному на задачу (ИМЯ.html)\n"
    "      --id N          решить сохранённую задачу ЛП с номером N из базы задач\n"
    "      --name ИМЯ      решить сохранённую задачу ЛП с этим названием из базы задач\n"
    "      --data ПАПКА    папка базы задач (по умолчанию та, с которой работает программа)\n"
    "  -h, --help          показать эту справку\n"
    "\n"
    "Без -o и -d отчёт одной задачи выводится на стандартный вывод, а отчёты нескольких задач\n"
    "записываются рядом с их файлами (ИМЯ.html). По строке итога на задачу выводится в stderr.\n"
    "\n"
    "Коды завершения: 0 оптимум найден; 1 ошибка во входных данных; 2 целевая функция не\n"
    "ограничена; 3 система ограничений несовместна; 4 метод зациклился; 5 числа вышли за пределы\n"
    "точных дробей; 64 неверные параметры. Для нескольких задач код — первой задачи без оптимума.\n";

// Messages of the core go to standard error; nothing waits for an answer.
class TStderrSink final : public TMessageSink {
public:
  TMsgAnswer Show(const std::string& caption, const std::string& text, TMsgIcon, TMsgButtons) override {
    std::cerr << caption << ": " << text << '\n';
    return TMsgAnswer::Ok;
  }
};

struct TProblem {
  std::string Label;            // file name or "база задач: ..." for messages
  std::string OutputStem;       // name of the report without ".html"
  std::filesystem::path Beside; // folder of the input file, for reports written beside it
  std::optional<TLinearStatementText> Statement;
};

TExit ExitOf(TLinearVerdict v) {
  switch (v) {
  case TLinearVerdict::Optimal: return ExitOptimal;
  case TLinearVerdict::Unbounded: return ExitUnbounded;
  case TLinearVerdict::Infeasible: return ExitInfeasible;
  case TLinearVerdict::Cycling: return ExitCycling;
  case TLinearVerdict::Overflow: return ExitOverflow;
  case TLinearVerdict::NotCanonical: return ExitBadInput;
  }
  return ExitBadInput;
}

const char* VerdictText(TLinearVerdict v) {
  switch (v) {
  case TLinearVerdict::Optimal: return "найдено оптимальное решение";
  case TLinearVerdict::Unbounded: return "целевая функция не ограничена, решения нет";
  case TLinearVerdict::Infeasible: return "система ограничений несовместна, допустимых решений нет";
  case TLinearVerdict::Cycling: return "симплекс-метод зациклился, решение остановлено";
  case TLinearVerdict::Overflow: return "числа вышли за пределы точных дробей, решение остановлено";
  case TLinearVerdict::NotCanonical: return "задача не приведена к канонической форме";
  }
  return "";
}

bool ReadWholeFile(const std::filesystem::path& path, std::string& text, std::string& reason) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) {
    reason = "это папка, а не файл";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    reason = "файл не удалось открыть";
    return false;
  }
  std::ostringstream buf;
  buf << in.rdbuf();
  text = buf.str();
  return true;
}

TProblem FromFile(const std::string& name) {
  TProblem p;
  p.Label = name;
  const std::filesystem::path path(name);
  p.OutputStem = path.stem().string();
  p.Beside = path.parent_path();
  std::string text;
  std::string reason;
  if (!ReadWholeFile(path, text, reason)) {
    std::cerr << name << ": " << reason << '\n';
    return p;
  }
  TTextFormatError error;
  p.Statement = ParseLinearProgramText(text, error);
  if (!p.Statement) {
    std::cerr << name;
    if (error.Line > 0) std::cerr << ':' << error.Line;
    if (!error.Field.empty()) std::cerr << ": " << error.Field;
    std::cerr << ": " << error.Message << '\n';
  }
  return p;
}

TProblem FromStore(const std::optional<TDM>& dm, std::optional<int> id, const std::string& name) {
  TProblem p;
  p.Label = id ? "база задач: задача " + std::to_string(*id) : "база задач: \"" + name + "\"";
  p.OutputStem = id ? "task" + std::to_string(*id) : name;
  if (!dm || !dm->IsOpen()) {
    std::cerr << p.Label << ": база задач недоступна\n";
    return p;
  }
  const int taskId = id ? *id : FindTaskByName(*dm, name, TT_LINEAR);
  const std::optional<TTaskRow> task = taskId > 0 ? dm->FindTask(taskId) : std::nullopt;
  if (!task) {
    std::cerr << p.Label << ": такой задачи в базе нет\n";
    return p;
  }
  if (task->TaskType != TT_LINEAR) {
    std::cerr << p.Label << ": это не задача линейного программирования (\""
              << GetTaskName(static_cast<std::uint8_t>(task->TaskType)) << "\")\n";
    return p;
  }
  p.Statement = LoadLinearStatement(*dm, taskId);
  if (!p.Statement) std::cerr << p.Label << ": задачу не удалось прочитать из базы\n";
  return p;
}

bool WriteOut(const TZLPCore_SolutionResult& report, const std::optional<std::filesystem::path>& file) {
  if (file) return report.WriteDocument(file->string());
  const std::string bytes = Utf8ToCp1251(report.BuildDocument());
  std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  std::cout.flush();
  return static_cast<bool>(std::cout);
}

} // namespace

// The report documents of a run delete their page series in the temporary folder when they go;
// a folder of this run's own keeps the pages of a program open beside it out of reach.
class TOwnTempFolder {
public:
  TOwnTempFolder() {
    const char* env = std::getenv("TMPDIR");
    std::string pattern = std::string(env && *env ? env : "/tmp") + "/kelvano-solve-XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) {
      Path = pattern;
      setenv("TMPDIR", Path.c_str(), 1);
    }
  }
  ~TOwnTempFolder() {
    std::error_code ec;
    if (!Path.empty()) std::filesystem::remove_all(Path, ec);
  }
  TOwnTempFolder(const TOwnTempFolder&) = delete;
  TOwnTempFolder& operator=(const TOwnTempFolder&) = delete;

private:
  std::string Path;
};

int main(int argc, char** argv) {
  TStderrSink sink;
  SetMessageSink(&sink);
  const TOwnTempFolder tempFolder;

  std::vector<std::string> files;
  std::vector<int> ids;
  std::vector<std::string> names;
  std::optional<std::filesystem::path> output;
  std::optional<std::filesystem::path> dir;
  std::optional<std::filesystem::path> dataDir;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](const char* what) -> std::optional<std::string> {
      if (i + 1 >= argc) {
        std::cerr << "kelvano-solve: после " << a << " нужен " << what << '\n';
        return std::nullopt;
      }
      return std::string(argv[++i]);
    };
    if (a == "-h" || a == "--help") {
      std::cout << Usage;
      return ExitOptimal;
    }
    if (a == "-o" || a == "--output") {
      auto v = value("файл");
      if (!v) return ExitUsage;
      output = *v;
    } else if (a == "-d" || a == "--dir") {
      auto v = value("путь к папке");
      if (!v) return ExitUsage;
      dir = *v;
    } else if (a == "--data") {
      auto v = value("путь к папке");
      if (!v) return ExitUsage;
      dataDir = *v;
    } else if (a == "--id") {
      auto v = value("номер");
      if (!v) return ExitUsage;
      try {
        std::size_t used = 0;
        ids.push_back(std::stoi(*v, &used));
        if (used != v->size()) throw std::invalid_argument(*v);
      } catch (const std::exception&) {
        std::cerr << "kelvano-solve: \"" << *v << "\" не номер задачи\n";
        return ExitUsage;
      }
    } else if (a == "--name") {
      auto v = value("название");
      if (!v) return ExitUsage;
      names.push_back(*v);
    } else if (a.size() > 1 && a.front() == '-' && a != "-") {
      std::cerr << "kelvano-solve: неизвестный параметр " << a << "\n" << Usage;
      return ExitUsage;
    } else {
      files.push_back(a);
    }
  }
  const std::size_t count = files.size() + ids.size() + names.size();
  if (count == 0) {
    std::cerr << Usage;
    return ExitUsage;
  }
  if (output && (count > 1 || dir)) {
    std::cerr << "kelvano-solve: -o годится только для одной задачи; для нескольких используйте -d\n";
    return ExitUsage;
  }

  if (dir) {
    std::error_code ec;
    std::filesystem::create_directories(*dir, ec);
  }

  std::optional<TDM> dm;
  if (!ids.empty() || !names.empty()) {
    const std::filesystem::path folder = dataDir ? *dataDir : TDM::ChooseDataFolder(ProgramDir(), !IsInstalledLayout());
    std::error_code ec;
    // Reading a stored problem never creates the store.
    if (std::filesystem::exists(folder / "Tasks.db", ec)) dm.emplace(folder);
  }

  std::vector<TProblem> problems;
  for (const auto& f : files) problems.push_back(FromFile(f));
  for (int id : ids) problems.push_back(FromStore(dm, id, {}));
  for (const auto& n : names) problems.push_back(FromStore(dm, std::nullopt, n));

  int status = ExitOptimal;
  auto note = [&status](int code) {
    if (status == ExitOptimal) status = code;
  };
  for (const TProblem& p : problems) {
    TZLPCore_SubInterface_ZLP zlp;
    if (!p.Statement || !ReadLinearStatement(*p.Statement, zlp)) {
      std::cerr << p.Label << ": ошибка во входных данных, отчёт не записан\n";
      note(ExitBadInput);
      continue;
    }
    TZLPCore_SolutionResult report;
    const TLinearVerdict verdict = RunLinearTask(zlp, report);
    std::optional<std::filesystem::path> target = output;
    if (dir)
      target = *dir / (p.OutputStem + ".html");
    else if (!output && count > 1)
      target = p.Beside / (p.OutputStem + ".html");
    if (!WriteOut(report, target)) {
      std::cerr << p.Label << ": отчёт не удалось записать" << (target ? " в " + target->string() : "") << '\n';
      note(ExitBadInput);
      continue;
    }
    std::cerr << p.Label << ": " << VerdictText(verdict) << '\n';
    note(ExitOf(verdict));
  }
  return status;
}
