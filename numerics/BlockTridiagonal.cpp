#include "numerics/BlockTridiagonal.h"

#include <cmath>
#include <utility>

namespace zemra {

bool DenseSolve(int m, double* A, double* b) {
    for (int k = 0; k < m; ++k) {
        int pivot = k;
        for (int i = k + 1; i < m; ++i)
            if (std::fabs(A[i * m + k]) > std::fabs(A[pivot * m + k])) pivot = i;
        if (A[pivot * m + k] == 0.0) return false;
        if (pivot != k) {
            for (int j = 0; j < m; ++j) std::swap(A[k * m + j], A[pivot * m + j]);
            std::swap(b[k], b[pivot]);
        }
        const double inv = 1.0 / A[k * m + k];
        for (int i = k + 1; i < m; ++i) {
            const double f = A[i * m + k] * inv;
            if (f == 0.0) continue;
            for (int j = k + 1; j < m; ++j) A[i * m + j] -= f * A[k * m + j];
            b[i] -= f * b[k];
        }
    }
    for (int i = m - 1; i >= 0; --i) {
        double sum = b[i];
        for (int j = i + 1; j < m; ++j) sum -= A[i * m + j] * b[j];
        b[i] = sum / A[i * m + i];
    }
    return true;
}

bool DenseInverse(int m, double* A) {
    std::vector<int> swaps(static_cast<size_t>(m));
    for (int k = 0; k < m; ++k) {
        int pivot = k;
        for (int i = k + 1; i < m; ++i)
            if (std::fabs(A[i * m + k]) > std::fabs(A[pivot * m + k])) pivot = i;
        swaps[static_cast<size_t>(k)] = pivot;
        if (A[pivot * m + k] == 0.0) return false;
        if (pivot != k)
            for (int j = 0; j < m; ++j) std::swap(A[k * m + j], A[pivot * m + j]);
        const double inv = 1.0 / A[k * m + k];
        A[k * m + k] = 1.0;
        for (int j = 0; j < m; ++j) A[k * m + j] *= inv;
        for (int i = 0; i < m; ++i) {
            if (i == k) continue;
            const double f = A[i * m + k];
            if (f == 0.0) continue;
            A[i * m + k] = 0.0;
            for (int j = 0; j < m; ++j) A[i * m + j] -= f * A[k * m + j];
        }
    }
    // Row exchanges of the elimination become column exchanges of the inverse, in reverse.
    for (int k = m - 1; k >= 0; --k) {
        const int p = swaps[static_cast<size_t>(k)];
        if (p != k)
            for (int i = 0; i < m; ++i) std::swap(A[i * m + k], A[i * m + p]);
    }
    return true;
}

void BlockTridiagonal::Resize(int n, int m, bool diagonal) {
    n_ = n;
    m_ = m;
    diagonal_ = diagonal;
    const size_t vec = static_cast<size_t>(n) * m;
    const size_t blocks = diagonal ? vec : vec * m;
    lower_.assign(vec, 0.0);
    upper_.assign(vec, 0.0);
    y_.assign(vec, 0.0);
    block_.assign(blocks, 0.0);
    g_.assign(blocks, 0.0);
    work_.assign(2 * static_cast<size_t>(m), 0.0);
}

size_t BlockTridiagonal::Bytes() const {
    return sizeof(double) * (lower_.size() + upper_.size() + y_.size() + block_.size() + g_.size());
}

bool BlockTridiagonal::Factor() {
    bool regular = true;
    const size_t m = static_cast<size_t>(m_);
    for (int j = n_; j >= 1; --j) {
        double* G = &g_[BlockOffset(j)];
        const double* B = &block_[BlockOffset(j)];
        if (diagonal_) {
            for (size_t a = 0; a < m; ++a) {
                double p = B[a];
                if (j < n_)
                    p -= upper_[Offset(j) + a] * g_[BlockOffset(j + 1) + a] *
                         lower_[Offset(j + 1) + a];
                if (p == 0.0) regular = false;
                G[a] = 1.0 / p;
            }
            continue;
        }
        for (size_t k = 0; k < m * m; ++k) G[k] = B[k];
        if (j < n_) {
            const double* Gn = &g_[BlockOffset(j + 1)];
            const double* U = &upper_[Offset(j)];
            const double* L = &lower_[Offset(j + 1)];
            for (size_t a = 0; a < m; ++a)
                for (size_t b = 0; b < m; ++b) G[a * m + b] -= U[a] * Gn[a * m + b] * L[b];
        }
        if (!DenseInverse(m_, G)) regular = false;
    }
    return regular;
}

void BlockTridiagonal::ApplyG(int j, const double* u, double* v) const {
    const size_t m = static_cast<size_t>(m_);
    const double* G = &g_[BlockOffset(j)];
    if (diagonal_) {
        for (size_t a = 0; a < m; ++a) v[a] = G[a] * u[a];
        return;
    }
    for (size_t a = 0; a < m; ++a) {
        double sum = 0.0;
        for (size_t b = 0; b < m; ++b) sum += G[a * m + b] * u[b];
        v[a] = sum;
    }
}

void BlockTridiagonal::Reduce(const double* rhs, const double* outer) {
    const size_t m = static_cast<size_t>(m_);
    double* R = work_.data();
    for (int j = n_; j >= 1; --j) {
        const double* U = &upper_[Offset(j)];
        const double* r = rhs + Offset(j);
        const double* beyond = j == n_ ? outer : &y_[Offset(j + 1)];
        for (size_t a = 0; a < m; ++a) R[a] = r[a] + U[a] * beyond[a];
        ApplyG(j, R, &y_[Offset(j)]);
    }
}

void BlockTridiagonal::FirstLevel(double* y, double* Z) const {
    const size_t m = static_cast<size_t>(m_);
    for (size_t a = 0; a < m; ++a) y[a] = y_[a];
    const double* L = &lower_[0];
    for (size_t a = 0; a < m; ++a)
        for (size_t b = 0; b < m; ++b)
            Z[a * m + b] = diagonal_ ? (a == b ? g_[a] * L[a] : 0.0) : g_[a * m + b] * L[b];
}

void BlockTridiagonal::BackSubstitute(const double* x0, double* x) const {
    const size_t m = static_cast<size_t>(m_);
    double* u = work_.data();
    double* v = u + m;
    for (int j = 1; j <= n_; ++j) {
        const double* inner = j == 1 ? x0 : x + Offset(j - 1);
        const double* L = &lower_[Offset(j)];
        for (size_t a = 0; a < m; ++a) u[a] = L[a] * inner[a];
        ApplyG(j, u, v);
        const double* Y = &y_[Offset(j)];
        double* xj = x + Offset(j);
        for (size_t a = 0; a < m; ++a) xj[a] = Y[a] + v[a];
    }
}

}  // namespace zemra
