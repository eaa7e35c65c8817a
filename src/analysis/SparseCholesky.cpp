#include "analysis/SparseCholesky.h"

#include <suitesparse/cholmod.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>

namespace tav::analysis {
namespace {

// CHOLMOD's objects are freed through the common block that made them.
template <typename T, int (*Free)(T**, cholmod_common*)>
struct CholmodFree {
  cholmod_common* common;
  void operator()(T* object) const { Free(&object, common); }
};
using Triplet = std::unique_ptr<cholmod_triplet, CholmodFree<cholmod_triplet, cholmod_free_triplet>>;
using Sparse = std::unique_ptr<cholmod_sparse, CholmodFree<cholmod_sparse, cholmod_free_sparse>>;
using Dense = std::unique_ptr<cholmod_dense, CholmodFree<cholmod_dense, cholmod_free_dense>>;

// What went wrong in CHOLMOD, as a message for the user.
[[noreturn]] void Fail(const cholmod_common& common, const char* step) {
  if (common.status == CHOLMOD_OUT_OF_MEMORY || common.status == CHOLMOD_TOO_LARGE) {
    throw std::runtime_error(std::string("not enough memory for the ") + step);
  }
  throw std::runtime_error(std::string("the ") + step + " failed (CHOLMOD status " + std::to_string(common.status) +
                           ")");
}

}  // namespace

SparseCholesky::SparseCholesky() : m_pCommon(std::make_unique<cholmod_common>()) {
  cholmod_start(m_pCommon.get());
  m_pCommon->supernodal = CHOLMOD_SUPERNODAL;
  m_pCommon->print = 0;
  m_pCommon->error_handler = nullptr;
  m_pCommon->quick_return_if_not_posdef = 1;
}

SparseCholesky::~SparseCholesky() {
  if (m_pFactor != nullptr) cholmod_free_factor(&m_pFactor, m_pCommon.get());
  cholmod_finish(m_pCommon.get());
}

bool SparseCholesky::Factor(int32_t n, const std::vector<MatrixEntry>& upper, int32_t& failedEquation) {
  failedEquation = -1;
  if (m_pFactor != nullptr) cholmod_free_factor(&m_pFactor, m_pCommon.get());
  m_nSize = n;
  cholmod_common* common = m_pCommon.get();
  const Triplet triplet(cholmod_allocate_triplet(static_cast<size_t>(n), static_cast<size_t>(n), upper.size() + 1, 1,
                                                 CHOLMOD_REAL, common),
                        {common});
  if (!triplet) Fail(*common, "stiffness matrix");
  auto* rows = static_cast<int*>(triplet->i);
  auto* columns = static_cast<int*>(triplet->j);
  auto* values = static_cast<double*>(triplet->x);
  for (size_t k = 0; k < upper.size(); ++k) {
    rows[k] = upper[k].row;
    columns[k] = upper[k].column;
    values[k] = upper[k].value;
  }
  triplet->nnz = upper.size();
  const Sparse matrix(cholmod_triplet_to_sparse(triplet.get(), upper.size(), common), {common});
  if (!matrix) Fail(*common, "stiffness matrix");
  m_pFactor = cholmod_analyze(matrix.get(), common);
  const bool ok =
      m_pFactor != nullptr && cholmod_factorize(matrix.get(), m_pFactor, common) != 0 && common->status == CHOLMOD_OK;
  if (m_pFactor == nullptr || common->status < CHOLMOD_OK) Fail(*common, "factorisation");
  if (ok) return true;
  if (m_pFactor->minor < m_pFactor->n) {
    const auto* permutation = static_cast<const int*>(m_pFactor->Perm);
    failedEquation = permutation != nullptr ? permutation[m_pFactor->minor] : static_cast<int32_t>(m_pFactor->minor);
  }
  return false;
}

void SparseCholesky::Solve(std::vector<double>& rhs, int32_t count) {
  if (count == 0 || m_nSize == 0) return;
  if (m_pFactor == nullptr) throw std::logic_error("a solution was asked for before the factorisation");
  const size_t values = static_cast<size_t>(m_nSize) * static_cast<size_t>(count);
  if (rhs.size() != values) throw std::logic_error("the right-hand sides do not fit the matrix");
  cholmod_common* common = m_pCommon.get();
  const Dense b(cholmod_allocate_dense(static_cast<size_t>(m_nSize), static_cast<size_t>(count),
                                       static_cast<size_t>(m_nSize), CHOLMOD_REAL, common),
                {common});
  if (!b) Fail(*common, "solution");
  std::memcpy(b->x, rhs.data(), values * sizeof(double));
  const Dense x(cholmod_solve(CHOLMOD_A, m_pFactor, b.get(), common), {common});
  if (!x || common->status < CHOLMOD_OK) Fail(*common, "solution");
  std::memcpy(rhs.data(), x->x, values * sizeof(double));
}

std::vector<double> SparseCholesky::Pivots() const {
  std::vector<double> pivots(static_cast<size_t>(m_nSize), 0.0);
  if (m_pFactor == nullptr || m_nSize == 0 || m_pFactor->x == nullptr) return pivots;
  const cholmod_factor& factor = *m_pFactor;
  const auto* values = static_cast<const double*>(factor.x);
  const auto* permutation = static_cast<const int*>(factor.Perm);
  const auto store = [&](int column, double pivot) {
    pivots[static_cast<size_t>(permutation != nullptr ? permutation[column] : column)] = pivot;
  };
  if (factor.is_super != 0) {
    // Each supernode holds its columns' rows as one dense block, column
    // after column; the diagonal runs down its leading square.
    const auto* firstColumn = static_cast<const int*>(factor.super);
    const auto* rowStart = static_cast<const int*>(factor.pi);
    const auto* valueStart = static_cast<const int*>(factor.px);
    for (size_t s = 0; s < factor.nsuper; ++s) {
      const auto rows = static_cast<size_t>(rowStart[s + 1] - rowStart[s]);
      for (int column = firstColumn[s]; column < firstColumn[s + 1]; ++column) {
        const auto k = static_cast<size_t>(column - firstColumn[s]);
        const double diagonal = values[static_cast<size_t>(valueStart[s]) + k * (rows + 1)];
        store(column, diagonal * diagonal);
      }
    }
    return pivots;
  }
  // A simplicial column starts with its diagonal entry.
  const auto* columnStart = static_cast<const int*>(factor.p);
  for (int column = 0; column < m_nSize; ++column) {
    const double diagonal = values[columnStart[column]];
    store(column, factor.is_ll != 0 ? diagonal * diagonal : diagonal);
  }
  return pivots;
}

double SparseCholesky::Flops() const { return m_pCommon->fl; }

}  // namespace tav::analysis
