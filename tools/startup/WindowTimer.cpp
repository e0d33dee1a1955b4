// Starts a program and measures the time from just before its start to the
// moment the X server maps a top-level window with the given title (the
// window becomes viewable). Watches the root window from outside, so the
// program under test needs no hook of its own. Prints the milliseconds and
// ends the program.
//
// Usage: dalmerin-window-timer TITLE TIMEOUT_MS PROGRAM [ARGUMENT...]
#include <X11/Xatom.h>
#include <X11/Xlib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string windowTitle(Display* display, Window window)
{
    const Atom utf8 = XInternAtom(display, "UTF8_STRING", False);
    std::string title;
    for (const Atom property : {XInternAtom(display, "_NET_WM_NAME", False), XA_WM_NAME}) {
        Atom type = None;
        int format = 0;
        unsigned long items = 0;
        unsigned long remaining = 0;
        unsigned char* data = nullptr;
        const int status = XGetWindowProperty(display, window, property, 0, 1024, False,
                                              property == XA_WM_NAME ? AnyPropertyType : utf8, &type, &format,
                                              &items, &remaining, &data);
        if (status == Success && data && format == 8)
            title.assign(reinterpret_cast<const char*>(data), items);
        if (data)
            XFree(data);
        if (!title.empty())
            break;
    }
    return title;
}

// A window that went away between its map and our question gives no title.
int ignoreErrors(Display*, XErrorEvent*)
{
    return 0;
}

void endProgram(pid_t program)
{
    kill(program, SIGTERM);
    waitpid(program, nullptr, 0);
}

} // namespace

int main(int argc, char* argv[])
{
    if (argc < 4) {
        std::fprintf(stderr, "Aufruf: %s TITEL ZEITLIMIT_MS PROGRAMM [ARGUMENT...]\n", argv[0]);
        return 2;
    }
    const std::string wanted = argv[1];
    const long timeoutMs = std::atol(argv[2]);

    Display* display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "Keine Verbindung zum X-Server\n");
        return 2;
    }
    XSetErrorHandler(ignoreErrors);
    const Window root = DefaultRootWindow(display);
    XSelectInput(display, root, SubstructureNotifyMask);
    XSync(display, False);

    using Clock = std::chrono::steady_clock;
    const Clock::time_point started = Clock::now();
    const pid_t program = fork();
    if (program == 0) {
        execvp(argv[3], argv + 3);
        _exit(127);
    }
    if (program < 0) {
        std::perror("fork");
        return 2;
    }

    pollfd connection{ConnectionNumber(display), POLLIN, 0};
    for (;;) {
        while (XPending(display) > 0) {
            XEvent event;
            XNextEvent(display, &event);
            if (event.type == MapNotify && event.xmap.event == root &&
                windowTitle(display, event.xmap.window) == wanted) {
                const std::chrono::duration<double, std::milli> elapsed = Clock::now() - started;
                std::printf("%.1f\n", elapsed.count());
                endProgram(program);
                XCloseDisplay(display);
                return 0;
            }
        }
        const auto waited =
            std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - started).count();
        if (waited > timeoutMs || waitpid(program, nullptr, WNOHANG) == program) {
            std::fprintf(stderr, "Kein Fenster \"%s\" erschienen\n", wanted.c_str());
            if (waited > timeoutMs)
                endProgram(program);
            XCloseDisplay(display);
            return 1;
        }
        poll(&connection, 1, 50);
    }
}
