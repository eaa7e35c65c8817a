#include "analysis/BeamElement.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace tav::analysis {
namespace {

// Four-point Gauss-Legendre rule on [-1, 1]: exact for the products of the
// cubic shape functions and linear loads integrated here.
constexpr double kGaussPoints[4] = {-0.8611363115940526, -0.3399810435848563, 0.3399810435848563, 0.8611363115940526};
constexpr double kGaussWeights[4] = {0.3478548451374538, 0.6521451548625461, 0.6521451548625461, 0.3478548451374538};

// Local displacement order at each end: u1 u2 u3 r1 r2 r3.
constexpr int kRotation2I = 4, kRotation3I = 5, kRotation2J = 10, kRotation3J = 11;

// Bending stiffness of one plane on (deflection i, rotation i, deflection j,
// rotation j), with the rotation measured as the slope (sign +1) or against
// it (sign -1, the 1-3 plane).
Eigen::Matrix4d BendingStiffness(double ei, double length, double phi, double sign) {
  const double l = length;
  const double c = ei / (l * l * l * (1.0 + phi));
  Eigen::Matrix4d k;
  k << 12, 6 * l * sign, -12, 6 * l * sign,                               //
      6 * l * sign, (4 + phi) * l * l, -6 * l * sign, (2 - phi) * l * l,  //
      -12, -6 * l * sign, 12, -6 * l * sign,                              //
      6 * l * sign, (2 - phi) * l * l, -6 * l * sign, (4 + phi) * l * l;
  return c * k;
}

// Deflection shape functions of a beam with shear deformation (phi) on
// (deflection i, rotation i, deflection j, rotation j), rotation as slope.
Eigen::Vector4d ShapeFunctions(double xi, double length, double phi) {
  const double s = 1.0 / (1.0 + phi);
  const double xi2 = xi * xi;
  const double xi3 = xi2 * xi;
  return Eigen::Vector4d(s * (1 - 3 * xi2 + 2 * xi3 + phi * (1 - xi)),
                         s * length * (xi - 2 * xi2 + xi3 + phi * (xi - xi2) / 2), s * (3 * xi2 - 2 * xi3 + phi * xi),
                         s * length * (-xi2 + xi3 - phi * (xi - xi2) / 2));
}

// The sections' rotations that go with those deflections: the slope less
// the shear strain, which is constant along the span.
Eigen::Vector4d RotationShapeFunctions(double xi, double length, double phi) {
  const double s = 1.0 / (1.0 + phi);
  const double xi2 = xi * xi;
  return Eigen::Vector4d(s * 6.0 * (xi2 - xi) / length, s * (1 - 4 * xi + 3 * xi2 + phi * (1 - xi)),
                         -s * 6.0 * (xi2 - xi) / length, s * (-2 * xi + 3 * xi2 + phi * xi));
}

double ShearParameter(double e, double inertia, double g, double shearArea, double length) {
  if (shearArea <= 0.0 || g <= 0.0) return 0.0;
  return 12.0 * e * inertia / (g * shearArea * length * length);
}

Matrix12 Blocks(const Matrix3& rotation) {
  Matrix12 lambda = Matrix12::Zero();
  for (int i = 0; i < 4; ++i) lambda.block<3, 3>(3 * i, 3 * i) = rotation;
  return lambda;
}

// The load of `load` per unit length at `x` (inside its stretch).
Vector3 Intensity(const SpanLoad& load, double x) {
  if (load.end <= load.start) return load.value1;
  const double t = (x - load.start) / (load.end - load.start);
  return load.value1 + t * (load.value2 - load.value1);
}

// Whether a point load at `at` lies in the stretch from `from` to `to`; one
// exactly at `to` does only when `closedEnd`.
bool PointWithin(double at, double from, double to, bool closedEnd) {
  return at >= from && (at < to || (closedEnd && at == to));
}

// Calls `visit(x, force)` for the force pieces of `load` between `from` and
// `to`: the point force once, or quadrature points of the distribution.
template <typename Visit>
void ForEachPiece(const SpanLoad& load, double from, double to, bool closedEnd, Visit visit) {
  if (load.point) {
    if (PointWithin(load.start, from, to, closedEnd)) visit(load.start, load.value1);
    return;
  }
  const double a = std::max(from, load.start);
  const double b = std::min(to, load.end);
  if (b <= a) return;
  const double half = 0.5 * (b - a);
  const double mid = 0.5 * (a + b);
  for (int i = 0; i < 4; ++i) {
    const double x = mid + half * kGaussPoints[i];
    visit(x, Vector3(Intensity(load, x) * (half * kGaussWeights[i])));
  }
}

// Calls `visit(x, couple)` for the couple of a point load between `from` and
// `to`. Loads without one skip every sum, so that their numbers stay as they
// were.
template <typename Visit>
void ForEachCouple(const SpanLoad& load, double from, double to, bool closedEnd, Visit visit) {
  if (load.point && !load.couple.isZero(0.0) && PointWithin(load.start, from, to, closedEnd)) {
    visit(load.start, load.couple);
  }
}

}  // namespace

