#include "tav/ModelJson.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace tav::tool {
namespace {

constexpr std::array<const char*, 6> kJointDof = {"UX", "UY", "UZ", "RX", "RY", "RZ"};
constexpr std::array<const char*, 6> kBeamDof = {"U1", "U2", "U3", "R1", "R2", "R3"};
constexpr std::array<const char*, 6> kChecks = {"STIFFNESS-MATRIX", "DECOMPOSED-STIFFNESS-MATRIX", "LOAD-VECTOR",
                                                "V-VECTOR",         "DISPLACEMENT-VECTOR",         "MEMORY-SIZE"};
constexpr std::array<const char*, 3> kDirections = {"X", "Y", "Z"};
// The names of each kind of choice, in the order of the library's values.
constexpr std::array<const char*, 3> kEigenMethods = {"none", "determinant", "subspace"};
constexpr std::array<const char*, 2> kFunctionTypes = {"constant", "sinusoidal"};
constexpr std::array<const char*, 2> kRigidLinkTypes = {"linear", "nonlinear"};
constexpr std::array<const char*, 3> kGroupKinds = {"beam", "spring", "link"};
constexpr std::array<const char*, 2> kShapes = {"general", "rectangle"};
constexpr std::array<const char*, 3> kBeamLoadTypes = {"force", "moment", "distributed"};
constexpr std::array<const char*, 2> kHistoryAnalyses = {"nst", "dynamic"};
constexpr std::array<const char*, 3> kDynamicModes = {"direct", "superposition", "spectrum"};
constexpr std::array<const char*, 3> kIntegrations = {"wilson", "newmark", "central"};
constexpr std::array<const char*, 3> kModeRules = {"ABS", "SRSS", "CQC"};
constexpr std::array<const char*, 3> kComboTypes = {"ADD", "ENVE", "ABS"};
constexpr std::array<const char*, 5> kTermKinds = {"static", "history", "spectrum", "moving", "combination"};

std::string Describe(const Json& value) {
  switch (value.type()) {
    case Json::value_t::null:
      return "null";
    case Json::value_t::boolean:
      return "a boolean";
    case Json::value_t::string:
      return "a string";
    case Json::value_t::array:
      return "an array";
    case Json::value_t::object:
      return "an object";
    default:
      return "a number";
  }
}

// A key as a JSON pointer writes it.
std::string PointerToken(const std::string& key) {
  std::string token;
  for (char ch : key) {
    if (ch == '~') {
      token += "~0";
    } else if (ch == '/') {
      token += "~1";
    } else {
      token += ch;
    }
  }
  return token;
}

// A value of the model with its JSON pointer, and the checks that read it.
class Node {
 public:
  Node(const Json& value, std::string path) : m_value(value), m_path(std::move(path)) {}

  const std::string& Path() const { return m_path; }
  [[noreturn]] void Fail(const std::string& message) const { throw ModelError(m_path, message); }

  // An object whose keys are all among `allowed`.
  const Node& Object(std::initializer_list<const char*> allowed) const {
    if (!m_value.is_object()) Fail("expected an object, found " + Describe(m_value));
    for (const auto& item : m_value.items()) {
      bool known = false;
      for (const char* key : allowed) known = known || item.key() == key;
      if (!known) throw ModelError(m_path + "/" + PointerToken(item.key()), "unknown key \"" + item.key() + "\"");
    }
    return *this;
  }
  bool Has(const char* key) const { return m_value.contains(key); }
  Node operator[](const char* key) const {
    if (!m_value.is_object()) Fail("expected an object, found " + Describe(m_value));
    if (!m_value.contains(key)) Fail(std::string("missing key \"") + key + "\"");
    return Node(m_value.at(key), m_path + "/" + key);
  }
  size_t Size() const {
    if (!m_value.is_array()) Fail("expected an array, found " + Describe(m_value));
    return m_value.size();
  }
  Node At(size_t i) const { return Node(m_value.at(i), m_path + "/" + std::to_string(i)); }
  template <typename Visit>
  void Each(Visit visit) const {
    const size_t n = Size();
    for (size_t i = 0; i < n; ++i) visit(At(i), i);
  }

  double Number() const {
    if (!m_value.is_number()) Fail("expected a number, found " + Describe(m_value));
    return m_value.get<double>();
  }
  double Number(double low, double high, const char* range) const {
    const double value = Number();
    if (!(value >= low && value <= high)) Fail("the value " + Text() + " is out of range: it must be " + range);
    return value;
  }
  int32_t Integer(long long low, long long high) const {
    if (!m_value.is_number_integer()) Fail("expected a whole number, found " + Describe(m_value));
    const long long value = m_value.get<long long>();
    if (value < low || value > high) {
      Fail("the value " + std::to_string(value) + " is out of range: it must be from " + std::to_string(low) + " to " +
           std::to_string(high));
    }
    return static_cast<int32_t>(value);
  }
  // A 1-based reference to one of `count` objects named `what`; 0-based result.
  int32_t Reference(int32_t count, const std::string& what) const {
    if (!m_value.is_number_integer()) Fail("expected a " + what + " number, found " + Describe(m_value));
    const long long value = m_value.get<long long>();
    if (value < 1 || value > count) {
      Fail(what + " " + std::to_string(value) + " does not exist" +
           (count == 0 ? " (there are none)" : " (there are " + std::to_string(count) + ")"));
    }
    return static_cast<int32_t>(value - 1);
  }
  bool Bool() const {
    if (!m_value.is_boolean()) Fail("expected true or false, found " + Describe(m_value));
    return m_value.get<bool>();
  }
  // Texts go into line-oriented solver inputs, so they may not break a line.
  std::string String() const {
    if (!m_value.is_string()) Fail("expected a string, found " + Describe(m_value));
    std::string text = m_value.get<std::string>();
    for (unsigned char ch : text) {
      if (ch < 0x20 || ch == 0x7F) Fail("the text holds a line break or another control character");
    }
    return text;
  }
  template <size_t N>
  int Choice(const std::array<const char*, N>& names) const {
    const std::string text = String();
    for (size_t i = 0; i < N; ++i) {
      if (text == names[i]) return static_cast<int>(i);
    }
    std::string list;
    for (size_t i = 0; i < N; ++i) list += (i == 0 ? "\"" : ", \"") + std::string(names[i]) + "\"";
    Fail("\"" + text + "\" is not one of " + list);
  }
  // An array of exactly `count` numbers.
  std::vector<double> Numbers(size_t count) const {
    if (Size() != count) Fail("expected " + std::to_string(count) + " numbers, found " + std::to_string(Size()));
    std::vector<double> values;
    Each([&values](const Node& item, size_t) { values.push_back(item.Number()); });
    return values;
  }
  // A set of names from `names` (each once) as bits.
  template <size_t N>
  uint8_t Flags(const std::array<const char*, N>& names) const {
    uint8_t flags = 0;
    Each([&](const Node& item, size_t) {
      const int bit = item.Choice(names);
      if ((flags >> bit) & 1U) item.Fail("\"" + std::string(names[static_cast<size_t>(bit)]) + "\" is given twice");
      flags = static_cast<uint8_t>(flags | (1U << bit));
    });
    return flags;
  }

