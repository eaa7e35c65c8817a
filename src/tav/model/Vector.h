// A point or direction in global coordinates.
#pragma once

namespace tav {

class CVector {
 public:
  CVector() = default;
  CVector(double px, double py, double pz) : x(px), y(py), z(pz) {}
  virtual ~CVector() = default;
  CVector(const CVector&) = default;
  CVector& operator=(const CVector&) = default;

  CVector operator-(const CVector& other) const { return {x - other.x, y - other.y, z - other.z}; }
  bool operator==(const CVector& other) const { return x == other.x && y == other.y && z == other.z; }

  double x = 0.0;
  double y = 0.0;
  double z = 0.0;
};

}  // namespace tav
