// Several periods stepped side by side through a record, one record step at a time.
#include "engine/PeriodBlock.h"

#include <algorithm>
#include <cmath>
#include <experimental/simd>
#include <vector>

#include "engine/ResponseKernel.h"
#include "records/Errors.h"

namespace {

namespace stdx = std::experimental;

// The oscillators of a block, one entry per period (structure of arrays, so that a
// group of neighbouring periods is stepped with packed arithmetic).
struct Lanes {
    explicit Lanes(std::size_t count)
        : a11(count),
          a12(count),
          a21(count),
          a22(count),
          b11(count),
          b12(count),
          b21(count),
          b22(count),
          omega(count),
          omega2(count),
          twoZetaOmega(count),
          nsub(count),
          x(count),
          v(count),
          maxD(count),
          maxV(count),
          maxS(count) {}
    std::vector<double> a11, a12, a21, a22, b11, b12, b21, b22;  // step coefficients
    std::vector<double> omega;                                   // rad/s
    std::vector<double> omega2;                                  // omega * omega, 1/s2
    std::vector<double> twoZetaOmega;                            // 2 * zeta * omega, 1/s
    std::vector<int> nsub;                                       // sub-steps per record step
    std::vector<double> x, v;                                    // state: cm, cm/s
    std::vector<double> maxD, maxV;                              // cm, cm/s
    std::vector<double> maxS;  // largest |2 zeta omega v + omega2 x|, cm/s2
};

// Neighbouring periods with the same sub-step count, stepped together.
struct Group {
    std::size_t first;
    int width;  // kGroupWidth or 1
    int nsub;
};

// Four periods per group: two SSE2 registers per quantity, enough independent work to
// hide the recurrence's latency (measured faster than 2 or 8).
constexpr int kGroupWidth = 4;

// Record steps stepped before their rows are appended: the periods' state stays in
// registers over a chunk, and the tile (kChunk rows of the block) stays in cache.
constexpr std::size_t kChunk = 16;

// The row values of up to kChunk record steps of every period of the block.
struct RowTile {
    explicit RowTile(std::size_t count) : count(count), all(kChunk * 5 * count) {}
    // Values of quantity q (0 sd, 1 sv, 2 sa, 3 psv, 4 psa) at row k of the tile.
    double* at(std::size_t k, int q) { return all.data() + (5 * k + q) * count; }
    const double* at(std::size_t k, int q) const { return all.data() + (5 * k + q) * count; }
    std::size_t count;
    std::vector<double> all;
};

// Advances the periods first .. first+W-1 (all with nsub sub-steps) over the record steps
// j0 .. j1-1 of acc (g; times gravity, cm/s2 per g) and writes their row values into the
// tile. Each period sees the operations of RunPeriod in the same order, so the bits are
// the same. The absolute acceleration is tracked before its division by gravity: dividing
// by the same non-zero number keeps the order (rounding is monotonic), so max|s| / |gravity|
// is exactly the running maximum of |s / gravity|.
template <int W>
void StepGroup(Lanes& L, std::size_t first, int nsub, const DOUBLEVECTOR& acc, std::size_t j0,
               std::size_t j1, double gravity, RowTile& tile) {
    using V = stdx::fixed_size_simd<double, W>;
    const auto load = [first](const std::vector<double>& a) {
        return V(a.data() + first, stdx::element_aligned);
    };
    const auto store = [first](const V& value, double* to) {
        value.copy_to(to + first, stdx::element_aligned);
    };
    const V a11 = load(L.a11), a12 = load(L.a12), a21 = load(L.a21), a22 = load(L.a22);
    const V b11 = load(L.b11), b12 = load(L.b12), b21 = load(L.b21), b22 = load(L.b22);
    const V twoZetaOmega = load(L.twoZetaOmega), omega = load(L.omega), omega2 = load(L.omega2);
    const double absGravity = std::fabs(gravity);
    V x = load(L.x), v = load(L.v), maxD = load(L.maxD), maxV = load(L.maxV);
    V maxS = load(L.maxS);

    for (std::size_t j = j0; j < j1; ++j) {
        const double base = gravity * acc[j - 1];
        const double diffG = (acc[j] - acc[j - 1]) * gravity;
        const double delta = nsub == 1 ? diffG : diffG / nsub;  // x / 1 is x exactly
        // p0 and p1 are (n - 1) * delta + base and n * delta + base, evaluated as written;
        // the end of one sub-step is the start of the next.
        double p0 = 0.0 * delta + base;
        for (int n = 1; n <= nsub; ++n) {
            const double p1 = n * delta + base;
            const V x1 = a11 * x + a12 * v + b11 * p0 + b12 * p1;
            const V v1 = a21 * x + a22 * v + b21 * p0 + b22 * p1;
            const V s = stdx::abs(twoZetaOmega * v1 + omega2 * x1);
            const V absX = stdx::abs(x1), absV = stdx::abs(v1);
            stdx::where(absX > maxD, maxD) = absX;
            stdx::where(absV > maxV, maxV) = absV;
            stdx::where(s > maxS, maxS) = s;
            x = x1;
            v = v1;
            p0 = p1;
        }
        const std::size_t k = j - j0;
        store(maxD, tile.at(k, 0));
        store(maxV, tile.at(k, 1));
        store(maxS / absGravity, tile.at(k, 2));
        store(omega * maxD, tile.at(k, 3));
        store(omega2 * maxD / gravity, tile.at(k, 4));
    }
    store(x, L.x.data());
    store(v, L.v.data());
    store(maxD, L.maxD.data());
    store(maxV, L.maxV.data());
    store(maxS, L.maxS.data());
}

// Plans every period; false when one cannot be planned (the period-by-period path then
// raises its error in grid order).
bool PlanLanes(double dt, double stepRatio, double zeta, const double* T, Lanes& L) {
    try {
        for (std::size_t i = 0; i < L.nsub.size(); ++i) {
            const PeriodPlan plan = PlanPeriod(dt, T[i], stepRatio);
            const StepCoefficients k = PlanCoefficients(plan, zeta);
            L.a11[i] = k.a11, L.a12[i] = k.a12, L.a21[i] = k.a21, L.a22[i] = k.a22;
            L.b11[i] = k.b11, L.b12[i] = k.b12, L.b21[i] = k.b21, L.b22[i] = k.b22;
            L.omega[i] = plan.omega;
            L.omega2[i] = plan.omega * plan.omega;
            L.twoZetaOmega[i] = 2 * zeta * plan.omega;
            L.nsub[i] = plan.subSteps;
        }
    } catch (const OrvantaError&) {
        return false;
    }
    return true;
}

// Runs of equal sub-step counts (the grid is ascending, so they are neighbours), cut into
// groups of kGroupWidth and single periods.
std::vector<Group> MakeGroups(const std::vector<int>& nsub) {
    std::vector<Group> groups;
    std::size_t i = 0;
    while (i < nsub.size()) {
        std::size_t end = i;
        while (end < nsub.size() && nsub[end] == nsub[i]) {
            ++end;
        }
        for (; i + kGroupWidth <= end; i += kGroupWidth) {
            groups.push_back({i, kGroupWidth, nsub[i]});
        }
        for (; i < end; ++i) {
            groups.push_back({i, 1, nsub[i]});
        }
    }
    return groups;
}

// One check for the whole record: a non-finite state stays non-finite (inf and NaN never
// turn finite again in the recurrence) and the row values never decrease, so a fault
// anywhere shows in the final state or in the last row (row k of the tile).
bool AllFinite(const Lanes& L, const RowTile& tile, std::size_t k) {
    double sum = 0;  // x - x is 0 for a finite x and not a number otherwise
    for (std::size_t i = 0; i < L.x.size(); ++i) {
        sum += (L.x[i] - L.x[i]) + (L.v[i] - L.v[i]);
        for (int q = 0; q < 5; ++q) {
            sum += tile.at(k, q)[i] - tile.at(k, q)[i];
        }
    }
    return sum == 0;
}

void AppendRow(const RowTile& tile, std::size_t k, std::size_t r, const HistorySet& out) {
    History* const histories[5] = {out.sd, out.sv, out.sa, out.psv, out.psa};
    for (int q = 0; q < 5; ++q) {
        DOUBLEVECTOR& row = (*histories[q])[r];
        row.insert(row.end(), tile.at(k, q), tile.at(k, q) + tile.count);
    }
}

}  // namespace

bool RunPeriodBlock(const DOUBLEVECTOR& acc, double dt, double gravity, double stepRatio,
                    double zeta, const double* T, std::size_t count, const HistorySet& out) {
    if (!std::isfinite(gravity) || gravity == 0) {
        return false;
    }
    Lanes lanes(count);
    if (!PlanLanes(dt, stepRatio, zeta, T, lanes)) {
        return false;
    }
    const std::vector<Group> groups = MakeGroups(lanes.nsub);
    RowTile tile(count);
    std::size_t lastRow = 0;
    for (std::size_t j0 = 1; j0 < acc.size(); j0 += kChunk) {
        const std::size_t j1 = std::min(j0 + kChunk, acc.size());
        for (const Group& g : groups) {
            if (g.width == kGroupWidth) {
                StepGroup<kGroupWidth>(lanes, g.first, g.nsub, acc, j0, j1, gravity, tile);
            } else {
                StepGroup<1>(lanes, g.first, g.nsub, acc, j0, j1, gravity, tile);
            }
        }
        for (std::size_t j = j0; j < j1; ++j) {
            AppendRow(tile, j - j0, j - 1, out);
        }
        lastRow = j1 - 1 - j0;
    }
    return AllFinite(lanes, tile, lastRow);
}
