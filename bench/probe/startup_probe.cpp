// Starts a program, waits until its first window is mapped and its event loop answers,
// then closes it and prints three figures: milliseconds from start to ready, the
// process's peak resident memory in KiB, and the milliseconds its threads ran on a CPU
// until ready, which other programs competing for the CPUs change far less.
//
// usage: startup_probe PROGRAM [ARGS...]     (needs DISPLAY; exits 1 if not ready in 10 s)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

namespace {

using Clock = std::chrono::steady_clock;
constexpr auto kTimeout = std::chrono::seconds(10);

struct DisplayCloser {
  void operator()(Display* display) const { XCloseDisplay(display); }
};

// Waits for the next X event until the deadline; false when none came in time.
bool NextEvent(Display* display, XEvent& event, Clock::time_point deadline) {
  while (XPending(display) == 0) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    if (left.count() <= 0) {
      return false;
    }
    pollfd fd{ConnectionNumber(display), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(left.count()));
  }
  XNextEvent(display, &event);
  return true;
}

void SendToWindow(Display* display, Window window, Atom type, long first, long mask,
                  Window target) {
  XEvent message{};
  message.xclient.type = ClientMessage;
  message.xclient.window = window;
  message.xclient.message_type = type;
  message.xclient.format = 32;
  message.xclient.data.l[0] = first;
  message.xclient.data.l[1] = CurrentTime;
  message.xclient.data.l[2] = static_cast<long>(window);
  XSendEvent(display, target, False, mask, &message);
  XFlush(display);
}

// Nanoseconds the threads of a process have run on a CPU so far (the scheduler's count).
long long RunTime(pid_t process) {
  long long total = 0;
  std::error_code error;
  const std::filesystem::path tasks = "/proc/" + std::to_string(process) + "/task";
  for (const auto& task : std::filesystem::directory_iterator(tasks, error)) {
    std::ifstream stat(task.path() / "schedstat");
    long long ran = 0;
    if (stat >> ran) {
      total += ran;
    }
  }
  return total;
}

}  // namespace

int main(int argc, char* argv[]) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: startup_probe PROGRAM [ARGS...]\n");
    return 2;
  }
  const std::unique_ptr<Display, DisplayCloser> display(XOpenDisplay(nullptr));
  if (!display) {
    std::fprintf(stderr, "startup_probe: cannot open the display\n");
    return 2;
  }
  Display* x = display.get();
  const Window root = DefaultRootWindow(x);
  // Maps of new windows, and the answers to pings, which come back through the root.
  XSelectInput(x, root, SubstructureNotifyMask | StructureNotifyMask);
  const Atom protocols = XInternAtom(x, "WM_PROTOCOLS", False);
  const Atom ping = XInternAtom(x, "_NET_WM_PING", False);
  const Atom closeRequest = XInternAtom(x, "WM_DELETE_WINDOW", False);
  XSync(x, False);

  const auto start = Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    execvp(argv[1], argv + 1);
    _exit(127);
  }
  const auto deadline = start + kTimeout;

  // Ready means mapped and answering: the window's event loop returns our ping.
  Window window = 0;  // the window that answered
  bool ready = false;
  XEvent event;
  while (!ready && NextEvent(x, event, deadline)) {
    if (event.type == MapNotify && event.xmap.override_redirect == False) {
      SendToWindow(x, event.xmap.window, protocols, static_cast<long>(ping), NoEventMask,
                   event.xmap.window);
    } else if (event.type == ClientMessage && static_cast<Atom>(event.xclient.data.l[0]) == ping) {
      window = static_cast<Window>(event.xclient.data.l[2]);
      ready = true;
    }
  }
  const auto readyAt = Clock::now();
  const long long ranNs = ready ? RunTime(child) : 0;

  if (ready) {
    SendToWindow(x, window, protocols, static_cast<long>(closeRequest), NoEventMask, window);
  }
  // Give the program a moment to close by itself before it is stopped.
  int status = 0;
  rusage usage{};
  for (int i = 0; i < 200 && wait4(child, &status, WNOHANG, &usage) == 0; ++i) {
    usleep(10000);
  }
  if (kill(child, 0) == 0) {
    kill(child, SIGKILL);
    wait4(child, &status, 0, &usage);
  }
  if (!ready) {
    std::fprintf(stderr, "startup_probe: %s did not become ready within 10 s\n", argv[1]);
    return 1;
  }
  const auto micros = std::chrono::duration_cast<std::chrono::microseconds>(readyAt - start);
  std::printf("%.2f %ld %.2f\n", static_cast<double>(micros.count()) / 1000.0, usage.ru_maxrss,
              static_cast<double>(ranNs) / 1e6);
  return 0;
}
