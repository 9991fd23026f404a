// Starts a program and reports, in milliseconds from the exec, when its window
// with a given title became viewable and when the program went idle after it.
//
//   startup_probe [--title T] [--quiet-ms 100] [--busy-us 2000] [--timeout-ms 15000]
//                 -- PROGRAM ARGS...
//
// Prints one line "mapped_ms idle_ms". "Viewable" is X's map state: the window
// and every ancestor (the window manager's frame too) are mapped. "Idle" is the
// start of the first stretch of --quiet-ms after the mapping during which all
// the program's threads together used less than --busy-us of CPU time, read
// from /proc/PID/task/*/schedstat (nanoseconds). The program is then ended.
#include <xcb/xcb.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <fstream>
#include <map>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

extern char **environ;

namespace {

using Clock = std::chrono::steady_clock;

double msSince(Clock::time_point start)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

xcb_atom_t atom(xcb_connection_t *c, const char *name)
{
    xcb_intern_atom_reply_t *reply =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(name), name), nullptr);
    const xcb_atom_t result = reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
    std::free(reply);
    return result;
}

std::string property(xcb_connection_t *c, xcb_window_t w, xcb_atom_t name, xcb_atom_t type)
{
    xcb_get_property_reply_t *reply =
        xcb_get_property_reply(c, xcb_get_property(c, 0, w, name, type, 0, 1024), nullptr);
    std::string value;
    if (reply && reply->type != XCB_ATOM_NONE)
        value.assign(static_cast<const char *>(xcb_get_property_value(reply)),
                     xcb_get_property_value_length(reply));
    std::free(reply);
    return value;
}

struct Atoms {
    xcb_atom_t netWmName, utf8, netWmPid;
};

bool isViewableTarget(xcb_connection_t *c, const Atoms &atoms, xcb_window_t w,
                      const std::string &title, pid_t pid)
{
    xcb_get_window_attributes_reply_t *attributes =
        xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, w), nullptr);
    const bool viewable = attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    std::free(attributes);
    if (!viewable)
        return false;
    std::string name = property(c, w, atoms.netWmName, atoms.utf8);
    if (name.empty())
        name = property(c, w, XCB_ATOM_WM_NAME, XCB_ATOM_STRING);
    if (name != title)
        return false;
    const std::string pidBytes = property(c, w, atoms.netWmPid, XCB_ATOM_CARDINAL);
    if (pidBytes.size() != 4)
        return true; // a client without _NET_WM_PID: the title has to do
    uint32_t windowPid = 0;
    std::memcpy(&windowPid, pidBytes.data(), 4);
    return static_cast<pid_t>(windowPid) == pid;
}

// CPU time of all threads of a process in ns. A thread that has exited keeps
// the last value read for it, so the sum never goes backwards.
class CpuClock {
public:
    explicit CpuClock(pid_t pid)
        : _dir("/proc/" + std::to_string(pid) + "/task")
    {
    }

    long long nanoseconds()
    {
        if (DIR *dir = opendir(_dir.c_str())) {
            while (dirent *entry = readdir(dir)) {
                if (entry->d_name[0] == '.')
                    continue;
                std::ifstream stat(_dir + "/" + entry->d_name + "/schedstat");
                long long ns = 0;
                if (stat >> ns)
                    _perThread[entry->d_name] = ns;
            }
            closedir(dir);
        }
        long long sum = 0;
        for (const auto &[tid, ns] : _perThread)
            sum += ns;
        return sum;
    }

private:
    std::string _dir;
    std::map<std::string, long long> _perThread;
};

void endChild(pid_t pid)
{
    kill(pid, SIGTERM);
    for (int i = 0; i < 300; ++i) { // up to 3 s, then force
        if (waitpid(pid, nullptr, WNOHANG) == pid)
            return;
        usleep(10000);
    }
    kill(pid, SIGKILL);
    waitpid(pid, nullptr, 0);
}

int usage()
{
    std::fprintf(stderr, "usage: startup_probe [--title T] [--quiet-ms N] [--busy-us N] "
                         "[--timeout-ms N] -- PROGRAM ARGS...\n");
    return 2;
}

} // namespace

