// The HTML solution report: a list of body lines written out as a complete windows-1251 page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TWebViewer;
struct stat;
class TZLPCore_SubInterface_ZLP;
class TZLPCore_SubInterface_Denominator;

// A document owns the report files it saved itself (SaveToTempFile) and deletes them, and only
// them, when it goes: the pages of another document, window or process in the same folder stay.
// A document used only to build text owns no file at all.
class TZLPCore_SolutionResult {
public:
  TZLPCore_SolutionResult();
  ~TZLPCore_SolutionResult(); // deletes the report files this document saved
  TZLPCore_SolutionResult(const TZLPCore_SolutionResult&) = delete;
  TZLPCore_SolutionResult& operator=(const TZLPCore_SolutionResult&) = delete;

  std::vector<std::string> Lines; // the body; an entry may hold line breaks of its own
  // Where report files go, with a trailing '/'; empty: the user's private folder (PrivateTempDir),
  // found at the first save, so that a document that is never saved touches no folder.
  std::string TempDir;
  bool Bare = false; // step pages: no title heading and no footer
  std::string Title = "Результат решения";
  std::string Generator; // the program title
  std::string StyleMods; // CSS rules of the page's own style block

  void AddLine(std::string text);
  void AddParagraph(const std::string& text); // "<p>" + text
  void AddHeading(const std::string& text);   // "<H2>&bull; " + text + "</H2>"
  void AddPre(const std::string& text);       // "<pre>" + text + "</pre>"
  void AddRule();
  void Clear();
  // All lines, each followed by CR LF.
  [[nodiscard]] std::string GetText() const;
  // Appends the other document's body as one entry; the second form takes the other's lines.
  void AppendReport(const TZLPCore_SolutionResult* other);
  void AppendReport(TZLPCore_SolutionResult&& other);

  // The whole page in UTF-8, CR LF line ends (the form WriteDocument encodes).
  [[nodiscard]] std::string BuildDocument() const;
  // Writes the page in windows-1251 with ReplaceFile. False on failure.
  bool WriteDocument(const std::string& fileName) const;
  // The page as a file of its own, to keep or mail: UTF-8, with the report style sheet inside it
  // rather than linked from the program's folder.
  [[nodiscard]] std::string BuildStandaloneDocument() const;
  // Writes BuildStandaloneDocument with ReplaceFile. False on failure.
  bool WriteStandaloneDocument(const std::string& fileName) const;
  // Writes the page to a temporary name in TempDir and moves it to the first free name of
  // kelvano.html, kelvano1.html, ... (a name taken meanwhile is never overwritten); the file is
  // then this document's. "" on failure.
  [[nodiscard]] std::string SaveToTempFile() const;
  // Saves and shows the page in the viewer; failures leave the viewer as it was.
  void ShowIn(TWebViewer* viewer) const;
  // Deletes the files this document saved, each only while its name still holds that very file.
  void DeleteTempFiles() const;

  // Path of the report style sheet in the program's help folder.
  [[nodiscard]] static std::string StyleSheetPath();

private:
  [[nodiscard]] std::string Build(bool standalone) const;
  // A saved file and what tells it from a later file of the same name (whose inode number may be
  // the same one, freed and given again).
  struct TOwnedFile {
    std::string Name;
    std::uint64_t Device = 0;
    std::uint64_t Inode = 0;
    std::int64_t Size = 0;
    std::int64_t ChangeSec = 0;
    std::int64_t ChangeNsec = 0;
    bool operator==(const TOwnedFile&) const = default;
  };
  [[nodiscard]] static TOwnedFile OwnedFile(const std::string& name, const struct stat& st);
  mutable std::vector<TOwnedFile> Saved;
};

// While one lives on this thread, report documents keep no lines and the methods compose no tables
// or pictures: a run asked only for its verdict (kelvano-solve --json without a report file) builds
// no text it would throw away. Verdicts and numbers are the same as with a report.
class TReportSilence {
public:
  TReportSilence() noexcept;
  ~TReportSilence();
  TReportSilence(const TReportSilence&) = delete;
  TReportSilence& operator=(const TReportSilence&) = delete;

private:
  bool Was;
};
[[nodiscard]] bool ReportSilenced() noexcept;

// Lays a long run of parts of a report (the iterations of a method, the nodes of a tree) in blocks
// of PartsPerBlock parts, each in a <div class="clsSteps"> that the viewer lays out only near the
// part of the page in view, keeping until then the height estimated from its paragraphs, table rows
// and text (--em). starts holds, in order, the index in report.Lines where each part begins; the
// last part ends at end. A run of at most 2 * PartsPerBlock parts is left as it is.
constexpr std::size_t PartsPerBlock = 10;
void LayInBlocks(TZLPCore_SolutionResult& report, const std::vector<std::size_t>& starts, std::size_t end);

// A table of the report's style, each cell's HTML as given, the first row the heading.
[[nodiscard]] std::string CellTable(const std::vector<std::vector<std::string>>& rows);

// The text with &, <, > and " written as character references, ready to stand in HTML as text.
[[nodiscard]] std::string HtmlEscape(std::string_view text);
// A letter with its index as a subscript: ("Y", 2) -> "Y<sub>2</sub>".
[[nodiscard]] std::string SubscriptName(const std::string& letter, std::int64_t index);
// n with the form of the words that agrees with it in Russian: (1, "переменная", "переменные",
// "переменных") -> "1 переменная", 3 -> "3 переменные", 11 -> "11 переменных", 21 -> "21 переменная".
[[nodiscard]] std::string CountText(std::int64_t n, const std::string& one, const std::string& few,
                                    const std::string& many);

// Writes bytes to fileName through a new temporary file in the same folder, renamed into place: a
// reader sees the old file or the whole new one, a link at fileName is replaced and never followed,
// and a failed write leaves the old file and no temporary one. A replaced file keeps its
// permissions; a new one gets 0666 less the umask. False on failure.
bool ReplaceFile(const std::string& fileName, const std::string& bytes);
// Copies a report file with ReplaceFile, reading from without following a link. False on failure.
bool CopyReportFile(const std::string& from, const std::string& to);

// Decodes the UTF-8 character at text[i] into cp; returns its length in bytes, 0 for a malformed one.
[[nodiscard]] std::size_t DecodeUtf8(const std::string& text, std::size_t i, std::uint32_t& cp);

// UTF-8 to windows-1251; a character the code page lacks becomes a reference such as "&#8804;".
[[nodiscard]] std::string Utf8ToCp1251(const std::string& text);
