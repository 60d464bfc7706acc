// The stepping kernel compiled for AVX-512F (this file alone gets -mavx512f): two vectors
// of eight lanes.
#include "engine/FastKernelLoop.h"

#if !defined(__AVX512F__)
#error "FastKernelAvx512.cpp must be compiled with -mavx512f"
#endif

bool FastStepAvx512(const FastGroupPlan& plan, FastGroupState& state, const FastRecord& record,
                    std::size_t j0, std::size_t j1, const FastGroupRows& rows, const int* stop) {
    return StepGroup<8, 2>(plan, state, record, j0, j1, rows, stop);
}
