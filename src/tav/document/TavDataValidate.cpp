// Whether a model holds together: what the writers, the result store and
// the readers of results take for granted, checked once where a model comes
// from outside (an archive, a model file).
#include <cmath>
#include <string>

#include "tav/document/TavData.h"

namespace tav {
namespace {

struct ModelProblem {
  CString text;
};

// Numbers as users see them in the solver input: counted from 1.
std::string Shown(int32_t number) { return std::to_string(static_cast<int64_t>(number) + 1); }

std::string Counted(int32_t count, const char* singular, const char* plural) {
  return std::to_string(count) + " " + (count == 1 ? singular : plural);
}

class ModelCheck {
 public:
  // `groups` is how many element groups the document holds, whatever kind.
  ModelCheck(const CTavData& doc, int32_t groups) : m_doc(doc), m_groups(groups) {}

  void Run() {
    Options();
    Joints();
    LocalSystems();
    Elements();
    Constraints();
    JointValues("joint mass", *m_doc.GetJointMass());
    JointValues("joint damper", *m_doc.GetJointDamping());
    Functions();
    LoadCases();
    Combinations();
  }

 private:
  // `where` names the holder of the number, `what` the kind of object it
  // names, `count` how many of those exist.
  struct Kind {
    const char* singular;
    const char* plural;
    int32_t count;
    const char* holder = "model";
  };

  [[noreturn]] static void Fail(const std::string& where, const std::string& what) {
    throw ModelProblem{where + ": " + what};
  }

  template <typename Where>
  static void Refers(int32_t number, const Kind& kind, Where&& where) {
    if (number >= 0 && number < kind.count) return;
    Fail(where(), std::string(kind.singular) + " " + Shown(number) + " does not exist (the " + kind.holder + " has " +
                      Counted(kind.count, kind.singular, kind.plural) + ")");
  }

  // Objects are numbered by their position in their list.
  template <typename Where>
  static void Numbered(int32_t number, size_t position, Where&& where) {
    if (number == static_cast<int32_t>(position)) return;
    Fail(where(), "carries the number " + Shown(number));
  }

  // A load's function; the first function is the default of every load and
  // may be named even by a model that has none.
  template <typename Where>
  void Function(int32_t number, Where&& where) const {
    if (number == 0) return;
    Refers(number, FunctionKind(), where);
  }

  Kind JointKind() const { return {"joint", "joints", m_doc.GetCountJoint()}; }
  Kind BeamKind() const { return {"beam", "beams", m_doc.GetCountBeam()}; }
  Kind FunctionKind() const { return {"function", "functions", m_doc.GetFunction()->GetCount()}; }

  void Options() const {
    const int32_t segments = m_doc.GetGlobalOption()->GetCountForceSegment();
    if (segments < 1 || segments > CTavData::kMaxForceSegments) {
      Fail("analysis options", "the number of force segments per beam, " + std::to_string(segments) +
                                   ", is not within 1 to " + std::to_string(CTavData::kMaxForceSegments));
    }
  }

  void Joints() const {
    const Kind systems{"local coordinate system", "local coordinate systems", m_doc.GetCountLocalCoord()};
    for (int32_t j = 0; j < m_doc.GetCountJoint(); ++j) {
      const CTavJoint& joint = *m_doc.GetJoint(j);
      const auto where = [j] { return "joint " + Shown(j); };
      Numbered(joint.m_nIndex, static_cast<size_t>(j), where);
      if (!std::isfinite(joint.m_vPos.x) || !std::isfinite(joint.m_vPos.y) || !std::isfinite(joint.m_vPos.z)) {
        Fail(where(), "a coordinate is not a finite number");
      }
      if (joint.m_nLocalCoord != -1) Refers(joint.m_nLocalCoord, systems, where);
    }
  }

  void LocalSystems() const {
    for (int32_t s = 0; s < m_doc.GetCountLocalCoord(); ++s) {
      Numbered(m_doc.GetLocalCoord(s)->m_nIndex, static_cast<size_t>(s),
               [s] { return "local coordinate system " + Shown(s); });
    }
  }

