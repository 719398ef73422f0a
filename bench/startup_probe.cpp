// Starts a program on the current X display and reports how long it took until its first
// top-level window was mapped, and the program's resident memory shortly after that.
//
//   startup_probe [--settle-ms N] [--cpu-seconds S] -- program [args...]
//
// Prints one line: "map_ms=<milliseconds> rss_kib=<KiB>" and, with --cpu-seconds, the CPU time
// the program used over that many seconds after mapping: "cpu_ms=<milliseconds>".
#include "bench/process_stats.h"

#include <xcb/xcb.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

using Clock = std::chrono::steady_clock;

int Usage() {
    std::fprintf(stderr,
                 "usage: startup_probe [--settle-ms N] [--cpu-seconds S] -- program [args...]\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    int settleMs = 500;
    double cpuSeconds = 0;
    int first = 1;
    for (; first < argc; ++first) {
        const std::string arg = argv[first];
        if (arg == "--") {
            ++first;
            break;
        }
        if (arg == "--settle-ms" && first + 1 < argc) {
            settleMs = std::atoi(argv[++first]);
        } else if (arg == "--cpu-seconds" && first + 1 < argc) {
            cpuSeconds = std::atof(argv[++first]);
        } else {
            return Usage();
        }
    }
    if (first >= argc) {
        return Usage();
    }

    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "startup_probe: cannot open the X display\n");
        return 1;
    }
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    const uint32_t mask = XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);

    const auto start = Clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        execvp(argv[first], argv + first);
        std::perror("startup_probe: exec");
        _exit(127);
    }
    if (pid < 0) {
        std::perror("startup_probe: fork");
        return 1;
    }

    double mapMs = -1;
    while (mapMs < 0) {
        std::unique_ptr<xcb_generic_event_t, decltype(&std::free)> event(
            xcb_wait_for_event(connection), &std::free);
        if (!event) {
            break;
        }
        if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            if (map->override_redirect == 0) {
                mapMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
            }
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long rss = ProcessStats::ResidentKib(pid);
    std::printf("map_ms=%.2f rss_kib=%ld", mapMs, rss);
    if (cpuSeconds > 0) {
        const double before = ProcessStats::CpuMs(pid);
        std::this_thread::sleep_for(std::chrono::duration<double>(cpuSeconds));
        std::printf(" cpu_ms=%.1f", ProcessStats::CpuMs(pid) - before);
    }
    std::printf("\n");
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    xcb_disconnect(connection);
    return mapMs < 0 ? 1 : 0;
}
