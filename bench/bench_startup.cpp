// Start-up cost of the calculator window against the same window built with
// plain Qt widgets: each iteration starts the program in its screenshot mode
// (off screen: start, create the window, paint it once, save it, exit) and
// measures the wall time; the peak resident memory of the last run is
// reported as a counter.
#include <benchmark/benchmark.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>

namespace {

std::filesystem::path Sibling(const char* name) {
  return std::filesystem::read_symlink("/proc/self/exe").parent_path() / name;
}

// Runs the program to its end; returns false if it could not run or failed.
bool RunOnce(const std::filesystem::path& program, double& seconds, long& maxRssKb) {
  const std::string exe = program.string();
  const std::string shot = (std::filesystem::temp_directory_path() / "bench_startup.png").string();
  const auto start = std::chrono::steady_clock::now();
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    execl(exe.c_str(), exe.c_str(), "--screenshot", shot.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  rusage usage{};
  if (wait4(pid, &status, 0, &usage) != pid) return false;
  seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  maxRssKb = usage.ru_maxrss;
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

void BM_Startup(benchmark::State& state, const char* program) {
  const std::filesystem::path path = Sibling(program);
  long maxRssKb = 0;
  for (auto _ : state) {
    double seconds = 0;
    if (!RunOnce(path, seconds, maxRssKb)) {
      state.SkipWithError((std::string("cannot run ") + path.string()).c_str());
      break;
    }
    state.SetIterationTime(seconds);
  }
  state.counters["maxRSS_kB"] = double(maxRssKb);
}
BENCHMARK_CAPTURE(BM_Startup, vort, "vort")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK_CAPTURE(BM_Startup, plain_qt, "bench_startup_plain_qt")
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
