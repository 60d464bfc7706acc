// The fast path's stepping kernels: the plain data they work on and one entry point per
// instruction set. A kernel advances a group of neighbouring periods ("lanes") side by side
// through record steps, with the operations of the reference recurrence in the same order,
// so every lane gets exactly the reference's bits. This header is shared with the kernel
// translation units, which are compiled for their instruction sets: it holds declarations
// and plain structs only.
#pragma once

#include <cstddef>

// Lanes of the widest group (AVX-512: two vectors of eight doubles).
inline constexpr int kMaxKernelLanes = 16;

// The plan of a group's lanes (one period each; lanes past the grid repeat its last period).
struct FastGroupPlan {
    alignas(64) double a11[kMaxKernelLanes];  // step coefficients of each lane's sub-step
    alignas(64) double a12[kMaxKernelLanes];
    alignas(64) double a21[kMaxKernelLanes];
    alignas(64) double a22[kMaxKernelLanes];
    alignas(64) double b11[kMaxKernelLanes];
    alignas(64) double b12[kMaxKernelLanes];
    alignas(64) double b21[kMaxKernelLanes];
    alignas(64) double b22[kMaxKernelLanes];
    alignas(64) double twoZetaOmega[kMaxKernelLanes];  // (2 * zeta) * omega, 1/s
    alignas(64) double omega2[kMaxKernelLanes];        // omega * omega, 1/s2
    alignas(64) double omega[kMaxKernelLanes];         // rad/s
    alignas(64) double subSteps[kMaxKernelLanes];      // sub-steps per record step, as a double
    int minSubSteps;                                   // over the group's lanes
    int maxSubSteps;
};

// The state of a group's oscillators between calls; all zero at the first sample.
struct FastGroupState {
    alignas(64) double x[kMaxKernelLanes];     // displacement, cm
    alignas(64) double v[kMaxKernelLanes];     // velocity, cm/s
    alignas(64) double maxD[kMaxKernelLanes];  // largest |x|, cm
    alignas(64) double maxV[kMaxKernelLanes];  // largest |v|, cm/s
    // Largest |2 zeta omega v + omega^2 x| (cm/s2): dividing by |gravity| keeps the order
    // (rounding is monotonic), so max|s| / |gravity| is exactly the running maximum of
    // |s / gravity| that the reference keeps, at one division per record step instead of
    // one per sub-step.
    alignas(64) double maxS[kMaxKernelLanes];
};

// Where a group writes: row r of quantity q (0 sd cm, 1 sv cm/s, 2 sa g, 3 psv cm/s,
// 4 psa g) of the group's first lane is first[q] + r * rowStride.
struct FastGroupRows {
    double* first[5];
    std::size_t rowStride;  // doubles between two rows
    int lanes;              // lanes that are periods of the grid (written); the rest are padding
    bool stream;            // every lane written and every row segment 64-byte aligned: the
                            // rows are written with streaming (non-temporal) full-line stores
};

// The record: samples in g and gravity in cm/s2 per g (finite, not 0).
struct FastRecord {
    const double* acc;
    double gravity;
};

// Advances the group over the record steps j0 .. j1-1 (from sample j-1 to sample j,
// 1 <= j0 < j1 <= sample count) and writes row j-1 for each. Returns false as soon as
// *stop (read atomically, every few thousand sub-steps) is not 0; state and rows are then
// partial.
using FastStepFunction = bool (*)(const FastGroupPlan& plan, FastGroupState& state,
                                  const FastRecord& record, std::size_t j0, std::size_t j1,
                                  const FastGroupRows& rows, const int* stop);

// The entry points, one per instruction set and group shape (lanes = vector width times
// vectors per group). Call one only where the CPU supports its instruction set.
bool FastStepSse2(const FastGroupPlan&, FastGroupState&, const FastRecord&, std::size_t,
                  std::size_t, const FastGroupRows&, const int*);  // 4 x 2 lanes
bool FastStepAvx2(const FastGroupPlan&, FastGroupState&, const FastRecord&, std::size_t,
                  std::size_t, const FastGroupRows&, const int*);  // 2 x 4 lanes
// The AVX-512 source logic (2 x 8 lanes) compiled for AVX2, each 8-lane vector split in two:
// lets a machine without AVX-512 test the 16-lane group.
bool FastStepAvx2Wide(const FastGroupPlan&, FastGroupState&, const FastRecord&, std::size_t,
                      std::size_t, const FastGroupRows&, const int*);
bool FastStepAvx512(const FastGroupPlan&, FastGroupState&, const FastRecord&, std::size_t,
                    std::size_t, const FastGroupRows&, const int*);  // 2 x 8 lanes
