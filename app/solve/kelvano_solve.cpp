// kelvano-solve: writes the final reports of problems from text files or from the problem store, and
// with --json one answer line per problem.
#include "AppPaths.h"
#include "DataMod.h"
#include "MessageSeam.h"
#include "StatementStore.h"
#include "ZLPCore_SolutionResult.h"
#include "ZLPCore_StageTasks.h"
#include "ZLPCore_TaskCatalog.h"
#include "ZLPCore_TaskRun.h"
#include "ZLPCore_TextFormat.h"

#include <nlohmann/json.hpp>

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

// Exit statuses, one per status of a problem; with several problems the status is that of the
// first one that did not end at the optimum (or, for a regression, solved).
enum TExit : int {
  ExitOptimal = 0,
  ExitBadInput = 1,
  ExitUnbounded = 2,
  ExitInfeasible = 3,
  ExitCycling = 4,
  ExitOverflow = 5,
  ExitNotAttained = 6,
  ExitLocal = 7,
  ExitUsage = 64,
};

const char* const Usage =
    "Использование: kelvano-solve [параметры] [ФАЙЛ...]\n"
    "Решает задачи и пишет отчёт, такой же, как \"Мастер решений\" после кнопок \"Решить\" и \"Далее\"\n"
    "(или окно задачи о назначении и МНК), в HTML в кодировке windows-1251.\n"
    "\n"
    "Параметры:\n"
    "  -o, --output ФАЙЛ   записать отчёт в ФАЙЛ (только для одной задачи)\n"
    "  -d, --dir ПАПКА     записать отчёты в ПАПКУ, по одному на задачу (ИМЯ.html)\n"
    "      --json          вывести по строке ответа в формате JSON на задачу (отчёты — только с -o или -d)\n"
    "      --id N          решить сохранённую задачу с номером N из базы задач\n"
    "      --name ИМЯ      решить сохранённую задачу с этим названием из базы задач\n"
    "      --data ПАПКА    папка базы задач (по умолчанию та, с которой работает программа)\n"
    "  -h, --help          показать эту справку\n"
    "\n"
    "Без -o и -d отчёт одной задачи выводится на стандартный вывод, а отчёты нескольких задач\n"
    "записываются рядом с их файлами (ИМЯ.html). По строке итога на задачу выводится в stderr.\n"
    "\n"
    "Коды завершения: 0 оптимум найден (для МНК — коэффициенты найдены); 1 ошибка во входных данных;\n"
    "2 целевая функция не ограничена; 3 система ограничений несовместна; 4 метод зациклился; 5 числа\n"
    "вышли за пределы точных дробей; 6 наилучшее значение не достигается; 7 найдена точка Куна-Таккера\n"
    "невогнутой функции; 64 неверные параметры. Для нескольких задач код — первой задачи без оптимума.\n";

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
  std::string JsonFile;         // the "file" of the answer line: the path, or "id:N"
  std::string OutputStem;       // name of the report without ".html"
  std::filesystem::path Beside; // folder of the input file, for reports written beside it
  std::optional<TStatementGrid> Statement;
  std::uint8_t TaskType = 0; // as far as it is known
  std::string Error;         // why there is no statement: line and field included
};

TExit ExitOf(TTaskStatus s) {
  switch (s) {
  case TTaskStatus::Optimal:
  case TTaskStatus::Solved: return ExitOptimal;
  case TTaskStatus::Unbounded: return ExitUnbounded;
  case TTaskStatus::Infeasible: return ExitInfeasible;
  case TTaskStatus::Cycling: return ExitCycling;
  case TTaskStatus::Overflow: return ExitOverflow;
  case TTaskStatus::NotAttained: return ExitNotAttained;
  case TTaskStatus::Local: return ExitLocal;
  case TTaskStatus::Pending:
  case TTaskStatus::BadInput: return ExitBadInput;
  }
  return ExitBadInput;
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
  p.JsonFile = name;
  const std::filesystem::path path(name);
  p.OutputStem = path.stem().string();
  p.Beside = path.parent_path();
  std::string text;
  std::string reason;
  if (!ReadWholeFile(path, text, reason)) {
    p.Error = name + ": " + reason;
    return p;
  }
  TTextFormatError error;
  p.Statement = ParseStatementText(text, error);
  p.TaskType = p.Statement ? p.Statement->TaskType : error.TaskType;
  if (!p.Statement) {
    p.Error = name;
    if (error.Line > 0) p.Error += ":" + std::to_string(error.Line);
    if (!error.Field.empty()) p.Error += ": " + error.Field;
    p.Error += ": " + error.Message;
  }
  return p;
}

