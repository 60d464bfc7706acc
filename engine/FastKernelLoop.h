// The one width-generic stepping loop of the fast path, included by each kernel translation
// unit and instantiated there for that unit's instruction set (GCC vector extensions give
// the lanes; the compiler splits a vector wider than the hardware's). Everything here has
// internal linkage and the standard library is not used, so no function compiled for one
// instruction set can be shared with, or chosen by the linker for, code of another.
//
// The operations and their order are those of the reference recurrence (RunningResponse.cpp),
// lane by lane: IEEE arithmetic without contraction (-ffp-contract=off) gives every lane the
// reference's bits. A maximum is kept as "new = |x| > max ? |x| : max", which, like the
// reference's "if (|x| > max)", keeps the old maximum for a not-a-number.
#pragma once

#include <cstddef>

#include "engine/FastKernel.h"

#if defined(__SSE2__)
#include <immintrin.h>
#endif

namespace {

// L lanes of doubles; Unaligned for rows whose segments need not be aligned.
template <int L>
struct VectorOf;
template <>
struct VectorOf<2> {
    typedef double Type __attribute__((vector_size(16)));
    typedef double Unaligned __attribute__((vector_size(16), aligned(8)));
};
template <>
struct VectorOf<4> {
    typedef double Type __attribute__((vector_size(32)));
    typedef double Unaligned __attribute__((vector_size(32), aligned(8)));
};
template <>
struct VectorOf<8> {
    typedef double Type __attribute__((vector_size(64)));
    typedef double Unaligned __attribute__((vector_size(64), aligned(8)));
};

// Comparing two vectors gives a vector of all-ones or all-zeros integer lanes.
template <class V>
using MaskOf = decltype(V{} > V{});

// The helpers take and give vectors by value and never take an address, so that the
// compiler keeps the lanes in registers.
template <class V>
inline V Broadcast(double value) {
    V v;
    for (unsigned i = 0; i < sizeof(V) / sizeof(double); ++i) {
        v[i] = value;
    }
    return v;
}

template <class V>
inline V Select(MaskOf<V> mask, V ifTrue, V ifFalse) {
    using M = MaskOf<V>;
    return (V)(((M)ifTrue & mask) | ((M)ifFalse & ~mask));
}

template <class V>
inline V Abs(V x) {
    using M = MaskOf<V>;
    return (V)((M)x & ~(M)Broadcast<V>(-0.0));
}

// a > b ? a : b, lane by lane: the old maximum b stays for a not-a-number a. MAXPD computes
// exactly this (it returns its second operand unless the first is greater).
template <class V>
inline V Max(V a, V b) {
#if defined(__AVX512F__)
    if constexpr (sizeof(V) == 64) {
        // The merging form: the plain one reads an undefined register GCC warns about.
        return (V)_mm512_mask_max_pd((__m512d)b, (__mmask8)0xFF, (__m512d)a, (__m512d)b);
    }
#endif
#if defined(__AVX__)
    if constexpr (sizeof(V) == 32) {
        return (V)_mm256_max_pd((__m256d)a, (__m256d)b);
    }
#endif
#if defined(__SSE2__)
    if constexpr (sizeof(V) == 16) {
        return (V)_mm_max_pd((__m128d)a, (__m128d)b);
    }
#endif
    return Select(a > b, a, b);
}

// True when any lane of a comparison's result is set.
template <class M>
inline bool AnyLane(M mask) {
#if defined(__AVX512F__)
    if constexpr (sizeof(M) == 64) {
        return _mm512_test_epi64_mask((__m512i)mask, (__m512i)mask) != 0;
    }
#endif
#if defined(__AVX__)
    if constexpr (sizeof(M) == 32) {
        return _mm256_movemask_pd((__m256d)mask) != 0;
    }
    if constexpr (sizeof(M) == 64) {
        const __m256i either =
            __m256i{mask[0] | mask[4], mask[1] | mask[5], mask[2] | mask[6], mask[3] | mask[7]};
        return _mm256_movemask_pd((__m256d)either) != 0;
    }
#endif
#if defined(__SSE2__)
    if constexpr (sizeof(M) == 16) {
        return _mm_movemask_pd((__m128d)mask) != 0;
    }
#endif
    bool any = false;
    for (unsigned i = 0; i < sizeof(M) / sizeof(mask[0]); ++i) {
        any = any || mask[i] != 0;
    }
    return any;
}

template <int L>
inline void StoreUnaligned(double* to, typename VectorOf<L>::Type v) {
    *reinterpret_cast<typename VectorOf<L>::Unaligned*>(to) = v;
}

// Writes a full, 64-byte aligned row segment past the caches: the rows are written once
// and read much later, so reading their lines in first would double the memory traffic.
template <int L>
inline void StreamStore(double* to, typename VectorOf<L>::Type v) {
#if defined(__AVX512F__)
    if constexpr (L == 8) {
        _mm512_stream_pd(to, (__m512d)v);
        return;
    }
#endif
#if defined(__AVX__)
    if constexpr (L == 4) {
        _mm256_stream_pd(to, (__m256d)v);
        return;
    }
    if constexpr (L == 8) {
        _mm256_stream_pd(to, __m256d{v[0], v[1], v[2], v[3]});
        _mm256_stream_pd(to + 4, __m256d{v[4], v[5], v[6], v[7]});
        return;
    }
#endif
#if defined(__SSE2__)
    if constexpr (L == 2) {
        _mm_stream_pd(to, (__m128d)v);
        return;
    }
#endif
    StoreUnaligned<L>(to, v);
}

inline void StreamFence() {
#if defined(__SSE2__)
    _mm_sfence();
#endif
}

// How a group writes its row segments: streaming full lines, whole vectors, or only the
// lanes that are periods of the grid.
enum class RowStores { Stream, Full, Partial };

// Sub-steps between two looks at the stop flag (a fraction of a millisecond).
constexpr int kSubStepsPerStopCheck = 1 << 14;

// The oscillators of one group in registers: G vectors of L lanes.
template <int L, int G>
struct GroupLanes {
    using V = typename VectorOf<L>::Type;
    using M = MaskOf<V>;

