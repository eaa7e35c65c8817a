// A beam element group: owns its sections and holds the numbers of its
// beams (the beams themselves belong to the document). Section pointers stay
// valid until the group is destroyed or a loaded record trims the list.
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
  // Deletes the sections; the beams stay with the document.
  void Destroy() override { m_arrSection.clear(); }
  // Version, section count and records, beam count and numbers. The group's
  // own number and kind are placed by the document.
  void Serialize(CArchive& ar) override;

  int32_t GetCountBeam() const { return m_arrBeam.GetSize(); }

  // A section of `type`; when `values` is given, its four dimensions (width,
  // height and two more) are taken from it, and a rectangle's area is width
  // times height.
  CTavSection* AddSection(TaV_SECTION_TYPE type, double* const values);
  // A solid rectangle: E, width, height; area = width * height.
  CTavSection* AddSection_Rect(double e, double width, double height);
  // A general section given by its values.
  CTavSection* AddSection(double e, double poisson, double is, double it, double area, double w, double materialAux,
                          double j, double ashs, double asht);
  int32_t GetCountSection() const { return static_cast<int32_t>(m_arrSection.size()); }
  CTavSection* GetSection(int32_t section) const { return m_arrSection[static_cast<size_t>(section)].get(); }

  std::vector<std::unique_ptr<CTavSection>> m_arrSection;
  CLongArray m_arrBeam;

 private:
  friend class CTavData;
  // Creates beam `index` and lists its number; the document takes the beam.
  std::unique_ptr<CTavBeam> AddBeam(int32_t index, int32_t section, int32_t jointI, int32_t jointJ, double angle,
                                    int releaseI, int releaseJ, double offsetI, double offsetJ, double rigid,
                                    double nreg);
  CTavSection* AppendSection();
};

}  // namespace tav
