// Start-up tuning of the heap for the result store's many small rows.
#pragma once

#include <unistd.h>
#include <cstdlib>

// The result store of a long record holds tens to hundreds of MB in rows of a few KB, all
// written once right after they are allocated. On virtual machines a 4 KiB page fault can
// cost about 10 us, and first-touch faults then dominate an analysis (about 270 ms of
// 300 ms for 8,000 samples x 300 periods). glibc's malloc backs its heap with transparent
// huge pages when the tunable glibc.malloc.hugetlb=1 is set, which removes nearly all of
// those faults. Tunables are read only at process start, so the process restarts itself
// once with the tunable set. A user who set tunables of their own keeps them, and when the
// restart fails the process simply goes on as it is.
inline void RestartWithHugePageMalloc(char** argv) {
    if (std::getenv("GLIBC_TUNABLES") != nullptr || argv == nullptr || argv[0] == nullptr) {
        return;
    }
    if (setenv("GLIBC_TUNABLES", "glibc.malloc.hugetlb=1", 1) != 0) {
        return;
    }
    execv("/proc/self/exe", argv);
    unsetenv("GLIBC_TUNABLES");
}