Matrix3 MemberAxes(const Vector3& pointI, const Vector3& pointJ, double rollDegrees) {
  const Vector3 e1 = (pointJ - pointI).normalized();
  const Vector3 up(0.0, 0.0, 1.0);
  Vector3 e2;
  const Vector3 horizontal(e1.x(), e1.y(), 0.0);
  if (horizontal.norm() < 1e-9) {
    e2 = Vector3(1.0, 0.0, 0.0);  // a vertical member
    e2 = (e2 - e2.dot(e1) * e1).normalized();
  } else {
    e2 = (up - up.dot(e1) * e1).normalized();
  }
  Vector3 e3 = e1.cross(e2);
  const double roll = rollDegrees * std::numbers::pi / 180.0;
  const Vector3 r2 = std::cos(roll) * e2 + std::sin(roll) * e3;
  const Vector3 r3 = -std::sin(roll) * e2 + std::cos(roll) * e3;
  Matrix3 axes;
  axes.row(0) = e1.transpose();
  axes.row(1) = r2.transpose();
  axes.row(2) = r3.transpose();
  return axes;
}

BeamElement::BeamElement(const Vector3& pointI, const Vector3& pointJ, double rollDegrees,
                         const BeamProperties& properties, bool releaseI, bool releaseJ, double rigidI, double rigidJ)
    : m_length((pointJ - pointI).norm()),
      m_flexibleLength(m_length - rigidI - rigidJ),
      m_rigidI(rigidI),
      m_rigidJ(rigidJ),
      m_rotation(MemberAxes(pointI, pointJ, rollDegrees)),
      m_properties(properties) {
  m_phi2 = ShearParameter(properties.e, properties.inertia3, properties.g, properties.shear2, m_flexibleLength);
  m_phi3 = ShearParameter(properties.e, properties.inertia2, properties.g, properties.shear3, m_flexibleLength);
  const Matrix12 k = FlexibleStiffness();

  if (releaseI) m_released[kRotation2I] = m_released[kRotation3I] = true;
  if (releaseJ) m_released[kRotation2J] = m_released[kRotation3J] = true;

  // Released end moments are condensed out: those ends turn freely.
  Matrix12 condensed = k;
  for (int r = 0; r < 12; ++r) {
    if (!m_released[r]) continue;
    const double pivot = condensed(r, r);
    if (pivot == 0.0) continue;
    const Vector12 column = condensed.col(r);
    condensed -= column * condensed.row(r) / pivot;
    condensed.row(r).setZero();
    condensed.col(r).setZero();
  }

  // Without rigid zones the arms are the identity, and multiplying by it
  // gives every value back unchanged: most beams skip the two products.
  if (m_rigidI == 0.0 && m_rigidJ == 0.0) {
    m_localStiffness = condensed;
  } else {
    const Matrix12 arms = Arms();
    m_localStiffness = arms.transpose() * condensed * arms;
  }
}

Matrix12 BeamElement::GlobalStiffness() const {
  const Matrix12 lambda = Blocks(m_rotation);
  return lambda.transpose() * m_localStiffness * lambda;
}

Matrix12 BeamElement::FlexibleStiffness() const {
  const double l = m_flexibleLength;
  const BeamProperties& p = m_properties;
  Matrix12 k = Matrix12::Zero();
  const double axial = p.e * p.area / l;
  const double torsion = p.g * p.torsion / l;
  k(0, 0) = k(6, 6) = axial;
  k(0, 6) = k(6, 0) = -axial;
  k(3, 3) = k(9, 9) = torsion;
  k(3, 9) = k(9, 3) = -torsion;
  const int plane12[4] = {1, 5, 7, 11};
  const int plane13[4] = {2, 4, 8, 10};
  const Eigen::Matrix4d k12 = BendingStiffness(p.e * p.inertia3, l, m_phi2, 1.0);
  const Eigen::Matrix4d k13 = BendingStiffness(p.e * p.inertia2, l, m_phi3, -1.0);
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      k(plane12[r], plane12[c]) += k12(r, c);
      k(plane13[r], plane13[c]) += k13(r, c);
    }
  }
  return k;
}

// Rigid end zones carry the joints' motion to the flexible part's ends.
Matrix12 BeamElement::Arms() const {
  Matrix12 arms = Matrix12::Identity();
  arms(1, kRotation3I) = m_rigidI;
  arms(2, kRotation2I) = -m_rigidI;
  arms(7, kRotation3J) = -m_rigidJ;
  arms(8, kRotation2J) = m_rigidJ;
  return arms;
}