 private:
  std::string Text() const { return m_value.dump(); }

  const Json& m_value;
  std::string m_path;
};

double OptionalNumber(const Node& node, const char* key, double fallback = 0.0) {
  return node.Has(key) ? node[key].Number() : fallback;
}

bool OptionalBool(const Node& node, const char* key) { return node.Has(key) && node[key].Bool(); }

// The builder: reads the model in the order its references need.
class Builder {
 public:
  explicit Builder(CTavData& doc) : m_doc(doc) {}

  void Build(const Node& root) {
    root.Object({"title", "options", "functions", "localSystems", "joints", "diaphragms", "rigidLinks", "masses",
                 "dampers", "groups", "loadCases", "combinations", "midas", "document"});
    if (root.Has("title")) m_doc.SetTitle(root["title"].String());
    if (root.Has("options")) Options(root["options"]);
    if (root.Has("functions")) root["functions"].Each([this](const Node& n, size_t) { Function(n); });
    if (root.Has("localSystems")) root["localSystems"].Each([this](const Node& n, size_t) { LocalSystem(n); });
    if (root.Has("joints")) root["joints"].Each([this](const Node& n, size_t) { Joint(n); });
    if (root.Has("diaphragms")) root["diaphragms"].Each([this](const Node& n, size_t) { Diaphragm(n); });
    if (root.Has("rigidLinks")) root["rigidLinks"].Each([this](const Node& n, size_t) { RigidLink(n); });
    if (root.Has("masses")) root["masses"].Each([this](const Node& n, size_t) { JointValues(n, true); });
    if (root.Has("dampers")) root["dampers"].Each([this](const Node& n, size_t) { JointValues(n, false); });
    if (root.Has("groups")) root["groups"].Each([this](const Node& n, size_t) { Group(n); });
    if (root.Has("loadCases")) LoadCases(root["loadCases"]);
    if (root.Has("combinations")) {
      const Node list = root["combinations"];
      m_comboCount = static_cast<int32_t>(list.Size());
      list.Each([this](const Node& n, size_t) { Combination(n); });
    }
    if (root.Has("midas")) Midas(root["midas"]);
    if (root.Has("document")) Document(root["document"]);
  }

 private:
  int32_t Function(const Node& node, const char* key) const {
    return node.Has(key) ? node[key].Reference(m_doc.GetFunction()->GetCount(), "function") : 0;
  }
  int32_t JointRef(const Node& node) const { return node.Reference(m_doc.GetCountJoint(), "joint"); }

  void Options(const Node& node) {
    node.Object({"dof", "forceSegments", "checks", "initialTemperature", "initialTemperatureGradient", "eigen"});
    CTavGlobalOption& o = *m_doc.GetGlobalOption();
    if (node.Has("dof")) o.m_Dof.byFlags = static_cast<uint8_t>(0xC0 | node["dof"].Flags(kJointDof));
    if (node.Has("forceSegments")) o.m_nForceSegments = node["forceSegments"].Integer(1, 1000);
    if (node.Has("checks")) o.m_Check.byFlags = static_cast<uint8_t>(0xC0 | node["checks"].Flags(kChecks));
    o.m_bInitTemperature = OptionalBool(node, "initialTemperature") ? 1 : 0;
    o.m_bInitTemperatureGradient = OptionalBool(node, "initialTemperatureGradient") ? 1 : 0;
    if (!node.Has("eigen")) return;
    const Node eigen = node["eigen"];
    eigen.Object({"method", "interval", "modes", "subspaceVectors", "iterations", "rigidBodyModes", "rigidBodyShift",
                  "cutOffFrequency", "tolerance", "lanczosVectors", "startingVectors"});
    if (eigen.Has("method")) o.m_nEigenMethod = eigen["method"].Choice(kEigenMethods);
    o.m_nEigenRange = OptionalBool(eigen, "interval") ? 1 : 0;
    if (eigen.Has("modes")) o.m_nModes = eigen["modes"].Integer(0, 100000);
    if (eigen.Has("subspaceVectors")) o.m_nSubspaceVectors = eigen["subspaceVectors"].Integer(0, 100000);
    if (eigen.Has("iterations")) o.m_nIterations = eigen["iterations"].Integer(0, 1000000);
    o.m_bRigidBodyMode = OptionalBool(eigen, "rigidBodyModes") ? 1 : 0;
    if (eigen.Has("rigidBodyShift")) o.m_nRigidBodyShift = eigen["rigidBodyShift"].Integer(-1000000, 1000000);
    o.m_dCutOffFrequency = OptionalNumber(eigen, "cutOffFrequency");
    o.m_dTolerance = OptionalNumber(eigen, "tolerance");
    o.m_bLanczosVectors = OptionalBool(eigen, "lanczosVectors") ? 1 : 0;
    if (eigen.Has("startingVectors")) o.m_nStartingVectors = eigen["startingVectors"].Integer(0, 100000);
  }

  void Function(const Node& node) {
    node.Object({"type", "parameters", "points"});
    const int type = node.Has("type") ? node["type"].Choice(kFunctionTypes) : 0;
    std::vector<double> parameters = node.Has("parameters") ? node["parameters"].Numbers(2) : std::vector<double>{0, 0};
    CTavFunction& table = *m_doc.GetFunction();
    const int32_t f = table.AddFunction(static_cast<TaV_FUNCTION_TYPE>(type), parameters[0], parameters[1]);
    if (!node.Has("points")) return;
    node["points"].Each([&](const Node& point, size_t) {
      const std::vector<double> xy = point.Numbers(2);
      table.AddFunctionValue(f, xy[0], xy[1]);
    });
  }

