// Folders the program works with: its own folder (help pages, data) and the private temporary folder.
#pragma once

#include <string>

// Folder of the running program, with a trailing '/'. Read from the executable's path unless set.
[[nodiscard]] std::string ProgramDir();
// Overrides the program folder (tests, a relocated install); "" restores the default.
void SetProgramDir(const std::string& dir);

// Folder of the help pages and the report style sheet, with a trailing '/': "help/" beside the
// program, or else the help folder of an installed program (bin/../share/kelvano/help/); the first
// when neither exists.
[[nodiscard]] std::string HelpDir();
// True when the program runs installed: no help folder beside it, the installed one in its place.
// Its problem store then lives in the user's data folder, never beside the program.
[[nodiscard]] bool IsInstalledLayout();

// The user's private folder for report pages inside the system's temporary folder, with a trailing
// '/'. Created owner-only; a folder of that name is used only when it is no link, is the user's and
// is already closed to everyone else. Otherwise a fresh private folder is made, once per process,
// and removed when the process ends. "" when no folder can be had.
[[nodiscard]] std::string PrivateTempDir();
