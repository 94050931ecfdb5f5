// The HTML solution report: a list of body lines written out as a complete windows-1251 page.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TWebViewer;
class TZLPCore_SubInterface_ZLP;
class TZLPCore_SubInterface_Denominator;

class TZLPCore_SolutionResult {
public:
  TZLPCore_SolutionResult();
  ~TZLPCore_SolutionResult(); // deletes the run of report files in TempDir
  TZLPCore_SolutionResult(const TZLPCore_SolutionResult&) = delete;
  TZLPCore_SolutionResult& operator=(const TZLPCore_SolutionResult&) = delete;

  std::vector<std::string> Lines; // the body; an entry may hold line breaks of its own
  std::string TempDir;            // where report files go, with a trailing '/'
  bool Bare = false;              // step pages: no title heading and no footer
  std::string Title = "Результат решения";
  std::string Generator; // the program title
  std::string StyleMods; // CSS rules of the page's own style block

  void AddLine(const std::string& text);
  void AddParagraph(const std::string& text); // "<p>" + text
  void AddHeading(const std::string& text);   // "<H2>&bull; " + text + "</H2>"
  void AddPre(const std::string& text);       // "<pre>" + text + "</pre>"
  void AddRule();
  // The objective (as a fraction over the denominator when one is given), then the constraints.
  void AddModel(const TZLPCore_SubInterface_ZLP* zlp, const TZLPCore_SubInterface_Denominator* den = nullptr);
  // One line per constraint, joined with CR LF, appended as one entry.
  void AddConstraints(const TZLPCore_SubInterface_ZLP& zlp);
  void Clear();
  // All lines, each followed by CR LF.
  [[nodiscard]] std::string GetText() const;
  // Appends the other document's body as one entry.
  void AppendReport(const TZLPCore_SolutionResult* other);

  // The whole page in UTF-8, CR LF line ends (the form WriteDocument encodes).
  [[nodiscard]] std::string BuildDocument() const;
  // Writes the page in windows-1251, replacing the file; never follows a link. False on failure.
  bool WriteDocument(const std::string& fileName) const;
  // Writes to the first free name of kelvano.html, kelvano1.html, ... in TempDir; "" on failure.
  [[nodiscard]] std::string SaveToTempFile() const;
  // Saves and shows the page in the viewer; failures leave the viewer as it was.
  void ShowIn(TWebViewer* viewer) const;
  // Deletes kelvano.html, kelvano1.html, ... up to the first gap of the series.
  void DeleteTempFiles() const;

  // Path of the report style sheet in the program's help folder.
  [[nodiscard]] static std::string StyleSheetPath();
};

// The text with &, <, > and " written as character references, ready to stand in HTML as text.
[[nodiscard]] std::string HtmlEscape(std::string_view text);

// Decodes the UTF-8 character at text[i] into cp; returns its length in bytes, 0 for a malformed one.
[[nodiscard]] std::size_t DecodeUtf8(const std::string& text, std::size_t i, std::uint32_t& cp);

// UTF-8 to windows-1251; a character the code page lacks becomes a reference such as "&#8804;".
[[nodiscard]] std::string Utf8ToCp1251(const std::string& text);
