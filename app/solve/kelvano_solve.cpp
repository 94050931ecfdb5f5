// kelvano-solve: writes the final reports of problems from text files or from the problem store, and
// with --json one answer line per problem.
#include "AppPaths.h"
#include "Simplex.h"
#include "DataMod.h"
#include "MessageSeam.h"
#include "StatementStore.h"
#include "TaskCatalog.h"
#include "TaskRun.h"
#include "TextFormat.h"
#include "ZLPCore_SolutionResult.h"
#include "ZLPCore_StageTasks.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <getopt.h>
#include <iostream>
#include <new>
#include <optional>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

// On a terminal's standard error, a run that lasts more than a second shows how many pivots its
// simplex tables have made so far, refreshed twice a second and cleared when the run ends.
class TProgress {
public:
  explicit TProgress(std::string label) : Label(std::move(label)) {
    if (isatty(STDERR_FILENO) == 0) return;
    Start = TSimplexTable::PivotsMade();
    Worker = std::thread([this] { Show(); });
  }
  ~TProgress() {
    if (!Worker.joinable()) return;
    {
      const std::lock_guard lock(Mutex);
      Done = true;
    }
    Wake.notify_one();
    Worker.join();
    if (Shown) std::cerr << "\r\033[K" << std::flush;
  }
  TProgress(const TProgress&) = delete;
  TProgress& operator=(const TProgress&) = delete;

private:
  void Show() {
    std::unique_lock lock(Mutex);
    if (Wake.wait_for(lock, std::chrono::seconds(1), [this] { return Done; })) return;
    do {
      std::cerr << "\r" << Label << ": итераций симплекс-метода: " << TSimplexTable::PivotsMade() - Start
                << "\033[K" << std::flush;
      Shown = true;
    } while (!Wake.wait_for(lock, std::chrono::milliseconds(500), [this] { return Done; }));
  }

  std::string Label;
  std::int64_t Start = 0;
  std::mutex Mutex;
  std::condition_variable Wake;
  bool Done = false;
  bool Shown = false;
  std::thread Worker;
};

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
    "Решает задачи и пишет отчёт, такой же, как «Мастер решений» после кнопок «Решить» и «Далее»\n"
    "(или окно задачи о назначении и МНК), в HTML.\n"
    "\n"
    "Параметры (значение пишется через пробел или через «=»: --output=ФАЙЛ):\n"
    "  -o, --output ФАЙЛ   записать отчёт в ФАЙЛ (только для одной задачи)\n"
    "  -d, --dir ПАПКА     записать отчёты в ПАПКУ, по одному на задачу (ИМЯ.html)\n"
    "      --json          вывести по строке ответа в формате JSON на задачу (отчёты — только с -o или -d)\n"
    "      --id N          решить сохранённую задачу с номером N из базы задач\n"
    "      --name ИМЯ      решить сохранённую задачу с этим названием из базы задач\n"
    "      --data ПАПКА    папка базы задач (по умолчанию та, с которой работает программа)\n"
    "      --encoding КОД  кодировка отчётов: windows-1251 (по умолчанию) или utf-8 (таблица стилей\n"
    "                      внутри страницы)\n"
    "      --transport-start=min|northwest|vogel\n"
    "                      опорный план транспортной задачи: минимальный элемент (по умолчанию),\n"
    "                      северо-западный угол или метод Фогеля\n"
    "      --table=compact|textbook\n"
    "                      вид симплекс-таблиц: компактный (по умолчанию) или как в учебнике\n"
    "                      (базис, Cб, план B, θ, строка оценок Δj)\n"
    "      --start=dual|artificial\n"
    "                      начало решения задачи без единичного базиса: двойственный симплекс-метод\n"
    "                      (по умолчанию) или метод искусственного базиса (M-метод)\n"
    "      --integer-method=gomory|branch\n"
    "                      метод целочисленной задачи: отсечения Гомори (по умолчанию) или метод\n"
    "                      ветвей и границ\n"
    "  -h, --help          показать эту справку\n"
    "  -V, --version       показать версию программы\n"
    "\n"
    "ФАЙЛ «-» — стандартный ввод; после «--» все аргументы — файлы, даже начинающиеся с «-».\n"
    "Без -o и -d отчёт одной задачи выводится на стандартный вывод (на терминал — в UTF-8), а отчёты\n"
    "нескольких задач записываются рядом с их файлами (ИМЯ.html). По строке итога на задачу выводится\n"
    "в stderr.\n"
    "\n"
    "Читаются только обычные файлы до 16 МБ. Отчёт никогда не записывается поверх входного файла или\n"
    "отчёта, уже записанного в этом запуске: такой отчёт пропускается с сообщением.\n"
    "\n"
    "Коды завершения: 0 оптимум найден (для МНК — коэффициенты найдены); 1 ошибка во входных данных\n"
    "или отчёт не записан; 2 целевая функция не ограничена; 3 система ограничений несовместна; 4 метод\n"
    "зациклился; 5 числа вышли за пределы точных дробей; 6 наилучшее значение не достигается; 7 найдена\n"
    "точка Куна–Таккера невогнутой функции; 64 неверные параметры. Для нескольких задач код — первой\n"
    "задачи без оптимума.\n";

