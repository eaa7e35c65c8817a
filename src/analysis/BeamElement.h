// A three-dimensional frame element: local axes, stiffness with shear
// deformation, end moment releases and rigid end zones, equivalent joint
// loads of span loads, and member forces along the span.
//
// Local axes: 1 runs from joint I to joint J; for a member that is not
// vertical, 2 lies in the vertical plane through 1 and points upwards and
// 3 = 1 x 2 is horizontal; for a vertical member 2 is global X. The roll
// angle turns 2 and 3 about 1 (from 2 towards 3). The section's IT resists
// bending in the 1-2 plane (deflection along 2), IS bending in the 1-3 plane;
// ASHT and ASHS are the shear areas along 2 and 3.
#pragma once

#include <Eigen/Dense>
#include <array>
#include <vector>

namespace tav::analysis {

using Matrix12 = Eigen::Matrix<double, 12, 12>;
using Vector12 = Eigen::Matrix<double, 12, 1>;
using Vector3 = Eigen::Vector3d;
using Matrix3 = Eigen::Matrix3d;

struct BeamProperties {
  double e = 0.0, g = 0.0;  // moduli
  double area = 0.0, torsion = 0.0;
  double inertia2 = 0.0;  // about local 2 (IS): bending in the 1-3 plane
  double inertia3 = 0.0;  // about local 3 (IT): bending in the 1-2 plane
  double shear2 = 0.0;    // shear area along 2 (ASHT), 0: no shear deformation
  double shear3 = 0.0;    // shear area along 3 (ASHS)
};

// A load along the span in local components: a linear distribution from
// `start` to `end` (distances from joint I), or a point force at `start`
// with, when it stands off the axis, the couple of its eccentricity.
struct SpanLoad {
  bool point = false;
  double start = 0.0, end = 0.0;
  Vector3 value1 = Vector3::Zero();  // at start (the point force)
  Vector3 value2 = Vector3::Zero();  // at end
  Vector3 couple = Vector3::Zero();  // a point load's moment about the axis
};

// The six member forces on the positive face of a cut: N (tension
// positive), V2, V3, T, M2, M3, in local axes.
using MemberForces = std::array<double, 6>;

class BeamElement {
 public:
  // `rollDegrees` is NOAN; `rigidI`, `rigidJ` the rigid lengths at the ends.
  BeamElement(const Vector3& pointI, const Vector3& pointJ, double rollDegrees, const BeamProperties& properties,
              bool releaseI, bool releaseJ, double rigidI, double rigidJ);

  double Length() const { return m_length; }
  // Rows: local 1, 2, 3 in global components.
  const Matrix3& Rotation() const { return m_rotation; }
  // Stiffness on the twelve global joint displacements (I then J; three
  // translations, three rotations each). Made on each call: an element
  // keeps only its local stiffness, so that large frames stay small.
  Matrix12 GlobalStiffness() const;

  // The joint loads equivalent to `loads`, in global components (added to
  // the applied joint loads).
  Vector12 EquivalentLoads(const std::vector<SpanLoad>& loads) const;
  // The forces the joints exert on the element, in local components.
  Vector12 EndForces(const Vector12& globalDisplacements, const std::vector<SpanLoad>& loads) const;
  // Member forces at distance `x` from joint I, from the end forces at I.
  static MemberForces ForcesAt(double x, const Vector12& endForces, const std::vector<SpanLoad>& loads);

 private:
  // The equivalent loads in local joint components.
  Vector12 LocalEquivalentLoads(const std::vector<SpanLoad>& loads) const;
  // Adds those of a point load's couple to the flexible part's and the
  // rigid zones' loads.
  void AddEquivalentCouple(const SpanLoad& load, Vector12& flexible, Vector12& rigid) const;
  // The flexible part's end displacements from the joints' (the rigid end
  // zones' arms); made when needed rather than kept with every element.
  Matrix12 Arms() const;
  // The stiffness of the flexible part between its two ends.
  Matrix12 FlexibleStiffness() const;

  double m_length = 0.0;
  double m_flexibleLength = 0.0;
  double m_rigidI = 0.0, m_rigidJ = 0.0;
  Matrix3 m_rotation;
  std::array<bool, 12> m_released = {};
  Matrix12 m_localStiffness;  // on the joints' local displacements
  BeamProperties m_properties;
  double m_phi2 = 0.0, m_phi3 = 0.0;  // shear parameters of the two bending planes
};

// Local axes of a member from I to J rolled by `rollDegrees`.
Matrix3 MemberAxes(const Vector3& pointI, const Vector3& pointJ, double rollDegrees);

}  // namespace tav::analysis
