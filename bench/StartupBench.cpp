// Start-up benchmark: starts programs under the current X display, interleaved, and measures for
// each run the time from exec to its top-level window being mapped (from X events, no polling)
// and its peak resident memory (VmHWM) once the window has settled; then closes the window with
// WM_DELETE_WINDOW. Prints medians and the ratios of the first program to each of the others.
//
// Usage: startup_bench RUNS NAME=PROGRAM [NAME=PROGRAM ...]
// A PROGRAM with spaces is a command and its arguments, such as "wine quarn-ev.exe".

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
  std::string name;
  std::vector<std::string> command;
  std::vector<double> startMs;
  std::vector<double> peakMiB;
};

[[noreturn]] void Die(const std::string& message) {
  std::fprintf(stderr, "startup_bench: %s\n", message.c_str());
  std::exit(1);
}

// Waits up to `ms` for the X connection to have something to read.
bool WaitForX(Display* display, int ms) {
  if (XPending(display) > 0) return true;
  pollfd fd{ConnectionNumber(display), POLLIN, 0};
  return poll(&fd, 1, ms) > 0 && XPending(display) > 0;
}

long WindowPid(Display* display, Window window) {
  const Atom pidAtom = XInternAtom(display, "_NET_WM_PID", False);
  Atom type = 0;
  int format = 0;
  unsigned long count = 0, after = 0;
  unsigned char* data = nullptr;
  long pid = -1;
  if (XGetWindowProperty(display, window, pidAtom, 0, 1, False, XA_CARDINAL, &type, &format, &count,
                         &after, &data) == Success &&
      data != nullptr && count == 1) {
    pid = static_cast<long>(*reinterpret_cast<unsigned long*>(data));
  }
  if (data != nullptr) XFree(data);
  return pid;
}

double PeakResidentMiB(pid_t pid) {
  std::ifstream status("/proc/" + std::to_string(pid) + "/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::strtod(line.c_str() + 6, nullptr) / 1024.0;
  }
  return 0;
}

void CloseWindow(Display* display, Window window) {
  XEvent event{};
  event.xclient.type = ClientMessage;
  event.xclient.window = window;
  event.xclient.message_type = XInternAtom(display, "WM_PROTOCOLS", False);
  event.xclient.format = 32;
  event.xclient.data.l[0] = static_cast<long>(XInternAtom(display, "WM_DELETE_WINDOW", False));
  event.xclient.data.l[1] = CurrentTime;
  XSendEvent(display, window, False, NoEventMask, &event);
  XFlush(display);
}

void WaitForExit(pid_t pid) {
  const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, pid, 0));
  pollfd fd{pidfd, POLLIN, 0};
  if (pidfd < 0 || poll(&fd, 1, 10000) <= 0) kill(pid, SIGKILL);
  if (pidfd >= 0) close(pidfd);
  waitpid(pid, nullptr, 0);
}

void RunOnce(Display* display, Program& program, bool record) {
  while (XPending(display) > 0) {  // forget events of earlier runs
    XEvent stale;
    XNextEvent(display, &stale);
  }
  std::vector<char*> argv;
  for (std::string& word : program.command) argv.push_back(word.data());
  argv.push_back(nullptr);
  const auto start = Clock::now();
  pid_t pid = 0;
  if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
    Die("cannot start " + program.command.front());
  }
  Window window = 0;
  auto mapped = start;
  while (window == 0) {
    if (!WaitForX(display, 20000)) Die(program.name + ": no window mapped within 20 s");
    XEvent event;
    XNextEvent(display, &event);
    if (event.type != MapNotify || event.xmap.override_redirect) continue;
    mapped = Clock::now();
    const long owner = WindowPid(display, event.xmap.window);
    if (owner == pid || owner == -1) window = event.xmap.window;
  }
  // Let the first paint happen before reading the peak memory.
  const auto settle = Clock::now() + std::chrono::milliseconds(300);
  while (Clock::now() < settle) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(settle - Clock::now());
    if (WaitForX(display, static_cast<int>(left.count()) + 1)) {
      XEvent event;
      XNextEvent(display, &event);
    }
  }
  const double peak = PeakResidentMiB(pid);
  CloseWindow(display, window);
  WaitForExit(pid);
  if (record) {
    program.startMs.push_back(std::chrono::duration<double, std::milli>(mapped - start).count());
    program.peakMiB.push_back(peak);
  }
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 == 1 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) Die("usage: startup_bench RUNS NAME=PROGRAM [NAME=PROGRAM ...]");
  const int runs = std::atoi(argv[1]);
  std::vector<Program> programs;
  for (int i = 2; i < argc; ++i) {
    const std::string arg = argv[i];
    const auto eq = arg.find('=');
    if (eq == std::string::npos) Die("expected NAME=PROGRAM, got " + arg);
    std::vector<std::string> command;
    std::istringstream words(arg.substr(eq + 1));
    for (std::string word; words >> word;) command.push_back(word);
    if (command.empty()) Die("no program for " + arg.substr(0, eq));
    programs.push_back({arg.substr(0, eq), command, {}, {}});
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) Die("cannot open the display");
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);

  for (Program& program : programs) RunOnce(display, program, /*record=*/false);  // warm-up
  // Interleaved, with the order rotated every round so that no program always follows the same one.
  for (int run = 0; run < runs; ++run) {
    for (std::size_t i = 0; i < programs.size(); ++i) {
      RunOnce(display, programs[(run + i) % programs.size()], /*record=*/true);
    }
  }

  std::printf("%-14s %14s %14s\n", "program", "start-up (ms)", "peak RSS (MiB)");
  for (const Program& p : programs) {
    std::printf("%-14s %14.1f %14.1f\n", p.name.c_str(), Median(p.startMs), Median(p.peakMiB));
  }
  const Program& subject = programs.front();
  for (std::size_t i = 1; i < programs.size(); ++i) {
    std::printf("%s / %s: start-up %.3fx, peak memory %.3fx\n", subject.name.c_str(),
                programs[i].name.c_str(), Median(subject.startMs) / Median(programs[i].startMs),
                Median(subject.peakMiB) / Median(programs[i].peakMiB));
  }
  XCloseDisplay(display);
  return 0;
}