  void Elements() {
    m_beamGroup.assign(static_cast<size_t>(m_doc.GetCountBeam()), -1);
    m_linkGroup.assign(static_cast<size_t>(m_doc.GetCountNLLink()), -1);
    for (int32_t b = 0; b < m_doc.GetCountBeam(); ++b) {
      const CTavBeam& beam = *m_doc.GetBeam(b);
      const auto where = [b] { return "beam " + Shown(b); };
      Numbered(beam.m_nIndex, static_cast<size_t>(b), where);
      Refers(beam.m_nJointI, JointKind(), where);
      Refers(beam.m_nJointJ, JointKind(), where);
    }
    for (int32_t l = 0; l < m_doc.GetCountNLLink(); ++l) {
      const CTavNLLink& link = *m_doc.GetNLLink(l);
      const auto where = [l] { return "link " + Shown(l); };
      Numbered(link.m_nIndex, static_cast<size_t>(l), where);
      Refers(link.m_nJointI, JointKind(), where);
      Refers(link.m_nJointJ, JointKind(), where);
    }
    for (int32_t g = 0; g < m_groups; ++g) Group(g);
    Unclaimed(m_beamGroup, "beam", "beam group");
    Unclaimed(m_linkGroup, "link", "link group");
  }

  void Group(int32_t g) {
    const CTavGroup& base = *m_doc.GetGroup(g);
    const auto where = [g] { return "element group " + Shown(g); };
    Numbered(base.GetIndex(), static_cast<size_t>(g), where);
    switch (base.GetType()) {
      case CTavGroup::kBeam:
        BeamGroup(g, static_cast<const CTavGroupElement&>(base));
        break;
      case CTavGroup::kSpring:
        SpringGroup(g, static_cast<const CTavGroupSpring&>(base));
        break;
      case CTavGroup::kLink:
        LinkGroup(g, static_cast<const CTavGroupNllink&>(base));
        break;
      default:
        Fail(where(), "is of no known kind (" + std::to_string(base.GetType()) + ")");
    }
  }

  void BeamGroup(int32_t g, const CTavGroupElement& group) {
    NumberedInGroup(group.m_arrSection, g, "section");
    const Kind sections{"section", "sections", group.GetCountSection(), "group"};
    Members(
        g, group.m_arrBeam, {"beam", "beams", m_doc.GetCountBeam()}, m_beamGroup,
        [this](int32_t b) { return m_doc.GetBeam(b)->m_nSection; }, sections);
  }

  void SpringGroup(int32_t g, const CTavGroupSpring& group) {
    NumberedInGroup(group.m_arrSpringConstant, g, "spring constant");
    const Kind constants{"spring constant", "spring constants", group.GetCountSpingConstant(), "group"};
    for (size_t s = 0; s < group.m_arrSpring.size(); ++s) {
      const TaV_SPRING& spring = group.m_arrSpring[s];
      const auto where = [g, s] { return "element group " + Shown(g) + ", spring " + Shown(static_cast<int32_t>(s)); };
      Numbered(spring.nIndex, s, where);
      Refers(spring.nConstant, constants, where);
      Refers(spring.nJoint, JointKind(), where);
    }
  }

  void LinkGroup(int32_t g, const CTavGroupNllink& group) {
    NumberedInGroup(group.m_arrNllinkConstant, g, "link property");
    const Kind properties{"link property", "link properties", group.GetCountNllinkConstant(), "group"};
    Members(
        g, group.m_arrNllink, {"link", "links", m_doc.GetCountNLLink()}, m_linkGroup,
        [this](int32_t l) { return m_doc.GetNLLink(l)->m_nProperty; }, properties);
  }

  // A group's own sections, spring constants or link properties.
  template <typename List>
  static void NumberedInGroup(const List& list, int32_t g, const char* noun) {
    for (size_t i = 0; i < list.size(); ++i) {
      Numbered(list[i]->m_nIndex, i, [g, i, noun] {
        return "element group " + Shown(g) + ", " + noun + " " + Shown(static_cast<int32_t>(i));
      });
    }
  }

  // The beams or links a group lists: each exists, belongs to this group
  // alone, and names a section or property (`held`) of the group.
  template <typename Held>
  void Members(int32_t g, const CLongArray& members, const Kind& kind, std::vector<int32_t>& owner, Held held,
               const Kind& groupKind) {
    for (int32_t e : members) {
      if (e < 0 || e >= kind.count) {
        Fail("element group " + Shown(g), std::string("lists ") + kind.singular + " " + Shown(e) +
                                              ", which does not exist (the model has " +
                                              Counted(kind.count, kind.singular, kind.plural) + ")");
      }
      Claim(owner, e, g, kind.singular);
      Refers(held(e), groupKind,
             [g, e, &kind] { return std::string(kind.singular) + " " + Shown(e) + " of element group " + Shown(g); });
    }
  }

