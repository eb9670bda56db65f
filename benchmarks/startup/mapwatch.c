/* Starts a program and reports, in milliseconds since the exec, when its
 * top-level windows are first mapped on the X display. Used by the start-up
 * benchmark; the program is ended after the wanted window appeared.
 *
 *   mapwatch MIN_WIDTH COUNT TIMEOUT_MS PROGRAM [ARGS...]
 *
 * Prints one line "map <ms> <width>x<height>" per mapped top-level window and
 * ends after the COUNT-th window at least MIN_WIDTH wide, printing
 * "done <ms> <pid>" and leaving the program running (the caller measures its
 * memory and ends it). Exits 1 on time-out.
 *
 * With MAPWATCH_PIXEL=X,Y,RRGGBB in the environment it waits, before "done",
 * until the pixel at (X, Y) of that window has the colour RRGGBB (a web page
 * drawn, say) and prints "pixel <ms>", or "pixel none" when it never does. */
#define _GNU_SOURCE
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

static int ignore_x_error(Display *display, XErrorEvent *error) {
    (void)display;
    (void)error;
    return 0;
}

/* Polls one pixel of a window until it has the wanted colour; the time it had
 * it, or a negative number when the time-out came first. */
static double wait_for_pixel(Display *display, Window window, int x, int y, unsigned long colour,
                             double start, double timeout);

static double now_ms(void) {
    struct timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000.0 + t.tv_nsec / 1e6;
}

int main(int argc, char **argv) {
    if (argc < 5) {
        fprintf(stderr, "usage: %s MIN_WIDTH COUNT TIMEOUT_MS PROGRAM [ARGS...]\n", argv[0]);
        return 2;
    }
    const int min_width = atoi(argv[1]);
    const int wanted = atoi(argv[2]);
    const double timeout = atof(argv[3]);
    Display *display = XOpenDisplay(NULL);
    if (!display) {
        fprintf(stderr, "mapwatch: no X display\n");
        return 2;
    }
    Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    const double start = now_ms();
    pid_t pid = fork();
    if (pid == 0) {
        /* The program's own output would keep the caller's pipe open. */
        int devnull = open("/dev/null", O_WRONLY);
        if (devnull >= 0) {
            dup2(devnull, STDOUT_FILENO);
            dup2(devnull, STDERR_FILENO);
        }
        execvp(argv[4], argv + 4);
        _exit(127);
    }
    int seen = 0;
    struct pollfd fd = {ConnectionNumber(display), POLLIN, 0};
    while (now_ms() - start < timeout) {
        while (XPending(display)) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type != MapNotify || event.xmap.event != root)
                continue;
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(display, event.xmap.window, &attributes))
                continue;
            const double at = now_ms() - start;
            printf("map %.1f %dx%d\n", at, attributes.width, attributes.height);
            fflush(stdout);
            if (attributes.width >= min_width && ++seen >= wanted) {
                const char *pixel = getenv("MAPWATCH_PIXEL");
                int x, y;
                unsigned long colour;
                if (pixel && sscanf(pixel, "%d,%d,%lx", &x, &y, &colour) == 3) {
                    const double drawn =
                        wait_for_pixel(display, event.xmap.window, x, y, colour, start, timeout);
                    if (drawn < 0)
                        printf("pixel none\n");
                    else
                        printf("pixel %.1f\n", drawn);
                }
                printf("done %.1f %d\n", at, (int)pid);
                return 0;
            }
        }
        poll(&fd, 1, 20);
        if (waitpid(pid, NULL, WNOHANG) == pid) {
            fprintf(stderr, "mapwatch: the program ended before its window\n");
            return 1;
        }
    }
    kill(pid, SIGTERM);
    fprintf(stderr, "mapwatch: no window after %.0f ms\n", timeout);
    return 1;
}

static double wait_for_pixel(Display *display, Window window, int x, int y, unsigned long colour,
                             double start, double timeout) {
    XSetErrorHandler(ignore_x_error);
    const struct timespec pause = {0, 2 * 1000 * 1000};
    while (now_ms() - start < timeout) {
        XImage *image = XGetImage(display, window, x, y, 1, 1, AllPlanes, ZPixmap);
        if (image) {
            const unsigned long value = XGetPixel(image, 0, 0) & 0xffffff;
            XDestroyImage(image);
            if (value == colour)
                return now_ms() - start;
        }
        nanosleep(&pause, NULL);
    }
    return -1;
}