// How report pages are written: as the program's windows read them (windows-1251, the style sheet
// linked from the program's folder), or as pages of their own (UTF-8, the style sheet inside).
enum class TEncoding : std::uint8_t { Cp1251, Utf8 };

// Input files larger than this are refused rather than read.
constexpr off_t MaxInputSize = 16 * 1024 * 1024;

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
  std::string OutputStem;       // name of the report without ".html", a plain file name
  std::filesystem::path Beside; // folder of the input file, for reports written beside it
  int StoredId = -1;            // the task in the store, for a stored problem
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

std::string SystemReason(int error) {
  switch (error) {
  case ENOENT: return "папки нет";
  case ENOTDIR: return "на пути стоит файл, а не папка";
  case EACCES:
  case EPERM: return "нет прав";
  case ENOSPC: return "диск переполнен";
  case EROFS: return "диск доступен только для чтения";
  default: return std::error_code(error, std::generic_category()).message();
  }
}

// A file descriptor closed when it goes.
struct TFd {
  int Fd = -1;
  explicit TFd(int fd) : Fd(fd) {}
  TFd(const TFd&) = delete;
  TFd& operator=(const TFd&) = delete;
  ~TFd() {
    if (Fd >= 0) close(Fd);
  }
};

// Reads a regular file of at most MaxInputSize bytes. A pipe, a device or a socket is refused
// without being opened (opening some devices does something); should one take the file's place
// meanwhile, the open does not wait for it and the check after it refuses it.
bool ReadInputFile(const std::filesystem::path& path, std::string& text, std::string& reason) {
  if (struct stat before{}; stat(path.c_str(), &before) == 0 && !S_ISREG(before.st_mode)) {
    reason = S_ISDIR(before.st_mode) ? "это папка, а не файл"
                                     : "это не обычный файл (канал, устройство или сокет не читаются)";
    return false;
  }
  const TFd in(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
  if (in.Fd < 0) {
    const int error = errno;
    reason = error == ENOENT                         ? "файл не найден"
             : error == EACCES || error == EPERM     ? "нет прав на чтение файла"
             : error == ENXIO || error == EOPNOTSUPP ? "это не обычный файл"
                                                     : "файл не удалось открыть (" + SystemReason(error) + ")";
    return false;
  }
  struct stat st {};
  if (fstat(in.Fd, &st) != 0) {
    reason = "файл не удалось прочитать (" + SystemReason(errno) + ")";
    return false;
  }
  if (S_ISDIR(st.st_mode)) {
    reason = "это папка, а не файл";
    return false;
  }
  if (!S_ISREG(st.st_mode)) {
    reason = "это не обычный файл (канал, устройство или сокет не читаются)";
    return false;
  }
  if (st.st_size > MaxInputSize) {
    reason = "файл больше 16 МБ";
    return false;
  }
  text.clear();
  char buf[65536];
  for (;;) {
    const ssize_t n = read(in.Fd, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      reason = "файл не удалось прочитать (" + SystemReason(errno) + ")";
      return false;
    }
    if (n == 0) return true;
    text.append(buf, static_cast<std::size_t>(n));
    // A file that grows while it is read is held to the same limit.
    if (text.size() > static_cast<std::size_t>(MaxInputSize)) {
      reason = "файл больше 16 МБ";
      return false;
    }
  }
}

// A name from the store as the name of a report file inside the folder asked for: no folder
// separators, no control characters, no hidden name (and so neither "." nor ".."), not too long.
std::string SafeFileName(const std::string& name, const std::string& fallback) {
  std::string safe;
  for (const char c : name) {
    const auto u = static_cast<unsigned char>(c);
    safe += c == '/' || c == '\\' || u < 0x20 || u == 0x7F ? '_' : c;
  }
  if (safe.empty()) return fallback;
  if (safe.front() == '.') safe.insert(safe.begin(), '_');
  // Room for ".html" and a temporary name beside it, cut at a character boundary.
  constexpr std::size_t MaxBytes = 160;
  if (safe.size() > MaxBytes) {
    std::size_t cut = MaxBytes;
    while (cut > 0 && (static_cast<unsigned char>(safe[cut]) & 0xC0) == 0x80) --cut;
    safe.resize(cut);
  }
  return safe;
}

// Reads standard input to its end, at most MaxInputSize bytes.
bool ReadStandardInput(std::string& text, std::string& reason) {
  text.clear();
  char buf[65536];
  for (;;) {
    const ssize_t n = read(STDIN_FILENO, buf, sizeof buf);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      reason = "стандартный ввод не удалось прочитать (" + SystemReason(errno) + ")";
      return false;
    }
    if (n == 0) return true;
    text.append(buf, static_cast<std::size_t>(n));
    if (text.size() > static_cast<std::size_t>(MaxInputSize)) {
      reason = "больше 16 МБ";
      return false;
    }
  }
}