    V a11[G], a12[G], a21[G], a22[G], b11[G], b12[G], b21[G], b22[G];
    V twoZetaOmega[G], omega2[G], omega[G], subSteps[G];
    V x[G], v[G], maxD[G], maxV[G], maxS[G];
    V delta[G], p0[G];  // ground acceleration: change per sub-step, value at the sub-step start
    // The two values that need a division, with the maxima they were computed from: a
    // running maximum rarely changes, and an unchanged one gives the same bits again.
    V rowMaxD[G], rowMaxS[G], sa[G], psa[G];

    static V Load(const double* from) { return *reinterpret_cast<const V*>(from); }
    static void Store(double* to, V value) { *reinterpret_cast<V*>(to) = value; }

    GroupLanes(const FastGroupPlan& plan, const FastGroupState& state, double gravity,
               double absGravity) {
#pragma GCC unroll 16
        for (int g = 0; g < G; ++g) {
            const int at = g * L;
            a11[g] = Load(plan.a11 + at), a12[g] = Load(plan.a12 + at);
            a21[g] = Load(plan.a21 + at), a22[g] = Load(plan.a22 + at);
            b11[g] = Load(plan.b11 + at), b12[g] = Load(plan.b12 + at);
            b21[g] = Load(plan.b21 + at), b22[g] = Load(plan.b22 + at);
            twoZetaOmega[g] = Load(plan.twoZetaOmega + at);
            omega2[g] = Load(plan.omega2 + at);
            omega[g] = Load(plan.omega + at);
            subSteps[g] = Load(plan.subSteps + at);
            x[g] = Load(state.x + at), v[g] = Load(state.v + at);
            maxD[g] = Load(state.maxD + at), maxV[g] = Load(state.maxV + at);
            maxS[g] = Load(state.maxS + at);
            rowMaxD[g] = maxD[g], rowMaxS[g] = maxS[g];
            sa[g] = maxS[g] / absGravity;
            psa[g] = omega2[g] * maxD[g] / gravity;
        }
    }

