// The result store: clearing, the period grid and the size of a run's results.
#include "engine/ResultStore.h"

#include <unistd.h>

#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include "engine/StoreText.h"
#include "records/Errors.h"
#include "records/NumberText.h"

namespace {

// Start of the grid: a negative minimum is replaced, zero stays (and fails at 1/T).
double FirstPeriod(double minPeriod) {
    return minPeriod < 0 ? ResultStore::kNegativeMinimumPeriod : minPeriod;
}

[[noreturn]] void RefuseGridSize(double minPeriod, double maxPeriod, double periodStep,
                                 const std::string& count) {
    throw ParameterError("Minimum Period " + FormatGeneral(minPeriod) + ", Maximum Period " +
                         FormatGeneral(maxPeriod) + " and Period Step " +
                         FormatGeneral(periodStep) + " give " + count + " periods; at most " +
                         std::to_string(ResultStore::kMaxPeriods) + " are allowed");
}

}  // namespace

ResultStore::ResultStore(MessageCallback showMessage)
    : storeLimitBytes(DefaultStoreLimitBytes()), showMessage(std::move(showMessage)) {}

void ResultStore::ClearResults() {
    for (History* history : {&sdHistory, &svHistory, &saHistory, &psvHistory, &psaHistory}) {
        *history = History();  // the views go before the block they look into
    }
    memory.Release();
}

void ResultStore::BuildPeriodGrid(double minPeriod, double maxPeriod, double periodStep) {
    if (!(periodStep > 0)) {
        throw ParameterError("Period Step must be greater than 0 (it is " +
                             FormatGeneral(periodStep) + ")");
    }
    double p = FirstPeriod(minPeriod);
    // Refuse an absurd grid at once instead of adding steps up to the limit.
    const double estimate = std::ceil((maxPeriod - p) / periodStep);
    if (estimate > static_cast<double>(kMaxPeriods)) {
        RefuseGridSize(minPeriod, maxPeriod, periodStep, "about " + FormatGeneral(estimate));
    }

    DOUBLEVECTOR periods;
    // Repeated addition, as the user sees the grid; a step too small to change p would
    // loop for ever, so the count is bounded here as well.
    while (p < maxPeriod) {
        if (periods.size() == kMaxPeriods) {
            RefuseGridSize(minPeriod, maxPeriod, periodStep,
                           "more than " + std::to_string(kMaxPeriods));
        }
        periods.push_back(p);
        p = p + periodStep;
    }
    // The maximum itself is added only when the grid falls short of it by more than 10 %.
    if (!periods.empty() && std::fabs(periods.back() - maxPeriod) / std::fabs(maxPeriod) > 0.1) {
        periods.push_back(maxPeriod);
    }
    if (periods.size() > kMaxPeriods) {
        RefuseGridSize(minPeriod, maxPeriod, periodStep, std::to_string(periods.size()));
    }

    DOUBLEVECTOR frequencies;
    frequencies.reserve(periods.size());
    for (double T : periods) {
        if (T == 0) {
            throw DivisionByZeroError();
        }
        frequencies.push_back(1 / T);
    }
    periodGrid = std::move(periods);
    frequencyGrid = std::move(frequencies);
}

std::size_t ResultStore::RowStride(std::size_t periodCount) {
    constexpr std::size_t kLine = 64 / sizeof(double);
    constexpr std::size_t kPaddedFrom = 64;
    return periodCount < kPaddedFrom ? periodCount : (periodCount + kLine - 1) / kLine * kLine;
}

namespace {

constexpr std::size_t kMaxBytes = std::numeric_limits<std::size_t>::max();

// a * b, or SIZE_MAX when it does not fit.
std::size_t SaturatingProduct(std::size_t a, std::size_t b) {
    return a != 0 && b > kMaxBytes / a ? kMaxBytes : a * b;
}

}  // namespace

std::size_t ResultStore::StoreBytes(std::size_t sampleCount, std::size_t periodCount) {
    const std::size_t rows = sampleCount < 2 ? 0 : sampleCount - 1;
    constexpr std::size_t kPerValue = 5 * sizeof(double);  // five histories
    return SaturatingProduct(SaturatingProduct(rows, RowStride(periodCount)), kPerValue);
}

std::size_t ResultStore::RunBytes(std::size_t sampleCount, std::size_t periodCount) const {
    const std::size_t rows = sampleCount < 2 ? 0 : sampleCount - 1;
    const std::size_t block = StoreBytes(sampleCount, periodCount);
    const std::size_t caller = SaturatingProduct(rows, callerBytesPerInstant);
    return block > kMaxBytes - caller ? kMaxBytes : block + caller;
}

// Half of the physical memory leaves room for the records, the window and the system;
// a run that needs more is refused instead of failing in the middle of its allocations.
std::size_t ResultStore::DefaultStoreLimitBytes() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0) {
        return std::size_t{1} << 30;  // unknown machine: 1 GiB
    }
    return static_cast<std::size_t>(pages) / 2 * static_cast<std::size_t>(pageSize);
}