// The length of the UTF-8 character at s[i] as the JSON writer accepts it (no overlong form, no
// surrogate, nothing beyond U+10FFFF); 0 for a byte that starts none.
std::size_t Utf8CharAt(const std::string& s, std::size_t i) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  const std::size_t len = b0 < 0x80                  ? 1
                          : b0 >= 0xC2 && b0 <= 0xDF ? 2
                          : (b0 >> 4) == 0xE         ? 3
                          : b0 >= 0xF0 && b0 <= 0xF4 ? 4
                                                     : 0;
  if (len == 0 || i + len > s.size()) return 0;
  std::uint32_t cp = len == 1 ? b0 : b0 & (0x7F >> len);
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  const bool overlong = (len == 3 && cp < 0x800) || (len == 4 && cp < 0x10000);
  if (overlong || (cp >= 0xD800 && cp <= 0xDFFF) || cp > 0x10FFFF) return 0;
  return len;
}

bool IsUtf8(const std::string& s) {
  for (std::size_t i = 0, len = 0; i < s.size(); i += len)
    if ((len = Utf8CharAt(s, i)) == 0) return false;
  return true;
}

// A name or a text as an answer line can hold it: each byte that is not part of a UTF-8 character
// becomes U+FFFD.
std::string ShownUtf8(const std::string& s) {
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t len = Utf8CharAt(s, i);
    out += len == 0 ? "\xEF\xBF\xBD" : s.substr(i, len);
    i += len == 0 ? 1 : len;
  }
  return out;
}

// The bytes of a name that is not UTF-8, each of them recoverable: its UTF-8 characters as they are,
// a backslash doubled, every other byte as \xNN (two upper-case hexadecimal digits).
std::string EscapedBytes(const std::string& s) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string out;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t len = Utf8CharAt(s, i);
    const auto b = static_cast<unsigned char>(s[i]);
    if (len == 0)
      out += std::string("\\x") + Hex[b >> 4] + Hex[b & 15];
    else
      out += s[i] == '\\' ? std::string("\\\\") : s.substr(i, len);
    i += len == 0 ? 1 : len;
  }
  return out;
}

// What ended the work on one problem from inside the program, for its message.
std::string InternalFailure(const std::exception& e) {
  if (dynamic_cast<const std::bad_alloc*>(&e) != nullptr) return "не хватает памяти";
  return std::string("внутренняя ошибка программы (") + e.what() + ")";
}

