#pragma once
// Game data is numbered from 1, with 0 meaning "none" (no piece, no slot). These
// containers keep that numbering in the code instead of shifting every index by one:
// element 0 exists but is never used.

#include <array>
#include <cassert>
#include <cstddef>
#include <utility>
#include <vector>

namespace snugbox {

// A fixed table of N entries numbered 1..N.
template <class T, int N>
class OneBasedArray {
public:
    static constexpr int count() { return N; }
    static constexpr bool contains(int index) { return index >= 1 && index <= N; }

    T& operator[](int index)
    {
        assert(contains(index));
        return items_[static_cast<std::size_t>(index)];
    }
    const T& operator[](int index) const
    {
        assert(contains(index));
        return items_[static_cast<std::size_t>(index)];
    }

    bool operator==(const OneBasedArray&) const = default;

private:
    std::array<T, N + 1> items_{};
};

// A table that is resized at run time, numbered 1..count().
template <class T>
class OneBasedVector {
public:
    int count() const { return static_cast<int>(items_.size()) - 1; }
    bool contains(int index) const { return index >= 1 && index <= count(); }

    // Entries 1..min(old, n) keep their contents; new entries are value-initialised.
    void resize(int n) { items_.resize(static_cast<std::size_t>(n < 0 ? 0 : n) + 1); }
    void clear() { resize(0); }
    void push_back(const T& item) { items_.push_back(Cell{item}); }
    void push_back(T&& item) { items_.push_back(Cell{std::move(item)}); }

    T& operator[](int index)
    {
        assert(contains(index));
        return items_[static_cast<std::size_t>(index)].value;
    }
    const T& operator[](int index) const
    {
        assert(contains(index));
        return items_[static_cast<std::size_t>(index)].value;
    }

    bool operator==(const OneBasedVector&) const = default;

private:
    // Wrapped so that a table of flags holds real bools, not std::vector<bool> proxies.
    struct Cell {
        T value{};
        bool operator==(const Cell&) const = default;
    };
    std::vector<Cell> items_ = std::vector<Cell>(1);
};

} // namespace snugbox
