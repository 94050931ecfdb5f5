// kelvano-solve as a student's script runs it, timed as a whole process: the sparse 80 x 80 and
// 255 x 255 programs and the 255 equations, each solved with --json alone (no report is built), with
// --json and a report file, and with a report file only. Wall time and peak memory of the process.
//
// Run: bench/bench_solve_json [KELVANO-SOLVE ...]
// Without arguments it times the kelvano-solve built beside it; each program given (another version,
// say) is timed in the same run after it, on the same files. The bar: --json alone within 1.5x of the
// time of solving (the run of the same problem with nothing written but the answer line).
#include "BenchProblems.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct TRunFigures {
  double Seconds = -1;
  long PeakKb = -1;
  int Status = -1;
};

// Runs program with args, its output to /dev/null, and waits for it.
TRunFigures RunProcess(const std::string& program, const std::vector<std::string>& args) {
  std::vector<char*> argv;
  std::string name = program;
  argv.push_back(name.data());
  std::vector<std::string> copies = args;
  for (std::string& a : copies) argv.push_back(a.data());
  argv.push_back(nullptr);
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    std::FILE* null = std::fopen("/dev/null", "w");
    if (null) {
      dup2(fileno(null), STDOUT_FILENO);
      dup2(fileno(null), STDERR_FILENO);
    }
    execv(program.c_str(), argv.data());
    _exit(127);
  }
  TRunFigures f;
  if (pid < 0) return f;
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return f;
  f.Seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  f.PeakKb = usage.ru_maxrss;
  f.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return f;
}

// The best of three runs (time), with the peak memory of that run.
TRunFigures Best(const std::string& program, const std::vector<std::string>& args) {
  TRunFigures best;
  for (int k = 0; k < 3; ++k) {
    const TRunFigures f = RunProcess(program, args);
    if (best.Seconds < 0 || (f.Seconds >= 0 && f.Seconds < best.Seconds)) best = f;
  }
  return best;
}

} // namespace

int main(int argc, char** argv) {
  std::vector<std::string> programs;
  programs.emplace_back(KELVANO_SOLVE);
  for (int k = 1; k < argc; ++k) programs.emplace_back(argv[k]);

  const fs::path dir = fs::temp_directory_path() / ("kelvano-bench-" + std::to_string(getpid()));
  fs::create_directories(dir);
  const std::vector<std::pair<std::string, std::string>> problems = {
      {"sparse 80 x 80", SparseText(80)}, {"sparse 255 x 255", SparseText(255)}, {"255 equations", EquationsText(255)}};
  bool failed = false;
  for (const auto& [label, text] : problems) {
    const fs::path file = dir / "problem.lp";
    std::ofstream(file) << text;
    const fs::path report = dir / "report.html";
    for (const std::string& program : programs) {
      const TRunFigures json = Best(program, {"--json", file.string()});
      const TRunFigures both = Best(program, {"--json", "-o", report.string(), file.string()});
      const TRunFigures html = Best(program, {"-o", report.string(), file.string()});
      const auto size = fs::exists(report) ? fs::file_size(report) : 0;
      if (json.Status != 0 || html.Status != 0) failed = true;
      std::printf("%s, %s:\n"
                  "  --json alone:         %.3f s, peak %ld MB (status %d)\n"
                  "  --json with a report: %.3f s, peak %ld MB\n"
                  "  report only:          %.3f s, peak %ld MB, report %.2f MB\n",
                  label.c_str(), program.c_str(), json.Seconds, json.PeakKb / 1024, json.Status, both.Seconds,
                  both.PeakKb / 1024, html.Seconds, html.PeakKb / 1024, static_cast<double>(size) / (1 << 20));
      std::fflush(stdout);
    }
  }
  fs::remove_all(dir);
  return failed ? 1 : 0;
}