// The name "-" is standard input: its report is "stdin.html" where a file's would be "<name>.html".
TProblem ReadFromFile(const std::string& name) {
  TProblem p;
  p.Label = name;
  p.JsonFile = name;
  const std::filesystem::path path(name);
  const bool standardInput = name == "-";
  p.OutputStem = standardInput ? "stdin" : path.stem().string();
  p.Beside = path.parent_path();
  std::string text;
  std::string reason;
  if (!(standardInput ? ReadStandardInput(text, reason) : ReadInputFile(path, text, reason))) {
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

// The lowest id of the stored problems named name, -1 when there is none; several of that name are
// listed on standard error.
int StoredIdByName(const TDM& dm, const std::string& name, const std::string& label) {
  std::vector<int> ids;
  if (const auto tasks = dm.ListTasks(0))
    for (const TTaskRow& t : *tasks)
      if (t.TaskName == name) ids.push_back(t.Id);
  if (ids.empty()) return -1;
  std::sort(ids.begin(), ids.end());
  if (ids.size() > 1) {
    std::string list;
    for (const int id : ids) list += (list.empty() ? "" : ", ") + std::to_string(id);
    std::cerr << label << ": задач с таким названием в базе " << ids.size() << " (номера " << list
              << "), решается задача с наименьшим номером, " << ids.front() << '\n';
  }
  return ids.front();
}

TProblem ReadFromStore(const TDM& dm, std::optional<int> id, const std::string& name) {
  TProblem p;
  p.Label = id ? "база задач: задача " + std::to_string(*id) : "база задач: \"" + name + "\"";
  p.JsonFile = id ? "id:" + std::to_string(*id) : "name:" + name;
  p.OutputStem = id ? "task" + std::to_string(*id) : SafeFileName(name, "task");
  if (!dm.IsOpen()) {
    p.Error = p.Label + ": база задач недоступна: " + dm.OpenFailure();
    return p;
  }
  const int taskId = id ? *id : StoredIdByName(dm, name, p.Label);
  if (taskId > 0) p.JsonFile = "id:" + std::to_string(taskId);
  const std::optional<TTaskRow> task = taskId > 0 ? dm.FindTask(taskId) : std::nullopt;
  if (!task) {
    p.Error = p.Label + ": такой задачи в базе нет";
    return p;
  }
  p.StoredId = taskId;
  if (task->TaskType > 0 && task->TaskType < TT_NONE) p.TaskType = static_cast<std::uint8_t>(task->TaskType);
  std::string error;
  p.Statement = LoadStatement(dm, taskId, error);
  if (!p.Statement) p.Error = p.Label + ": " + error;
  return p;
}

// A problem whose reading failed inside the program is bad input with the reason, and the other
// problems of the run are still read.
TProblem FromFile(const std::string& name) {
  try {
    return ReadFromFile(name);
  } catch (const std::exception& e) {
    TProblem p;
    p.Label = p.JsonFile = name;
    p.Error = name + ": " + InternalFailure(e);
    return p;
  }
}

TProblem FromStore(const TDM& dm, std::optional<int> id, const std::string& name) {
  try {
    return ReadFromStore(dm, id, name);
  } catch (const std::exception& e) {
    TProblem p;
    p.Label = id ? "база задач: задача " + std::to_string(*id) : "база задач: \"" + name + "\"";
    p.JsonFile = id ? "id:" + std::to_string(*id) : "name:" + name;
    p.Error = p.Label + ": " + InternalFailure(e);
    return p;
  }
}

// The file of an answer line, always UTF-8: a name that is not is shown with U+FFFD for each byte
// that is not part of a character, and file_bytes gives the name byte for byte.
void PutFile(nlohmann::ordered_json& j, const std::string& file) {
  j["file"] = ShownUtf8(file);
  if (!IsUtf8(file)) j["file_bytes"] = EscapedBytes(file);
}

// The answer line of --json: every exact number in its text form, as BATCH.md asks; every text
// valid UTF-8.
nlohmann::ordered_json AnswerLine(const TProblem& p, const TTaskVerdict& v) {
  nlohmann::ordered_json j;
  PutFile(j, p.JsonFile);
  j["type"] = p.TaskType;
  j["status"] = StatusName(v.Status);
  j["message"] = ShownUtf8(v.Message);
  const bool point = v.Status == TTaskStatus::Optimal || v.Status == TTaskStatus::Local;
  if (point || v.Status == TTaskStatus::NotAttained) {
    if (v.Total) {
      j["objective"] = *v.Total;
    } else if (v.Objective) {
      j["objective"] = RatToStr(*v.Objective);
      j["objective_float"] = RatToDouble(*v.Objective);
    }
  }
  // The fields a verdict has tell which to write: the student's variables, the cells of an assignment.
  if (point && !v.X.empty()) {
    nlohmann::ordered_json x = nlohmann::ordered_json::array();
    for (const TRational& value : v.X) x.push_back(RatToStr(value));
    j["x"] = x;
  }
  // The dual estimates and ranges: only the types whose catalog row hands them to the verdict.
  if (v.Status == TTaskStatus::Optimal && !v.Dual.empty()) {
    nlohmann::ordered_json dual = nlohmann::ordered_json::array();
    for (const TRational& value : v.Dual) dual.push_back(RatToStr(value));
    j["dual"] = dual;
    const auto ranges = [](const std::vector<TValueRange>& list) {
      nlohmann::ordered_json out = nlohmann::ordered_json::array();
      for (const TValueRange& r : list)
        out.push_back({r.Lo ? nlohmann::ordered_json(RatToStr(*r.Lo)) : nlohmann::ordered_json(nullptr),
                       r.Hi ? nlohmann::ordered_json(RatToStr(*r.Hi)) : nlohmann::ordered_json(nullptr)});
      return out;
    };
    j["ranges"] = {{"b", ranges(v.RangesB)}, {"c", ranges(v.RangesC)}};
  }
  if (v.Concave) j["concave"] = *v.Concave;
  if (!v.Assignment.empty()) j["assignment"] = v.Assignment;
  if (point && !v.Plan.empty()) {
    nlohmann::ordered_json plan = nlohmann::ordered_json::array();
    for (const std::vector<TRational>& row : v.Plan) {
      nlohmann::ordered_json r = nlohmann::ordered_json::array();
      for (const TRational& value : row) r.push_back(RatToStr(value));
      plan.push_back(r);
    }
    j["plan"] = plan;
  }
  if (v.Status == TTaskStatus::Solved) {
    if (v.A) j["A"] = *v.A;
    if (v.B) j["B"] = *v.B;
  }
  return j;
}

nlohmann::ordered_json BadInputLine(const TProblem& p, const std::string& error) {
  nlohmann::ordered_json j;
  PutFile(j, p.JsonFile);
  j["type"] = p.TaskType;
  j["status"] = StatusName(TTaskStatus::BadInput);
  j["message"] = StatusSentence(TTaskStatus::BadInput);
  j["error"] = ShownUtf8(error);
  return j;
}

// The signals that end the program from outside are held while a report is written, so that an
// interruption comes after the report is in place and leaves no temporary file behind.
class TSignalsHeld {
public:
  TSignalsHeld() {
    sigset_t set;
    sigemptyset(&set);
    for (int sig : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&set, sig);
    sigprocmask(SIG_BLOCK, &set, &Previous);
  }
  ~TSignalsHeld() { sigprocmask(SIG_SETMASK, &Previous, nullptr); }
  TSignalsHeld(const TSignalsHeld&) = delete;
  TSignalsHeld& operator=(const TSignalsHeld&) = delete;

private:
  sigset_t Previous;
};

bool WriteOut(const TZLPCore_SolutionResult& report, const std::optional<std::filesystem::path>& file,
              TEncoding encoding) {
  const bool utf8 = encoding == TEncoding::Utf8;
  if (file) {
    const TSignalsHeld held;
    return utf8 ? report.WriteStandaloneDocument(file->string()) : report.WriteDocument(file->string());
  }
  const std::string bytes = utf8 ? report.BuildStandaloneDocument() : Utf8ToCp1251(report.BuildDocument());
  std::cout.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  std::cout.flush();
  return static_cast<bool>(std::cout);
}

// A file met in this run: an input, or a report written. Files are the same when they are one
// file on disk (links and other names of it included) or when their paths name one place.
struct TFileMark {
  std::string Shown; // as the user named it
  std::filesystem::path Place;
  std::optional<std::pair<dev_t, ino_t>> Identity;
};

TFileMark MarkOf(const std::filesystem::path& path) {
  TFileMark mark{path.string(), {}, {}};
  std::error_code ec;
  mark.Place = std::filesystem::weakly_canonical(std::filesystem::absolute(path, ec), ec);
  if (ec) mark.Place = std::filesystem::absolute(path, ec).lexically_normal();
  struct stat st {};
  if (stat(path.c_str(), &st) == 0) mark.Identity = std::make_pair(st.st_dev, st.st_ino);
  return mark;
}

bool Same(const TFileMark& a, const TFileMark& b) {
  return a.Place == b.Place || (a.Identity && b.Identity && *a.Identity == *b.Identity);
}

// Why the report may not be written to target; empty when it may. Never over an input, never
// over a report this run wrote, never onto anything but a regular file (or a link, which is
// replaced and not followed).
std::string TargetClash(const std::filesystem::path& target, const std::vector<TFileMark>& inputs,
                        const std::vector<TFileMark>& written) {
  const TFileMark mark = MarkOf(target);
  for (const TFileMark& input : inputs)
    if (Same(mark, input)) return "это входной файл «" + input.Shown + "»";
  for (const TFileMark& report : written)
    if (Same(mark, report)) return "в этот файл уже записан отчёт другой задачи этого запуска";
  struct stat st {};
  if (lstat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode) && !S_ISLNK(st.st_mode))
    return S_ISDIR(st.st_mode) ? "на его месте находится папка" : "на его месте находится не обычный файл";
  return {};
}

// What the command line asks for.
struct TOptions {
  std::vector<std::string> Files; // "-" is standard input
  std::vector<int> Ids;
  std::vector<std::string> Names;
  std::optional<std::filesystem::path> Output;
  std::optional<std::filesystem::path> Dir;
  std::optional<std::filesystem::path> DataDir;
  bool Json = false;
  std::optional<TEncoding> Encoding; // none: windows-1251, UTF-8 for a report on a terminal
  TTableForm TableForm = TTableForm::Compact; // the form of the simplex tables of every problem
  TStartMethod Start = TStartMethod::Dual;     // how a program without a unit basis is started
  // The method options of the types (--transport-start=vogel): the row and the word.
  std::vector<std::pair<const TTaskInfo*, std::string>> Methods;
};

// A bad command line: one line that says what is wrong and where to look.
int BadOption(const std::string& what) {
  std::cerr << "kelvano-solve: " << what << "; справка: kelvano-solve --help\n";
  return ExitUsage;
}

// Reads the options with getopt_long: long options take their value as "--opt=value" or as the
// next argument, "--" ends the options, "-" is a file (standard input). An exit status when the
// program ends here: --help, --version, or a bad command line.
std::optional<int> ParseOptions(int argc, char** argv, TOptions& o) {
  enum : int { OptJson = 256, OptId, OptName, OptData, OptEncoding, OptMethod, OptTable, OptStart };
  // Every type that offers a choice of method has an option of its own; its row is found by the
  // option's index.
  int methodIndex = -1;
  std::vector<option> longOptions = {{"output", required_argument, nullptr, 'o'},
                                {"dir", required_argument, nullptr, 'd'},
                                {"json", no_argument, nullptr, OptJson},
                                {"id", required_argument, nullptr, OptId},
                                {"name", required_argument, nullptr, OptName},
                                {"data", required_argument, nullptr, OptData},
                                {"encoding", required_argument, nullptr, OptEncoding},
                                {"table", required_argument, nullptr, OptTable},
                                {"start", required_argument, nullptr, OptStart},
                                {"help", no_argument, nullptr, 'h'},
                                {"version", no_argument, nullptr, 'V'}};
  const std::size_t firstMethod = longOptions.size();
  std::vector<const TTaskInfo*> methodRows;
  for (const TTaskInfo& t : TaskCatalog())
    if (t.SetMethod != nullptr && *t.MethodOption != '\0') {
      longOptions.push_back({t.MethodOption, required_argument, nullptr, OptMethod});
      methodRows.push_back(&t);
    }
  longOptions.push_back({nullptr, 0, nullptr, 0});
  const option* const Long = longOptions.data();
  opterr = 0; // the messages are the program's own, in Russian
  optind = 1;
  for (;;) {
    const int c = getopt_long(argc, argv, ":o:d:hV", Long, &methodIndex);
    if (c == -1) break;
    // The argument getopt_long has just read (it moves the files behind the options), for the
    // messages.
    const std::string arg = optind > 0 && optind - 1 < argc ? argv[optind - 1] : std::string();
    switch (c) {
    case 'o': o.Output = optarg; break;
    case 'd': o.Dir = optarg; break;
    case OptData: o.DataDir = optarg; break;
    case OptJson: o.Json = true; break;
    case OptName: o.Names.emplace_back(optarg); break;
    case OptId:
      try {
        std::size_t used = 0;
        const std::string v = optarg;
        o.Ids.push_back(std::stoi(v, &used));
        if (used != v.size()) throw std::invalid_argument(v);
      } catch (const std::exception&) {
        return BadOption(std::string("\"") + optarg + "\" не номер задачи");
      }
      break;
    case OptMethod: {
      const TTaskInfo* row = methodRows[static_cast<std::size_t>(methodIndex) - firstMethod];
      TStatementGrid probe = NewStatement(row->Code, static_cast<std::int32_t>(row->Store.SxMin),
                                          static_cast<std::int32_t>(row->Store.SyMin));
      if (!row->SetMethod(probe, optarg))
        return BadOption(std::string("\"") + optarg + "\" не способ решения для --" + row->MethodOption);
      o.Methods.emplace_back(row, optarg);
      break;
    }
    case OptEncoding: {
      std::string v = optarg;
      for (char& ch : v) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
      if (v == "utf-8" || v == "utf8")
        o.Encoding = TEncoding::Utf8;
      else if (v == "windows-1251" || v == "cp1251")
        o.Encoding = TEncoding::Cp1251;
      else
        return BadOption("неизвестная кодировка \"" + std::string(optarg) + "\" (можно utf-8 или windows-1251)");
      break;
    }
    case OptTable: {
      const std::string v = optarg;
      if (v == "compact")
        o.TableForm = TTableForm::Compact;
      else if (v == "textbook")
        o.TableForm = TTableForm::Textbook;
      else
        return BadOption("неизвестный вид таблиц \"" + v + "\" (можно compact или textbook)");
      break;
    }
    case OptStart: {
      const std::string v = optarg;
      if (v == "dual")
        o.Start = TStartMethod::Dual;
      else if (v == "artificial")
        o.Start = TStartMethod::Artificial;
      else
        return BadOption("неизвестный способ начала решения \"" + v + "\" (можно dual или artificial)");
      break;
    }
    case 'h': std::cout << Usage; return ExitOptimal;
    case 'V': std::cout << "kelvano-solve " << KELVANO_VERSION << '\n'; return ExitOptimal;
    case ':': return BadOption("после " + arg + " нужно значение");
    default: {
      // An unknown long option is named without its value, a short one by its letter; a known
      // one given a value it does not take is told so.
      if (arg.rfind("--", 0) == 0) {
        const std::string shown = arg.substr(0, arg.find('='));
        for (const option* o2 = Long; o2->name != nullptr; ++o2)
          if (shown == std::string("--") + o2->name) return BadOption("параметр " + shown + " пишется без значения");
        return BadOption("неизвестный параметр " + shown);
      }
      return BadOption("неизвестный параметр " +
                       (optopt > 0 && optopt < 128 ? std::string("-") + static_cast<char>(optopt) : arg));
    }
    }
  }
  for (int i = optind; i < argc; ++i) o.Files.emplace_back(argv[i]);
  if (std::count(o.Files.begin(), o.Files.end(), std::string("-")) > 1)
    return BadOption("стандартный ввод («-») читается только один раз");
  return std::nullopt;
}

} // namespace

