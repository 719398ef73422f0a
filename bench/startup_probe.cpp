// Starts a program on the current X display and reports how long it took until its first
// top-level window was mapped, and the program's resident memory shortly after that.
//
//   startup_probe [--settle-ms N] [--cpu-seconds S] [--key-presses N] -- program [args...]
//
// Prints one line: "map_ms=<milliseconds> map_cpu_ms=<milliseconds> rss_kib=<KiB>", the last
// but one the CPU time the program had used by the time its window was mapped (less disturbed
// by the machine's other work than the wall time). With --cpu-seconds it adds the CPU time the
// program used over that many seconds after mapping: "cpu_ms=<milliseconds>". With --key-presses
// it then presses the Left key that often, as a keyboard would (XTest), and adds the median time
// from each press to the first change of the window's pixels (the X server's damage report):
// "key_ms=<milliseconds>".
#include "bench/process_stats.h"

#include <xcb/damage.h>
#include <xcb/xcb.h>
#include <xcb/xtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <poll.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

int Usage() {
    std::fprintf(stderr, "usage: startup_probe [--settle-ms N] [--cpu-seconds S] "
                         "[--key-presses N] -- program [args...]\n");
    return 2;
}

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

using Event = std::unique_ptr<xcb_generic_event_t, decltype(&std::free)>;

// The key code of the Left arrow in the server's keyboard map; 0 when it has none.
xcb_keycode_t LeftKey(xcb_connection_t* connection) {
    constexpr xcb_keysym_t kLeft = 0xff51;
    const xcb_setup_t* setup = xcb_get_setup(connection);
    const auto count = static_cast<std::uint8_t>(setup->max_keycode - setup->min_keycode + 1);
    std::unique_ptr<xcb_get_keyboard_mapping_reply_t, decltype(&std::free)> map(
        xcb_get_keyboard_mapping_reply(
            connection, xcb_get_keyboard_mapping(connection, setup->min_keycode, count), nullptr),
        &std::free);
    if (!map) {
        return 0;
    }
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(map.get());
    const int perKey = map->keysyms_per_keycode;
    for (int key = 0; key < count; ++key) {
        if (syms[key * perKey] == kLeft) {
            return static_cast<xcb_keycode_t>(setup->min_keycode + key);
        }
    }
    return 0;
}

// Median milliseconds from a Left key press to the window's pixels changing.
double KeyResponseMs(xcb_connection_t* connection, xcb_window_t window, int presses) {
    const xcb_query_extension_reply_t* damageExtension =
        xcb_get_extension_data(connection, &xcb_damage_id);
    const xcb_keycode_t key = LeftKey(connection);
    if (damageExtension == nullptr || damageExtension->present == 0 || key == 0) {
        return -1;
    }
    std::free(xcb_damage_query_version_reply(connection, xcb_damage_query_version(connection, 1, 1),
                                             nullptr));
    const xcb_damage_damage_t damage = xcb_generate_id(connection);
    xcb_damage_create(connection, damage, window, XCB_DAMAGE_REPORT_LEVEL_NON_EMPTY);
    xcb_set_input_focus(connection, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    const auto notify = static_cast<std::uint8_t>(damageExtension->first_event + XCB_DAMAGE_NOTIFY);
    std::vector<double> samples;
    for (int i = 0; i < presses; ++i) {
        // The window settles, then whatever it drew meanwhile is forgotten.
        std::this_thread::sleep_for(std::chrono::milliseconds(40));
        xcb_damage_subtract(connection, damage, XCB_NONE, XCB_NONE);
        std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        while (Event(xcb_poll_for_event(connection), &std::free)) {
        }
        const auto start = Clock::now();
        xcb_test_fake_input(connection, XCB_KEY_PRESS, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(connection);
        // A window that draws nothing for a second (it has no keyboard focus, say) gives no
        // sample.
        pollfd server{xcb_get_file_descriptor(connection), POLLIN, 0};
        while (MsSince(start) < 1000) {
            Event event(xcb_poll_for_event(connection), &std::free);
            if (!event) {
                if (xcb_connection_has_error(connection) != 0) {
                    return -1;
                }
                ::poll(&server, 1, 10);
            } else if ((event->response_type & 0x7F) == notify) {
                samples.push_back(MsSince(start));
                break;
            }
        }
        xcb_test_fake_input(connection, XCB_KEY_RELEASE, key, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_flush(connection);
    }
    xcb_damage_destroy(connection, damage);
    std::sort(samples.begin(), samples.end());
    return samples.empty() ? -1 : samples[samples.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    int settleMs = 500;
    double cpuSeconds = 0;
    int keyPresses = 0;
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
        } else if (arg == "--key-presses" && first + 1 < argc) {
            keyPresses = std::atoi(argv[++first]);
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
    double mapCpuMs = -1;
    xcb_window_t mapped = XCB_NONE;
    while (mapMs < 0) {
        Event event(xcb_wait_for_event(connection), &std::free);
        if (!event) {
            break;
        }
        if ((event->response_type & 0x7F) == XCB_MAP_NOTIFY) {
            const auto* map = reinterpret_cast<const xcb_map_notify_event_t*>(event.get());
            if (map->override_redirect == 0) {
                mapMs = MsSince(start);
                mapCpuMs = ProcessStats::CpuMs(pid);
                mapped = map->window;
            }
        }
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(settleMs));
    const long rss = ProcessStats::ResidentKib(pid);
    std::printf("map_ms=%.2f map_cpu_ms=%.1f rss_kib=%ld", mapMs, mapCpuMs, rss);
    if (cpuSeconds > 0) {
        const double before = ProcessStats::CpuMs(pid);
        std::this_thread::sleep_for(std::chrono::duration<double>(cpuSeconds));
        std::printf(" cpu_ms=%.1f", ProcessStats::CpuMs(pid) - before);
    }
    if (keyPresses > 0 && mapMs >= 0) {
        std::printf(" key_ms=%.3f", KeyResponseMs(connection, mapped, keyPresses));
    }
    std::printf("\n");
    kill(pid, SIGTERM);
    int status = 0;
    waitpid(pid, &status, 0);
    xcb_disconnect(connection);
    return mapMs < 0 ? 1 : 0;
}