  void LocalSystem(const Node& node) {
    node.Object({"angles"});
    const std::vector<double> a = node["angles"].Numbers(3);
    m_doc.AddLocalCoordSystem(a[0], a[1], a[2], 1);
  }

  void Joint(const Node& node) {
    node.Object({"x", "y", "z", "restraints", "localSystem"});
    const int32_t system =
        node.Has("localSystem") ? node["localSystem"].Reference(m_doc.GetCountLocalCoord(), "local system") : -1;
    const int32_t joint = m_doc.AddJoint(node["x"].Number(), node["y"].Number(), node["z"].Number(), system);
    if (node.Has("restraints")) {
      m_doc.GetJoint(joint)->m_Restraint.byFlags = node["restraints"].Flags(kJointDof);
    }
  }

  // The two different joints of a beam or link.
  std::pair<int32_t, int32_t> TwoJoints(const Node& ends, const std::string& element) const {
    if (ends.Size() != 2) ends.Fail("expected two joints");
    const int32_t i = JointRef(ends.At(0));
    const int32_t j = JointRef(ends.At(1));
    if (i == j) ends.Fail("a " + element + " needs two different joints");
    return {i, j};
  }

  CLongArray Joints(const Node& node) const {
    CLongArray joints;
    node.Each([&](const Node& item, size_t) { joints.Add(JointRef(item)); });
    return joints;
  }

  void Diaphragm(const Node& node) {
    node.Object({"master", "slaves"});
    m_doc.AddJointConstraintDiap(JointRef(node["master"]), Joints(node["slaves"]));
  }

  void RigidLink(const Node& node) {
    node.Object({"type", "master", "slaves"});
    const int type = node.Has("type") ? node["type"].Choice(kRigidLinkTypes) : 0;
    m_doc.GetConstraint()->AddRigidLink(type, JointRef(node["master"]), Joints(node["slaves"]));
  }

  void JointValues(const Node& node, bool mass) {
    node.Object({"joint", "values"});
    const int32_t joint = JointRef(node["joint"]);
    const std::vector<double> v = node["values"].Numbers(6);
    if (mass) {
      m_doc.AddJointMass(joint, v[0], v[1], v[2], v[3], v[4], v[5]);
    } else {
      m_doc.AddJointDamping(joint, v[0], v[1], v[2], v[3], v[4], v[5]);
    }
  }

  void Group(const Node& node) {
    switch (node["kind"].Choice(kGroupKinds)) {
      case 0:
        BeamGroup(node);
        break;
      case 1:
        SpringGroup(node);
        break;
      default:
        LinkGroup(node);
        break;
    }
  }

  void BeamGroup(const Node& node) {
    node.Object({"kind", "sections", "beams"});
    CTavGroupElement* group = m_doc.AddGroupElement();
    if (node.Has("sections")) node["sections"].Each([&](const Node& n, size_t) { Section(n, *group); });
    if (node.Has("beams")) node["beams"].Each([&](const Node& n, size_t) { Beam(n, group); });
  }

  void Section(const Node& node, CTavGroupElement& group) {
    const double huge = 1e300;
    if (node["shape"].Choice(kShapes) == 1) {
      node.Object({"shape", "E", "width", "height", "poisson", "W"});
      CTavSection* s = group.AddSection_Rect(node["E"].Number(1e-300, huge, "greater than 0"),
                                             node["width"].Number(1e-300, huge, "greater than 0"),
                                             node["height"].Number(1e-300, huge, "greater than 0"));
      s->m_dPoisson = node.Has("poisson") ? node["poisson"].Number(-0.999, 0.4999, "from -1 to 0.5") : 0.0;
      s->m_dW = OptionalNumber(node, "W");
      return;
    }
    node.Object({"shape", "E", "area", "poisson", "IS", "IT", "J", "ASHS", "ASHT", "W", "materialAux"});
    const auto positive = [&node, huge](const char* key) {
      return node.Has(key) ? node[key].Number(0.0, huge, "0 or more") : 0.0;
    };
    group.AddSection(node["E"].Number(1e-300, huge, "greater than 0"),
                     node.Has("poisson") ? node["poisson"].Number(-0.999, 0.4999, "from -1 to 0.5") : 0.0,
                     positive("IS"), positive("IT"), node["area"].Number(1e-300, huge, "greater than 0"),
                     OptionalNumber(node, "W"), OptionalNumber(node, "materialAux"), positive("J"), positive("ASHS"),
                     positive("ASHT"));
  }

  void Beam(const Node& node, CTavGroupElement* group) {
    node.Object({"section", "joints", "angle", "releaseI", "releaseJ", "offsets", "rigid", "segments"});
    const int32_t section = node["section"].Reference(group->GetCountSection(), "section");
    const auto [i, j] = TwoJoints(node["joints"], "beam");
    std::vector<double> offsets = node.Has("offsets") ? node["offsets"].Numbers(2) : std::vector<double>{0, 0};
    for (size_t k = 0; k < 2; ++k) {
      if (offsets[k] < 0) node["offsets"].At(k).Fail("an offset cannot be negative");
    }
    const double rigid = node.Has("rigid") ? node["rigid"].Number(0.0, 1.0, "from 0 to 1") : 0.0;
    const double segments = node.Has("segments") ? node["segments"].Integer(1, 1000) : 0;
    // An end is released when its list names something; an empty list is no release.
    const uint8_t releaseI = node.Has("releaseI") ? node["releaseI"].Flags(kBeamDof) : 0;
    const uint8_t releaseJ = node.Has("releaseJ") ? node["releaseJ"].Flags(kBeamDof) : 0;
    CTavBeam* beam = m_doc.AddBeam(group, section, i, j, OptionalNumber(node, "angle"), releaseI != 0 ? 1 : 0,
                                   releaseJ != 0 ? 1 : 0, offsets[0], offsets[1], rigid, segments);
    if (releaseI != 0) beam->m_ReleaseI.byFlags = static_cast<uint8_t>(0xC0 | releaseI);
    if (releaseJ != 0) beam->m_ReleaseJ.byFlags = static_cast<uint8_t>(0xC0 | releaseJ);
  }

