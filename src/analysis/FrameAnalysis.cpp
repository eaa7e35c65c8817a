#include "analysis/FrameAnalysis.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <numbers>

#include "analysis/SparseCholesky.h"

namespace tav::analysis {
namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kDofNames[6] = {"UX", "UY", "UZ", "RX", "RY", "RZ"};
constexpr int kMaxGapIterations = 50;
// The most beam stations the results of all load conditions together may
// hold (seven values each): about 2.8 GB.
constexpr size_t kMaxResultStations = 50'000'000;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::string Where(int line) { return line > 0 ? "line " + std::to_string(line) + ": " : ""; }

enum class SlotKind { kFree, kRestrained, kDependent };

// A dependent slot's share of an independent one.
struct Term {
  int slot;
  double factor;
};

// The rotation from global to a joint's axes: rows are the axes. The three
// angles turn about Z, then the new Y, then the new X (degrees).
Matrix3 JointAxes(const LocalSystem& system) {
  const double toRadians = std::numbers::pi / 180.0;
  const Eigen::AngleAxisd about3(system.angles[0] * toRadians, Vector3::UnitZ());
  const Eigen::AngleAxisd about2(system.angles[1] * toRadians, Vector3::UnitY());
  const Eigen::AngleAxisd about1(system.angles[2] * toRadians, Vector3::UnitX());
  const Matrix3 axesInGlobal = (about3 * about2 * about1).toRotationMatrix();  // columns: the axes
  return axesInGlobal.transpose();
}

struct Assembly {
  std::vector<MatrixEntry> freeFree;        // upper triangle, by equation
  std::vector<MatrixEntry> freeRestrained;  // free equation, restrained index
  std::vector<MatrixEntry> restrainedRestrained;
};

}  // namespace

struct FrameAnalysis::Model {
  Model(const InputDeck& input, Messages sink) : deck(input), messages(std::move(sink)) {}

  const InputDeck& deck;
  Messages messages;
  int joints = 0;
  std::vector<Matrix3> axes;             // per joint
  std::vector<bool> rotated;             // per joint: it has axes of its own
  std::vector<SlotKind> kind;            // per slot (6 per joint)
  std::vector<std::vector<Term>> terms;  // per slot: what it is made of
  std::vector<int> index;                // per slot: equation, or restrained position
  std::vector<int> freeSlots;
  std::vector<int> restrainedSlots;

  struct BeamData {
    const Beam* beam;
    std::unique_ptr<BeamElement> element;
    int segments;
  };
  std::vector<BeamData> beams;  // in beam number order
  std::map<std::pair<int, int>, int> beamByJoints;

  struct SpringData {
    int slot;
    double stiffness;
  };
  std::vector<SpringData> springs;

  struct LinkData {
    int number, jointI, jointJ, line;
    Vector3 axis;
    double stiffness;
  };
  std::vector<LinkData> links;

  void Warn(const std::string& text) const {
    if (messages.warning) messages.warning(text);
  }
  void Progress(const std::string& text) const {
    if (messages.progress) messages.progress(text);
  }
  std::string SlotName(int slot) const {
    const int joint = slot / 6;
    return "joint " + std::to_string(joint + 1) + " in " + kDofNames[slot % 6] +
           (rotated[static_cast<size_t>(joint)] ? " (its local axes)" : "");
  }

  void PrepareJoints();
  void PrepareConstraints();
  void NumberEquations();
  void PrepareElements();
  void AddMatrix(Assembly& assembly, const std::vector<int>& jointList, const Eigen::MatrixXd& global) const;
  void AddVector(std::vector<double>& slots, const std::vector<int>& jointList, const Eigen::VectorXd& global) const;
  void AssembleBase(Assembly& assembly) const;
  void AssembleLinks(Assembly& assembly, const std::vector<char>& closed) const;
  std::vector<SpanLoad> SpanLoadsOf(const BeamData& data, const BeamLoad& load, int caseNumber) const;
};

namespace {

void Terms(std::vector<Term>& out, const std::vector<std::vector<Term>>& terms, const std::vector<SlotKind>& kind,
           int slot) {
  out.clear();
  if (kind[static_cast<size_t>(slot)] == SlotKind::kDependent) {
    out = terms[static_cast<size_t>(slot)];
  } else {
    out.push_back({slot, 1.0});
  }
}

}  // namespace

