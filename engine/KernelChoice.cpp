// Run-time choice of the stepping kernel. This file is compiled for the baseline, so
// nothing here executes an instruction the CPU may lack.
#include "engine/KernelChoice.h"

#include <array>
#include <stdexcept>
#include <string>

namespace {

const std::array<KernelInfo, 4> kKernels = {{
    {Kernel::Sse2, "sse2", 8, &FastStepSse2},
#if defined(ORVANTA_X86_KERNELS)
    {Kernel::Avx2, "avx2", 8, &FastStepAvx2},
    {Kernel::Avx2Wide, "avx2-wide", 16, &FastStepAvx2Wide},
    {Kernel::Avx512, "avx512", 16, &FastStepAvx512},
#else
    {Kernel::Avx2, "avx2", 8, nullptr},
    {Kernel::Avx2Wide, "avx2-wide", 16, nullptr},
    {Kernel::Avx512, "avx512", 16, nullptr},
#endif
}};

// What the CPU runs. __builtin_cpu_supports also checks that the operating system saves
// the wider registers (XGETBV), so a kernel it allows never faults.
bool CpuRuns(Kernel kernel) {
#if defined(ORVANTA_X86_KERNELS)
    __builtin_cpu_init();
    switch (kernel) {
        case Kernel::Sse2:
            return true;
        case Kernel::Avx2:
        case Kernel::Avx2Wide:
            return __builtin_cpu_supports("avx2");
        case Kernel::Avx512:
            return __builtin_cpu_supports("avx512f");
        case Kernel::Automatic:
            break;
    }
    return false;
#else
    return kernel == Kernel::Sse2;
#endif
}

const KernelInfo& Info(Kernel kernel) {
    for (const KernelInfo& info : kKernels) {
        if (info.kernel == kernel) {
            return info;
        }
    }
    throw std::invalid_argument("unknown kernel");
}

const KernelInfo& Widest() {
    for (Kernel kernel : {Kernel::Avx512, Kernel::Avx2}) {
        if (KernelSupported(kernel)) {
            return Info(kernel);
        }
    }
    return Info(Kernel::Sse2);
}

}  // namespace

bool KernelSupported(Kernel kernel) {
    return kernel != Kernel::Automatic && Info(kernel).step != nullptr && CpuRuns(kernel);
}

std::vector<Kernel> SupportedKernels() {
    std::vector<Kernel> kernels;
    for (const KernelInfo& info : kKernels) {
        if (KernelSupported(info.kernel)) {
            kernels.push_back(info.kernel);
        }
    }
    return kernels;
}

const KernelInfo& ChooseKernel(Kernel kernel) {
    if (kernel == Kernel::Automatic) {
        static const KernelInfo& widest = Widest();
        return widest;
    }
    if (!KernelSupported(kernel)) {
        throw std::invalid_argument(std::string("kernel ") + Info(kernel).name +
                                    " is not supported on this machine");
    }
    return Info(kernel);
}
