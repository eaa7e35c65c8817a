// The Cholesky factorisation of a sparse symmetric positive definite matrix
// with CHOLMOD's supernodal method (over the BLAS the system provides), and
// solutions for many right-hand sides at once.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

struct cholmod_common_struct;
struct cholmod_factor_struct;

namespace tav::analysis {

// One entry of the upper triangle (row <= column); duplicates are summed.
struct MatrixEntry {
  int32_t row;
  int32_t column;
  double value;
};

class SparseCholesky {
 public:
  SparseCholesky();
  ~SparseCholesky();
  SparseCholesky(const SparseCholesky&) = delete;
  SparseCholesky& operator=(const SparseCholesky&) = delete;

  // Factorises the n x n matrix. False when it is not positive definite;
  // `failedEquation` then names the equation where the factorisation
  // stopped (-1 when CHOLMOD could not tell).
  bool Factor(int32_t n, const std::vector<MatrixEntry>& upper, int32_t& failedEquation);
  // Solves in place for `count` right-hand sides stored column after column.
  void Solve(std::vector<double>& rhs, int32_t count);
  // The pivot of each equation of the last factorisation, in the matrix's
  // own order: the square of L's diagonal entry (of D's for an LDL' factor).
  // Read from the factor as it stands, supernodal or simplicial.
  std::vector<double> Pivots() const;
  // Floating-point operations of the last factorisation.
  double Flops() const;

 private:
  std::unique_ptr<cholmod_common_struct> m_pCommon;
  cholmod_factor_struct* m_pFactor = nullptr;
  int32_t m_nSize = 0;
};

}  // namespace tav::analysis
