// Root of every persistent class: a virtual destructor and a record of its
// own in an archive (empty here).
#pragma once

namespace tav {

class CArchive;

class CObject {
 public:
  CObject() = default;
  virtual ~CObject() = default;
  virtual void Serialize(CArchive& /*ar*/) {}

 protected:
  CObject(const CObject&) = default;
  CObject& operator=(const CObject&) = default;
};

}  // namespace tav
