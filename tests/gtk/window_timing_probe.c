/* Measures a window program from the outside, the same way for any program: the time from its
 * start to its first window drawn, its peak memory then, and optionally the time from a letter
 * typed in the closed drop-down list to the window drawn again, and from the key that opens the
 * list to the list drawn. Drawn means the first X damage on a mapped top-level
 * window of the display, which is when the program has painted into it.
 *
 * Usage: window_timing_probe [--open-list] PROGRAM [ARGS...]
 * With --open-list the list's first caption must start with E and no other with P but the first
 * (the prompt): the letter P then searches the whole list, round to the top.
 * Prints one line: drawn_ms=... peak_kb=... [letter_ms=... list_ms=... list_peak_kb=...]; exit
 * status 0 when all
 * were seen within the time limit. */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/keysym.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/select.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

enum { kMaxWindows = 64 };
static const double kLimitMs = 20000;

static double NowMs(void) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

static long PeakKb(pid_t pid) {
  char path[64];
  snprintf(path, sizeof path, "/proc/%d/status", (int)pid);
  FILE* status = fopen(path, "r");
  if (status == NULL) return -1;
  char line[256];
  long peak = -1;
  while (fgets(line, sizeof line, status) != NULL) {
    if (strncmp(line, "VmHWM:", 6) == 0) peak = strtol(line + 6, NULL, 10);
  }
  fclose(status);
  return peak;
}

/* Top-level windows created since the probe started, with whether they are mapped. */
static Window windows[kMaxWindows];
static int mapped[kMaxWindows];
static int window_count;

static int Find(Window window) {
  for (int i = 0; i < window_count; ++i) {
    if (windows[i] == window) return i;
  }
  return -1;
}

/* Keeps the list of top-level windows up to date with `event`, and repairs damage as it comes (a
 * window whose damage is left standing reports no more). Returns the window `event` damaged when
 * it is a mapped top-level window, otherwise 0. */
static Window Track(Display* display, int damage_event, const XEvent* event) {
  if (event->type == CreateNotify && event->xcreatewindow.parent == DefaultRootWindow(display) &&
      window_count < kMaxWindows) {
    /* Watched from its creation, before it can be painted. */
    windows[window_count] = event->xcreatewindow.window;
    mapped[window_count++] = 0;
    XDamageCreate(display, event->xcreatewindow.window, XDamageReportNonEmpty);
  } else if (event->type == MapNotify) {
    const int i = Find(event->xmap.window);
    if (i >= 0) mapped[i] = 1;
  } else if (event->type == damage_event + XDamageNotify) {
    const XDamageNotifyEvent* damage = (const XDamageNotifyEvent*)event;
    XDamageSubtract(display, damage->damage, None, None);
    const int i = Find(damage->drawable);
    if (i >= 0 && mapped[i]) return damage->drawable;
  }
  return 0;
}

/* Waits for the first damage on a mapped top-level window other than `except`; returns it, or 0
 * when the limit passes. */
static Window WaitForDrawn(Display* display, int damage_event, Window except, double deadline) {
  const int fd = ConnectionNumber(display);
  while (NowMs() < deadline) {
    if (XPending(display) == 0) {
      fd_set readable;
      FD_ZERO(&readable);
      FD_SET(fd, &readable);
      struct timeval wait = {0, 10000};
      select(fd + 1, &readable, NULL, NULL, &wait);
      continue;
    }
    XEvent event;
    XNextEvent(display, &event);
    const Window damaged = Track(display, damage_event, &event);
    if (damaged != 0 && damaged != except) return damaged;
  }
  return 0;
}

/* Windows can be input-only or gone again before the probe looks at them; such errors only mean
 * that the window is not one to watch. */
static int IgnoreError(Display* display, XErrorEvent* error) {
  (void)display;
  (void)error;
  return 0;
}

static void Key(Display* display, KeySym modifier, KeySym key) {
  const KeyCode mod_code = modifier != NoSymbol ? XKeysymToKeycode(display, modifier) : 0;
  const KeyCode key_code = XKeysymToKeycode(display, key);
  if (mod_code != 0) XTestFakeKeyEvent(display, mod_code, True, 0);
  XTestFakeKeyEvent(display, key_code, True, 0);
  XTestFakeKeyEvent(display, key_code, False, 0);
  if (mod_code != 0) XTestFakeKeyEvent(display, mod_code, False, 0);
  XFlush(display);
}

/* Lets `ms` pass, keeping track of the windows the program makes meanwhile. */
static void Settle(Display* display, int damage_event, double ms) {
  const double until = NowMs() + ms;
  while (NowMs() < until) {
    while (XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      Track(display, damage_event, &event);
    }
    usleep(5000);
  }
}

int main(int argc, char** argv) {
  int arg = 1;
  int open_list = 0;
  if (arg < argc && strcmp(argv[arg], "--open-list") == 0) {
    open_list = 1;
    ++arg;
  }
  if (arg >= argc) {
    fprintf(stderr, "usage: %s [--open-list] PROGRAM [ARGS...]\n", argv[0]);
    return 2;
  }
  Display* display = XOpenDisplay(NULL);
  int damage_event = 0, damage_error = 0, ignored = 0;
  if (display == NULL || !XDamageQueryExtension(display, &damage_event, &damage_error) ||
      !XTestQueryExtension(display, &ignored, &ignored, &ignored, &ignored)) {
    fprintf(stderr, "window_timing_probe: needs a display with DAMAGE and XTEST\n");
    return 2;
  }
  XSetErrorHandler(IgnoreError);
  XSelectInput(display, DefaultRootWindow(display), SubstructureNotifyMask);
  XSync(display, False);

  const double start = NowMs();
  const pid_t child = fork();
  if (child == 0) {
    close(ConnectionNumber(display));
    execvp(argv[arg], argv + arg);
    _exit(127);
  }
  int ok = 0;
  const Window window = WaitForDrawn(display, damage_event, 0, start + kLimitMs);
  if (window != 0) {
    const double drawn = NowMs() - start;
    printf("drawn_ms=%.1f peak_kb=%ld", drawn, PeakKb(child));
    ok = 1;
    if (open_list) {
      /* Let start-up finish, then go to the list (Go_Box, Exit_Box, Menu) and open it. */
      Settle(display, damage_event, 300);
      XSetInputFocus(display, window, RevertToParent, CurrentTime);
      Key(display, NoSymbol, XK_Tab);
      Key(display, NoSymbol, XK_Tab);
      Key(display, NoSymbol, XK_e);
      Settle(display, damage_event, 200);
      const double typed = NowMs();
      Key(display, NoSymbol, XK_p);
      if (WaitForDrawn(display, damage_event, 0, typed + kLimitMs) != 0) {
        printf(" letter_ms=%.1f", NowMs() - typed);
      } else {
        ok = 0;
      }
      Settle(display, damage_event, 200);
      const double pressed = NowMs();
      Key(display, XK_Alt_L, XK_Down);
      const Window list = WaitForDrawn(display, damage_event, window, pressed + kLimitMs);
      if (list != 0) {
        printf(" list_ms=%.1f list_peak_kb=%ld", NowMs() - pressed, PeakKb(child));
      } else {
        ok = 0;
      }
    }
    printf("\n");
  }
  fflush(stdout);
  kill(child, SIGTERM);
  waitpid(child, NULL, 0);
  XCloseDisplay(display);
  if (!ok) fprintf(stderr, "window_timing_probe: no window drawn in time\n");
  return ok ? 0 : 1;
}