  void SpringGroup(const Node& node) {
    node.Object({"kind", "constants", "springs"});
    CTavGroupSpring* group = m_doc.AddGroupSpringConstants();
    if (node.Has("constants")) {
      node["constants"].Each([&](const Node& c, size_t) {
        c.Object({"stiffness", "multi"});
        const Node k = c["stiffness"];
        if (k.Size() != 3 && k.Size() != 6) k.Fail("expected 3 or 6 stiffnesses, found " + std::to_string(k.Size()));
        const std::vector<double> values = k.Numbers(k.Size());
        CTavSpringConstant* constant = group->AddSpringConstants(values[0], values[1], values[2]);
        for (size_t d = 3; d < values.size(); ++d) constant->m_dStiffness[d] = values[d];
        constant->m_bMultiDof = OptionalBool(c, "multi") ? 1 : 0;
      });
    }
    if (node.Has("springs")) {
      node["springs"].Each([&](const Node& s, size_t) {
        s.Object({"constant", "joint"});
        group->AddSpring(s["constant"].Reference(group->GetCountSpingConstant(), "spring constant"),
                         JointRef(s["joint"]));
      });
    }
  }

  void LinkGroup(const Node& node) {
    node.Object({"kind", "properties", "links"});
    CTavGroupNllink* group = m_doc.AddGroupNllink();
    if (node.Has("properties")) {
      node["properties"].Each([&](const Node& p, size_t) {
        p.Object({"k0", "values"});
        const std::vector<double> v = p.Has("values") ? p["values"].Numbers(3) : std::vector<double>{0, 0, 0};
        group->AddNllinkConstants(p["k0"].Number(0.0, 1e300, "0 or more"), v[0], v[1], v[2]);
      });
    }
    if (node.Has("links")) {
      node["links"].Each([&](const Node& l, size_t) {
        l.Object({"property", "joints", "angle"});
        const int32_t property = l["property"].Reference(group->GetCountNllinkConstant(), "link property");
        const auto [i, j] = TwoJoints(l["joints"], "link");
        m_doc.AddNllink(group, i, j, property, OptionalNumber(l, "angle"));
      });
    }
  }

  void SelfWeight(const Node& node, CTavSelfWeight& weight) const {
    node.Object({"direction", "factor", "acceleration", "function"});
    weight.m_eDir = static_cast<TaV_DIR>(node["direction"].Choice(kDirections));
    weight.m_dFactor = OptionalNumber(node, "factor");
    weight.m_dAcceleration = OptionalNumber(node, "acceleration");
    weight.m_nFunction = Function(node, "function");
  }

  void Loads(const Node& node, CTavLoadStatic& loadCase) {
    if (node.Has("selfWeightFlag")) loadCase.m_bSelfWeight = node["selfWeightFlag"].Bool() ? 1 : 0;
    if (node.Has("selfWeight")) {
      loadCase.AddSelfWeight(TaV_DIR_Z, 0, 0, 0);
      SelfWeight(node["selfWeight"], *loadCase.GetSelfWeight());
    }
    if (node.Has("jointLoads")) JointValueLoads(node["jointLoads"], loadCase, &CTavLoadStatic::AddLoadStatic_Joint);
    if (node.Has("beamLoads")) node["beamLoads"].Each([&](const Node& l, size_t) { BeamLoad(l, loadCase); });
    if (node.Has("displacements")) {
      JointValueLoads(node["displacements"], loadCase, &CTavLoadStatic::AddLoadStatic_Displacement);
    }
  }

  // Joint loads and prescribed displacements alike: a joint, six values and a function.
  using AddJointValues = int32_t (CTavLoadStatic::*)(int32_t, double, double, double, double, double, double, int32_t);
  void JointValueLoads(const Node& list, CTavLoadStatic& loadCase, AddJointValues add) const {
    list.Each([&](const Node& l, size_t) {
      l.Object({"joint", "values", "function"});
      const int32_t joint = JointRef(l["joint"]);
      const std::vector<double> v = l["values"].Numbers(6);
      (loadCase.*add)(joint, v[0], v[1], v[2], v[3], v[4], v[5], Function(l, "function"));
    });
  }

  void BeamLoad(const Node& node, CTavLoadStatic& loadCase) {
    node.Object({"beam", "type", "absolute", "function", "components"});
    const int32_t beam = node["beam"].Reference(m_doc.GetCountBeam(), "beam");
    const int type = node["type"].Choice(kBeamLoadTypes);
    const bool absolute = OptionalBool(node, "absolute");
    const size_t points = type == 2 ? 2 : 1;
    const double length = m_doc.GetLengthBeam(beam);
    TaV_TYPED_LOAD blocks[3];
    node["components"].Each([&](const Node& c, size_t) {
      c.Object({"direction", "values", "distances"});
      const int dir = c["direction"].Choice(kDirections);
      if (blocks[dir].nValue > 0) c["direction"].Fail("the direction is given twice");
      const std::vector<double> values = c["values"].Numbers(points);
      const std::vector<double> distances = c["distances"].Numbers(points);
      for (size_t k = 0; k < points; ++k) {
        const double high = absolute ? length : 1.0;
        if (distances[k] < 0.0 || distances[k] > high * (1 + 1e-12)) {
          c["distances"].At(k).Fail("the distance " + std::to_string(distances[k]) + " is off the beam (0 to " +
                                    (absolute ? std::to_string(length) : std::string("1")) + ")");
        }
        blocks[dir].dValue[k] = values[k];
        blocks[dir].dDist[k] = distances[k];
      }
      if (points == 2 && distances[1] < distances[0]) c["distances"].Fail("the second distance is before the first");
      blocks[dir].nValue = blocks[dir].nDist = static_cast<int32_t>(points);
    });
    loadCase.AddLoadStatic_Beam(beam, static_cast<TaV_BEMALOAD_TYPE>(type), blocks[0], blocks[1], blocks[2],
                                Function(node, "function"), absolute ? 1 : 0);
  }

  std::string Name(const Node& node) {
    const std::string name = node["name"].String();
    if (name.empty() || name.find_first_of(" \t\r\n") != std::string::npos) {
      node["name"].Fail("a name must be one word (the solver files separate words by blanks)");
    }
    return name;
  }

