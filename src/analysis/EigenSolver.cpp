#include "analysis/EigenSolver.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

#include <arpack.hpp>

#include "analysis/Diagnostics.h"

namespace tav::analysis {
namespace {

// The largest problem solved densely (a matrix of 72 MB), and the most
// memory the Lanczos vectors may take.
constexpr int kDenseLimit = 3000;
constexpr size_t kMostLanczosBytes = size_t{4} << 30;

std::vector<MatrixEntry> Shifted(const std::vector<MatrixEntry>& stiffness, const std::vector<MatrixEntry>& mass,
                                 double shift) {
  std::vector<MatrixEntry> shifted = stiffness;
  if (shift == 0.0) return shifted;
  shifted.reserve(stiffness.size() + mass.size());
  for (const MatrixEntry& e : mass) shifted.push_back({e.row, e.column, -shift * e.value});
  return shifted;
}

// Sorts the pairs by value, keeps the lowest `wanted` and scales each
// vector to phi' M phi = 1.
void Normalise(const SparseMatrix& mass, int wanted, EigenPairs& pairs) {
  std::vector<size_t> order(pairs.values.size());
  std::iota(order.begin(), order.end(), size_t{0});
  std::sort(order.begin(), order.end(), [&](size_t a, size_t b) { return pairs.values[a] < pairs.values[b]; });
  order.resize(std::min(order.size(), static_cast<size_t>(std::max(wanted, 0))));
  EigenPairs sorted;
  sorted.method = pairs.method;
  sorted.vectors.resize(pairs.vectors.rows(), static_cast<Eigen::Index>(order.size()));
  for (size_t k = 0; k < order.size(); ++k) {
    Eigen::VectorXd phi = pairs.vectors.col(static_cast<Eigen::Index>(order[k]));
    const double modal = phi.dot(mass * phi);
    sorted.vectors.col(static_cast<Eigen::Index>(k)) = phi / std::sqrt(modal);
    sorted.values.push_back(pairs.values[order[k]]);
  }
  pairs = std::move(sorted);
}

// With A = K - sigma M = L L': the eigenvalues mu of L^-1 M L^-T are
// 1 / (lambda - sigma), and phi = L^-T v. A mu of (nearly) zero belongs to
// an equation without mass.
void DenseEigenpairs(const SparseMatrix& shifted, const SparseMatrix& mass, const EigenRequest& request,
                     EigenPairs& pairs) {
  const Eigen::LLT<Eigen::MatrixXd> llt{Eigen::MatrixXd(shifted)};
  const Eigen::MatrixXd lowerInverseMass = llt.matrixL().solve(Eigen::MatrixXd(mass));
  const Eigen::MatrixXd transformed = llt.matrixL().solve(lowerInverseMass.transpose());
  const Eigen::SelfAdjointEigenSolver<Eigen::MatrixXd> solver(0.5 * (transformed + transformed.transpose()));
  const Eigen::VectorXd& mu = solver.eigenvalues();
  const double largest = mu.cwiseAbs().maxCoeff();
  pairs.method = "DENSE SHIFT-INVERT";
  pairs.vectors.resize(shifted.rows(), 0);
  std::vector<Eigen::VectorXd> vectors;
  for (Eigen::Index k = 0; k < mu.size(); ++k) {
    if (!(mu(k) > 1e-13 * largest)) continue;
    pairs.values.push_back(request.shift + 1.0 / mu(k));
    vectors.push_back(llt.matrixU().solve(solver.eigenvectors().col(k)));
  }
  pairs.vectors.resize(shifted.rows(), static_cast<Eigen::Index>(vectors.size()));
  for (size_t k = 0; k < vectors.size(); ++k) pairs.vectors.col(static_cast<Eigen::Index>(k)) = vectors[k];
}

// ARPACK in its shift-invert mode for generalised problems (mode 3): it
// asks for y = A^-1 M x, for y = A^-1 z with z = M x at hand, or for M x.
void LanczosEigenpairs(SparseCholesky& factor, const SparseMatrix& mass, const EigenRequest& request, int wanted,
                       int vectors, EigenPairs& pairs) {
  const a_int n = static_cast<a_int>(mass.rows());
  const a_int nev = wanted;
  const a_int ncv = vectors;
  const a_int lworkl = ncv * (ncv + 8);
  std::vector<double> resid(static_cast<size_t>(n)), v(static_cast<size_t>(n) * ncv), workd(3 * static_cast<size_t>(n)),
      workl(static_cast<size_t>(lworkl));
  // A fixed start, so that every run finds the same vectors.
  for (a_int i = 0; i < n; ++i) resid[i] = 1.0 + 0.5 * std::sin(1.0 + i);
  std::array<a_int, 11> iparam = {};
  std::array<a_int, 14> ipntr = {};
  iparam[0] = 1;  // exact shifts
  iparam[2] = request.maxIterations > 0 ? request.maxIterations : 300;
  iparam[6] = 3;
  a_int ido = 0, info = 1;  // 1: start from resid
  std::vector<double> work(static_cast<size_t>(n));
  const auto at = [&](size_t pointer) { return Eigen::Map<Eigen::VectorXd>(&workd[ipntr[pointer] - 1], n); };
  for (;;) {
    arpack::saupd(ido, arpack::bmat::generalized, n, arpack::which::largest_magnitude, nev, request.tolerance,
                  resid.data(), ncv, v.data(), n, iparam.data(), ipntr.data(), workd.data(), workl.data(), lworkl,
                  info);
    if (ido == -1 || ido == 1) {
      Eigen::Map<Eigen::VectorXd> y = at(1);
      if (ido == -1) {
        y = mass * at(0);
      } else {
        y = at(2);
      }
      std::copy(y.data(), y.data() + n, work.begin());
      factor.Solve(work, 1);
      std::copy(work.begin(), work.end(), y.data());
    } else if (ido == 2) {
      at(1) = mass * at(0);
    } else {
      break;
    }
  }
  if (info == 1 || iparam[4] < nev) {
    throw AnalysisError("the eigen solution did not converge: " + std::to_string(iparam[4]) + " of " +
                        std::to_string(nev) + " modes after " + std::to_string(iparam[2]) + " iterations");
  }
  if (info != 0) throw AnalysisError("the eigen solution failed (ARPACK error " + std::to_string(info) + ")");
  std::vector<a_int> select(static_cast<size_t>(ncv));
  std::vector<double> values(static_cast<size_t>(nev));
  Eigen::MatrixXd ritz(n, nev);
  arpack::seupd(1, arpack::howmny::ritz_vectors, select.data(), values.data(), ritz.data(), n, request.shift,
                arpack::bmat::generalized, n, arpack::which::largest_magnitude, nev, request.tolerance, resid.data(),
                ncv, v.data(), n, iparam.data(), ipntr.data(), workd.data(), workl.data(), lworkl, info);
  if (info != 0) throw AnalysisError("the eigen solution failed (ARPACK error " + std::to_string(info) + ")");
  pairs.method = "LANCZOS SHIFT-INVERT (ARPACK), " + std::to_string(iparam[2]) + " ITERATIONS, " +
                 std::to_string(iparam[8]) + " SOLUTIONS";
  pairs.values = std::move(values);
  pairs.vectors = std::move(ritz);
}

// The Lanczos vectors for `wanted` pairs: 30 more (for the 12 lowest modes
// of a regular frame, whose frequencies come in close pairs, that took the
// fewest solutions), at least twice as many, but no more than the equations
// with mass (beyond them the Krylov space of A^-1 M ends).
int LanczosVectors(int wanted, int massive) { return std::min(massive, std::max(2 * wanted + 1, wanted + 30)); }

}  // namespace

SparseMatrix Symmetric(int n, const std::vector<MatrixEntry>& upper) {
  std::vector<Eigen::Triplet<double>> triplets;
  triplets.reserve(2 * upper.size());
  for (const MatrixEntry& e : upper) {
    triplets.emplace_back(e.row, e.column, e.value);
    if (e.row != e.column) triplets.emplace_back(e.column, e.row, e.value);
  }
  SparseMatrix matrix(n, n);
  matrix.setFromTriplets(triplets.begin(), triplets.end());
  return matrix;
}

int MassiveEquations(int equations, const std::vector<MatrixEntry>& mass) {
  std::vector<double> diagonal(static_cast<size_t>(equations), 0.0);
  for (const MatrixEntry& e : mass) {
    if (e.row == e.column) diagonal[static_cast<size_t>(e.row)] += e.value;
  }
  return static_cast<int>(std::count_if(diagonal.begin(), diagonal.end(), [](double m) { return m > 0.0; }));
}

bool FactoriseShifted(int equations, const std::vector<MatrixEntry>& stiffness, const std::vector<MatrixEntry>& mass,
                      double shift, SparseCholesky& factor, int32_t& failedEquation) {
  return factor.Factor(equations, Shifted(stiffness, mass, shift), failedEquation);
}

EigenPairs LowestEigenpairs(int equations, const std::vector<MatrixEntry>& stiffness,
                            const std::vector<MatrixEntry>& mass, const EigenRequest& request, SparseCholesky& factor) {
  EigenPairs pairs;
  const SparseMatrix massMatrix = Symmetric(equations, mass);
  const int massive = MassiveEquations(equations, mass);
  const int wanted = std::min(request.wanted, massive);
  if (wanted <= 0) return pairs;
  const int vectors = LanczosVectors(wanted, massive);
  const bool dense = equations <= request.denseUpTo || vectors <= wanted;
  if (dense && equations > kDenseLimit) {
    throw AnalysisError(std::to_string(wanted) + " of the " + std::to_string(massive) +
                        " modes with mass need a dense solution, which the program makes for up to " +
                        std::to_string(kDenseLimit) + " equations (this structure has " + std::to_string(equations) +
                        "): ask for fewer modes");
  }
  if (!dense && static_cast<double>(equations) * vectors * sizeof(double) > kMostLanczosBytes) {
    throw AnalysisError(std::to_string(wanted) + " modes of " + std::to_string(equations) +
                        " equations need more memory for their Lanczos vectors than the program takes (" +
                        std::to_string(kMostLanczosBytes >> 30) + " GiB): ask for fewer modes");
  }
  if (dense) {
    DenseEigenpairs(Symmetric(equations, Shifted(stiffness, mass, request.shift)), massMatrix, request, pairs);
  } else {
    LanczosEigenpairs(factor, massMatrix, request, wanted, vectors, pairs);
  }
  Normalise(massMatrix, wanted, pairs);
  return pairs;
}

}  // namespace tav::analysis
