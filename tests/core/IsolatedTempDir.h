// Gives a test process a temporary folder of its own. Every report document deletes the kelvano*.html
// series of its folder when it is destroyed, so documents of this process must not share a folder with
// tests running beside it.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

#include <stdlib.h>

namespace kt {

class IsolatedTempDir final : public ::testing::Environment {
public:
  void SetUp() override {
    const char* old = std::getenv("TMPDIR");
    HadOld = old != nullptr;
    if (HadOld) Old = old;
    std::string pattern = (std::filesystem::temp_directory_path() / "kelvano-tests-XXXXXX").string();
    std::vector<char> buf(pattern.begin(), pattern.end());
    buf.push_back('\0');
    ASSERT_NE(mkdtemp(buf.data()), nullptr);
    Dir = buf.data();
    setenv("TMPDIR", Dir.c_str(), 1);
  }
  void TearDown() override {
    if (HadOld)
      setenv("TMPDIR", Old.c_str(), 1);
    else
      unsetenv("TMPDIR");
    std::error_code ec;
    std::filesystem::remove_all(Dir, ec);
  }

private:
  std::string Dir;
  std::string Old;
  bool HadOld = false;
};

inline ::testing::Environment* const IsolatedTempDirEnvironment =
    ::testing::AddGlobalTestEnvironment(new IsolatedTempDir);

} // namespace kt