void FrameAnalysis::Model::PrepareJoints() {
  joints = static_cast<int>(deck.joints.size());
  axes.assign(static_cast<size_t>(joints), Matrix3::Identity());
  rotated.assign(static_cast<size_t>(joints), false);
  kind.assign(static_cast<size_t>(6 * joints), SlotKind::kFree);
  terms.assign(static_cast<size_t>(6 * joints), {});
  for (int j = 0; j < joints; ++j) {
    const Joint& joint = deck.joints[static_cast<size_t>(j)];
    if (joint.localSystem >= 0) {
      axes[static_cast<size_t>(j)] = JointAxes(deck.localSystems[static_cast<size_t>(joint.localSystem)]);
      rotated[static_cast<size_t>(j)] = true;
    }
    for (int d = 0; d < 6; ++d) {
      // A degree of freedom the analysis leaves out is held everywhere.
      if (joint.restrained[static_cast<size_t>(d)] || !deck.options.activeDof[static_cast<size_t>(d)]) {
        kind[static_cast<size_t>(6 * j + d)] = SlotKind::kRestrained;
      }
    }
  }
}

void FrameAnalysis::Model::PrepareConstraints() {
  // A slave's motion follows its master's as a rigid body: fully for a rigid
  // link, in the global XY plane (UX, UY, RZ) for a diaphragm.
  const auto tie = [this](int master, int slave, bool planeOnly, int line) {
    const Joint& m = deck.joints[static_cast<size_t>(master)];
    const Joint& s = deck.joints[static_cast<size_t>(slave)];
    if (master == slave) throw AnalysisError(Where(line) + "joint " + std::to_string(slave + 1) + " is its own master");
    if (rotated[static_cast<size_t>(master)] || rotated[static_cast<size_t>(slave)]) {
      throw AnalysisError(Where(line) + "joints in a constraint must use global axes (joint " +
                          std::to_string((rotated[static_cast<size_t>(master)] ? master : slave) + 1) +
                          " has a local coordinate system)");
    }
    const double dx = s.x - m.x, dy = s.y - m.y, dz = s.z - m.z;
    const int base = 6 * master;
    std::vector<std::pair<int, std::vector<Term>>> ties = {
        {0, {{base + 0, 1.0}, {base + 5, -dy}, {base + 4, dz}}},
        {1, {{base + 1, 1.0}, {base + 5, dx}, {base + 3, -dz}}},
        {5, {{base + 5, 1.0}}},
    };
    if (planeOnly) {
      ties[0].second.pop_back();  // in the plane: no rotation about X or Y takes part
      ties[1].second.pop_back();
    } else {
      ties.push_back({2, {{base + 2, 1.0}, {base + 3, dy}, {base + 4, -dx}}});
      ties.push_back({3, {{base + 3, 1.0}}});
      ties.push_back({4, {{base + 4, 1.0}}});
    }
    for (auto& [dof, combination] : ties) {
      const int slot = 6 * slave + dof;
      if (kind[static_cast<size_t>(slot)] == SlotKind::kRestrained) {
        if (!deck.options.activeDof[static_cast<size_t>(dof)]) continue;  // left out of the analysis anyway
        throw AnalysisError(Where(line) + "joint " + std::to_string(slave + 1) + " is restrained in " + kDofNames[dof] +
                            " and constrained to joint " + std::to_string(master + 1));
      }
      if (kind[static_cast<size_t>(slot)] == SlotKind::kDependent) {
        throw AnalysisError(Where(line) + "joint " + std::to_string(slave + 1) + " is constrained twice in " +
                            kDofNames[dof]);
      }
      kind[static_cast<size_t>(slot)] = SlotKind::kDependent;
      terms[static_cast<size_t>(slot)] = std::move(combination);
    }
  };
  for (const Diaphragm& diaphragm : deck.diaphragms) {
    for (int slave : diaphragm.slaves) tie(diaphragm.master, slave, true, diaphragm.line);
  }
  for (const RigidLink& link : deck.rigidLinks) {
    if (link.nonlinear) Warn(Where(link.line) + "a nonlinear rigid link is analysed as a linear one");
    for (int slave : link.slaves) tie(link.master, slave, false, link.line);
  }
  // A master must move on its own.
  for (size_t slot = 0; slot < kind.size(); ++slot) {
    if (kind[slot] != SlotKind::kDependent) continue;
    for (const Term& term : terms[slot]) {
      if (kind[static_cast<size_t>(term.slot)] == SlotKind::kDependent) {
        throw AnalysisError("joint " + std::to_string(term.slot / 6 + 1) +
                            " is the master of a constraint and the slave of another");
      }
    }
  }
}