int main(int argc, char **argv)
{
    std::string title = "Glaze";
    double quietMs = 100;
    long long busyNs = 2'000'000;
    double timeoutMs = 15000;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--")
            break;
        if (i + 1 >= argc)
            return usage();
        if (arg == "--title")
            title = argv[++i];
        else if (arg == "--quiet-ms")
            quietMs = std::atof(argv[++i]);
        else if (arg == "--busy-us")
            busyNs = std::atoll(argv[++i]) * 1000;
        else if (arg == "--timeout-ms")
            timeoutMs = std::atof(argv[++i]);
        else
            return usage();
    }
    if (i + 1 >= argc)
        return usage();
    char **command = argv + i + 1;

    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c)) {
        std::fprintf(stderr, "startup_probe: cannot open the display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const Atoms atoms{atom(c, "_NET_WM_NAME"), atom(c, "UTF8_STRING"), atom(c, "_NET_WM_PID")};
    // New top-levels and the window manager's frames are children of the root.
    const uint32_t rootMask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(c, root, XCB_CW_EVENT_MASK, &rootMask);
    xcb_flush(c);

    const Clock::time_point start = Clock::now();
    pid_t pid = 0;
    if (posix_spawnp(&pid, command[0], nullptr, nullptr, command, environ) != 0) {
        std::fprintf(stderr, "startup_probe: cannot start %s\n", command[0]);
        return 1;
    }

    std::vector<xcb_window_t> candidates;
    double mappedMs = -1;
    auto checkCandidates = [&] {
        for (xcb_window_t w : candidates) {
            if (isViewableTarget(c, atoms, w, title, pid)) {
                mappedMs = msSince(start);
                return;
            }
        }
    };
    pollfd fd{xcb_get_file_descriptor(c), POLLIN, 0};
    while (mappedMs < 0) {
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "startup_probe: %s exited before its window showed\n", command[0]);
            return 1;
        }
        if (msSince(start) > timeoutMs) {
            std::fprintf(stderr, "startup_probe: no viewable window '%s'\n", title.c_str());
            endChild(pid);
            return 1;
        }
        poll(&fd, 1, 5);
        bool recheck = false;
        while (xcb_generic_event_t *event = xcb_poll_for_event(c)) {
            switch (event->response_type & 0x7f) {
            case XCB_CREATE_NOTIFY: {
                const xcb_window_t w = reinterpret_cast<xcb_create_notify_event_t *>(event)->window;
                // Its own map and title changes reach us even once it is reparented.
                const uint32_t mask =
                    XCB_EVENT_MASK_STRUCTURE_NOTIFY | XCB_EVENT_MASK_PROPERTY_CHANGE;
                xcb_change_window_attributes(c, w, XCB_CW_EVENT_MASK, &mask);
                candidates.push_back(w);
                recheck = true;
                break;
            }
            case XCB_MAP_NOTIFY:
            case XCB_REPARENT_NOTIFY:
            case XCB_PROPERTY_NOTIFY:
                recheck = true;
                break;
            default:
                break;
            }
            std::free(event);
        }
        if (recheck)
            checkCandidates();
    }

    CpuClock cpu(pid);
    double quietStartMs = msSince(start);
    long long quietStartNs = cpu.nanoseconds();
    double idleMs = -1;
    while (idleMs < 0) {
        usleep(2000);
        const double nowMs = msSince(start);
        const long long ns = cpu.nanoseconds();
        if (ns - quietStartNs >= busyNs) {
            quietStartMs = nowMs;
            quietStartNs = ns;
        } else if (nowMs - quietStartMs >= quietMs) {
            idleMs = quietStartMs;
        }
        if (waitpid(pid, nullptr, WNOHANG) == pid) {
            std::fprintf(stderr, "startup_probe: %s exited before going idle\n", command[0]);
            return 1;
        }
        if (nowMs > timeoutMs) {
            std::fprintf(stderr, "startup_probe: the program never went idle\n");
            endChild(pid);
            return 1;
        }
    }
    endChild(pid);
    xcb_disconnect(c);
    std::printf("%.1f %.1f\n", mappedMs, idleMs);
    return 0;
}
