// Which stepping kernel the fast path runs: chosen once from what the CPU supports, or
// named by the caller (tests compare every variant with the reference).
#pragma once

#include <vector>

#include "engine/FastKernel.h"

enum class Kernel {
    Automatic,  // the widest the CPU supports: AVX-512, else AVX2, else SSE2
    Sse2,       // 4 x 2 lanes, the x86-64 baseline (and the portable build)
    Avx2,       // 2 x 4 lanes
    Avx2Wide,   // the AVX-512 shape (2 x 8 lanes) compiled for AVX2; never chosen by Automatic
    Avx512,     // 2 x 8 lanes
};

struct KernelInfo {
    Kernel kernel;
    const char* name;  // "sse2", "avx2", "avx2-wide", "avx512"
    int lanes;         // periods per group
    FastStepFunction step;
};

// True when this build holds the kernel and the CPU (and its operating system) runs it.
bool KernelSupported(Kernel kernel);

// Every kernel this machine runs, Automatic excluded.
std::vector<Kernel> SupportedKernels();

// The kernel to run for a choice; Automatic resolves once per process. Throws
// std::invalid_argument for a kernel this machine cannot run.
const KernelInfo& ChooseKernel(Kernel kernel);
