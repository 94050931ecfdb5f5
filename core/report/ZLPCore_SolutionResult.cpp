// The HTML solution report: builder operations, the page format and the report files.
#include "ZLPCore_SolutionResult.h"

#include "AppPaths.h"
#include "WebViewer.h"
#include "untStrConst.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <iconv.h>
#include <iterator>
#include <memory>
#include <mutex>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace {

constexpr const char* CRLF = "\r\n";

void ReplaceAll(std::string& s, const std::string& what, const std::string& with) {
  for (auto pos = s.find(what); pos != std::string::npos; pos = s.find(what, pos + with.size()))
    s.replace(pos, what.size(), with);
}

// The first 255 characters of a UTF-8 text: titles and the generator are short strings.
std::string ShortString(const std::string& s) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < s.size(); ++i) {
    if ((static_cast<unsigned char>(s[i]) & 0xC0) != 0x80 && ++chars > 255) return s.substr(0, i);
  }
  return s;
}

bool Exists(const std::string& path) {
  struct stat st {};
  return lstat(path.c_str(), &st) == 0;
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

// A file URL for a local path, with the characters a URL cannot carry percent-encoded.
std::string FileUrl(const std::string& path) {
  static constexpr char Hex[] = "0123456789ABCDEF";
  std::string url = "file://";
  for (unsigned char c : path) {
    const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '/' ||
                       c == '-' || c == '_' || c == '.' || c == '~';
    if (plain) {
      url += static_cast<char>(c);
    } else {
      url += '%';
      url += Hex[c >> 4];
      url += Hex[c & 15];
    }
  }
  return url;
}

struct TIconvCloser {
  void operator()(iconv_t cd) const noexcept { iconv_close(cd); }
};

std::string ReportFileName(const std::string& dir, int n) {
  return dir + "kelvano" + (n == 0 ? std::string() : std::to_string(n)) + ".html";
}

bool WriteAll(int fd, const std::string& bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += static_cast<std::size_t>(n);
  }
  return true;
}

// A new file of bytes under a fresh temporary name in dir (a hidden name made from hint), opened
// without following links and never over an existing name, created with mode (less the umask) or
// given exactly the permissions keep when it is not -1; its name, or "" with errno set.
std::string WriteTemporary(const std::string& dir, const std::string& hint, const std::string& bytes, mode_t mode,
                           int keep) {
  static std::mt19937_64 random{std::random_device{}()};
  static std::mutex lock;
  for (int attempt = 0; attempt < 100; ++attempt) {
    std::uint64_t suffix = 0;
    {
      const std::lock_guard<std::mutex> guard(lock);
      suffix = random();
    }
    const std::string name = dir + "." + hint + "." + std::to_string(suffix % 1000000000000ULL) + ".tmp";
    const int fd = open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
    if (fd < 0) {
      if (errno == EEXIST) continue;
      return {};
    }
    const bool ok = (keep < 0 || fchmod(fd, static_cast<mode_t>(keep)) == 0) && WriteAll(fd, bytes);
    const int saved = errno;
    if (close(fd) == 0 && ok) return name;
    unlink(name.c_str());
    errno = saved;
    return {};
  }
  errno = EEXIST;
  return {};
}

// Gives the file temp the name name unless that name is taken (errno EEXIST then).
bool PlaceWithoutReplacing(const std::string& temp, const std::string& name) {
  if (renameat2(AT_FDCWD, temp.c_str(), AT_FDCWD, name.c_str(), RENAME_NOREPLACE) == 0) return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // A file system without the atomic no-replace rename: a second link never replaces a name either.
  if (link(temp.c_str(), name.c_str()) != 0) return false;
  unlink(temp.c_str());
  return true;
}

