// The stepping kernels compiled for AVX2 (this file alone gets -mavx2): two vectors of four
// lanes, and the AVX-512 shape (two vectors of eight) split into AVX2 halves for testing it
// on machines without AVX-512.
#include "engine/FastKernelLoop.h"

#if !defined(__AVX2__)
#error "FastKernelAvx2.cpp must be compiled with -mavx2"
#endif

bool FastStepAvx2(const FastGroupPlan& plan, FastGroupState& state, const FastRecord& record,
                  std::size_t j0, std::size_t j1, const FastGroupRows& rows, const int* stop) {
    return StepGroup<4, 2>(plan, state, record, j0, j1, rows, stop);
}

bool FastStepAvx2Wide(const FastGroupPlan& plan, FastGroupState& state, const FastRecord& record,
                      std::size_t j0, std::size_t j1, const FastGroupRows& rows, const int* stop) {
    return StepGroup<8, 2>(plan, state, record, j0, j1, rows, stop);
}
