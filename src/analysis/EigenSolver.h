// The lowest eigenpairs of K phi = lambda M phi for a sparse symmetric
// stiffness K and a symmetric positive semi-definite mass M, by shift and
// invert about sigma <= 0: (K - sigma M) is factorised once (CHOLMOD), and
// ARPACK's implicitly restarted Lanczos method finds the eigenvalues of
// (K - sigma M)^-1 M of largest magnitude, which are the lambda nearest
// sigma. Small problems are solved densely (Eigen) in the same transformed
// form. Equations without mass have infinite eigenvalues and never appear.
// A negative sigma makes K - sigma M positive definite for a structure free
// to move (K singular), whose rigid-body modes then come out near zero.
#pragma once

#include <string>
#include <vector>

#include <Eigen/Dense>
#include <Eigen/Sparse>

#include "analysis/SparseCholesky.h"

namespace tav::analysis {

struct EigenRequest {
  int wanted = 0;          // the number of lowest pairs sought
  double shift = 0.0;      // sigma, 0 or negative
  double tolerance = 0.0;  // relative accuracy of the eigenvalues; 0: machine precision
  int maxIterations = 0;   // restarts of the Lanczos process; 0: 300
  int denseUpTo = 400;     // equations up to which the dense solution serves
};

struct EigenPairs {
  std::vector<double> values;  // ascending
  Eigen::MatrixXd vectors;     // a column per value, mass-normalised: phi' M phi = 1
  std::string method;          // how they were found, for the listing
};

// Factorises K - sigma M into `factor`: false when it is not positive
// definite, with `failedEquation` as SparseCholesky::Factor gives it.
bool FactoriseShifted(int equations, const std::vector<MatrixEntry>& stiffness, const std::vector<MatrixEntry>& mass,
                      double shift, SparseCholesky& factor, int32_t& failedEquation);

// The lowest pairs, with `factor` holding the factorisation of K - sigma M
// for the request's shift. Throws AnalysisError when the iteration fails or
// does not converge.
EigenPairs LowestEigenpairs(int equations, const std::vector<MatrixEntry>& stiffness,
                            const std::vector<MatrixEntry>& mass, const EigenRequest& request, SparseCholesky& factor);

using SparseMatrix = Eigen::SparseMatrix<double>;

// The full symmetric n x n matrix of an upper triangle (duplicates summed).
SparseMatrix Symmetric(int n, const std::vector<MatrixEntry>& upper);

// The number of equations with mass on their diagonal: no more eigenvalues
// than this are finite.
int MassiveEquations(int equations, const std::vector<MatrixEntry>& mass);

}  // namespace tav::analysis