// The style sheet's text, at most 1 MB, for a page that carries it inside; "</" cannot end the
// style element early in a sheet that has none.
bool ReadStyleSheet(const std::string& path, std::string& text) {
  if (!IsRegularFile(path)) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  text.clear();
  char buf[65536];
  ssize_t n = 0;
  while ((n = read(fd, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR)) {
    if (n > 0) text.append(buf, static_cast<std::size_t>(n));
    if (text.size() > 1024 * 1024) break;
  }
  close(fd);
  return n == 0 && text.find("</") == std::string::npos;
}

} // namespace

std::string SubscriptName(const std::string& letter, std::int64_t index) {
  return letter + "<sub>" + std::to_string(index) + "</sub>";
}

namespace {

// The height of report lines as the viewer lays them out, in em of the body's type, roughly: a
// paragraph of 130 characters to the line of 1.45 em and a margin of 1 em, a table row of 1.58 em
// (the text of a table's cells is in its rows).
double EstimatedEm(const std::vector<std::string>& lines, std::size_t from, std::size_t to) {
  double em = 0;
  for (std::size_t k = from; k < to; ++k) {
    const std::string& line = lines[k];
    std::size_t chars = 0;
    std::size_t paragraphs = 0;
    bool inTag = false;
    bool inEntity = false;
    int inTable = 0;
    for (std::size_t i = 0; i < line.size(); ++i) {
      const char c = line[i];
      if (inTag) {
        inTag = c != '>';
      } else if (c == '<') {
        inTag = true;
        std::string name;
        for (std::size_t j = i + 1; j < line.size() && std::isalpha(static_cast<unsigned char>(line[j])) != 0; ++j)
          name += static_cast<char>(std::tolower(static_cast<unsigned char>(line[j])));
        if (name == "p" || name == "pre" || name == "li" || name == "h3") ++paragraphs;
        if (name == "tr") em += 1.58;
        if (name == "table") {
          em += 1.3;
          ++inTable;
        }
        if (name.empty() && line.compare(i + 1, 6, "/table") == 0 && inTable > 0) --inTable;
      } else if (inEntity) {
        inEntity = c != ';';
      } else if (inTable == 0 && (static_cast<unsigned char>(c) & 0xC0) != 0x80 && c != '\r' && c != '\n') {
        inEntity = c == '&';
        ++chars;
      }
    }
    em += static_cast<double>(paragraphs) + 1.45 * static_cast<double>(chars / 130 + paragraphs);
  }
  return em;
}

} // namespace

void LayInBlocks(TZLPCore_SolutionResult& report, const std::vector<std::size_t>& starts, std::size_t end) {
  if (starts.size() <= 2 * PartsPerBlock || ReportSilenced()) return;
  std::vector<std::string>& lines = report.Lines;
  std::vector<std::string> laid;
  laid.reserve(lines.size() + 2 * (starts.size() / PartsPerBlock + 1));
  std::move(lines.begin(), lines.begin() + static_cast<std::ptrdiff_t>(starts.front()), std::back_inserter(laid));
  for (std::size_t b = 0; b < starts.size(); b += PartsPerBlock) {
    const std::size_t from = starts[b];
    const std::size_t to = b + PartsPerBlock < starts.size() ? starts[b + PartsPerBlock] : end;
    laid.push_back("<div class=\"clsSteps\" style=\"--em:" +
                   std::to_string(static_cast<long long>(EstimatedEm(lines, from, to) + 0.5)) + "\">");
    std::move(lines.begin() + static_cast<std::ptrdiff_t>(from), lines.begin() + static_cast<std::ptrdiff_t>(to),
              std::back_inserter(laid));
    laid.emplace_back("</div>");
  }
  std::move(lines.begin() + static_cast<std::ptrdiff_t>(end), lines.end(), std::back_inserter(laid));
  lines = std::move(laid);
}

std::string CellTable(const std::vector<std::vector<std::string>>& rows) {
  std::string t =
      "<table cellspacing=2 cellpadding=2 border=0 class=\"clsSimTbl\" style=\"--rows:" + std::to_string(rows.size()) +
      ";--cols:" + std::to_string(rows.empty() ? 0 : rows.front().size()) + "\">";
  for (const auto& row : rows) {
    t += "<tr>";
    for (const std::string& cell : row) t += "<td class=\"clsSimCell\">" + cell + "</td>";
    t += "</tr>";
  }
  return t + "</table>";
}

