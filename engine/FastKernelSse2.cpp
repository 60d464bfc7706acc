// The stepping kernel for the x86-64 baseline (SSE2): four vectors of two lanes. Built
// without extra instruction-set flags, so it also serves as the portable variant.
#include "engine/FastKernelLoop.h"

bool FastStepSse2(const FastGroupPlan& plan, FastGroupState& state, const FastRecord& record,
                  std::size_t j0, std::size_t j1, const FastGroupRows& rows, const int* stop) {
    return StepGroup<2, 4>(plan, state, record, j0, j1, rows, stop);
}
