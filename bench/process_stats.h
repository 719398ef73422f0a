#pragma once

#include <sys/types.h>

// What Linux reports of a running process, read from /proc.
class ProcessStats {
public:
    // Resident memory in KiB; -1 when the process is gone.
    static long ResidentKib(pid_t pid);
    // CPU time of the process, all its threads, in milliseconds; -1 when the process is gone.
    static double CpuMs(pid_t pid);
};