  // Each element belongs to one group: its section or property is read
  // against that group, and the solver input lists it there once.
  static void Claim(std::vector<int32_t>& owner, int32_t element, int32_t group, const char* noun) {
    int32_t& held = owner[static_cast<size_t>(element)];
    if (held == -1) {
      held = group;
      return;
    }
    Fail(std::string(noun) + " " + Shown(element),
         "is listed by element group " + Shown(held) + " and again by element group " + Shown(group));
  }

  static void Unclaimed(const std::vector<int32_t>& owner, const char* noun, const char* group) {
    for (size_t e = 0; e < owner.size(); ++e) {
      if (owner[e] == -1)
        Fail(std::string(noun) + " " + Shown(static_cast<int32_t>(e)), std::string("belongs to no ") + group);
    }
  }

  void Constraints() const {
    const CTavJointConstraints& constraints = *m_doc.GetConstraint();
    for (int32_t d = 0; d < constraints.GetCountDiaphragm(); ++d) {
      const TaV_DIAPHRAGM& diaphragm = *constraints.GetDiaphragm(d);
      const auto where = [d] { return "diaphragm " + Shown(d); };
      Numbered(diaphragm.nIndex, static_cast<size_t>(d), where);
      Refers(diaphragm.nMaster, JointKind(), where);
      for (int32_t slave : diaphragm.arrSlave) Refers(slave, JointKind(), where);
    }
    for (int32_t r = 0; r < constraints.GetCountRigidLink(); ++r) {
      const TaV_RIGIDLINK& link = *constraints.GetRigidLink(r);
      const auto where = [r] { return "rigid link " + Shown(r); };
      Numbered(link.nIndex, static_cast<size_t>(r), where);
      Refers(link.nMaster, JointKind(), where);
      for (int32_t slave : link.arrSlave) Refers(slave, JointKind(), where);
    }
  }

  void JointValues(const char* noun, const CTavJointValueList& list) const {
    for (int32_t i = 0; i < list.GetCount(); ++i) {
      Refers(list.GetData(i)->nJoint, JointKind(), [noun, i] { return std::string(noun) + " " + Shown(i); });
    }
  }

  void Functions() const {
    const CTavFunction& table = *m_doc.GetFunction();
    for (int32_t f = 0; f < table.GetCount(); ++f) {
      const TaV_FUNCTION& function = *table.GetFunction(f);
      const auto where = [f] { return "function " + Shown(f); };
      Numbered(function.nIndex, static_cast<size_t>(f), where);
      if (function.arrX.GetSize() != function.arrY.GetSize() || function.nPoints != function.arrX.GetSize()) {
        Fail(where(), "says it has " + std::to_string(function.nPoints) + " points but holds " +
                          std::to_string(function.arrX.GetSize()) + " abscissas and " +
                          std::to_string(function.arrY.GetSize()) + " ordinates");
      }
    }
  }

  void LoadCases() const {
    for (int32_t i = 0; i < m_doc.GetCountStaticLoad(); ++i) {
      const CTavLoadStatic& loadCase = *m_doc.GetStaticLoad(i);
      const std::string name = "static load case " + Shown(i);
      Numbered(loadCase.m_nIndex, static_cast<size_t>(i), [&name] { return name; });
      Loads(name, loadCase);
    }
    for (int32_t i = 0; i < m_doc.GetCountHistoryLoad(); ++i) {
      const CTavLoadHistory& loadCase = *m_doc.GetHistoryLoad(i);
      const std::string name = "history load case " + Shown(i);
      Numbered(loadCase.m_nHistoryIndex, static_cast<size_t>(i), [&name] { return name; });
      Loads(name, loadCase);
    }
    for (int32_t i = 0; i < m_doc.GetCountResponseSpectrumLoad(); ++i) {
      const CTavLoadResponseSpectrum& loadCase = *m_doc.GetResponseSpectrum(i);
      const std::string name = "response spectrum load case " + Shown(i);
      Numbered(loadCase.m_nIndex, static_cast<size_t>(i), [&name] { return name; });
      if (const CTavSelfWeight* weight = loadCase.GetSelfWeight()) {
        Function(weight->m_nFunction, [&name] { return name + ", excitation"; });
      }
    }
    for (int32_t i = 0; i < m_doc.GetCountMovingLoad(); ++i) {
      const CTavLoadMoving& loadCase = *m_doc.GetMovingLoad(i);
      const std::string name = "moving load case " + Shown(i);
      Numbered(loadCase.m_nIndex, static_cast<size_t>(i), [&name] { return name; });
      for (int32_t l = 0; l < loadCase.GetCountLane(); ++l) {
        const CTavLane& lane = *loadCase.GetLane(l);
        const auto where = [&name, l] { return name + ", lane element " + Shown(l); };
        Refers(lane.m_nElement1, BeamKind(), where);
        Refers(lane.m_nElement2, BeamKind(), where);
      }
    }
  }