std::string CountText(std::int64_t n, const std::string& one, const std::string& few, const std::string& many) {
  const std::int64_t a = n < 0 ? -n : n;
  const std::int64_t last = a % 10;
  const bool teen = a % 100 >= 11 && a % 100 <= 14;
  const std::string& word = teen ? many : last == 1 ? one : last >= 2 && last <= 4 ? few : many;
  return std::to_string(n) + " " + word;
}

std::string HtmlEscape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (const char c : text) {
    switch (c) {
    case '&': out += "&amp;"; break;
    case '<': out += "&lt;"; break;
    case '>': out += "&gt;"; break;
    case '"': out += "&quot;"; break;
    default: out += c; break;
    }
  }
  return out;
}

std::size_t DecodeUtf8(const std::string& s, std::size_t i, std::uint32_t& cp) {
  const auto b0 = static_cast<unsigned char>(s[i]);
  std::size_t len = b0 < 0x80 ? 1 : (b0 >> 5) == 6 ? 2 : (b0 >> 4) == 14 ? 3 : (b0 >> 3) == 30 ? 4 : 0;
  if (len == 0 || i + len > s.size()) return 0;
  cp = len == 1 ? b0 : b0 & (0x7F >> len);
  for (std::size_t k = 1; k < len; ++k) {
    const auto b = static_cast<unsigned char>(s[i + k]);
    if ((b & 0xC0) != 0x80) return 0;
    cp = (cp << 6) | (b & 0x3F);
  }
  return len;
}

