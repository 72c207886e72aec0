// SPDX-License-Identifier: GPL-3.0-or-later

// Watches one pixel of an X display from outside the program under test, and
// stamps what it sees with CLOCK_MONOTONIC (the clock the program's own stamps use).
//
//   xwatch changes X Y COUNT TIMEOUT_MS
//       prints "<ns> <rrggbb>" for the pixel's colour at start and at each
//       change, until COUNT changes were seen or the time is up;
//   xwatch first X Y RRGGBB TIMEOUT_MS PROGRAM [ARGS...]
//       starts PROGRAM, waits until the pixel shows RRGGBB (its first frame),
//       prints "<wall ms> <cpu ms> <peak rss kB>" of that moment, then ends it.
//
// Polling is XGetImage of one pixel of the root window; a short pause between
// polls leaves the second core to the server and the program.

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

long long monotonicNs()
{
    timespec now {};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

void pause(long nanoseconds)
{
    const timespec wait { 0, nanoseconds };
    nanosleep(&wait, nullptr);
}

unsigned long pixelAt(Display *display, int x, int y)
{
    XImage *image = XGetImage(display, DefaultRootWindow(display), x, y, 1, 1, AllPlanes, ZPixmap);
    if (!image)
        return ~0UL;
    const unsigned long pixel = XGetPixel(image, 0, 0) & 0xFFFFFF;
    XDestroyImage(image);
    return pixel;
}

int changes(Display *display, int x, int y, int count, long long timeoutMs)
{
    const long long end = monotonicNs() + timeoutMs * 1'000'000;
    unsigned long last = pixelAt(display, x, y);
    std::printf("%lld %06lx\n", monotonicNs(), last);
    for (int seen = 0; seen < count && monotonicNs() < end;) {
        const unsigned long pixel = pixelAt(display, x, y);
        const long long stamp = monotonicNs();
        if (pixel != last) {
            std::printf("%lld %06lx\n", stamp, pixel);
            last = pixel;
            ++seen;
        }
        pause(50'000);
    }
    return 0;
}

// CPU time of all threads of a process, in nanoseconds, from the scheduler's own count.
long long cpuNs(pid_t pid)
{
    const std::string tasks = "/proc/" + std::to_string(pid) + "/task";
    long long sum = 0;
    if (DIR *dir = opendir(tasks.c_str())) {
        while (dirent *entry = readdir(dir)) {
            if (entry->d_name[0] == '.')
                continue;
            if (FILE *file = std::fopen((tasks + "/" + entry->d_name + "/schedstat").c_str(), "r")) {
                long long ran = 0;
                if (std::fscanf(file, "%lld", &ran) == 1)
                    sum += ran;
                std::fclose(file);
            }
        }
        closedir(dir);
    }
    return sum;
}

long peakRssKb(pid_t pid)
{
    FILE *file = std::fopen(("/proc/" + std::to_string(pid) + "/status").c_str(), "r");
    if (!file)
        return -1;
    char line[256];
    long kb = -1;
    while (std::fgets(line, sizeof line, file))
        if (std::sscanf(line, "VmHWM: %ld", &kb) == 1)
            break;
    std::fclose(file);
    return kb;
}

int first(Display *display, int x, int y, unsigned long colour, long long timeoutMs, char **command)
{
    const long long start = monotonicNs();
    const pid_t child = fork();
    if (child == 0) {
        execvp(command[0], command);
        _exit(127);
    }
    int result = 1;
    while (monotonicNs() - start < timeoutMs * 1'000'000) {
        if (pixelAt(display, x, y) == colour) {
            const long long seen = monotonicNs();
            std::printf("%.3f %.3f %ld\n", double(seen - start) / 1e6, double(cpuNs(child)) / 1e6, peakRssKb(child));
            result = 0;
            break;
        }
        int status = 0;
        if (waitpid(child, &status, WNOHANG) == child) {
            std::fprintf(stderr, "xwatch: %s ended before its first frame\n", command[0]);
            return 1;
        }
        pause(200'000);
    }
    if (result)
        std::fprintf(stderr, "xwatch: no first frame of %s within %lld ms\n", command[0], timeoutMs);
    kill(child, SIGTERM);
    waitpid(child, nullptr, 0);
    return result;
}

} // namespace

int main(int argc, char *argv[])
{
    const bool watchChanges = argc == 6 && std::strcmp(argv[1], "changes") == 0;
    const bool watchFirst = argc >= 7 && std::strcmp(argv[1], "first") == 0;
    if (!watchChanges && !watchFirst) {
        std::fprintf(stderr,
            "usage: xwatch changes X Y COUNT TIMEOUT_MS\n"
            "       xwatch first X Y RRGGBB TIMEOUT_MS PROGRAM [ARGS...]\n");
        return 2;
    }
    Display *display = XOpenDisplay(nullptr);
    if (!display) {
        std::fprintf(stderr, "xwatch: cannot open the display\n");
        return 1;
    }
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const int x = std::atoi(argv[2]);
    const int y = std::atoi(argv[3]);
    const int result = watchChanges
        ? changes(display, x, y, std::atoi(argv[4]), std::atoll(argv[5]))
        : first(display, x, y, std::strtoul(argv[4], nullptr, 16), std::atoll(argv[5]), argv + 6);
    XCloseDisplay(display);
    return result;
}