    void Save(FastGroupState& state) const {
#pragma GCC unroll 16
        for (int g = 0; g < G; ++g) {
            const int at = g * L;
            Store(state.x + at, x[g]), Store(state.v + at, v[g]);
            Store(state.maxD + at, maxD[g]), Store(state.maxV + at, maxV[g]);
            Store(state.maxS + at, maxS[g]);
        }
    }

    // The start of record step j: delta = (a[j] - a[j-1]) * gravity / nsub and
    // p0 = 0 * delta + gravity * a[j-1], as the reference forms them.
    void BeginRecordStep(double base, double gravityDifference, bool uniform, double uniformSteps) {
        const double uniformDelta =
            uniformSteps == 1.0 ? gravityDifference : gravityDifference / uniformSteps;
#pragma GCC unroll 16
        for (int g = 0; g < G; ++g) {
            delta[g] = uniform ? Broadcast<V>(uniformDelta) : gravityDifference / subSteps[g];
            p0[g] = 0.0 * delta[g] + base;
        }
    }

    // Sub-step n of every lane; with Masked, lanes whose sub-step count is below n keep
    // their state and maxima.
    template <bool Masked>
    void SubStep(double n, double base) {
#pragma GCC unroll 16
        for (int g = 0; g < G; ++g) {
            const V p1 = n * delta[g] + base;
            const V x1 = a11[g] * x[g] + a12[g] * v[g] + b11[g] * p0[g] + b12[g] * p1;
            const V v1 = a21[g] * x[g] + a22[g] * v[g] + b21[g] * p0[g] + b22[g] * p1;
            const V s = Abs(twoZetaOmega[g] * v1 + omega2[g] * x1);
            if constexpr (Masked) {
                const M active = Broadcast<V>(n) <= subSteps[g];
                x[g] = Select(active, x1, x[g]);
                v[g] = Select(active, v1, v[g]);
                maxD[g] = Select(active, Max(Abs(x1), maxD[g]), maxD[g]);
                maxV[g] = Select(active, Max(Abs(v1), maxV[g]), maxV[g]);
                maxS[g] = Select(active, Max(s, maxS[g]), maxS[g]);
            } else {
                x[g] = x1;
                v[g] = v1;
                maxD[g] = Max(Abs(x1), maxD[g]);
                maxV[g] = Max(Abs(v1), maxV[g]);
                maxS[g] = Max(s, maxS[g]);
            }
            p0[g] = p1;
        }
    }

    // Sub-steps first .. last; false when told to stop.
    template <bool Masked>
    bool SubSteps(int first, int last, double base, const int* stop) {
        for (int blockStart = first; blockStart <= last; blockStart += kSubStepsPerStopCheck) {
            const int blockEnd = last - blockStart < kSubStepsPerStopCheck
                                     ? last
                                     : blockStart + kSubStepsPerStopCheck - 1;
            for (int n = blockStart; n <= blockEnd; ++n) {
                SubStep<Masked>(n, base);
            }
            if (blockEnd < last && __atomic_load_n(stop, __ATOMIC_RELAXED) != 0) {
                return false;
            }
        }
        return true;
    }

