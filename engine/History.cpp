// Result histories: rows as views into one contiguous array.
#include "engine/History.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

const double& HistoryRow::at(std::size_t j) const {
    if (j >= count) {
        throw std::out_of_range("history row index out of range");
    }
    return values[j];
}

bool operator==(HistoryRow a, HistoryRow b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

bool operator==(HistoryRow a, std::span<const double> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end());
}

History::History(std::size_t rowCount) : rows(rowCount) {}

History::History(const History& other)
    : rows(other.rows), width(other.width), lengths(other.lengths) {
    stride = lengths.empty() ? width : *std::max_element(lengths.begin(), lengths.end());
    if (rows * stride > 0) {
        own = std::make_unique<double[]>(rows * stride);
        values = own.get();
        for (std::size_t r = 0; r < rows; ++r) {
            const HistoryRow row = other[r];
            std::copy(row.begin(), row.end(), values + r * stride);
        }
    }
}

History& History::operator=(const History& other) {
    if (this != &other) {
        History copy(other);
        *this = std::move(copy);
    }
    return *this;
}

History::History(History&& other) noexcept
    : values(std::exchange(other.values, nullptr)),
      rows(std::exchange(other.rows, 0)),
      stride(std::exchange(other.stride, 0)),
      width(std::exchange(other.width, 0)),
      lengths(std::move(other.lengths)),
      own(std::move(other.own)) {
    other.lengths.clear();
}

History& History::operator=(History&& other) noexcept {
    if (this != &other) {
        values = std::exchange(other.values, nullptr);
        rows = std::exchange(other.rows, 0);
        stride = std::exchange(other.stride, 0);
        width = std::exchange(other.width, 0);
        lengths = std::move(other.lengths);
        other.lengths.clear();
        own = std::move(other.own);
    }
    return *this;
}

History::~History() = default;

History History::OverBlock(double* values, std::size_t rowCount, std::size_t rowStride) {
    History history(rowCount);
    history.values = values;
    history.stride = rowStride;
    return history;
}

HistoryRow History::operator[](std::size_t r) const {
    return HistoryRow(values + r * stride, RowLength(r));
}

History::const_iterator History::begin() const {
    return const_iterator(this, 0);
}

History::const_iterator History::end() const {
    return const_iterator(this, rows);
}

void History::AppendColumn(std::span<const double> column) {
    const std::size_t count = std::min(column.size(), rows);
    if (count == 0) {
        return;
    }
    std::size_t longest = width;
    if (!lengths.empty()) {
        longest = *std::max_element(lengths.begin(), lengths.begin() + count);
    }
    if (longest + 1 > stride) {
        Reallocate(std::max({2 * stride, longest + 1, std::size_t{4}}));
    }
    if (lengths.empty() && count == rows) {
        for (std::size_t r = 0; r < rows; ++r) {
            values[r * stride + width] = column[r];
        }
        ++width;
        return;
    }
    if (lengths.empty()) {
        lengths.assign(rows, width);
    }
    for (std::size_t r = 0; r < count; ++r) {
        values[r * stride + lengths[r]++] = column[r];
    }
}

void History::SetWidth(std::size_t newWidth) {
    lengths.clear();
    width = std::min(newWidth, stride);
}

void History::Reallocate(std::size_t capacity) {
    auto memory = std::make_unique<double[]>(rows * capacity);
    for (std::size_t r = 0; r < rows; ++r) {
        const HistoryRow row = (*this)[r];
        std::copy(row.begin(), row.end(), memory.get() + r * capacity);
    }
    own = std::move(memory);
    values = own.get();
    stride = capacity;
}

bool operator==(const History& a, const History& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t r = 0; r < a.size(); ++r) {
        if (!(a[r] == b[r])) {
            return false;
        }
    }
    return true;
}
