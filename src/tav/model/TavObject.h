// Roots of the model classes.
#pragma once

#include <cstdint>

#include "tav/platform/Archive.h"
#include "tav/platform/Object.h"

namespace tav {

// A model object: sets its defaults in Init and releases what it owns in
// Destroy. Every concrete class calls its own Init from its constructor and
// its own Destroy from its destructor.
class CTavObject : public CObject {
 public:
  void Serialize(CArchive& /*ar*/) override {}
  virtual void Init() = 0;
  virtual void Destroy() = 0;
};

// An element group: its number in the document's group list and its kind
// (0 beam group, 1 spring group, 2 nonlinear link group).
class CTavGroup : public CTavObject {
 public:
  enum Kind : int32_t { kBeam = 0, kSpring = 1, kLink = 2 };

  void Serialize(CArchive& ar) override;
  void Init() override {}
  void Destroy() override {}

  int32_t GetIndex() const { return m_nIndex; }
  int32_t GetType() const { return m_nType; }

  int32_t m_nIndex = -1;
  int32_t m_nType = kBeam;
};

}  // namespace tav
