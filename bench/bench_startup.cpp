// Start-up of the program's window against an empty window of the same size from the same build,
// with the same platform plugin, style and font; and, since an empty window draws no text and so
// never loads that font, against one that does, which is the one the targets are set against. Each
// is spawned in turn, the order swapped every round after one unmeasured warm-up round; a run is
// timed on the system-wide monotonic clock from just before the spawn to its first finished frame,
// and its peak resident set is what wait4 reports. Prints the medians and ratios as markdown table
// rows; the breakdown goes to stderr.
//   bench_startup [runs]      runs per window, default 30; QT_QPA_PLATFORM defaults to offscreen
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct Window {
  const char* name;
  const char* path;
  bool target_baseline;  // the targets are ratios to this one
};
// The first is measured against each of the others. The targets are set against the window with
// the same font in use: against one that never loads it they would mostly measure the font.
constexpr Window windows[] = {
    {"loadcalc", LOADCALC_STARTUP_LOADCALC, false},
    {"empty window", LOADCALC_STARTUP_EMPTY, false},
    {"empty window with the font loaded", LOADCALC_STARTUP_EMPTY_FONT, true}};

struct Sample {
  double frame_ms;        // spawn to first finished frame
  double before_main_ms;  // spawn, loading and static initialisers
  double to_paint_ms;     // main to the window's first paint event
  double paint_ms;        // that event to the finished frame
  double rss_mib;
};

struct Measure {
  const char* title;
  const char* unit;
  double Sample::*field;
  double target;  // of the ratio to the target baseline under X11; 0 for the breakdown only
};
constexpr Measure measures[] = {
    {"Start-up to first frame", "ms", &Sample::frame_ms, 1.25},
    {"Peak RSS", "MiB", &Sample::rss_mib, 1.25},
    {"spawn to main", "ms", &Sample::before_main_ms, 0},
    {"main to first paint event", "ms", &Sample::to_paint_ms, 0},
    {"first paint event to finished frame", "ms", &Sample::paint_ms, 0},
};

long long monotonic_ns() {
  timespec t{};
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec * 1'000'000'000LL + t.tv_nsec;
}

std::optional<Sample> run_once(const char* path) {
  int out[2];
  if (pipe(out) != 0) return std::nullopt;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  posix_spawn_file_actions_addclose(&actions, out[1]);
  char* argv[] = {const_cast<char*>(path), nullptr};
  pid_t pid = 0;
  const long long spawned = monotonic_ns();
  const int error = posix_spawn(&pid, path, &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  std::string text;
  char buffer[256];
  for (ssize_t n; error == 0 && (n = read(out[0], buffer, sizeof buffer)) > 0;)
    text.append(buffer, static_cast<std::size_t>(n));
  close(out[0]);
  if (error != 0) return std::nullopt;

  int status = 0;
  rusage usage{};
  long long entered = 0, painted = 0, done = 0;
  if (wait4(pid, &status, 0, &usage) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0 ||
      std::sscanf(text.c_str(), "%lld %lld %lld", &entered, &painted, &done) != 3)
    return std::nullopt;
  return Sample{(done - spawned) / 1e6, (entered - spawned) / 1e6, (painted - entered) / 1e6,
                (done - painted) / 1e6, usage.ru_maxrss / 1024.0};
}

double median(std::vector<Sample> const& samples, double Sample::*field) {
  std::vector<double> v;
  for (const Sample& s : samples) v.push_back(s.*field);
  std::sort(v.begin(), v.end());
  const std::size_t n = v.size();
  return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::atoi(argv[1]) : 30;
  if (runs < 1) {
    std::fprintf(stderr, "usage: %s [runs]\n", argv[0]);
    return 2;
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  const std::string platform = std::getenv("QT_QPA_PLATFORM");

  constexpr std::size_t count = std::size(windows);
  std::vector<Sample> samples[count];
  for (int round = -1; round < runs; ++round) {
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t w = round % 2 ? count - 1 - k : k;
      const std::optional<Sample> s = run_once(windows[w].path);
      if (!s) {
        std::fprintf(stderr, "bench_startup: %s did not paint and exit cleanly\n", windows[w].path);
        return 1;
      }
      if (round >= 0) samples[w].push_back(*s);
    }
  }

  std::fprintf(stderr, "\nStart-up breakdown on %s, medians of %d runs\n\n|", platform.c_str(),
               runs);
  for (const Window& w : windows) std::fprintf(stderr, " | %s", w.name);
  std::fprintf(stderr, " |\n|---");
  for (std::size_t w = 0; w < count; ++w) std::fprintf(stderr, "|---");
  std::fprintf(stderr, "|\n");
  for (const Measure& m : measures) {
    std::fprintf(stderr, "| %s, %s", m.title, m.unit);
    for (const auto& s : samples) std::fprintf(stderr, " | %.1f", median(s, m.field));
    std::fprintf(stderr, " |\n");
  }

  for (const Measure& m : measures) {
    if (m.target == 0) continue;
    const double ours = median(samples[0], m.field);
    for (std::size_t w = 1; w < count; ++w) {
      const double base = median(samples[w], m.field);
      std::printf("| %s (%s): %s / %s | %.1f %s / %.1f %s = **%.2f×**", m.title, platform.c_str(),
                  windows[0].name, windows[w].name, ours, m.unit, base, m.unit, ours / base);
      // The targets are for the desktop a user has; offscreen is measured for comparison only.
      if (windows[w].target_baseline && platform == "xcb")
        std::printf(" (target ≤ %.2f×: %s)", m.target, ours / base <= m.target ? "met" : "missed");
      std::printf(" |\n");
    }
  }
  return 0;
}
