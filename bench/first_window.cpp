// Start-up side by side with other programs, as a user sees it: the time
// from starting a program until its first top-level window is mapped on the
// X server, and the resident memory of all its processes 3 s after the start.
// Each program is started in turn, round after round (interleaved, so that a
// busy moment of the machine hits all of them alike), and the medians are
// printed.
//
//   waveorbit-bench-first-window [rounds] [name=program ...]
//
// Without programs named it compares the player and the bare window built
// beside it. Run it under a display and a session bus, with no network:
//   dbus-run-session -- xvfb-run -a -s "-screen 0 1280x800x24"
//       build/bin/waveorbit-bench-first-window 5 celluloid=/usr/bin/celluloid
// (one command line).
// Each program gets empty temporary settings and data folders.
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <dirent.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

struct Program {
    std::string name;
    std::string path;
    std::vector<double> firstWindowMs;
    std::vector<double> rssMb;
    int failed = 0;
};

std::string OwnFolder() {
    char path[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0)
        return ".";
    const std::string s(path, static_cast<size_t>(n));
    return s.substr(0, s.rfind('/'));
}

xcb_atom_t Atom(xcb_connection_t* x, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        x, xcb_intern_atom(x, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr);
    const xcb_atom_t atom = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    std::free(reply);
    return atom;
}

// The _NET_WM_PID a toolkit put on its window; 0 when there is none.
pid_t WindowPid(xcb_connection_t* x, xcb_window_t window, xcb_atom_t pidAtom) {
    xcb_get_property_reply_t* reply = xcb_get_property_reply(
        x, xcb_get_property(x, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr);
    pid_t pid = 0;
    if (reply && xcb_get_property_value_length(reply) >= 4)
        pid = static_cast<pid_t>(*static_cast<uint32_t*>(xcb_get_property_value(reply)));
    std::free(reply);
    return pid;
}

// The parent of a process, from /proc; 0 when gone.
pid_t ParentOf(pid_t pid) {
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(stat, line))
        return 0;
    const size_t close = line.rfind(')');
    if (close == std::string::npos)
        return 0;
    std::istringstream rest(line.substr(close + 2));
    std::string state;
    pid_t parent = 0;
    rest >> state >> parent;
    return parent;
}

bool DescendsFrom(pid_t pid, pid_t root) {
    for (int depth = 0; pid > 1 && depth < 32; ++depth, pid = ParentOf(pid))
        if (pid == root)
            return true;
    return false;
}

// Resident memory of a process and all its descendants, in kB.
long TreeRssKb(pid_t root) {
    long total = 0;
    DIR* proc = opendir("/proc");
    if (!proc)
        return 0;
    while (dirent* entry = readdir(proc)) {
        const pid_t pid = static_cast<pid_t>(std::atol(entry->d_name));
        if (pid <= 0 || !DescendsFrom(pid, root))
            continue;
        std::ifstream status("/proc/" + std::to_string(pid) + "/status");
        std::string line;
        while (std::getline(status, line))
            if (line.rfind("VmRSS:", 0) == 0)
                total += std::atol(line.c_str() + 6);
    }
    closedir(proc);
    return total;
}

void Run(xcb_connection_t* x, xcb_atom_t pidAtom, Program& program, const std::string& home) {
    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        setpgid(0, 0);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        setenv("XDG_CACHE_HOME", (home + "/cache").c_str(), 1);
        std::freopen("/dev/null", "w", stdout);
        std::freopen("/dev/null", "w", stderr);
        execl(program.path.c_str(), program.path.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    if (pid < 0) {
        ++program.failed;
        return;
    }
    setpgid(pid, pid);

    // Map notifications of the root's children come as events; the first one
    // whose window belongs to the started program is its first window.
    double firstWindow = -1;
    const auto deadline = start + std::chrono::seconds(3);
    pollfd p{xcb_get_file_descriptor(x), POLLIN, 0};
    while (Clock::now() < deadline) {
        const int left = static_cast<int>(
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
        while (xcb_generic_event_t* event = xcb_poll_for_event(x)) {
            if ((event->response_type & 0x7f) == XCB_MAP_NOTIFY && firstWindow < 0) {
                const auto* map = reinterpret_cast<xcb_map_notify_event_t*>(event);
                const pid_t owner = WindowPid(x, map->window, pidAtom);
                if (!map->override_redirect && owner > 0 && DescendsFrom(owner, pid))
                    firstWindow =
                        std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            }
            std::free(event);
        }
        if (left <= 0)
            break;
        poll(&p, 1, std::min(left, 50));
    }
    const long rssKb = TreeRssKb(pid);
    kill(-pid, SIGTERM);
    for (int i = 0; i < 40 && waitpid(pid, nullptr, WNOHANG) == 0; ++i)
        usleep(50 * 1000);
    kill(-pid, SIGKILL);
    waitpid(pid, nullptr, 0);
    if (firstWindow < 0) {
        ++program.failed;
        return;
    }
    program.firstWindowMs.push_back(firstWindow);
    program.rssMb.push_back(static_cast<double>(rssKb) / 1024.0);
}

double Median(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<Program> programs;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        const size_t eq = arg.find('=');
        if (eq == std::string::npos) {
            std::fprintf(stderr, "usage: %s [rounds] [name=program ...]\n", argv[0]);
            return 2;
        }
        programs.push_back({arg.substr(0, eq), arg.substr(eq + 1), {}, {}, 0});
    }
    if (programs.empty()) {
        const std::string folder = OwnFolder();
        programs.push_back({"waveorbit", folder + "/waveorbit", {}, {}, 0});
        programs.push_back({"bare-window", folder + "/waveorbit-bench-bare-window", {}, {}, 0});
    }

    xcb_connection_t* x = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(x)) {
        std::fprintf(stderr, "needs an X display (run it under xvfb-run)\n");
        return 2;
    }
    xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(x)).data;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(x, screen->root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(x);
    const xcb_atom_t pidAtom = Atom(x, "_NET_WM_PID");

    char pattern[] = "/tmp/waveorbit-bench-XXXXXX";
    const char* home = mkdtemp(pattern);
    if (!home)
        return 1;
    // One untimed start of each warms the file cache; then the rounds, each
    // start with an empty settings folder, as on a first start.
    const std::string empty = std::string("rm -rf '") + home + "'/*";
    for (int round = 0; round <= rounds; ++round)
        for (Program& program : programs) {
            if (std::system(empty.c_str()) != 0)
                std::fprintf(stderr, "could not empty %s\n", home);
            Program warm = program;
            Run(x, pidAtom, round == 0 ? warm : program, home);
        }
    const std::string cleanup = std::string("rm -rf '") + home + "'";
    if (std::system(cleanup.c_str()) != 0)
        std::fprintf(stderr, "could not remove %s\n", home);
    xcb_disconnect(x);

    std::printf("first window and memory, median of %d interleaved starts\n", rounds);
    std::printf("%-16s %18s %16s\n", "program", "first window (ms)", "RSS at 3 s (MB)");
    int failed = 0;
    for (const Program& program : programs) {
        std::printf("%-16s %18.0f %16.1f", program.name.c_str(), Median(program.firstWindowMs),
                    Median(program.rssMb));
        if (program.failed)
            std::printf("   (%d starts without a window)", program.failed);
        std::printf("\n");
        failed += program.failed;
    }
    return failed ? 1 : 0;
}
