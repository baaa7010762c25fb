// Start-up cost of the calculator window against the same window built with
// plain Qt widgets: each iteration starts both programs, one after the other,
// in their screenshot mode (off screen: start, create the window, paint it
// once, save it, exit) and measures their wall times; the peak resident
// memory of the last runs is reported as counters.
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

// Both programs in turn, each iteration starting with the other one so that
// neither always runs on a cache the other has just warmed; one untimed run
// of each first loads both into the page cache. The iteration time is the
// calculator's; plain_ms is the plain Qt window's mean and ratio the
// calculator's total over the plain window's.
void BM_Startup(benchmark::State& state) {
  const std::filesystem::path vort = Sibling("vort");
  const std::filesystem::path plain = Sibling("bench_startup_plain_qt");
  long vortRss = 0, plainRss = 0;
  double seconds = 0;
  if (!RunOnce(vort, seconds, vortRss) || !RunOnce(plain, seconds, plainRss)) {
    state.SkipWithError("cannot run the programs");
    return;
  }
  double vortTotal = 0, plainTotal = 0;
  int runs = 0;
  for (auto _ : state) {
    double v = 0, p = 0;
    const bool vortFirst = runs % 2 == 0;
    const bool ok = vortFirst ? RunOnce(vort, v, vortRss) && RunOnce(plain, p, plainRss)
                              : RunOnce(plain, p, plainRss) && RunOnce(vort, v, vortRss);
    if (!ok) {
      state.SkipWithError("a program failed");
      break;
    }
    vortTotal += v;
    plainTotal += p;
    ++runs;
    state.SetIterationTime(v);
  }
  if (runs == 0) return;
  state.counters["plain_ms"] = plainTotal / runs * 1e3;
  state.counters["ratio"] = vortTotal / plainTotal;
  state.counters["maxRSS_kB"] = double(vortRss);
  state.counters["plain_maxRSS_kB"] = double(plainRss);
}
BENCHMARK(BM_Startup)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(10);

}  // namespace

BENCHMARK_MAIN();
