// The program folder and the user's private folder for report pages.
#include "AppPaths.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

std::string& ProgramDirOverride() {
  static std::string dir;
  return dir;
}

std::string WithSlash(std::string dir) {
  if (!dir.empty() && dir.back() != '/') dir += '/';
  return dir;
}

// An existing folder that is no link, belongs to this user and is closed to everyone else. A folder
// that was ever open to others is not made private by closing it now: whatever was planted in it
// meanwhile would stay.
bool IsPrivateDir(const std::string& dir) {
  struct stat st {};
  return lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == geteuid() && (st.st_mode & 077) == 0;
}

// A fresh private folder made for this process when the usual one cannot be trusted; removed with
// everything in it when the process ends normally.
struct TFreshFolder {
  std::string Path;
  TFreshFolder() = default;
  TFreshFolder(const TFreshFolder&) = delete;
  TFreshFolder& operator=(const TFreshFolder&) = delete;
  ~TFreshFolder() {
    std::error_code ec;
    if (!Path.empty()) std::filesystem::remove_all(Path, ec);
  }
};

} // namespace

std::string ProgramDir() {
  if (!ProgramDirOverride().empty()) return ProgramDirOverride();
  std::vector<char> buf(4096);
  const ssize_t n = readlink("/proc/self/exe", buf.data(), buf.size() - 1);
  if (n <= 0) return "./";
  std::string path(buf.data(), static_cast<std::size_t>(n));
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string("./") : path.substr(0, slash + 1);
}

void SetProgramDir(const std::string& dir) { ProgramDirOverride() = WithSlash(dir); }

namespace {

bool IsDir(const std::string& path) {
  struct stat st {};
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string InstalledHelpDir() {
  return WithSlash(std::filesystem::path(ProgramDir() + KELVANO_INSTALLED_HELP).lexically_normal().string());
}

} // namespace

std::string HelpDir() {
  const std::string beside = ProgramDir() + "help/";
  if (!IsDir(beside) && IsDir(InstalledHelpDir())) return InstalledHelpDir();
  return beside;
}

bool IsInstalledLayout() { return !IsDir(ProgramDir() + "help") && IsDir(InstalledHelpDir()); }

std::string PrivateTempDir() {
  const char* env = std::getenv("TMPDIR");
  std::string base = env && *env ? env : "/tmp";
  while (base.size() > 1 && base.back() == '/') base.pop_back();
  const std::string dir = base + "/kelvano-" + std::to_string(geteuid());
  if ((mkdir(dir.c_str(), 0700) == 0 || errno == EEXIST) && IsPrivateDir(dir)) return dir + "/";
  // The usual name is taken by something that is not ours, or was open to others: make a fresh
  // private folder, once.
  static TFreshFolder fresh;
  if (!fresh.Path.empty() && IsPrivateDir(fresh.Path)) return fresh.Path + "/";
  std::string pattern = dir + "-XXXXXX";
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  if (mkdtemp(name.data()) == nullptr) return {};
  fresh.Path = name.data();
  return fresh.Path + "/";
}
