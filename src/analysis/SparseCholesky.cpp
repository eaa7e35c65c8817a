#include "analysis/SparseCholesky.h"

#include <suitesparse/cholmod.h>

#include <cmath>
#include <cstring>
#include <stdexcept>

namespace tav::analysis {

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
  cholmod_triplet* triplet = cholmod_allocate_triplet(static_cast<size_t>(n), static_cast<size_t>(n), upper.size() + 1,
                                                      1, CHOLMOD_REAL, m_pCommon.get());
  if (triplet == nullptr) throw std::bad_alloc();
  auto* rows = static_cast<int*>(triplet->i);
  auto* columns = static_cast<int*>(triplet->j);
  auto* values = static_cast<double*>(triplet->x);
  for (size_t k = 0; k < upper.size(); ++k) {
    rows[k] = upper[k].row;
    columns[k] = upper[k].column;
    values[k] = upper[k].value;
  }
  triplet->nnz = upper.size();
  cholmod_sparse* matrix = cholmod_triplet_to_sparse(triplet, upper.size(), m_pCommon.get());
  cholmod_free_triplet(&triplet, m_pCommon.get());
  if (matrix == nullptr) throw std::bad_alloc();
  m_pFactor = cholmod_analyze(matrix, m_pCommon.get());
  const bool ok = m_pFactor != nullptr && cholmod_factorize(matrix, m_pFactor, m_pCommon.get()) != 0 &&
                  m_pCommon->status == CHOLMOD_OK;
  cholmod_free_sparse(&matrix, m_pCommon.get());
  if (m_pFactor == nullptr) throw std::bad_alloc();
  if (ok) return true;
  if (m_pFactor->minor < m_pFactor->n) {
    const auto* permutation = static_cast<const int*>(m_pFactor->Perm);
    failedEquation = permutation != nullptr ? permutation[m_pFactor->minor] : static_cast<int32_t>(m_pFactor->minor);
  }
  return false;
}

void SparseCholesky::Solve(std::vector<double>& rhs, int32_t count) {
  if (count == 0 || m_nSize == 0) return;
  cholmod_dense* b = cholmod_allocate_dense(static_cast<size_t>(m_nSize), static_cast<size_t>(count),
                                            static_cast<size_t>(m_nSize), CHOLMOD_REAL, m_pCommon.get());
  std::memcpy(b->x, rhs.data(), rhs.size() * sizeof(double));
  cholmod_dense* x = cholmod_solve(CHOLMOD_A, m_pFactor, b, m_pCommon.get());
  std::memcpy(rhs.data(), x->x, rhs.size() * sizeof(double));
  cholmod_free_dense(&b, m_pCommon.get());
  cholmod_free_dense(&x, m_pCommon.get());
}

double SparseCholesky::ReciprocalCondition() const {
  return m_pFactor != nullptr ? cholmod_rcond(m_pFactor, m_pCommon.get()) : 0.0;
}

int32_t SparseCholesky::WeakestEquation() {
  if (m_pFactor == nullptr || m_nSize == 0) return -1;
  cholmod_change_factor(CHOLMOD_REAL, 1, 0, 1, 1, m_pFactor, m_pCommon.get());
  const auto* columns = static_cast<const int*>(m_pFactor->p);
  const auto* values = static_cast<const double*>(m_pFactor->x);
  const auto* permutation = static_cast<const int*>(m_pFactor->Perm);
  int32_t weakest = 0;
  for (int32_t j = 1; j < m_nSize; ++j) {
    if (std::fabs(values[columns[j]]) < std::fabs(values[columns[weakest]])) weakest = j;
  }
  return permutation != nullptr ? permutation[weakest] : weakest;
}

double SparseCholesky::Flops() const { return m_pCommon->fl; }

}  // namespace tav::analysis
