// What the check of a value in a model file needs beyond the value itself:
// the parts of the model read before it (how many objects a reference can
// name, the length of a loaded beam, the case names taken) and the objects
// that enclose it. Borrows the model being read, which it only looks at;
// the enclosing objects are made known by ReadObject (Fields.h) as it
// enters them.
#pragma once

#include <cstdint>
#include <set>
#include <string>

#include "tav/json/ModelFile.h"

namespace tav::json {

// The case names that must differ: static cases among themselves, and
// combinations among themselves and from the static cases.
enum class NameScope { kAny, kStatic, kCombination };

class ReadContext {
 public:
  explicit ReadContext(const file::Model& model) : m_model(model) {}

  void Enter(const file::BeamGroup& group) { m_beamGroup = &group; }
  void Enter(const file::SpringGroup& group) { m_springGroup = &group; }
  void Enter(const file::LinkGroup& group) { m_linkGroup = &group; }
  void Enter(const file::BeamLoad& load) { m_beamLoad = &load; }
  void Enter(const file::Term& term) { m_term = &term; }
  template <typename Other>
  void Enter(const Other& /*object*/) {}

  int32_t LocalSystems() const { return Count(m_model.localSystems); }
  int32_t Joints() const { return Count(m_model.joints); }
  int32_t Functions() const { return Count(m_model.functions); }
  // Beams are numbered model-wide in the order the groups list them.
  int32_t Beams() const;
  // Of the group being read.
  int32_t Sections() const { return Count(m_beamGroup->sections); }
  int32_t SpringConstants() const { return Count(m_springGroup->constants); }
  int32_t LinkProperties() const { return Count(m_linkGroup->properties); }
  // Of the kind of case a combination term names (the term kinds' order).
  int32_t Cases(int32_t kind) const;
  // The combinations listed before the one being read.
  int32_t EarlierCombinations() const { return Count(m_model.combinations); }
  // How many combinations the model lists, told before they are read.
  void SetCombinations(int32_t count) { m_combinations = count; }

  // As CTavData::GetLengthBeam measures it.
  double BeamLength(int32_t beam) const;
  const file::BeamLoad& BeamLoad() const { return *m_beamLoad; }
  const file::Term& Term() const { return *m_term; }

  // False when `name` is taken in its scope; otherwise takes it.
  bool TakeName(NameScope scope, const std::string& name);

 private:
  template <typename List>
  static int32_t Count(const List& list) {
    return static_cast<int32_t>(list.size());
  }

  const file::Model& m_model;
  const file::BeamGroup* m_beamGroup = nullptr;
  const file::SpringGroup* m_springGroup = nullptr;
  const file::LinkGroup* m_linkGroup = nullptr;
  const file::BeamLoad* m_beamLoad = nullptr;
  const file::Term* m_term = nullptr;
  int32_t m_combinations = 0;
  std::set<std::string> m_staticNames;
  std::set<std::string> m_combinationNames;
};

}  // namespace tav::json