Vector12 BeamElement::LocalEquivalentLoads(const std::vector<SpanLoad>& loads) const {
  const double a = m_rigidI;
  const double lf = m_flexibleLength;
  const double endFlexible = m_length - m_rigidJ;
  Vector12 flexible = Vector12::Zero();
  Vector12 rigid = Vector12::Zero();
  for (const SpanLoad& load : loads) {
    // On the rigid zone at I: straight to joint I, with the moment of its arm.
    if (a > 0.0)
      ForEachPiece(load, 0.0, a, false, [&rigid](double x, const Vector3& f) {
        rigid.segment<3>(0) += f;
        rigid.segment<3>(3) += Vector3(0.0, -x * f.z(), x * f.y());
      });
    // On the flexible part: the work-equivalent loads of its shape functions.
    ForEachPiece(load, a, endFlexible, m_rigidJ == 0.0, [&](double x, const Vector3& f) {
      const double xi = (x - a) / lf;
      flexible(0) += (1.0 - xi) * f.x();
      flexible(6) += xi * f.x();
      const Eigen::Vector4d n2 = ShapeFunctions(xi, lf, m_phi2);
      const Eigen::Vector4d n3 = ShapeFunctions(xi, lf, m_phi3);
      flexible(1) += n2(0) * f.y();
      flexible(5) += n2(1) * f.y();
      flexible(7) += n2(2) * f.y();
      flexible(11) += n2(3) * f.y();
      flexible(2) += n3(0) * f.z();
      flexible(4) -= n3(1) * f.z();
      flexible(8) += n3(2) * f.z();
      flexible(10) -= n3(3) * f.z();
    });
    // On the rigid zone at J.
    if (m_rigidJ > 0.0)
      ForEachPiece(load, endFlexible, m_length, true, [&rigid, this](double x, const Vector3& f) {
        const double arm = m_length - x;
        rigid.segment<3>(6) += f;
        rigid.segment<3>(9) += Vector3(0.0, arm * f.z(), -arm * f.y());
      });
    AddEquivalentCouple(load, flexible, rigid);
  }
  // Condense the released ends as the stiffness was condensed.
  if (std::none_of(m_released.begin(), m_released.end(), [](bool released) { return released; })) {
    return Arms().transpose() * flexible + rigid;
  }
  Matrix12 k = FlexibleStiffness();
  for (int r = 0; r < 12; ++r) {
    if (!m_released[r]) continue;
    const double pivot = k(r, r);
    if (pivot == 0.0) continue;
    const Vector12 column = k.col(r);
    flexible -= column * (flexible(r) / pivot);
    k -= column * k.row(r) / pivot;
    flexible(r) = 0.0;
  }
  return Arms().transpose() * flexible + rigid;
}

// A couple on a rigid zone goes straight to its joint. On the flexible part
// it does work on the sections' rotations: the twist is linear between the
// ends (T b / L at I, T a / L at J), the bending rotations follow the shape
// functions of the deflections.
void BeamElement::AddEquivalentCouple(const SpanLoad& load, Vector12& flexible, Vector12& rigid) const {
  const double a = m_rigidI;
  const double endFlexible = m_length - m_rigidJ;
  if (a > 0.0) ForEachCouple(load, 0.0, a, false, [&rigid](double, const Vector3& m) { rigid.segment<3>(3) += m; });
  ForEachCouple(load, a, endFlexible, m_rigidJ == 0.0, [&](double x, const Vector3& m) {
    const double xi = (x - a) / m_flexibleLength;
    flexible(3) += (1.0 - xi) * m.x();
    flexible(9) += xi * m.x();
    // About 3 the rotation is the slope of the 1-2 plane, about 2 against
    // the slope of the 1-3 plane.
    const Eigen::Vector4d r2 = RotationShapeFunctions(xi, m_flexibleLength, m_phi2);
    const Eigen::Vector4d r3 = RotationShapeFunctions(xi, m_flexibleLength, m_phi3);
    flexible(1) += r2(0) * m.z();
    flexible(5) += r2(1) * m.z();
    flexible(7) += r2(2) * m.z();
    flexible(11) += r2(3) * m.z();
    flexible(2) -= r3(0) * m.y();
    flexible(4) += r3(1) * m.y();
    flexible(8) -= r3(2) * m.y();
    flexible(10) += r3(3) * m.y();
  });
  if (m_rigidJ > 0.0) {
    ForEachCouple(load, endFlexible, m_length, true, [&rigid](double, const Vector3& m) { rigid.segment<3>(9) += m; });
  }
}

Vector12 BeamElement::EquivalentLoads(const std::vector<SpanLoad>& loads) const {
  return Blocks(m_rotation).transpose() * LocalEquivalentLoads(loads);
}

Vector12 BeamElement::EndForces(const Vector12& globalDisplacements, const std::vector<SpanLoad>& loads) const {
  const Vector12 local = Blocks(m_rotation) * globalDisplacements;
  return m_localStiffness * local - LocalEquivalentLoads(loads);
}

MemberForces BeamElement::ForcesAt(double x, const Vector12& endForces, const std::vector<SpanLoad>& loads) {
  Vector3 force = endForces.segment<3>(0);
  Vector3 moment = endForces.segment<3>(3) + Vector3(0.0, x * endForces(2), -x * endForces(1));
  for (const SpanLoad& load : loads) {
    ForEachPiece(load, 0.0, x, true, [&force, &moment, x](double t, const Vector3& f) {
      force += f;
      moment += (t - x) * Vector3(0.0, -f.z(), f.y());
    });
    ForEachCouple(load, 0.0, x, true, [&moment](double, const Vector3& m) { moment += m; });
  }
  return {-force.x(), -force.y(), -force.z(), -moment.x(), -moment.y(), -moment.z()};
}

}  // namespace tav::analysis
