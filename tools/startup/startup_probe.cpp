// startup-probe COMMAND [ARGS...]: starts COMMAND on the X server of $DISPLAY and prints the
// milliseconds until a window of it is on the screen and painted: a viewable top-level window
// whose corners, 3 pixels in, show the window face colour (0xF0F0F0). The command is then
// ended with SIGTERM (SIGKILL after 5 s). Exit status 1 when nothing appeared within 30 s.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <thread>

extern char** environ;

namespace {

constexpr unsigned long kFace = 0xF0F0F0;

unsigned long PixelOf(Display* display, Window w, int x, int y) {
  XImage* image = XGetImage(display, w, x, y, 1, 1, AllPlanes, ZPixmap);
  if (!image) return 0;
  const unsigned long p = XGetPixel(image, 0, 0) & 0xFFFFFF;
  XDestroyImage(image);
  return p;
}

bool Painted(Display* display, Window w) {
  XWindowAttributes a;
  if (!XGetWindowAttributes(display, w, &a) || a.map_state != IsViewable) return false;
  if (a.width < 8 || a.height < 8) return false;
  return PixelOf(display, w, 3, 3) == kFace &&
         PixelOf(display, w, a.width - 4, a.height - 4) == kFace;
}

// Any painted window among the root's children or their children (a window manager's frame).
bool AnyPainted(Display* display, Window parent, int depth) {
  Window root, up, *children = nullptr;
  unsigned int n = 0;
  if (!XQueryTree(display, parent, &root, &up, &children, &n)) return false;
  bool found = false;
  for (unsigned int i = 0; i < n && !found; ++i) {
    found =
        Painted(display, children[i]) || (depth > 0 && AnyPainted(display, children[i], depth - 1));
  }
  if (children) XFree(children);
  return found;
}

// Errors of windows that vanish between the query and the look are expected.
int IgnoreErrors(Display*, XErrorEvent*) {
  return 0;
}

bool Ended(pid_t pid, std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status;
  while (std::chrono::steady_clock::now() < deadline) {
    if (waitpid(pid, &status, WNOHANG) == pid) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: startup-probe COMMAND [ARGS...]\n");
    return 2;
  }
  // A server busy with the previous program's end may refuse a connection for a moment.
  Display* display = XOpenDisplay(nullptr);
  for (int i = 0; !display && i < 100; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    display = XOpenDisplay(nullptr);
  }
  if (!display) {
    std::fprintf(stderr, "startup-probe: no X server at $DISPLAY\n");
    return 2;
  }
  XSetErrorHandler(IgnoreErrors);
  const Window root = DefaultRootWindow(display);
  if (AnyPainted(display, root, 1)) {
    std::fprintf(stderr, "startup-probe: a painted window is already on the screen\n");
    return 2;
  }
  const auto start = std::chrono::steady_clock::now();
  pid_t pid = -1;
  if (posix_spawnp(&pid, argv[1], nullptr, nullptr, argv + 1, environ) != 0) {
    std::fprintf(stderr, "startup-probe: cannot start %s\n", argv[1]);
    return 2;
  }
  bool seen = false;
  double ms = 0;
  while (!seen && std::chrono::steady_clock::now() - start < std::chrono::seconds(30)) {
    seen = AnyPainted(display, root, 1);
    ms =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    if (!seen) std::this_thread::sleep_for(std::chrono::microseconds(500));
  }
  kill(pid, SIGTERM);
  if (!Ended(pid, std::chrono::seconds(5))) {
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
  }
  XCloseDisplay(display);
  if (!seen) {
    std::fprintf(stderr, "startup-probe: no painted window within 30 s\n");
    return 1;
  }
  std::printf("%.1f\n", ms);
  return 0;
}