std::string Utf8ToCp1251(const std::string& text) {
  std::unique_ptr<void, TIconvCloser> cd(iconv_open("WINDOWS-1251", "UTF-8"));
  if (cd.get() == reinterpret_cast<iconv_t>(-1)) cd.release();
  std::string out;
  out.reserve(text.size());
  std::size_t i = 0;
  char buf[4096];
  while (i < text.size()) {
    // Plain ASCII needs no conversion: copied a run at a time.
    const auto ascii = std::find_if(text.begin() + static_cast<std::ptrdiff_t>(i), text.end(),
                                    [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
    const auto run = static_cast<std::size_t>(ascii - text.begin()) - i;
    if (run > 0) {
      out.append(text, i, run);
      i += run;
      continue;
    }
    std::uint32_t cp = 0;
    const std::size_t len = DecodeUtf8(text, i, cp);
    if (len == 0) {
      out += '?';
      ++i;
      continue;
    }
    bool converted = false;
    if (cd) {
      char* in = const_cast<char*>(text.data() + i);
      std::size_t inLeft = len;
      char* o = buf;
      std::size_t outLeft = sizeof buf;
      iconv(cd.get(), nullptr, nullptr, nullptr, nullptr);
      if (iconv(cd.get(), &in, &inLeft, &o, &outLeft) != static_cast<std::size_t>(-1) && inLeft == 0) {
        out.append(buf, static_cast<std::size_t>(o - buf));
        converted = true;
      }
    }
    if (!converted) out += "&#" + std::to_string(cp) + ";";
    i += len;
  }
  return out;
}

TZLPCore_SolutionResult::TZLPCore_SolutionResult() : Generator(sAppTitle) {}

TZLPCore_SolutionResult::~TZLPCore_SolutionResult() {
  try {
    DeleteTempFiles();
  } catch (...) {}
}

namespace {
thread_local bool Silenced = false;
} // namespace

TReportSilence::TReportSilence() noexcept : Was(Silenced) { Silenced = true; }
TReportSilence::~TReportSilence() { Silenced = Was; }
bool ReportSilenced() noexcept { return Silenced; }

void TZLPCore_SolutionResult::AddLine(std::string text) {
  if (!Silenced) Lines.push_back(std::move(text));
}
void TZLPCore_SolutionResult::AddParagraph(const std::string& text) {
  if (!Silenced) Lines.push_back("<p>" + text);
}
void TZLPCore_SolutionResult::AddHeading(const std::string& text) {
  if (!Silenced) Lines.push_back("<H2>&bull; " + text + "</H2>");
}
void TZLPCore_SolutionResult::AddPre(const std::string& text) {
  if (!Silenced) Lines.push_back("<pre>" + text + "</pre>");
}
void TZLPCore_SolutionResult::AddRule() {
  if (!Silenced) Lines.emplace_back("<HR SIZE=\"1\"></HR>");
}

void TZLPCore_SolutionResult::Clear() { Lines.clear(); }

std::string TZLPCore_SolutionResult::GetText() const {
  std::size_t size = 0;
  for (const auto& l : Lines) size += l.size() + 2;
  std::string text;
  text.reserve(size);
  for (const auto& l : Lines) {
    text += l;
    text += CRLF;
  }
  return text;
}

void TZLPCore_SolutionResult::AppendReport(const TZLPCore_SolutionResult* other) {
  if (other != nullptr && !Silenced) Lines.push_back(other->GetText());
}

void TZLPCore_SolutionResult::AppendReport(TZLPCore_SolutionResult&& other) {
  if (Silenced) return;
  if (other.Lines.empty()) {
    Lines.emplace_back();
    return;
  }
  // The same text as GetText, built on the first line's own buffer: a table standing first is not copied.
  std::size_t size = 0;
  for (const auto& l : other.Lines) size += l.size() + 2;
  std::string text = std::move(other.Lines.front());
  text.reserve(size);
  text += CRLF;
  for (std::size_t i = 1; i < other.Lines.size(); ++i) {
    text += other.Lines[i];
    text += CRLF;
  }
  other.Lines.clear();
  Lines.push_back(std::move(text));
}

std::string TZLPCore_SolutionResult::StyleSheetPath() { return HelpDir() + "main.css"; }

std::string TZLPCore_SolutionResult::BuildDocument() const { return Build(false); }

std::string TZLPCore_SolutionResult::BuildStandaloneDocument() const { return Build(true); }

bool TZLPCore_SolutionResult::WriteStandaloneDocument(const std::string& fileName) const {
  return ReplaceFile(fileName, BuildStandaloneDocument());
}

std::string TZLPCore_SolutionResult::Build(bool standalone) const {
  const std::string title = ShortString(Title);
  std::string head = sHtmlHead;
  if (standalone) ReplaceAll(head, "charset=windows-1251", "charset=utf-8");
  ReplaceAll(head, "<!--%TITLE%-->", title);
  ReplaceAll(head, "<!--%GENERATOR%-->", ShortString(Generator));

  std::size_t size = 4096 + head.size() + StyleMods.size();
  for (const auto& l : Lines) size += l.size() + 2;
  std::string doc;
  doc.reserve(size);
  auto line = [&doc](const std::string& s) {
    doc += s;
    doc += CRLF;
  };
  line(head);
  const std::string css = StyleSheetPath();
  std::string sheet;
  if (standalone && ReadStyleSheet(css, sheet)) {
    // The page keeps its look wherever it is copied: the style sheet goes inside it.
    line("<style type=\"text/css\">");
    doc += sheet;
    if (!sheet.empty() && sheet.back() != '\n') doc += CRLF;
    line("</style>");
  } else if (!standalone && IsRegularFile(css)) {
    line("<link href=\"" + FileUrl(css) + "\" type=\"text/css\" rel=\"stylesheet\">");
  } else {
    line("<style type=\"text/css\">");
    line("<!-- Стили не найдены, переустановите программу -->");
    line("<!-- Файл: \"" + css + "\" -->");
    line("");
    line("BODY{font:normal 68% verdana,arial,helvetica;}");
    line("</style>");
  }
  line("");
  line("  <style type=\"text/css\">");
  line("<!-- Модификации основных стилей: -->");
  line(StyleMods);
  line("  </style>");
  line(" </head>");
  line(" <body>");
  if (!Bare) line("  <H1>" + title + "</H1><HR SIZE=\"1\"></HR><P>");
  for (const auto& l : Lines) line(l);
  if (!Bare) line(sHtmlFooter);
  line(" </body>");
  line("</html>");
  return doc;
}

bool ReplaceFile(const std::string& fileName, const std::string& bytes) {
  const auto slash = fileName.rfind('/');
  const std::string dir = slash == std::string::npos ? std::string() : fileName.substr(0, slash + 1);
  const std::string base = fileName.substr(dir.size());
  if (base.empty() || base == "." || base == "..") return false;
  struct stat old {};
  const bool replacing = lstat(fileName.c_str(), &old) == 0 && S_ISREG(old.st_mode);
  // A short hint keeps the temporary name within the limit of a file name.
  const std::string temp =
      WriteTemporary(dir, base.substr(0, 64), bytes, 0666, replacing ? static_cast<int>(old.st_mode & 07777) : -1);
  if (temp.empty()) return false;
  if (rename(temp.c_str(), fileName.c_str()) == 0) return true;
  const int saved = errno;
  unlink(temp.c_str());
  errno = saved;
  return false;
}

bool CopyReportFile(const std::string& from, const std::string& to) {
  const int fd = open(from.c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
  if (fd < 0) return false;
  std::string bytes;
  char buf[65536];
  ssize_t n = 0;
  while ((n = read(fd, buf, sizeof buf)) > 0 || (n < 0 && errno == EINTR))
    if (n > 0) bytes.append(buf, static_cast<std::size_t>(n));
  close(fd);
  return n == 0 && ReplaceFile(to, bytes);
}

bool TZLPCore_SolutionResult::WriteDocument(const std::string& fileName) const {
  return ReplaceFile(fileName, Utf8ToCp1251(BuildDocument()));
}

std::string TZLPCore_SolutionResult::SaveToTempFile() const {
  const std::string dir = TempDir.empty() ? PrivateTempDir() : TempDir;
  if (dir.empty()) return {};
  const std::string temp = WriteTemporary(dir, "kelvano", Utf8ToCp1251(BuildDocument()), 0600, -1);
  if (temp.empty()) return {};
  for (int n = 0; n < 100000; ++n) {
    const std::string name = ReportFileName(dir, n);
    if (Exists(name)) continue;
    if (PlaceWithoutReplacing(temp, name)) {
      // Taken after the move, which changes the file's change time.
      if (struct stat written{}; lstat(name.c_str(), &written) == 0) Saved.push_back(OwnedFile(name, written));
      return name;
    }
    if (errno != EEXIST) break;
  }
  unlink(temp.c_str());
  return {};
}

void TZLPCore_SolutionResult::ShowIn(TWebViewer* viewer) const {
  if (viewer == nullptr) return;
  try {
    const std::string name = SaveToTempFile();
    if (!name.empty()) viewer->Navigate(name);
  } catch (...) {}
}

TZLPCore_SolutionResult::TOwnedFile TZLPCore_SolutionResult::OwnedFile(const std::string& name, const struct stat& st) {
  return {name,
          static_cast<std::uint64_t>(st.st_dev),
          static_cast<std::uint64_t>(st.st_ino),
          static_cast<std::int64_t>(st.st_size),
          static_cast<std::int64_t>(st.st_ctim.tv_sec),
          static_cast<std::int64_t>(st.st_ctim.tv_nsec)};
}

void TZLPCore_SolutionResult::DeleteTempFiles() const {
  for (const TOwnedFile& file : Saved) {
    struct stat st {};
    if (lstat(file.Name.c_str(), &st) == 0 && S_ISREG(st.st_mode) && OwnedFile(file.Name, st) == file)
      unlink(file.Name.c_str());
  }
  Saved.clear();
}
