// Folders the program works with: its own folder (help pages, data) and the private temporary folder.
#pragma once

#include <string>

// Folder of the running program, with a trailing '/'. Read from the executable's path unless set.
[[nodiscard]] std::string ProgramDir();
// Overrides the program folder (tests, a relocated install); "" restores the default.
void SetProgramDir(const std::string& dir);

// The user's private folder for report pages inside the system's temporary folder, with a trailing
// '/'. Created owner-only; a folder of that name that is a link or belongs to someone else is not
// used, and a fresh private folder is made instead. "" when no folder can be had.
[[nodiscard]] std::string PrivateTempDir();