TProblem FromStore(const std::optional<TDM>& dm, std::optional<int> id, const std::string& name) {
  TProblem p;
  p.Label = id ? "база задач: задача " + std::to_string(*id) : "база задач: \"" + name + "\"";
  p.JsonFile = id ? "id:" + std::to_string(*id) : "name:" + name;
  p.OutputStem = id ? "task" + std::to_string(*id) : name;
  if (!dm || !dm->IsOpen()) {
    p.Error = p.Label + ": база задач недоступна";
    return p;
  }
  const int taskId = id ? *id : FindTaskByName(*dm, name, 0);
  if (taskId > 0) p.JsonFile = "id:" + std::to_string(taskId);
  const std::optional<TTaskRow> task = taskId > 0 ? dm->FindTask(taskId) : std::nullopt;
  if (!task) {
    p.Error = p.Label + ": такой задачи в базе нет";
    return p;
  }
  p.TaskType = static_cast<std::uint8_t>(task->TaskType);
  std::string error;
  p.Statement = LoadStatement(*dm, taskId, error);
  if (!p.Statement) p.Error = p.Label + ": " + error;
  return p;
}

// The answer line of --json: every exact number in its text form, as BATCH.md asks.
nlohmann::ordered_json AnswerLine(const TProblem& p, const TTaskVerdict& v) {
  nlohmann::ordered_json j;
  j["file"] = p.JsonFile;
  j["type"] = p.TaskType;
  j["status"] = StatusName(v.Status);
  j["message"] = v.Message;
  const bool point = v.Status == TTaskStatus::Optimal || v.Status == TTaskStatus::Local;
  if (point || v.Status == TTaskStatus::NotAttained) {
    if (v.Total)
      j["objective"] = *v.Total;
    else if (v.Objective)
      j["objective"] = RatToStr(*v.Objective);
  }
  if (point && (!v.X.empty() || p.TaskType != TT_ASSIGNMENT)) {
    nlohmann::ordered_json x = nlohmann::ordered_json::array();
    for (const TRational& value : v.X) x.push_back(RatToStr(value));
    if (p.TaskType != TT_ASSIGNMENT) j["x"] = x;
  }
  if (v.Concave) j["concave"] = *v.Concave;
  if (p.TaskType == TT_ASSIGNMENT && !v.Assignment.empty()) j["assignment"] = v.Assignment;
  if (v.Status == TTaskStatus::Solved) {
    if (v.A) j["A"] = *v.A;
    if (v.B) j["B"] = *v.B;
  }
  return j;
}

nlohmann::ordered_json BadInputLine(const TProblem& p, const std::string& error) {
  nlohmann::ordered_json j;
  j["file"] = p.JsonFile;
  j["type"] = p.TaskType;
  j["status"] = StatusName(TTaskStatus::BadInput);
  j["message"] = StatusSentence(TTaskStatus::BadInput);
  j["error"] = error;
  return j;
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
  bool json = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    auto value = [&](const char* what) -> std::optional<std::string> {
      if (i + 1 >= argc) {
        std::cerr << "kelvano-solve: после " << a << " нужен " << what << '\n';
        return std::nullopt;
      }
      return std::string(argv[++i]);
    };
    if (a == "--json") {
      json = true;
      continue;
    }
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
    TZLPCore_Interface data;
    TStatementError readError;
    std::string error = p.Error;
    if (p.Statement && !ReadStatement(*p.Statement, data, readError))
      error = p.Label + ": " + readError.Field + ": " + readError.Message;
    if (!error.empty()) {
      std::cerr << error << '\n' << p.Label << ": ошибка во входных данных, отчёт не записан\n";
      if (json) std::cout << BadInputLine(p, error).dump() << '\n' << std::flush;
      note(ExitBadInput);
      continue;
    }
    TZLPCore_SolutionResult report;
    const TTaskVerdict verdict = RunTask(p.Statement->TaskType, data, report);
    std::optional<std::filesystem::path> target = output;
    if (dir)
      target = *dir / (p.OutputStem + ".html");
    else if (!output && !json && count > 1)
      target = p.Beside / (p.OutputStem + ".html");
    if ((target || !json) && !WriteOut(report, target)) {
      std::cerr << p.Label << ": отчёт не удалось записать" << (target ? " в " + target->string() : "") << '\n';
      if (json) std::cout << BadInputLine(p, "отчёт не удалось записать").dump() << '\n' << std::flush;
      note(ExitBadInput);
      continue;
    }
    std::cerr << p.Label << ": " << verdict.Message << '\n';
    if (json) std::cout << AnswerLine(p, verdict).dump() << '\n' << std::flush;
    note(ExitOf(verdict.Status));
  }
  return status;
}
