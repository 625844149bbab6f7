// Fixed-size arrays of the workbench: the 4001-row point arrays (row 0 unused) of the curves and
// the simulation's results, with checked access that raises "Subscript out of range".
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <new>

#include "platform/RuntimeError.h"

namespace zemra {

inline constexpr int kMaxPoints = 4000;  // data points 1..4000 (row 0 unused)
inline constexpr int kRows = kMaxPoints + 1;

// Zero-filled storage of n reals from calloc: a large block comes from fresh pages that are zero
// already, so the parts of the point arrays a run never touches cost no page faults at start-up
// (a vector of zeros writes every page).
class ZeroedReals {
  public:
    explicit ZeroedReals(size_t n)
        : n_(n), p_(static_cast<double*>(std::calloc(n, sizeof(double)))) {
        if (!p_) throw std::bad_alloc();
    }
    ZeroedReals(const ZeroedReals& o) : ZeroedReals(o.n_) { std::copy(o.p_, o.p_ + n_, p_); }
    ZeroedReals& operator=(const ZeroedReals& o) {
        if (this != &o) std::copy(o.p_, o.p_ + std::min(n_, o.n_), p_);
        return *this;
    }
    ~ZeroedReals() { std::free(p_); }
    double& operator[](size_t k) { return p_[k]; }
    const double& operator[](size_t k) const { return p_[k]; }
    double* data() { return p_; }
    const double* data() const { return p_; }
    double* begin() { return p_; }
    double* end() { return p_ + n_; }

  private:
    size_t n_;
    double* p_;
};

// A two-dimensional array of reals with rows 0..Rows-1 and columns 0..Cols-1, stored column by
// column (element (i, c) at i + Rows * c). An index outside raises "Subscript out of range".
template <int Rows, int Cols>
class Array2 {
  public:
    Array2() : a_(static_cast<size_t>(Rows) * Cols) {}
    double& operator()(int i, int c) { return a_[Index(i, c)]; }
    double operator()(int i, int c) const { return a_[Index(i, c)]; }
    double* Column(int c) { return &a_[Index(0, c)]; }
    const double* Column(int c) const { return &a_[Index(0, c)]; }
    void Fill(double v) { std::fill(a_.begin(), a_.end(), v); }
    static constexpr int kRowCount = Rows;
    static constexpr int kColCount = Cols;

  private:
    static size_t Index(int i, int c) {
        if (i < 0 || i >= Rows || c < 0 || c >= Cols) Raise(kSubscriptOutOfRange);
        return static_cast<size_t>(i) + static_cast<size_t>(Rows) * static_cast<size_t>(c);
    }
    ZeroedReals a_;
};

// A one-dimensional array of reals indexed 0..N-1 with the same checked access.
template <int N>
class Array1 {
  public:
    Array1() : a_(N) {}
    double& operator()(int i) { return a_[Index(i)]; }
    double operator()(int i) const { return a_[Index(i)]; }
    double* Data() { return a_.data(); }
    const double* Data() const { return a_.data(); }
    void Fill(double v) { std::fill(a_.begin(), a_.end(), v); }
    static constexpr int kSize = N;

  private:
    static size_t Index(int i) {
        if (i < 0 || i >= N) Raise(kSubscriptOutOfRange);
        return static_cast<size_t>(i);
    }
    ZeroedReals a_;
};

}  // namespace zemra