void FrameAnalysis::Model::NumberEquations() {
  index.assign(kind.size(), -1);
  for (size_t slot = 0; slot < kind.size(); ++slot) {
    if (kind[slot] == SlotKind::kFree) {
      index[slot] = static_cast<int>(freeSlots.size());
      freeSlots.push_back(static_cast<int>(slot));
    } else if (kind[slot] == SlotKind::kRestrained) {
      index[slot] = static_cast<int>(restrainedSlots.size());
      restrainedSlots.push_back(static_cast<int>(slot));
    }
  }
}

void FrameAnalysis::Model::PrepareElements() {
  std::vector<const Beam*> ordered;
  for (const BeamGroup& group : deck.beamGroups) {
    for (const Beam& beam : group.beams) ordered.push_back(&beam);
  }
  std::sort(ordered.begin(), ordered.end(), [](const Beam* a, const Beam* b) { return a->number < b->number; });
  for (size_t i = 0; i < ordered.size(); ++i) {
    const Beam& beam = *ordered[i];
    if (static_cast<int>(i) != beam.number) {
      throw AnalysisError(Where(beam.line) + "beam numbers must run 1, 2, 3 ... over all groups; beam " +
                          std::to_string(beam.number + 1) + " is out of place");
    }
    const Joint& a = deck.joints[static_cast<size_t>(beam.jointI)];
    const Joint& b = deck.joints[static_cast<size_t>(beam.jointJ)];
    const Vector3 pointI(a.x, a.y, a.z);
    const Vector3 pointJ(b.x, b.y, b.z);
    const double length = (pointJ - pointI).norm();
    const std::string name = Where(beam.line) + "beam " + std::to_string(beam.number + 1);
    if (length <= 0.0) throw AnalysisError(name + " has no length (both ends at one point)");
    const Section& section =
        deck.beamGroups[static_cast<size_t>(beam.group)].sections[static_cast<size_t>(beam.section)];
    if (section.e <= 0.0) throw AnalysisError(name + ": its section has no modulus of elasticity (E)");
    if (section.area <= 0.0) throw AnalysisError(name + ": its section has no area");
    BeamProperties p;
    p.e = section.e;
    p.g = section.e / (2.0 * (1.0 + section.poisson));
    p.area = section.area;
    p.torsion = section.j;
    p.inertia2 = section.is;
    p.inertia3 = section.it;
    p.shear2 = section.asht;
    p.shear3 = section.ashs;
    const double rigidI = beam.rigid * beam.offsetI;
    const double rigidJ = beam.rigid * beam.offsetJ;
    if (rigidI < 0.0 || rigidJ < 0.0 || rigidI + rigidJ >= length) {
      throw AnalysisError(name + ": its rigid end zones leave nothing of its length");
    }
    int segments = std::max(beam.segments, 1);
    if (beam.ownSegments > 0 && beam.ownSegments <= segments) segments = beam.ownSegments;
    if (beam.ownSegments > beam.segments) {
      Warn(name + " asks for " + std::to_string(beam.ownSegments) + " segments; the results keep " +
           std::to_string(segments));
    }
    beams.push_back(
        {&beam,
         std::make_unique<BeamElement>(pointI, pointJ, beam.angle, p, beam.releaseI, beam.releaseJ, rigidI, rigidJ),
         segments});
    beamByJoints.emplace(std::make_pair(beam.jointI, beam.jointJ), static_cast<int>(i));
  }

  for (const SpringGroup& group : deck.springGroups) {
    for (const Spring& spring : group.springs) {
      const SpringConstant& constant = group.constants[static_cast<size_t>(spring.constant)];
      // A single-degree spring acts along the joint's first axis; a
      // multi-degree one along all three, with its three stiffnesses.
      const int count = constant.multi ? 3 : 1;
      for (int d = 0; d < count; ++d) {
        const double k = constant.stiffness[static_cast<size_t>(d)];
        if (k != 0.0) springs.push_back({6 * spring.joint + d, k});
      }
    }
  }

  for (const LinkGroup& group : deck.linkGroups) {
    for (const Link& link : group.links) {
      const Joint& a = deck.joints[static_cast<size_t>(link.jointI)];
      const Joint& b = deck.joints[static_cast<size_t>(link.jointJ)];
      const Vector3 d(b.x - a.x, b.y - a.y, b.z - a.z);
      if (d.norm() <= 0.0) {
        throw AnalysisError(Where(link.line) + "link " + std::to_string(link.number + 1) + " has no length");
      }
      links.push_back({link.number, link.jointI, link.jointJ, link.line, d.normalized(),
                       group.properties[static_cast<size_t>(link.property)].k0});
    }
  }
}