  void LoadCases(const Node& node) {
    node.Object({"static", "history", "spectrum", "moving"});
    if (node.Has("static")) {
      node["static"].Each([&](const Node& n, size_t) {
        n.Object({"name", "selfWeightFlag", "selfWeight", "jointLoads", "beamLoads", "displacements"});
        const std::string name = Name(n);
        if (!m_staticNames.insert(name).second) n["name"].Fail("the name \"" + name + "\" is used twice");
        Loads(n, *m_doc.AddLoadStatic(name, 0));
      });
    }
    if (node.Has("history")) {
      node["history"].Each([&](const Node& n, size_t) {
        n.Object({"name", "analysis", "mode", "method", "modes", "steps", "dt", "parameters", "selfWeightFlag",
                  "selfWeight", "jointLoads", "beamLoads", "displacements"});
        CTavLoadHistory& h = *m_doc.AddLoadHistory(Name(n));
        h.m_nHistoryType = n.Has("analysis") ? n["analysis"].Choice(kHistoryAnalyses) : 0;
        if (n.Has("mode")) h.m_eMode = static_cast<TaV_DYNAMIC_ANALYSYS_MODE>(n["mode"].Choice(kDynamicModes));
        if (n.Has("method")) h.m_eMethod = static_cast<TaV_INTEGRATION_METHOD>(n["method"].Choice(kIntegrations));
        if (n.Has("modes")) h.m_nModes = n["modes"].Integer(0, 100000);
        h.m_dNste = n.Has("steps") ? n["steps"].Number(0.0, 1e12, "0 or more") : 0.0;
        h.m_dDt = n.Has("dt") ? n["dt"].Number(0.0, 1e12, "0 or more") : 0.0;
        if (n.Has("parameters"))
          n["parameters"].Each([&h](const Node& p, size_t) { h.m_arrParameter.Add(p.Number()); });
        Loads(n, h);
      });
    }
    if (node.Has("spectrum")) {
      node["spectrum"].Each([&](const Node& n, size_t) {
        n.Object({"name", "modes", "combination", "damping", "excitation"});
        CTavLoadResponseSpectrum& r = *m_doc.AddLoadResponseSpectrum(Name(n));
        if (n.Has("modes")) r.m_nModes = n["modes"].Integer(0, 100000);
        if (n.Has("combination"))
          r.m_eCombination = static_cast<TaV_MODE_COMBINATION>(n["combination"].Choice(kModeRules));
        if (n.Has("damping")) n["damping"].Each([&r](const Node& d, size_t) { r.m_arrDamping.Add(d.Number()); });
        if (n.Has("excitation")) SelfWeight(n["excitation"], *r.GetSelfWeight());
      });
    }
    if (node.Has("moving")) {
      node["moving"].Each([&](const Node& n, size_t) {
        n.Object({"name", "lanes"});
        CTavLoadMoving& m = *m_doc.AddMovingLoad(Name(n));
        if (!n.Has("lanes")) return;
        n["lanes"].Each([&](const Node& lane, size_t) {
          lane.Object({"beams", "eccentricities"});
          const Node beams = lane["beams"];
          if (beams.Size() != 2) beams.Fail("expected two beams");
          const std::vector<double> e = lane["eccentricities"].Numbers(2);
          m.AddMovingLoad_Lane(beams.At(0).Reference(m_doc.GetCountBeam(), "beam"),
                               beams.At(1).Reference(m_doc.GetCountBeam(), "beam"), e[0], e[1]);
        });
      });
    }
  }

  void Combination(const Node& node) {
    node.Object({"name", "type", "terms"});
    const std::string name = Name(node);
    if (m_staticNames.count(name) != 0 || !m_comboNames.insert(name).second) {
      node["name"].Fail("the name \"" + name + "\" is used twice");
    }
    const int type = node.Has("type") ? node["type"].Choice(kComboTypes) : 0;
    CTavCombo* combo = m_doc.AddCombo(name, static_cast<TaV_COMBO_TYPE>(type));
    if (!node.Has("terms")) return;
    node["terms"].Each([&](const Node& t, size_t) {
      t.Object({"kind", "case", "factor", "factor2"});
      const int kind = t["kind"].Choice(kTermKinds);
      const int32_t counts[5] = {m_doc.GetCountStaticLoad(), m_doc.GetCountHistoryLoad(),
                                 m_doc.GetCountResponseSpectrumLoad(), m_doc.GetCountMovingLoad(), m_comboCount};
      const int32_t number =
          t["case"].Reference(counts[kind], std::string(kTermKinds[static_cast<size_t>(kind)]) + " case");
      // Combinations are composed in order: a later one would still be empty.
      if (kind == 4 && number >= m_doc.GetCountComboLoad() - 1) {
        t["case"].Fail("combination " + std::to_string(number + 1) +
                       " is not listed before this one: a combination can only use earlier ones");
      }
      combo->AddLoad(static_cast<TaV_LOAD_TYPE>(kind), number, t["factor"].Number(), OptionalNumber(t, "factor2"));
    });
  }

  void Midas(const Node& node) {
    node.Object({"version", "structType", "massOption"});
    if (node.Has("version")) m_doc.SetMidasVersion(node["version"].String());
    if (node.Has("structType")) m_doc.SetMidasStructType(node["structType"].Integer(-1000000, 1000000));
    if (node.Has("massOption")) m_doc.SetMidasMassOption(node["massOption"].Integer(-1000000, 1000000));
  }

  void Document(const Node& node) {
    node.Object({"jointType", "viewOptionMode", "settings"});
    if (node.Has("jointType")) m_doc.SetJointType(node["jointType"].Integer(INT32_MIN, INT32_MAX));
    if (node.Has("viewOptionMode")) m_doc.SetViewOptionMode(node["viewOptionMode"].Integer(INT32_MIN, INT32_MAX));
    if (node.Has("settings")) {
      const Node settings = node["settings"];
      if (settings.Size() != 4) settings.Fail("expected 4 whole numbers");
      for (int s = 0; s < 4; ++s)
        m_doc.SetSetting(s + 1, settings.At(static_cast<size_t>(s)).Integer(INT32_MIN, INT32_MAX));
    }
  }