// No exception leaves the program: one met while a problem is solved ends that problem (bad input
// with the reason) and the others go on; one met elsewhere ends the run with status 1.
int main(int argc, char** argv) try {
  TStderrSink sink;
  SetMessageSink(&sink);

  TOptions options;
  if (const std::optional<int> exit = ParseOptions(argc, argv, options)) return *exit;
  const std::vector<std::string>& files = options.Files;
  const std::vector<int>& ids = options.Ids;
  const std::vector<std::string>& names = options.Names;
  const std::optional<std::filesystem::path>& output = options.Output;
  const std::optional<std::filesystem::path>& dir = options.Dir;
  const std::optional<std::filesystem::path>& dataDir = options.DataDir;
  const bool json = options.Json;
  const auto& methods = options.Methods;
  const std::size_t count = files.size() + ids.size() + names.size();
  if (count == 0) return BadOption("не задано ни одной задачи (файл, «-», --id или --name)");
  if (output && (count > 1 || dir)) {
    std::cerr << "kelvano-solve: -o годится только для одной задачи; для нескольких используйте -d\n";
    return ExitUsage;
  }

  if (dir) {
    std::error_code ec;
    std::filesystem::create_directories(*dir, ec);
  }

  // Reading a stored problem never changes, creates or follows a link in the store.
  std::optional<TDM> dm;
  if (!ids.empty() || !names.empty())
    dm.emplace(dataDir ? *dataDir : TDM::FindDataFolder(ProgramDir(), !IsInstalledLayout()), TStoreAccess::ReadOnly);

  std::vector<TProblem> problems;
  std::vector<TFileMark> inputs;
  for (const auto& f : files) {
    problems.push_back(FromFile(f));
    if (f != "-") inputs.push_back(MarkOf(f));
  }
  for (int id : ids) problems.push_back(FromStore(*dm, id, {}));
  for (const auto& n : names) problems.push_back(FromStore(*dm, std::nullopt, n));
  std::vector<TFileMark> written;

  int status = ExitOptimal;
  auto note = [&status](int code) {
    if (status == ExitOptimal) status = code;
  };
  for (TProblem& p : problems) {
    try {
      if (p.Statement)
        for (const auto& [task, word] : methods)
          if (task->Code == p.Statement->TaskType) static_cast<void>(task->SetMethod(*p.Statement, word));
      TZLPCore_Interface data;
      TStatementError readError;
      std::string error = p.Error;
      if (p.Statement && !ReadStatement(*p.Statement, data, readError))
        error = p.Label + ": " +
                (p.StoredId > 0 ? StoredStatementError(*dm, p.StoredId, *p.Statement, readError)
                                : readError.Field + ": " + readError.Message);
      if (!error.empty()) {
        std::cerr << error << '\n' << p.Label << ": ошибка во входных данных, отчёт не записан\n";
        if (json) std::cout << BadInputLine(p, error).dump() << '\n' << std::flush;
        note(ExitBadInput);
        continue;
      }
      data.TableForm = options.TableForm;
      data.StartMethod = options.Start;
      TZLPCore_SolutionResult report;
      TTaskVerdict verdict;
      {
        const TProgress progress(p.Label);
        // --json alone writes no report: none is built.
        std::optional<TReportSilence> silence;
        if (json && !output && !dir) silence.emplace();
        verdict = RunTask(p.Statement->TaskType, data, report);
      }
      std::optional<std::filesystem::path> target = output;
      if (dir)
        target = *dir / (p.OutputStem + ".html");
      else if (!output && !json && count > 1)
        target = p.Beside / (p.OutputStem + ".html");
      std::string refusal = target ? TargetClash(*target, inputs, written) : std::string();
      // A report read on a terminal is UTF-8, as the terminal is; files keep the windows' form unless
      // asked otherwise.
      const TEncoding encoding =
          options.Encoding.value_or(!target && isatty(STDOUT_FILENO) ? TEncoding::Utf8 : TEncoding::Cp1251);
      if (refusal.empty() && (target || !json) && !WriteOut(report, target, encoding))
        refusal = target ? "ошибка записи (" + SystemReason(errno) + ")" : "ошибка записи в стандартный вывод";
      if (!refusal.empty()) {
        refusal = "отчёт не записан" + (target ? " в «" + target->string() + "»" : std::string()) + ": " + refusal;
        std::cerr << p.Label << ": " << refusal << '\n';
        if (json) std::cout << BadInputLine(p, refusal).dump() << '\n' << std::flush;
        note(ExitBadInput);
        continue;
      }
      if (target) written.push_back(MarkOf(*target));
      std::cerr << p.Label << ": " << verdict.Message << '\n';
      if (json) std::cout << AnswerLine(p, verdict).dump() << '\n' << std::flush;
      note(ExitOf(verdict.Status));
    } catch (const std::exception& e) {
      const std::string error = p.Label + ": " + InternalFailure(e);
      std::cerr << error << '\n' << p.Label << ": отчёт не записан\n";
      if (json) std::cout << BadInputLine(p, error).dump() << '\n' << std::flush;
      note(ExitBadInput);
    }
  }
  return status;
} catch (const std::exception& e) {
  std::cerr << "kelvano-solve: " << InternalFailure(e) << '\n';
  return ExitBadInput;
} catch (...) {
  std::cerr << "kelvano-solve: внутренняя ошибка программы\n";
  return ExitBadInput;
}
