// A result history: one row per output instant, one value per period of the grid. The rows
// lie in one contiguous array, either the result store's memory block or the history's own.
#pragma once

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

// One row of a history, read as an array of doubles (entry j belongs to period j of the
// grid). A view: valid while its history keeps its memory unchanged.
class HistoryRow {
  public:
    using value_type = double;
    using size_type = std::size_t;
    using const_iterator = const double*;
    using iterator = const_iterator;

    HistoryRow() = default;
    HistoryRow(const double* values, std::size_t count) : values(values), count(count) {}

    const double* data() const { return values; }
    std::size_t size() const { return count; }
    bool empty() const { return count == 0; }
    const double& operator[](std::size_t j) const { return values[j]; }
    // Entry j; throws std::out_of_range past the end.
    const double& at(std::size_t j) const;
    const double& front() const { return values[0]; }
    const double& back() const { return values[count - 1]; }
    const double* begin() const { return values; }
    const double* end() const { return values + count; }
    operator std::span<const double>() const { return {values, count}; }

    // Same length and every entry equal (==, so a not-a-number never equals itself).
    friend bool operator==(HistoryRow a, HistoryRow b);
    friend bool operator==(HistoryRow a, std::span<const double> b);

  private:
    const double* values = nullptr;
    std::size_t count = 0;
};

// An ordered list of rows. Either the rows of the store's block (OverBlock: the fast path
// writes them in place and then sets their common width), or rows in the history's own
// memory that grow as columns are appended (what the reference path appends to). A copy
// always owns its memory, so it stays valid after the original's block is released.
class History {
  public:
    using value_type = HistoryRow;
    using size_type = std::size_t;
    class const_iterator;
    using iterator = const_iterator;

    History() = default;
    // rowCount empty rows in the history's own memory.
    explicit History(std::size_t rowCount);
    History(const History& other);
    History& operator=(const History& other);
    History(History&& other) noexcept;
    History& operator=(History&& other) noexcept;
    ~History();

    // rowCount empty rows over memory the caller owns: row r starts at values + r * rowStride
    // and holds up to rowStride values. The memory must outlive the history's use of it.
    static History OverBlock(double* values, std::size_t rowCount, std::size_t rowStride);

    std::size_t size() const { return rows; }
    bool empty() const { return rows == 0; }
    HistoryRow operator[](std::size_t r) const;
    HistoryRow front() const { return (*this)[0]; }
    HistoryRow back() const { return (*this)[rows - 1]; }
    const_iterator begin() const;
    const_iterator end() const;

    // Appends column[r] to row r for every r < column.size() (at most size()); the other
    // rows keep their values. Grows the memory when a row is full (a history over a block
    // then moves into memory of its own).
    void AppendColumn(std::span<const double> column);

    // Every row holds its first width values (written in place into the block); width
    // must not exceed the row stride.
    void SetWidth(std::size_t width);

    // Same number of rows and every row equal.
    friend bool operator==(const History& a, const History& b);

  private:
    std::size_t RowLength(std::size_t r) const { return lengths.empty() ? width : lengths[r]; }
    // Moves the rows into own memory with room for capacity values per row.
    void Reallocate(std::size_t capacity);

    double* values = nullptr;
    std::size_t rows = 0;
    std::size_t stride = 0;  // values between the starts of two rows (= the capacity of a row)
    std::size_t width = 0;   // length of every row while lengths is empty
    std::vector<std::size_t> lengths;  // per-row lengths, only once the rows differ
    std::unique_ptr<double[]> own;     // the memory when the history owns it
};

// Walks the rows of a history in order, giving each as a HistoryRow.
class History::const_iterator {
  public:
    using value_type = HistoryRow;
    using difference_type = std::ptrdiff_t;
    using reference = HistoryRow;

    const_iterator() = default;
    const_iterator(const History* history, std::size_t r) : history(history), r(r) {}
    HistoryRow operator*() const { return (*history)[r]; }
    const_iterator& operator++() {
        ++r;
        return *this;
    }
    bool operator==(const const_iterator& other) const { return r == other.r; }

  private:
    const History* history = nullptr;
    std::size_t r = 0;
};
