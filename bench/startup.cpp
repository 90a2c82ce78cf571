// Start-up of the player against a bare Qt window with libmpv linked:
// launch-to-first-paint (wall time from starting the process until it
// reports its first paint), the first paint as the program measures it
// itself, and the peak resident memory of the process.
//
// Run on a display, e.g.:
//   xvfb-run -a -s "-screen 0 1280x800x24" build/bin/waveorbit-bench-startup [runs]
//
// Both programs are started with WAVEORBIT_BENCH_FIRST_PAINT=1, which makes
// them print "first-paint-ms <n>" to stderr at the first paint and quit. The
// player runs with empty temporary settings and data folders.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <fcntl.h>
#include <limits.h>
#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

struct Run {
    double launchToPaintMs = -1;
    double selfReportedMs = -1;
    long peakRssKb = 0;
};

std::string OwnFolder() {
    char path[PATH_MAX] = {};
    const ssize_t n = readlink("/proc/self/exe", path, sizeof(path) - 1);
    if (n <= 0)
        return ".";
    std::string s(path, static_cast<size_t>(n));
    return s.substr(0, s.rfind('/'));
}

Run RunOnce(const std::string& program, const std::string& home) {
    Run result;
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return result;
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], STDERR_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        setenv("WAVEORBIT_BENCH_FIRST_PAINT", "1", 1);
        setenv("XDG_CONFIG_HOME", (home + "/config").c_str(), 1);
        setenv("XDG_DATA_HOME", (home + "/data").c_str(), 1);
        execl(program.c_str(), program.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(pipeFds[1]);
    if (pid < 0) {
        close(pipeFds[0]);
        return result;
    }

    // Read stderr until the report line, for at most 30 s.
    std::string text;
    char buffer[512];
    pollfd p{pipeFds[0], POLLIN, 0};
    while (poll(&p, 1, 30000) > 0) {
        const ssize_t n = read(pipeFds[0], buffer, sizeof(buffer));
        if (n <= 0)
            break;
        text.append(buffer, static_cast<size_t>(n));
        const size_t at = text.find("first-paint-ms ");
        if (at != std::string::npos && text.find('\n', at) != std::string::npos) {
            result.launchToPaintMs =
                std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                    .count();
            result.selfReportedMs = std::atof(text.c_str() + at + 15);
            break;
        }
    }
    // Drain the rest so the child never blocks on a full pipe while quitting.
    while (read(pipeFds[0], buffer, sizeof(buffer)) > 0) {
    }
    close(pipeFds[0]);

    int status = 0;
    rusage usage{};
    if (result.launchToPaintMs < 0)
        kill(pid, SIGTERM);
    wait4(pid, &status, 0, &usage);
    result.peakRssKb = usage.ru_maxrss;
    return result;
}

double Median(std::vector<double> values) {
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct Summary {
    double launch = -1, self = -1, rssMb = -1;
    int failed = 0;
};

Summary Measure(const std::string& program, int runs) {
    char pattern[] = "/tmp/waveorbit-bench-XXXXXX";
    const char* home = mkdtemp(pattern);
    std::vector<double> launch, self, rss;
    Summary s;
    for (int i = 0; i < runs; ++i) {
        const Run r = RunOnce(program, home ? home : "/tmp");
        if (r.launchToPaintMs < 0) {
            ++s.failed;
            continue;
        }
        launch.push_back(r.launchToPaintMs);
        self.push_back(r.selfReportedMs);
        rss.push_back(static_cast<double>(r.peakRssKb) / 1024.0);
    }
    if (home) {
        const std::string cleanup = std::string("rm -rf '") + home + "'";
        if (std::system(cleanup.c_str()) != 0)
            std::fprintf(stderr, "could not remove %s\n", home);
    }
    s.launch = Median(launch);
    s.self = Median(self);
    s.rssMb = Median(rss);
    return s;
}

} // namespace

int main(int argc, char** argv) {
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        std::fprintf(stderr,
                     "needs a display; run it as\n"
                     "  xvfb-run -a -s \"-screen 0 1280x800x24\" %s [runs]\n",
                     argv[0]);
        return 2;
    }
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
    const std::string folder = OwnFolder();
    const std::string player = folder + "/waveorbit";
    const std::string bare = folder + "/waveorbit-bench-bare-window";

    // One untimed start of each warms the file cache.
    Measure(player, 1);
    Measure(bare, 1);
    const Summary p = Measure(player, runs);
    const Summary b = Measure(bare, runs);

    std::printf("start-up, median of %d runs\n", runs);
    std::printf("%-28s %12s %12s\n", "", "waveorbit", "bare window");
    std::printf("%-28s %12.0f %12.0f\n", "launch to first paint (ms)", p.launch, b.launch);
    std::printf("%-28s %12.0f %12.0f\n", "first paint, in process (ms)", p.self, b.self);
    std::printf("%-28s %12.1f %12.1f\n", "peak RSS (MB)", p.rssMb, b.rssMb);
    if (p.failed || b.failed)
        std::printf("runs without a first paint: waveorbit %d, bare window %d\n", p.failed,
                    b.failed);
    return (p.failed || b.failed) ? 1 : 0;
}
