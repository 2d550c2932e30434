// Starts a program and reports the milliseconds from just before its exec until its window is
// ready: mapped, with every probe pixel (window coordinates) within its tolerance of the
// expected colour. Then stops the program.
//
//   ready_probe [-t SECONDS] [-p X,Y,RRGGBB,TOLERANCE]... -- PROGRAM [ARGUMENT...]
//
// Prints the milliseconds and exits 0; prints "timeout" or "exited" (the program ended before its
// window was ready) and exits 1. Without a window manager (a bare Xvfb) the program's windows
// are children of the root window, which is where they are looked for.
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum { kMaxProbes = 16 };

struct Probe {
  int x, y, r, g, b, tolerance;
};

static double Now(void) {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t.tv_sec + t.tv_nsec / 1e9;
}

static long WindowPid(Display* display, Window window, Atom pid_atom) {
  Atom type;
  int format;
  unsigned long count, rest;
  unsigned char* data = NULL;
  long pid = -1;
  if (XGetWindowProperty(display, window, pid_atom, 0, 1, False, XA_CARDINAL, &type, &format,
                         &count, &rest, &data) == Success &&
      data && count == 1 && format == 32)
    pid = *(long*)data;
  if (data) XFree(data);
  return pid;
}

static int Near(int a, int b, int tolerance) { return abs(a - b) <= tolerance; }

static int ProbesHold(Display* display, Window window, const XWindowAttributes* attributes,
                      const struct Probe* probes, int count) {
  for (int i = 0; i < count; ++i) {
    if (probes[i].x >= attributes->width || probes[i].y >= attributes->height) return 0;
    XImage* image = XGetImage(display, window, probes[i].x, probes[i].y, 1, 1, AllPlanes, ZPixmap);
    if (!image) return 0;
    const unsigned long pixel = XGetPixel(image, 0, 0);
    const int r = (pixel >> 16) & 255, g = (pixel >> 8) & 255, b = pixel & 255;
    XDestroyImage(image);
    if (!Near(r, probes[i].r, probes[i].tolerance) || !Near(g, probes[i].g, probes[i].tolerance) ||
        !Near(b, probes[i].b, probes[i].tolerance))
      return 0;
  }
  return 1;
}

// Whether a viewable top-level window of the process shows every probe colour. A program has
// more than one (GTK's hidden leader window, the toolkit's own helpers), so each is tried.
static int ReadyWindowShown(Display* display, pid_t pid, Atom pid_atom, const struct Probe* probes,
                            int count) {
  Window root, parent, *children = NULL;
  unsigned int child_count = 0;
  int ready = 0;
  if (!XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &child_count))
    return 0;
  for (unsigned int i = 0; i < child_count && !ready; ++i) {
    XWindowAttributes attributes;
    ready = WindowPid(display, children[i], pid_atom) == pid &&
            XGetWindowAttributes(display, children[i], &attributes) &&
            attributes.map_state == IsViewable &&
            ProbesHold(display, children[i], &attributes, probes, count);
  }
  if (children) XFree(children);
  return ready;
}

// A window that goes away between the search and the reading is no error here.
static int IgnoreErrors(Display* display, XErrorEvent* error) {
  (void)display;
  (void)error;
  return 0;
}

// SIGTERM, and SIGKILL when the program has not ended 5 s later, so a hung program cannot stall
// the benchmark.
static void Stop(pid_t pid) {
  kill(pid, SIGTERM);
  const double asked = Now();
  while (waitpid(pid, NULL, WNOHANG) == 0) {
    if (Now() - asked > 5) {
      kill(pid, SIGKILL);
      waitpid(pid, NULL, 0);
      return;
    }
    usleep(10000);
  }
}

int main(int argc, char** argv) {
  struct Probe probes[kMaxProbes];
  int probe_count = 0;
  double timeout = 30;
  int i = 1;
  for (; i < argc && strcmp(argv[i], "--") != 0; ++i) {
    if (strcmp(argv[i], "-t") == 0 && i + 1 < argc) {
      timeout = atof(argv[++i]);
    } else if (strcmp(argv[i], "-p") == 0 && i + 1 < argc && probe_count < kMaxProbes) {
      struct Probe* p = &probes[probe_count++];
      unsigned int rgb = 0;
      if (sscanf(argv[++i], "%d,%d,%x,%d", &p->x, &p->y, &rgb, &p->tolerance) != 4) {
        fprintf(stderr, "bad probe %s\n", argv[i]);
        return 2;
      }
      p->r = (rgb >> 16) & 255;
      p->g = (rgb >> 8) & 255;
      p->b = rgb & 255;
    } else {
      fprintf(stderr, "usage: ready_probe [-t S] [-p X,Y,RRGGBB,TOL]... -- PROGRAM [ARG...]\n");
      return 2;
    }
  }
  if (i + 1 >= argc) {
    fprintf(stderr, "ready_probe: no program given\n");
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  if (!display) {
    fprintf(stderr, "no X display\n");
    return 2;
  }
  XSetErrorHandler(IgnoreErrors);
  const Atom pid_atom = XInternAtom(display, "_NET_WM_PID", False);

  const double start = Now();
  const pid_t pid = fork();
  if (pid == 0) {
    execvp(argv[i + 1], argv + i + 1);
    _exit(127);
  }
  if (pid < 0) {
    perror("fork");
    return 2;
  }
  int ready = 0, exited = 0;
  double end = start;
  while (!ready && Now() - start < timeout) {
    if (waitpid(pid, NULL, WNOHANG) != 0) {
      exited = 1;
      break;
    }
    if (ReadyWindowShown(display, pid, pid_atom, probes, probe_count)) {
      end = Now();
      ready = 1;
    } else {
      usleep(2000);
    }
  }
  if (!exited) Stop(pid);
  XCloseDisplay(display);
  if (!ready) {
    printf(exited ? "exited\n" : "timeout\n");
    return 1;
  }
  printf("%.1f\n", (end - start) * 1000);
  return 0;
}