void FrameAnalysis::Model::AddMatrix(Assembly& assembly, const std::vector<int>& jointList,
                                     const Eigen::MatrixXd& global) const {
  const int n = static_cast<int>(jointList.size()) * 6;
  // Into each joint's own axes.
  Eigen::MatrixXd k = global;
  for (size_t j = 0; j < jointList.size(); ++j) {
    if (!rotated[static_cast<size_t>(jointList[j])]) continue;
    const Matrix3& r = axes[static_cast<size_t>(jointList[j])];
    for (int part = 0; part < 2; ++part) {
      const int at = static_cast<int>(6 * j) + 3 * part;
      k.middleRows(at, 3) = (r * k.middleRows(at, 3)).eval();
      k.middleCols(at, 3) = (k.middleCols(at, 3) * r.transpose()).eval();
    }
  }
  std::vector<std::vector<Term>> expanded(static_cast<size_t>(n));
  for (int a = 0; a < n; ++a) {
    Terms(expanded[static_cast<size_t>(a)], terms, kind, 6 * jointList[static_cast<size_t>(a / 6)] + a % 6);
  }
  for (int a = 0; a < n; ++a) {
    for (int b = 0; b < n; ++b) {
      const double value = k(a, b);
      if (value == 0.0) continue;
      for (const Term& t1 : expanded[static_cast<size_t>(a)]) {
        for (const Term& t2 : expanded[static_cast<size_t>(b)]) {
          const double v = value * t1.factor * t2.factor;
          const SlotKind k1 = kind[static_cast<size_t>(t1.slot)];
          const SlotKind k2 = kind[static_cast<size_t>(t2.slot)];
          const int i1 = index[static_cast<size_t>(t1.slot)];
          const int i2 = index[static_cast<size_t>(t2.slot)];
          if (k1 == SlotKind::kFree && k2 == SlotKind::kFree) {
            if (i1 <= i2) assembly.freeFree.push_back({i1, i2, v});
          } else if (k1 == SlotKind::kFree) {
            assembly.freeRestrained.push_back({i1, i2, v});
          } else if (k1 == SlotKind::kRestrained && k2 == SlotKind::kRestrained) {
            assembly.restrainedRestrained.push_back({i1, i2, v});
          }
        }
      }
    }
  }
}

void FrameAnalysis::Model::AddVector(std::vector<double>& slots, const std::vector<int>& jointList,
                                     const Eigen::VectorXd& global) const {
  std::vector<Term> expanded;
  for (size_t j = 0; j < jointList.size(); ++j) {
    const int joint = jointList[j];
    Eigen::Matrix<double, 6, 1> part = global.segment<6>(static_cast<Eigen::Index>(6 * j));
    if (rotated[static_cast<size_t>(joint)]) {
      const Matrix3& r = axes[static_cast<size_t>(joint)];
      part.head<3>() = (r * part.head<3>()).eval();
      part.tail<3>() = (r * part.tail<3>()).eval();
    }
    for (int d = 0; d < 6; ++d) {
      Terms(expanded, terms, kind, 6 * joint + d);
      for (const Term& term : expanded) slots[static_cast<size_t>(term.slot)] += term.factor * part(d);
    }
  }
}

void FrameAnalysis::Model::AssembleBase(Assembly& assembly) const {
  for (const BeamData& data : beams) {
    AddMatrix(assembly, {data.beam->jointI, data.beam->jointJ}, data.element->GlobalStiffness());
  }
  for (const SpringData& spring : springs) {
    if (kind[static_cast<size_t>(spring.slot)] == SlotKind::kRestrained) continue;  // the restraint holds it
    Eigen::MatrixXd k = Eigen::MatrixXd::Zero(6, 6);
    k(spring.slot % 6, spring.slot % 6) = spring.stiffness;
    // Springs act in the joint's own axes: undo the turn AddMatrix applies.
    const Matrix3& r = axes[static_cast<size_t>(spring.slot / 6)];
    Eigen::MatrixXd global = k;
    for (int part = 0; part < 2; ++part) {
      global.block<3, 3>(3 * part, 3 * part) = r.transpose() * k.block<3, 3>(3 * part, 3 * part) * r;
    }
    AddMatrix(assembly, {spring.slot / 6}, global);
  }
}