    // Row values after a record step, written at the row's segment to[q]: maxD cm,
    // maxV cm/s, max|s| / |gravity| g, omega * maxD cm/s, omega^2 * maxD / gravity g.
    template <RowStores Mode>
    void WriteRow(double* const (&to)[5], int lanes, double gravity, double absGravity) {
        M changed = (maxS[0] != rowMaxS[0]) | (maxD[0] != rowMaxD[0]);
#pragma GCC unroll 16
        for (int g = 1; g < G; ++g) {
            changed |= (maxS[g] != rowMaxS[g]) | (maxD[g] != rowMaxD[g]);
        }
        if (AnyLane(changed)) {  // one branch for the group: the maxima change together
#pragma GCC unroll 16
            for (int g = 0; g < G; ++g) {
                rowMaxS[g] = maxS[g], rowMaxD[g] = maxD[g];
                sa[g] = maxS[g] / absGravity;
                psa[g] = omega2[g] * maxD[g] / gravity;
            }
        }
        V values[5][G];
#pragma GCC unroll 16
        for (int g = 0; g < G; ++g) {
            values[0][g] = maxD[g], values[1][g] = maxV[g], values[2][g] = sa[g];
            values[3][g] = omega[g] * maxD[g], values[4][g] = psa[g];
        }
        // Each row segment in one go, so that a streamed line is complete at once.
#pragma GCC unroll 5
        for (int q = 0; q < 5; ++q) {
#pragma GCC unroll 16
            for (int g = 0; g < G; ++g) {
                double* const at = to[q] + g * L;
                if constexpr (Mode == RowStores::Stream) {
                    StreamStore<L>(at, values[q][g]);
                } else if constexpr (Mode == RowStores::Full) {
                    StoreUnaligned<L>(at, values[q][g]);
                } else {
                    for (int i = 0; i < L && i < lanes - g * L; ++i) {
                        at[i] = values[q][g][i];
                    }
                }
            }
        }
    }
};

template <int L, int G, RowStores Mode>
bool StepRecordSteps(const FastGroupPlan& plan, FastGroupState& state, const FastRecord& record,
                     std::size_t j0, std::size_t j1, const FastGroupRows& rows, const int* stop) {
    // Everything the loop reads stays in locals: stores into the rows may alias memory.
    const double* const acc = record.acc;
    const double gravity = record.gravity;
    const double absGravity = gravity < 0 ? -gravity : gravity;
    const std::size_t stride = rows.rowStride;
    const int lanes = rows.lanes;
    const int minSubSteps = plan.minSubSteps, maxSubSteps = plan.maxSubSteps;
    const bool uniform = minSubSteps == maxSubSteps;
    const double uniformSteps = plan.subSteps[0];
    double* to[5];
    for (int q = 0; q < 5; ++q) {
        to[q] = rows.first[q] + (j0 - 1) * stride;
    }
    const auto nextRow = [&to, stride] {
        for (int q = 0; q < 5; ++q) {
            to[q] += stride;
        }
    };

    GroupLanes<L, G> group(plan, state, gravity, absGravity);
    bool going = true;
    if (maxSubSteps == 1) {
        // Long periods, most of a grid: one sub-step per record step, and a difference
        // divided by 1 is the difference itself.
        for (std::size_t j = j0; j < j1; ++j) {
            const double base = gravity * acc[j - 1];
            group.BeginRecordStep(base, (acc[j] - acc[j - 1]) * gravity, true, 1.0);
            group.template SubStep<false>(1.0, base);
            group.template WriteRow<Mode>(to, lanes, gravity, absGravity);
            nextRow();
        }
    } else {
        for (std::size_t j = j0; j < j1 && going; ++j) {
            const double base = gravity * acc[j - 1];
            group.BeginRecordStep(base, (acc[j] - acc[j - 1]) * gravity, uniform, uniformSteps);
            going = group.template SubSteps<false>(1, minSubSteps, base, stop) &&
                    group.template SubSteps<true>(minSubSteps + 1, maxSubSteps, base, stop);
            if (going) {
                group.template WriteRow<Mode>(to, lanes, gravity, absGravity);
                nextRow();
            }
        }
    }
    group.Save(state);
    if constexpr (Mode == RowStores::Stream) {
        StreamFence();  // streaming stores are weakly ordered: finish them before returning
    }
    return going;
}

template <int L, int G>
bool StepGroup(const FastGroupPlan& plan, FastGroupState& state, const FastRecord& record,
               std::size_t j0, std::size_t j1, const FastGroupRows& rows, const int* stop) {
    if (rows.stream) {
        return StepRecordSteps<L, G, RowStores::Stream>(plan, state, record, j0, j1, rows, stop);
    }
    if (rows.lanes >= L * G) {
        return StepRecordSteps<L, G, RowStores::Full>(plan, state, record, j0, j1, rows, stop);
    }
    return StepRecordSteps<L, G, RowStores::Partial>(plan, state, record, j0, j1, rows, stop);
}

}  // namespace