  // The loads a static or history case holds.
  void Loads(const std::string& name, const CTavLoadStatic& loadCase) const {
    for (int32_t i = 0; i < loadCase.GetSizeLoadJoint(); ++i) {
      const CTavLoadJoint& load = *loadCase.GetLoadJoint(i);
      const auto where = [&name, i] { return name + ", joint load " + Shown(i); };
      Refers(load.m_nJoint, JointKind(), where);
      Function(load.m_nFunction, where);
    }
    for (int32_t i = 0; i < loadCase.GetSizeLoadBeam(); ++i) {
      const CTavLoadBeam& load = *loadCase.GetLoadBeam(i);
      const auto where = [&name, i] { return name + ", beam load " + Shown(i); };
      Numbered(load.m_nIndex, static_cast<size_t>(i), where);
      Refers(load.m_nBeam, BeamKind(), where);
      Function(load.m_nFunction, where);
    }
    for (int32_t i = 0; i < loadCase.GetSizeLoadDisplacement(); ++i) {
      const CTavLoadDisplacement& load = *loadCase.GetLoadDisplacement(i);
      const auto where = [&name, i] { return name + ", prescribed displacement " + Shown(i); };
      Refers(load.m_nJoint, JointKind(), where);
      Function(load.m_nFunction, where);
    }
    if (const CTavSelfWeight* weight = loadCase.GetSelfWeight()) {
      Function(weight->m_nFunction, [&name] { return name + ", self weight"; });
    }
  }

  void Combinations() const {
    for (int32_t c = 0; c < m_doc.GetCountComboLoad(); ++c) {
      const CTavCombo& combo = *m_doc.GetCombo(c);
      for (int32_t t = 0; t < combo.GetCountLoad(); ++t) {
        const TaV_COMBO_DATA& term = *combo.GetLoad(t);
        const auto where = [c, t] { return "combination " + Shown(c) + ", term " + Shown(t); };
        switch (term.eType) {
          case TaV_LOAD_STATIC:
            Refers(term.nCase, {"static load case", "static load cases", m_doc.GetCountStaticLoad()}, where);
            break;
          case TaV_LOAD_HISTORY:
            Refers(term.nCase, {"history load case", "history load cases", m_doc.GetCountHistoryLoad()}, where);
            break;
          case TaV_LOAD_RESPONSE_SPECTRUM:
            Refers(
                term.nCase,
                {"response spectrum load case", "response spectrum load cases", m_doc.GetCountResponseSpectrumLoad()},
                where);
            break;
          case TaV_LOAD_MOVING:
            Refers(term.nCase, {"moving load case", "moving load cases", m_doc.GetCountMovingLoad()}, where);
            break;
          case TaV_LOAD_COMBO:
            Refers(term.nCase, {"combination", "combinations", m_doc.GetCountComboLoad()}, where);
            break;
          default:
            break;  // a term of no known kind names nothing; every reader passes it by
        }
      }
    }
  }

  const CTavData& m_doc;
  int32_t m_groups;
  std::vector<int32_t> m_beamGroup;  // the group listing each beam, or -1
  std::vector<int32_t> m_linkGroup;
};

}  // namespace

int CTavData::Validate(CString* problem) const {
  try {
    ModelCheck(*this, Count(m_arrGroup)).Run();
  } catch (const ModelProblem& found) {
    if (problem != nullptr) *problem = found.text;
    return 0;
  }
  return 1;
}

}  // namespace tav