  CTavData& m_doc;
  std::set<std::string> m_staticNames;
  std::set<std::string> m_comboNames;
  int32_t m_comboCount = 0;
};

// ---- Writing a document as JSON --------------------------------------------------

template <size_t N>
Json FlagNames(uint8_t flags, const std::array<const char*, N>& names) {
  Json list = Json::array();
  for (size_t bit = 0; bit < N; ++bit) {
    if ((flags >> bit) & 1U) list.push_back(names[bit]);
  }
  return list;
}

Json SixValues(const double* v) { return Json::array({v[0], v[1], v[2], v[3], v[4], v[5]}); }

// The name of a choice the document holds. An archive can hold any number
// there; one without a name cannot be written as a model file, and is
// reported at the place it would have in the model rather than guessed.
template <size_t N>
const char* NameOf(const std::array<const char*, N>& names, int value, const std::string& path) {
  if (value < 0 || static_cast<size_t>(value) >= N) {
    throw ModelError(path, "the value " + std::to_string(value) + " has no name in a model file");
  }
  return names[static_cast<size_t>(value)];
}

// A load's function, given only when it is not the default (the first).
Json WithFunction(Json item, int32_t function) {
  if (function != 0) item["function"] = function + 1;
  return item;
}

Json SelfWeightJson(const CTavSelfWeight& weight, const std::string& path) {
  Json out;
  out["direction"] = NameOf(kDirections, weight.m_eDir, path + "/direction");
  out["factor"] = weight.m_dFactor;
  out["acceleration"] = weight.m_dAcceleration;
  return WithFunction(out, weight.m_nFunction);
}

template <typename Load>
Json JointValueLoadsJson(const std::vector<std::unique_ptr<Load>>& loads) {
  Json list = Json::array();
  for (const auto& l : loads) {
    list.push_back(WithFunction({{"joint", l->m_nJoint + 1}, {"values", SixValues(l->m_dValue)}}, l->m_nFunction));
  }
  return list;
}

void LoadsJson(Json& out, const CTavLoadStatic& loads, const std::vector<int32_t>& beamPosition,
               const std::string& path) {
  if (loads.m_bSelfWeight != 0) out["selfWeightFlag"] = true;
  if (loads.GetSelfWeight() != nullptr)
    out["selfWeight"] = SelfWeightJson(*loads.GetSelfWeight(), path + "/selfWeight");
  if (loads.GetSizeLoadJoint() > 0) out["jointLoads"] = JointValueLoadsJson(loads.m_arrLoadJoint);
  if (loads.GetSizeLoadBeam() > 0) {
    Json& list = out["beamLoads"] = Json::array();
    for (const auto& l : loads.m_arrLoadBeam) {
      const char* type =
          NameOf(kBeamLoadTypes, l->m_eType, path + "/beamLoads/" + std::to_string(list.size()) + "/type");
      const int points = l->m_eType == TaV_BEAMLOAD_DISTRIBUTED ? 2 : 1;
      Json components = Json::array();
      for (int d = 0; d < 3; ++d) {
        const TaV_TYPED_LOAD& b = l->m_Load[d];
        if (b.nValue <= 0) continue;
        Json values = Json::array(), distances = Json::array();
        for (int k = 0; k < points; ++k) {
          values.push_back(b.dValue[k]);
          distances.push_back(b.dDist[k]);
        }
        components.push_back(
            {{"direction", kDirections[static_cast<size_t>(d)]}, {"values", values}, {"distances", distances}});
      }
      const int32_t beam = l->m_nBeam >= 0 && static_cast<size_t>(l->m_nBeam) < beamPosition.size()
                               ? beamPosition[static_cast<size_t>(l->m_nBeam)]
                               : l->m_nBeam;
      Json item =
          WithFunction({{"beam", beam + 1}, {"type", type}, {"absolute", l->m_bAbsoluteDist != 0}}, l->m_nFunction);
      item["components"] = components;
      list.push_back(item);
    }
  }
  if (loads.GetSizeLoadDisplacement() > 0) out["displacements"] = JointValueLoadsJson(loads.m_arrLoadDisplacement);
}

// ---- Reading the text ------------------------------------------------------------

// Goes through the text as the parser does, building nothing, to learn where
// and why it fails: a syntax error names its line and column itself, but a
// number beyond a double ("1e999") is reported without a place.
class SyntaxCheck : public nlohmann::json_sax<Json> {
 public:
  bool null() override { return true; }
  bool boolean(bool /*value*/) override { return true; }
  bool number_integer(number_integer_t /*value*/) override { return true; }
  bool number_unsigned(number_unsigned_t /*value*/) override { return true; }
  bool number_float(number_float_t /*value*/, const string_t& /*text*/) override { return true; }
  bool string(string_t& /*value*/) override { return true; }
  bool binary(binary_t& /*value*/) override { return true; }
  bool start_object(std::size_t /*elements*/) override { return true; }
  bool key(string_t& /*value*/) override { return true; }
  bool end_object() override { return true; }
  bool start_array(std::size_t /*elements*/) override { return true; }
  bool end_array() override { return true; }
  bool parse_error(std::size_t position, const std::string& /*lastToken*/, const Json::exception& error) override {
    m_position = position;
    m_reason = error.what();
    m_isSyntaxError = dynamic_cast<const Json::parse_error*>(&error) != nullptr;
    return false;
  }

  // The reason without the parser's tag ("[json.exception.parse_error.101] "),
  // which says nothing to a user, and with the place where the parser has
  // none of its own.
  std::string Message(const std::string& text) const {
    std::string reason = m_reason;
    const size_t tag = reason.find("] ");
    if (reason.starts_with("[json.exception") && tag != std::string::npos) reason.erase(0, tag + 2);
    if (m_isSyntaxError) return reason;
    // The position counts the characters read, the last of them the one at fault.
    const size_t last = std::min(m_position, text.size());
    const size_t lineStart = last == 0 ? 0 : text.rfind('\n', last - 1) + 1;  // npos + 1 == 0
    const auto line = std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(lineStart), '\n') + 1;
    return "parse error at line " + std::to_string(line) + ", column " + std::to_string(last - lineStart) + ": " +
           reason;
  }

 private:
  size_t m_position = 0;
  std::string m_reason;
  bool m_isSyntaxError = false;
};

}  // namespace

Json ParseModelText(const std::string& text) {
  SyntaxCheck check;
  if (!Json::sax_parse(text, &check)) throw ModelError("", "not valid JSON: " + check.Message(text));
  return Json::parse(text);
}

void BuildModel(const Json& model, CTavData& doc) { Builder(doc).Build(Node(model, "")); }

