// A beam element group: owns its sections and holds the numbers of its
// beams (the beams themselves belong to the document). Pointers it returns
// stay valid until the group is destroyed.
#pragma once

#include <memory>
#include <vector>

#include "tav/elements/TavBeam.h"
#include "tav/elements/TavSection.h"
#include "tav/model/TavObject.h"

namespace tav {

class CTavData;

class CTavGroupElement : public CTavGroup {
 public:
  CTavGroupElement() { CTavGroupElement::Init(); }
  ~CTavGroupElement() override { CTavGroupElement::Destroy(); }

  void Init() override { m_nType = kBeam; }
  // Deletes the sections.
  void Destroy() override { m_arrSection.clear(); }

  int32_t GetCountBeam() const { return m_arrBeam.GetSize(); }
  int32_t GetCountSection() const { return static_cast<int32_t>(m_arrSection.size()); }
  CTavSection* GetSection(int32_t section) const { return m_arrSection[static_cast<size_t>(section)].get(); }

  std::vector<std::unique_ptr<CTavSection>> m_arrSection;
  CLongArray m_arrBeam;

 private:
  friend class CTavData;
  // Creates beam `index`; the document takes ownership right after.
  std::unique_ptr<CTavBeam> AddBeam(int32_t index, int32_t section, int32_t jointI, int32_t jointJ, double angle,
                                    int releaseI, int releaseJ, double offsetI, double offsetJ, double rigid,
                                    double nreg);
};

}  // namespace tav