void FrameAnalysis::Model::AssembleLinks(Assembly& assembly, const std::vector<char>& closed) const {
  for (size_t l = 0; l < links.size(); ++l) {
    if (closed[l] == 0) continue;
    const LinkData& link = links[l];
    const Matrix3 axial = link.stiffness * link.axis * link.axis.transpose();
    Eigen::MatrixXd k = Eigen::MatrixXd::Zero(12, 12);
    k.block<3, 3>(0, 0) = axial;
    k.block<3, 3>(6, 6) = axial;
    k.block<3, 3>(0, 6) = -axial;
    k.block<3, 3>(6, 0) = -axial;
    AddMatrix(assembly, {link.jointI, link.jointJ}, k);
  }
}

std::vector<SpanLoad> FrameAnalysis::Model::SpanLoadsOf(const BeamData& data, const BeamLoad& load,
                                                        int caseNumber) const {
  std::vector<SpanLoad> spans;
  const double length = data.element->Length();
  const Matrix3& r = data.element->Rotation();
  const double tolerance = 1e-9 * length;
  for (const BeamLoadPiece& piece : load.pieces) {
    // The file gives the intensities and forces negated: a positive number
    // acts against the axis.
    Vector3 axis = Vector3::Zero();
    axis(piece.axis) = 1.0;
    const Vector3 local = r * axis;
    SpanLoad span;
    span.point = !piece.distributed;
    span.start = piece.start;
    span.end = piece.distributed ? piece.start + piece.length : piece.start;
    span.value1 = -piece.value1 * local;
    span.value2 = -(piece.distributed ? piece.value2 : piece.value1) * local;
    if (span.start < -tolerance || span.end > length + tolerance || span.end < span.start) {
      throw AnalysisError(Where(load.line) + "beam load " + std::to_string(load.number + 1) + " of case " +
                          std::to_string(caseNumber + 1) + " lies outside beam " +
                          std::to_string(data.beam->number + 1));
    }
    span.start = std::clamp(span.start, 0.0, length);
    span.end = std::clamp(span.end, 0.0, length);
    spans.push_back(span);
  }
  return spans;
}

FrameAnalysis::FrameAnalysis(const InputDeck& deck, Messages messages)
    : m_pModel(std::make_unique<Model>(deck, std::move(messages))) {}

FrameAnalysis::~FrameAnalysis() = default;

std::vector<MatrixEntry> FrameAnalysis::FreeStiffness(int& equations) {
  Model& m = *m_pModel;
  m.PrepareJoints();
  m.PrepareConstraints();
  m.NumberEquations();
  m.PrepareElements();
  Assembly assembly;
  m.AssembleBase(assembly);
  m.AssembleLinks(assembly, std::vector<char>(m.links.size(), 1));
  equations = static_cast<int>(m.freeSlots.size());
  return assembly.freeFree;
}