Json ModelToJson(const CTavData& doc) {
  Json out;
  out["title"] = doc.GetTitle();
  const CTavGlobalOption& o = *doc.GetGlobalOption();
  Json options;
  options["dof"] = FlagNames(o.m_Dof.byFlags, kJointDof);
  options["forceSegments"] = o.m_nForceSegments;
  options["checks"] = FlagNames(o.m_Check.byFlags, kChecks);
  options["initialTemperature"] = o.m_bInitTemperature != 0;
  options["initialTemperatureGradient"] = o.m_bInitTemperatureGradient != 0;
  options["eigen"] = {{"method", NameOf(kEigenMethods, o.m_nEigenMethod, "/options/eigen/method")},
                      {"interval", o.m_nEigenRange != 0},
                      {"modes", o.m_nModes},
                      {"subspaceVectors", o.m_nSubspaceVectors},
                      {"iterations", o.m_nIterations},
                      {"rigidBodyModes", o.m_bRigidBodyMode != 0},
                      {"rigidBodyShift", o.m_nRigidBodyShift},
                      {"cutOffFrequency", o.m_dCutOffFrequency},
                      {"tolerance", o.m_dTolerance},
                      {"lanczosVectors", o.m_bLanczosVectors != 0},
                      {"startingVectors", o.m_nStartingVectors}};
  out["options"] = options;

  Json functions = Json::array();
  const CTavFunction& table = *doc.GetFunction();
  for (int32_t f = 0; f < table.GetCount(); ++f) {
    const TaV_FUNCTION& fn = *table.GetFunction(f);
    Json points = Json::array();
    for (int32_t p = 0; p < fn.arrX.GetSize(); ++p) points.push_back({fn.arrX[p], fn.arrY[p]});
    functions.push_back({{"type", NameOf(kFunctionTypes, fn.eType, "/functions/" + std::to_string(f) + "/type")},
                         {"parameters", {fn.dParam1, fn.dParam2}},
                         {"points", points}});
  }
  out["functions"] = functions;

  Json systems = Json::array();
  for (int32_t s = 0; s < doc.GetCountLocalCoord(); ++s) {
    const CTavLocalCoord& c = *doc.GetLocalCoord(s);
    systems.push_back({{"angles", {c.m_dAngle[0], c.m_dAngle[1], c.m_dAngle[2]}}});
  }
  out["localSystems"] = systems;

  Json joints = Json::array();
  for (int32_t j = 0; j < doc.GetCountJoint(); ++j) {
    const CTavJoint& joint = *doc.GetJoint(j);
    Json item = {{"x", joint.m_vPos.x}, {"y", joint.m_vPos.y}, {"z", joint.m_vPos.z}};
    if (joint.m_Restraint.Any()) item["restraints"] = FlagNames(joint.m_Restraint.byFlags, kJointDof);
    if (joint.m_nLocalCoord >= 0) item["localSystem"] = joint.m_nLocalCoord + 1;
    joints.push_back(item);
  }
  out["joints"] = joints;

  const CTavJointConstraints& constraints = *doc.GetConstraint();
  const auto list = [](const CLongArray& members) {
    Json numbers = Json::array();
    for (int32_t j : members) numbers.push_back(j + 1);
    return numbers;
  };
  Json diaphragms = Json::array();
  for (int32_t d = 0; d < constraints.GetCountDiaphragm(); ++d) {
    const TaV_DIAPHRAGM& dia = *constraints.GetDiaphragm(d);
    diaphragms.push_back({{"master", dia.nMaster + 1}, {"slaves", list(dia.arrSlave)}});
  }
  out["diaphragms"] = diaphragms;
  Json rigidLinks = Json::array();
  for (int32_t r = 0; r < constraints.GetCountRigidLink(); ++r) {
    const TaV_RIGIDLINK& link = *constraints.GetRigidLink(r);
    rigidLinks.push_back({{"type", link.nType != 0 ? "nonlinear" : "linear"},
                          {"master", link.nMaster + 1},
                          {"slaves", list(link.arrSlave)}});
  }
  out["rigidLinks"] = rigidLinks;
  const auto values = [](const CTavJointValueList& records) {
    Json items = Json::array();
    for (int32_t i = 0; i < records.GetCount(); ++i) {
      items.push_back({{"joint", records.GetData(i)->nJoint + 1}, {"values", SixValues(records.GetData(i)->dValue)}});
    }
    return items;
  };
  out["masses"] = values(*doc.GetJointMass());
  out["dampers"] = values(*doc.GetJointDamping());

  // Beams are numbered in the order the groups list them.
  std::vector<int32_t> beamPosition(static_cast<size_t>(doc.GetCountBeam()), -1);
  int32_t nextBeam = 0;
  Json groups = Json::array();
  int32_t groupIndex = 0;
  for (;; ++groupIndex) {
    if (groupIndex >= doc.GetCountLinearGroup() + doc.GetCountNonLinearGroup()) break;
    const CTavGroup& base = *doc.GetGroup(groupIndex);
    if (base.GetType() == CTavGroup::kBeam) {
      const auto& group = static_cast<const CTavGroupElement&>(base);
      Json sections = Json::array();
      for (const auto& s : group.m_arrSection) {
        if (s->m_eType == TaV_SECTION_RECT) {
          sections.push_back({{"shape", "rectangle"},
                              {"E", s->m_dE},
                              {"width", s->m_dDim[0]},
                              {"height", s->m_dDim[1]},
                              {"poisson", s->m_dPoisson},
                              {"W", s->m_dW}});
        } else {
          sections.push_back({{"shape", "general"},
                              {"E", s->m_dE},
                              {"area", s->m_dArea},
                              {"poisson", s->m_dPoisson},
                              {"IS", s->m_dIS},
                              {"IT", s->m_dIT},
                              {"J", s->m_dJ},
                              {"ASHS", s->m_dASHS},
                              {"ASHT", s->m_dASHT},
                              {"W", s->m_dW},
                              {"materialAux", s->m_dMaterialAux}});
        }
      }
      Json beams = Json::array();
      for (int32_t number : group.m_arrBeam) {
        const CTavBeam& b = *doc.GetBeam(number);
        beamPosition[static_cast<size_t>(number)] = nextBeam++;
        Json item = {
            {"section", b.m_nSection + 1}, {"joints", {b.m_nJointI + 1, b.m_nJointJ + 1}}, {"angle", b.m_dAngle}};
        if (b.m_bReleaseI != 0) item["releaseI"] = FlagNames(b.m_ReleaseI.byFlags, kBeamDof);
        if (b.m_bReleaseJ != 0) item["releaseJ"] = FlagNames(b.m_ReleaseJ.byFlags, kBeamDof);
        if (b.m_dOffsetI != 0 || b.m_dOffsetJ != 0) item["offsets"] = {b.m_dOffsetI, b.m_dOffsetJ};
        if (b.m_dRigid != 0) item["rigid"] = b.m_dRigid;
        if (b.m_dNReg != 0) {
          // A whole count as such; anything else as it is, for the check to refuse.
          const bool whole = b.m_dNReg >= 1 && b.m_dNReg <= 1e6 && b.m_dNReg == std::floor(b.m_dNReg);
          item["segments"] = whole ? Json(static_cast<int>(b.m_dNReg)) : Json(b.m_dNReg);
        }
        beams.push_back(item);
      }
      groups.push_back({{"kind", "beam"}, {"sections", sections}, {"beams", beams}});
    } else if (base.GetType() == CTavGroup::kSpring) {
      const auto& group = static_cast<const CTavGroupSpring&>(base);
      Json constants = Json::array();
      for (const auto& c : group.m_arrSpringConstant) {
        Json stiffness = Json::array();
        const bool six = c->m_dStiffness[3] != 0 || c->m_dStiffness[4] != 0 || c->m_dStiffness[5] != 0;
        for (int d = 0; d < (six ? 6 : 3); ++d) stiffness.push_back(c->m_dStiffness[d]);
        constants.push_back({{"stiffness", stiffness}, {"multi", c->m_bMultiDof != 0}});
      }
      Json springs = Json::array();
      for (const TaV_SPRING& s : group.m_arrSpring)
        springs.push_back({{"constant", s.nConstant + 1}, {"joint", s.nJoint + 1}});
      groups.push_back({{"kind", "spring"}, {"constants", constants}, {"springs", springs}});
    } else {
      const auto& group = static_cast<const CTavGroupNllink&>(base);
      Json properties = Json::array();
      for (const auto& p : group.m_arrNllinkConstant) {
        properties.push_back({{"k0", p->m_dK0}, {"values", {p->m_dLinkValue2, p->m_dLinkValue3, p->m_dLinkValue4}}});
      }
      Json links = Json::array();
      for (int32_t number : group.m_arrNllink) {
        const CTavNLLink& l = *doc.GetNLLink(number);
        links.push_back(
            {{"property", l.m_nProperty + 1}, {"joints", {l.m_nJointI + 1, l.m_nJointJ + 1}}, {"angle", l.m_dAngle}});
      }
      groups.push_back({{"kind", "link"}, {"properties", properties}, {"links", links}});
    }
  }
  out["groups"] = groups;

  Json cases;
  Json statics = Json::array();
  for (int32_t s = 0; s < doc.GetCountStaticLoad(); ++s) {
    const CTavLoadStatic& l = *doc.GetStaticLoad(s);
    Json item = {{"name", l.m_strName}};
    LoadsJson(item, l, beamPosition, "/loadCases/static/" + std::to_string(s));
    statics.push_back(item);
  }
  cases["static"] = statics;
  Json histories = Json::array();
  for (int32_t h = 0; h < doc.GetCountHistoryLoad(); ++h) {
    const CTavLoadHistory& l = *doc.GetHistoryLoad(h);
    Json parameters = Json::array();
    for (double p : l.m_arrParameter) parameters.push_back(p);
    const std::string path = "/loadCases/history/" + std::to_string(h);
    Json item = {{"name", l.m_strName},
                 {"analysis", NameOf(kHistoryAnalyses, l.m_nHistoryType, path + "/analysis")},
                 {"mode", NameOf(kDynamicModes, l.m_eMode, path + "/mode")},
                 {"method", NameOf(kIntegrations, l.m_eMethod, path + "/method")},
                 {"modes", l.m_nModes},
                 {"steps", l.m_dNste},
                 {"dt", l.m_dDt},
                 {"parameters", parameters}};
    LoadsJson(item, l, beamPosition, path);
    histories.push_back(item);
  }
  cases["history"] = histories;
  Json spectra = Json::array();
  for (int32_t r = 0; r < doc.GetCountResponseSpectrumLoad(); ++r) {
    const CTavLoadResponseSpectrum& l = *doc.GetResponseSpectrum(r);
    Json damping = Json::array();
    for (double d : l.m_arrDamping) damping.push_back(d);
    const std::string path = "/loadCases/spectrum/" + std::to_string(r);
    Json item = {{"name", l.m_strName},
                 {"modes", l.m_nModes},
                 {"combination", NameOf(kModeRules, l.m_eCombination, path + "/combination")},
                 {"damping", damping}};
    if (l.GetSelfWeight() != nullptr) item["excitation"] = SelfWeightJson(*l.GetSelfWeight(), path + "/excitation");
    spectra.push_back(item);
  }
  cases["spectrum"] = spectra;
  Json moving = Json::array();
  for (int32_t m = 0; m < doc.GetCountMovingLoad(); ++m) {
    const CTavLoadMoving& l = *doc.GetMovingLoad(m);
    Json lanes = Json::array();
    const auto beam = [&beamPosition](int32_t number) {
      return (number >= 0 && static_cast<size_t>(number) < beamPosition.size()
                  ? beamPosition[static_cast<size_t>(number)]
                  : number) +
             1;
    };
    for (const auto& lane : l.m_arrLane) {
      lanes.push_back({{"beams", {beam(lane->m_nElement1), beam(lane->m_nElement2)}},
                       {"eccentricities", {lane->m_dEcc1, lane->m_dEcc2}}});
    }
    moving.push_back({{"name", l.m_strName}, {"lanes", lanes}});
  }
  cases["moving"] = moving;
  out["loadCases"] = cases;

  Json combos = Json::array();
  for (int32_t c = 0; c < doc.GetCountComboLoad(); ++c) {
    const CTavCombo& combo = *doc.GetCombo(c);
    Json terms = Json::array();
    const std::string path = "/combinations/" + std::to_string(c);
    for (const TaV_COMBO_DATA& t : combo.m_arrLoad) {
      const char* kind = NameOf(kTermKinds, t.eType, path + "/terms/" + std::to_string(terms.size()) + "/kind");
      terms.push_back({{"kind", kind}, {"case", t.nCase + 1}, {"factor", t.dFactor}, {"factor2", t.dFactor2}});
    }
    combos.push_back(
        {{"name", combo.m_strName}, {"type", NameOf(kComboTypes, combo.m_eType, path + "/type")}, {"terms", terms}});
  }
  out["combinations"] = combos;
  out["midas"] = {{"version", doc.GetMidasVersion()},
                  {"structType", doc.GetMidasStructType()},
                  {"massOption", doc.GetMidasMassOption()}};
  out["document"] = {{"jointType", doc.GetJointType()},
                     {"viewOptionMode", doc.GetViewOptionMode()},
                     {"settings", {doc.GetSetting(1), doc.GetSetting(2), doc.GetSetting(3), doc.GetSetting(4)}}};
  return out;
}

}  // namespace tav::tool