std::vector<CaseResult> FrameAnalysis::Run() {
  Model& m = *m_pModel;
  const InputDeck& deck = m.deck;
  auto start = Clock::now();
  m.PrepareJoints();
  m.PrepareConstraints();
  m.NumberEquations();
  m.PrepareElements();
  // Every case keeps every station of every beam: a deck whose results would
  // not fit is refused before anything is solved.
  size_t stationsPerCase = 0;
  for (const auto& data : m.beams) stationsPerCase += static_cast<size_t>(data.segments) + 1;
  if (!deck.cases.empty() && stationsPerCase > kMaxResultStations / deck.cases.size()) {
    throw AnalysisError("the results would hold " + std::to_string(stationsPerCase) + " beam stations in each of " +
                        std::to_string(deck.cases.size()) + " load conditions, more than the " +
                        std::to_string(kMaxResultStations) + " the program can keep: divide the beams less (NREG)");
  }
  const int equations = static_cast<int>(m.freeSlots.size());
  const size_t slots = m.kind.size();
  m_timings.equations = equations;
  m.Progress("ANALYSING " + std::to_string(m.joints) + " JOINTS, " + std::to_string(m.beams.size()) + " BEAMS, " +
             std::to_string(m.links.size()) + " LINKS: " + std::to_string(equations) + " EQUATIONS");

  // The loads of every static case, per slot, and its imposed displacements.
  std::vector<int> statics;
  for (size_t c = 0; c < deck.cases.size(); ++c) {
    const LoadCase& loadCase = deck.cases[c];
    if (loadCase.kind == CaseKind::kStatic) {
      statics.push_back(static_cast<int>(c));
      continue;
    }
    const char* kindName = loadCase.kind == CaseKind::kHistory    ? "history"
                           : loadCase.kind == CaseKind::kSpectrum ? "response spectrum"
                                                                  : "moving";
    m.Warn(Where(loadCase.line) + kindName + " load condition " + std::to_string(loadCase.number + 1) +
           " is not analysed: its results are zero");
  }
  const size_t caseCount = statics.size();
  std::vector<std::vector<double>> loads(caseCount, std::vector<double>(slots, 0.0));
  std::vector<std::vector<double>> imposed(caseCount, std::vector<double>(m.restrainedSlots.size(), 0.0));
  std::vector<std::vector<std::vector<SpanLoad>>> spans(caseCount, std::vector<std::vector<SpanLoad>>(m.beams.size()));
  for (size_t s = 0; s < caseCount; ++s) {
    const LoadCase& loadCase = deck.cases[static_cast<size_t>(statics[s])];
    for (const JointLoad& load : loadCase.jointLoads) {
      Eigen::VectorXd global(6);
      for (int d = 0; d < 6; ++d) global(d) = load.values[static_cast<size_t>(d)];
      m.AddVector(loads[s], {load.joint}, global);
    }
    for (const BeamLoad& load : loadCase.beamLoads) {
      const auto found = m.beamByJoints.find({load.jointI, load.jointJ});
      if (found == m.beamByJoints.end()) {
        throw AnalysisError(Where(load.line) + "beam load " + std::to_string(load.number + 1) + " of case " +
                            std::to_string(loadCase.number + 1) + ": no beam runs from joint " +
                            std::to_string(load.jointI + 1) + " to joint " + std::to_string(load.jointJ + 1));
      }
      const Model::BeamData& data = m.beams[static_cast<size_t>(found->second)];
      if (load.pieces.empty() && load.type == 2) {
        m.Warn(Where(load.line) + "a concentrated moment carries no value in the input and is not applied");
      }
      const std::vector<SpanLoad> pieces = m.SpanLoadsOf(data, load, loadCase.number);
      m.AddVector(loads[s], {data.beam->jointI, data.beam->jointJ}, data.element->EquivalentLoads(pieces));
      auto& list = spans[s][static_cast<size_t>(found->second)];
      list.insert(list.end(), pieces.begin(), pieces.end());
    }
    for (const JointLoad& load : loadCase.displacements) {
      const Matrix3& r = m.axes[static_cast<size_t>(load.joint)];
      Vector3 translation(load.values[0], load.values[1], load.values[2]);
      Vector3 rotation(load.values[3], load.values[4], load.values[5]);
      translation = r * translation;
      rotation = r * rotation;
      for (int d = 0; d < 6; ++d) {
        const double value = d < 3 ? translation(d) : rotation(d - 3);
        if (value == 0.0) continue;
        const int slot = 6 * load.joint + d;
        if (m.kind[static_cast<size_t>(slot)] != SlotKind::kRestrained) {
          m.Warn(Where(load.line) + "a prescribed displacement of joint " + std::to_string(load.joint + 1) + " in " +
                 kDofNames[d] + " is ignored: that degree of freedom is not restrained");
          continue;
        }
        imposed[s][static_cast<size_t>(m.index[static_cast<size_t>(slot)])] = value;
      }
    }
    if (loadCase.selfWeight.present) {
      m.Warn(Where(loadCase.selfWeight.line) + "the self weight of static load condition " +
             std::to_string(loadCase.number + 1) + " is not applied: the input carries no unit weight");
    }
  }

  Assembly base;
  m.AssembleBase(base);
  m_timings.assemble += Seconds(start);

  // Solve, per set of gap states, until no gap changes its state.
  std::vector<std::vector<char>> states(caseCount, std::vector<char>(m.links.size(), 1));
  std::vector<std::vector<double>> solution(caseCount);
  std::vector<char> settled(caseCount, 0);
  for (int iteration = 0; iteration < kMaxGapIterations; ++iteration) {
    std::map<std::vector<char>, std::vector<size_t>> groups;
    for (size_t s = 0; s < caseCount; ++s) {
      if (settled[s] == 0) groups[states[s]].push_back(s);
    }
    if (groups.empty()) break;
    for (const auto& [closed, members] : groups) {
      start = Clock::now();
      Assembly assembly = base;
      m.AssembleLinks(assembly, closed);
      m_timings.assemble += Seconds(start);

      // A free equation without any stiffness cannot be solved.
      std::vector<double> diagonal(static_cast<size_t>(equations), 0.0);
      double largest = 0.0;
      for (const MatrixEntry& e : assembly.freeFree) {
        if (e.row == e.column) diagonal[static_cast<size_t>(e.row)] += e.value;
      }
      for (double d : diagonal) largest = std::max(largest, std::fabs(d));
      for (int eq = 0; eq < equations; ++eq) {
        if (diagonal[static_cast<size_t>(eq)] <= 1e-14 * largest) {
          throw AnalysisError("the structure is unstable: " + m.SlotName(m.freeSlots[static_cast<size_t>(eq)]) +
                              " has no stiffness");
        }
      }

      start = Clock::now();
      SparseCholesky cholesky;
      int failed = -1;
      if (equations > 0 && !cholesky.Factor(equations, assembly.freeFree, failed)) {
        throw AnalysisError(
            "the structure is unstable" +
            (failed >= 0 ? ": " + m.SlotName(m.freeSlots[static_cast<size_t>(failed)]) + " has no stiffness left"
                         : std::string()));
      }
      m_timings.factor += Seconds(start);
      m_timings.flops += cholesky.Flops();
      ++m_timings.factorisations;
      if (equations > 0 && cholesky.ReciprocalCondition() < 1e-15) {
        const int32_t weakest = cholesky.WeakestEquation();
        throw AnalysisError("the structure is unstable: " + m.SlotName(m.freeSlots[static_cast<size_t>(weakest)]) +
                            " moves without resistance");
      }

      start = Clock::now();
      std::vector<double> rhs(static_cast<size_t>(equations) * members.size(), 0.0);
      for (size_t k = 0; k < members.size(); ++k) {
        const size_t s = members[k];
        double* column = rhs.data() + k * static_cast<size_t>(equations);
        for (int eq = 0; eq < equations; ++eq) {
          column[eq] = loads[s][static_cast<size_t>(m.freeSlots[static_cast<size_t>(eq)])];
        }
        for (const MatrixEntry& e : assembly.freeRestrained)
          column[e.row] -= e.value * imposed[s][static_cast<size_t>(e.column)];
      }
      cholesky.Solve(rhs, static_cast<int32_t>(members.size()));
      m_timings.solve += Seconds(start);

      for (size_t k = 0; k < members.size(); ++k) {
        const size_t s = members[k];
        std::vector<double> u(slots, 0.0);
        for (int eq = 0; eq < equations; ++eq) {
          u[static_cast<size_t>(m.freeSlots[static_cast<size_t>(eq)])] =
              rhs[k * static_cast<size_t>(equations) + static_cast<size_t>(eq)];
        }
        for (size_t r = 0; r < m.restrainedSlots.size(); ++r)
          u[static_cast<size_t>(m.restrainedSlots[r])] = imposed[s][r];
        for (size_t slot = 0; slot < slots; ++slot) {
          if (m.kind[slot] != SlotKind::kDependent) continue;
          double value = 0.0;
          for (const Term& term : m.terms[slot]) value += term.factor * u[static_cast<size_t>(term.slot)];
          u[slot] = value;
        }
        // A gap carries compression only: it opens when its joints part.
        std::vector<char> next(m.links.size(), 1);
        for (size_t l = 0; l < m.links.size(); ++l) {
          const auto& link = m.links[l];
          const auto globalOf = [&](int joint) {
            const Matrix3& r = m.axes[static_cast<size_t>(joint)];
            return Vector3(r.transpose() * Vector3(u[static_cast<size_t>(6 * joint)],
                                                   u[static_cast<size_t>(6 * joint + 1)],
                                                   u[static_cast<size_t>(6 * joint + 2)]));
          };
          const double stretch = link.axis.dot(globalOf(link.jointJ) - globalOf(link.jointI));
          next[l] = stretch > 0.0 ? 0 : 1;
        }
        solution[s] = std::move(u);
        if (next == closed) {
          settled[s] = 1;
        } else {
          states[s] = next;
        }
      }
      // Reactions need the matrix of the final states: keep the assembly.
      for (size_t s : members) {
        if (settled[s] != 0) {
          // Restrained slots: what the supports exert.
          std::vector<double> reaction(m.restrainedSlots.size(), 0.0);
          for (const MatrixEntry& e : assembly.freeRestrained) {
            reaction[static_cast<size_t>(e.column)] +=
                e.value * solution[s][static_cast<size_t>(m.freeSlots[static_cast<size_t>(e.row)])];
          }
          for (const MatrixEntry& e : assembly.restrainedRestrained) {
            reaction[static_cast<size_t>(e.row)] += e.value * imposed[s][static_cast<size_t>(e.column)];
          }
          for (size_t r = 0; r < m.restrainedSlots.size(); ++r) {
            reaction[r] -= loads[s][static_cast<size_t>(m.restrainedSlots[r])];
          }
          // Store the reactions in the solution's tail for recovery below.
          solution[s].insert(solution[s].end(), reaction.begin(), reaction.end());
        }
      }
    }
  }
  for (size_t s = 0; s < caseCount; ++s) {
    if (settled[s] == 0) {
      throw AnalysisError("the gaps of static load condition " +
                          std::to_string(deck.cases[static_cast<size_t>(statics[s])].number + 1) +
                          " did not settle after " + std::to_string(kMaxGapIterations) + " trials");
    }
  }

  // Recovery: joint displacements and reactions in global axes, member forces.
  start = Clock::now();
  std::vector<CaseResult> results(deck.cases.size());
  for (auto& result : results) {
    result.displacements.assign(static_cast<size_t>(m.joints), Six{});
    result.reactions.assign(static_cast<size_t>(m.joints), Six{});
    for (const auto& data : m.beams) {
      BeamResult beam;
      beam.number = data.beam->number;
      for (int p = 0; p <= data.segments; ++p) {
        beam.stations.push_back({data.element->Length() * p / data.segments, 0, 0, 0, 0, 0, 0});
      }
      result.beams.push_back(std::move(beam));
    }
  }
  for (size_t s = 0; s < caseCount; ++s) {
    CaseResult& result = results[static_cast<size_t>(statics[s])];
    const std::vector<double>& u = solution[s];
    std::vector<double> support(slots, 0.0);
    for (size_t r = 0; r < m.restrainedSlots.size(); ++r)
      support[static_cast<size_t>(m.restrainedSlots[r])] = u[slots + r];
    for (const auto& spring : m.springs) {
      if (m.kind[static_cast<size_t>(spring.slot)] != SlotKind::kRestrained) {
        support[static_cast<size_t>(spring.slot)] -= spring.stiffness * u[static_cast<size_t>(spring.slot)];
      }
    }
    for (int j = 0; j < m.joints; ++j) {
      const Matrix3 back = m.axes[static_cast<size_t>(j)].transpose();
      const auto toGlobal = [&](const std::vector<double>& values, int first) {
        return Vector3(back * Vector3(values[static_cast<size_t>(6 * j + first)],
                                      values[static_cast<size_t>(6 * j + first + 1)],
                                      values[static_cast<size_t>(6 * j + first + 2)]));
      };
      const Vector3 t = toGlobal(u, 0), rot = toGlobal(u, 3);
      const Vector3 f = toGlobal(support, 0), mo = toGlobal(support, 3);
      result.displacements[static_cast<size_t>(j)] = {t.x(), t.y(), t.z(), rot.x(), rot.y(), rot.z()};
      result.reactions[static_cast<size_t>(j)] = {f.x(), f.y(), f.z(), mo.x(), mo.y(), mo.z()};
    }
    for (size_t b = 0; b < m.beams.size(); ++b) {
      const auto& data = m.beams[b];
      Vector12 end;
      for (int e = 0; e < 2; ++e) {
        const int joint = e == 0 ? data.beam->jointI : data.beam->jointJ;
        for (int d = 0; d < 6; ++d)
          end(6 * e + d) = result.displacements[static_cast<size_t>(joint)][static_cast<size_t>(d)];
      }
      BeamResult& beam = result.beams[b];
      beam.endForces = data.element->EndForces(end, spans[s][b]);
      for (auto& station : beam.stations) {
        const MemberForces forces = BeamElement::ForcesAt(station[0], beam.endForces, spans[s][b]);
        std::copy(forces.begin(), forces.end(), station.begin() + 1);
      }
    }
    m.Progress("STATIC LOAD CONDITION " + std::to_string(deck.cases[static_cast<size_t>(statics[s])].number + 1) +
               " SOLVED");
  }
  m_timings.recover += Seconds(start);
  return results;
}

}  // namespace tav::analysis
