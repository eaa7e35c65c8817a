#include "analysis/FrameAnalysis.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <map>
#include <numbers>
#include <optional>

#include "analysis/SparseCholesky.h"
#include "tav/util/FormatC.h"

namespace tav::analysis {
namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kDofNames[6] = {"UX", "UY", "UZ", "RX", "RY", "RZ"};
constexpr int kMaxGapIterations = 50;
// The most beam stations the results of all load conditions together may
// hold (seven values each): about 2.8 GB.
constexpr size_t kMaxResultStations = 50'000'000;

// Stability is judged per equation, so that a stiff support or link (a
// penalty) next to soft members is no instability in itself.
//
// An equation has no stiffness when its diagonal is not positive or is no
// more than this share of the largest diagonal of the same kind
// (translations or rotations) at the same joint, free or restrained: turning
// a joint's stiffness into other axes leaves round-off of about 1e-16 of it
// where there is none, while beside a penalty of 1e12 times its own
// stiffness a diagonal is 1e-12 of the penalty, a hundred times above this.
constexpr double kRoundOffStiffness = 1e-14;
// A pivot of the factorisation over its equation's diagonal is the pivot of
// the matrix scaled to a unit diagonal: the share of the equation's
// stiffness that is left when the equations eliminated before it are let
// go. A mechanism leaves no positive pivot or round-off of a few times
// 1e-16; a stiff link of 1e12 times the members beside it leaves about
// 1e-12. Below this threshold fewer than three of a double's sixteen digits
// of that equation would survive the elimination.
constexpr double kWeakPivot = 1e-13;
// The beam lengths the model writer and this program compute from the same
// coordinates may differ in their last bits, and a load's start plus its
// length adds a rounding: the slack, relative to the numbers involved,
// allowed on top of what the texts resolve.
constexpr double kRoundingSlack = 1e-14;

double Seconds(Clock::time_point since) { return std::chrono::duration<double>(Clock::now() - since).count(); }

std::string Where(int line) { return line > 0 ? "line " + std::to_string(line) + ": " : ""; }

std::string Number(double value) { return FormatC("%.10g", value); }

// "1", "1 and 2", "1, 2 and 3".
std::string ListOf(const std::vector<int>& numbers) {
  std::string text;
  for (size_t i = 0; i < numbers.size(); ++i) {
    if (i > 0) text += i + 1 == numbers.size() ? " and " : ", ";
    text += std::to_string(numbers[i]);
  }
  return text;
}

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

// Where a structure gives way: a slot (-1 when the factorisation could not
// tell) and how.
struct Weakness {
  int slot = -1;
  std::string how;
};

// A static load condition on its way through the gap trials.
struct StaticCase {
  size_t position = 0;                       // in the deck's cases
  int number = 0;                            // as the user counts them, from 1
  std::string name;                          // "static load condition 2"
  std::vector<double> loads;                 // per slot
  std::vector<double> imposed;               // per restrained slot
  std::vector<std::vector<SpanLoad>> spans;  // per beam
  std::vector<char> closed;                  // gap states of the next trial
  std::vector<double> displacements;         // per slot, of the last trial
  std::vector<double> reactions;             // per restrained slot, once settled
  bool settled = false;
  std::string error;  // why it failed; empty while it has not
  bool Pending() const { return !settled && error.empty(); }
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
  std::vector<BeamData> beams;                                    // in beam number order
  std::map<std::pair<int, int>, std::vector<int>> beamsByJoints;  // by joints I, J; in number order

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
  int Equations() const { return static_cast<int>(freeSlots.size()); }

  void Prepare();
  void PrepareJoints();
  void PrepareConstraints();
  void NumberEquations();
  void PrepareElements();
  void CheckResultSize() const;
  void AddMatrix(Assembly& assembly, const std::vector<int>& jointList, const Eigen::MatrixXd& global) const;
  void AddVector(std::vector<double>& slots, const std::vector<int>& jointList, const Eigen::VectorXd& global) const;
  void AssembleBase(Assembly& assembly) const;
  void AssembleLinks(Assembly& assembly, const std::vector<char>& closed) const;

  std::vector<StaticCase> StaticCases() const;
  StaticCase LoadsOf(const LoadCase& loadCase, size_t position) const;
  void AddBeamLoad(StaticCase& loads, const BeamLoad& load) const;
  void AddImposed(StaticCase& loads, const JointLoad& load) const;
  int BeamOfLoad(const BeamLoad& load, const std::string& name) const;
  std::vector<SpanLoad> SpanLoadsOf(const BeamData& data, const BeamLoad& load, const std::string& name) const;
  double LengthUncertainty(const Beam& beam, double length) const;

  std::optional<Weakness> Factorise(const Assembly& assembly, SparseCholesky& cholesky, Timings& timings) const;
  std::optional<Weakness> Unstiff(const std::vector<double>& diagonal) const;
  std::optional<Weakness> WeakPivot(const std::vector<double>& diagonal, const SparseCholesky& cholesky) const;
  void SolveAll(std::vector<StaticCase>& cases, const Assembly& base, Timings& timings) const;
  void SolveTrial(const std::vector<char>& closed, const std::vector<StaticCase*>& members, const Assembly& base,
                  Timings& timings) const;
  void Settle(StaticCase& loads, const std::vector<char>& closed, const Assembly& assembly) const;
  std::vector<double> Displacements(const StaticCase& loads, const std::vector<double>& rhs, size_t column) const;
  std::vector<double> Reactions(const StaticCase& loads, const Assembly& assembly) const;
  CaseResult ZeroResult() const;
  void Recover(const StaticCase& loads, CaseResult& result) const;
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

void FrameAnalysis::Model::Prepare() {
  PrepareJoints();
  PrepareConstraints();
  NumberEquations();
  PrepareElements();
}

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
    beamsByJoints[{beam.jointI, beam.jointJ}].push_back(static_cast<int>(i));
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

void FrameAnalysis::Model::CheckResultSize() const {
  // Every case keeps every station of every beam: a deck whose results would
  // not fit is refused before anything is solved.
  size_t stationsPerCase = 0;
  for (const auto& data : beams) stationsPerCase += static_cast<size_t>(data.segments) + 1;
  if (!deck.cases.empty() && stationsPerCase > kMaxResultStations / deck.cases.size()) {
    throw AnalysisError("the results would hold " + std::to_string(stationsPerCase) + " beam stations in each of " +
                        std::to_string(deck.cases.size()) + " load conditions, more than the " +
                        std::to_string(kMaxResultStations) + " the program can keep: divide the beams less (NREG)");
  }
}

// ---- Loads ---------------------------------------------------------------------

std::vector<StaticCase> FrameAnalysis::Model::StaticCases() const {
  std::vector<StaticCase> cases;
  for (size_t c = 0; c < deck.cases.size(); ++c) {
    const LoadCase& loadCase = deck.cases[c];
    if (loadCase.kind == CaseKind::kStatic) {
      cases.push_back(LoadsOf(loadCase, c));
      continue;
    }
    const char* kindName = loadCase.kind == CaseKind::kHistory    ? "history"
                           : loadCase.kind == CaseKind::kSpectrum ? "response spectrum"
                                                                  : "moving";
    Warn(Where(loadCase.line) + kindName + " load condition " + std::to_string(loadCase.number + 1) +
         " is not analysed: its results are zero");
  }
  return cases;
}

StaticCase FrameAnalysis::Model::LoadsOf(const LoadCase& loadCase, size_t position) const {
  StaticCase loads;
  loads.position = position;
  loads.number = loadCase.number + 1;
  loads.name = "static load condition " + std::to_string(loads.number);
  loads.loads.assign(kind.size(), 0.0);
  loads.imposed.assign(restrainedSlots.size(), 0.0);
  loads.spans.resize(beams.size());
  loads.closed.assign(links.size(), 1);  // the first trial closes every gap
  for (const JointLoad& load : loadCase.jointLoads) {
    Eigen::VectorXd global(6);
    for (int d = 0; d < 6; ++d) global(d) = load.values[static_cast<size_t>(d)];
    AddVector(loads.loads, {load.joint}, global);
  }
  for (const BeamLoad& load : loadCase.beamLoads) AddBeamLoad(loads, load);
  for (const JointLoad& load : loadCase.displacements) AddImposed(loads, load);
  if (loadCase.selfWeight.present) {
    Warn(Where(loadCase.selfWeight.line) + "the self weight of " + loads.name +
         " is not applied: the input carries no unit weight");
  }
  return loads;
}

void FrameAnalysis::Model::AddBeamLoad(StaticCase& loads, const BeamLoad& load) const {
  const std::string name = Where(load.line) + "beam load " + std::to_string(load.number + 1) + " of " + loads.name;
  const int number = BeamOfLoad(load, name);
  const BeamData& data = beams[static_cast<size_t>(number)];
  if (load.pieces.empty() && load.type == 2) {
    Warn(Where(load.line) + "a concentrated moment carries no value in the input and is not applied");
  }
  const std::vector<SpanLoad> pieces = SpanLoadsOf(data, load, name);
  AddVector(loads.loads, {data.beam->jointI, data.beam->jointJ}, data.element->EquivalentLoads(pieces));
  auto& list = loads.spans[static_cast<size_t>(number)];
  list.insert(list.end(), pieces.begin(), pieces.end());
}

void FrameAnalysis::Model::AddImposed(StaticCase& loads, const JointLoad& load) const {
  const Matrix3& r = axes[static_cast<size_t>(load.joint)];
  const Vector3 translation = r * Vector3(load.values[0], load.values[1], load.values[2]);
  const Vector3 rotation = r * Vector3(load.values[3], load.values[4], load.values[5]);
  for (int d = 0; d < 6; ++d) {
    const double value = d < 3 ? translation(d) : rotation(d - 3);
    if (value == 0.0) continue;
    const int slot = 6 * load.joint + d;
    if (kind[static_cast<size_t>(slot)] != SlotKind::kRestrained) {
      Warn(Where(load.line) + "a prescribed displacement of joint " + std::to_string(load.joint + 1) + " in " +
           kDofNames[d] + " is ignored: that degree of freedom is not restrained");
      continue;
    }
    loads.imposed[static_cast<size_t>(index[static_cast<size_t>(slot)])] = value;
  }
}

// The beam a load names by its joints I and J and its roll angle. The angle
// tells apart beams between the same joints, equal within what the two
// angle texts resolve; of beams it cannot tell apart, the lowest-numbered
// takes the load, with a warning.
int FrameAnalysis::Model::BeamOfLoad(const BeamLoad& load, const std::string& name) const {
  const std::string route = "joint " + std::to_string(load.jointI + 1) + " to joint " + std::to_string(load.jointJ + 1);
  const auto found = beamsByJoints.find({load.jointI, load.jointJ});
  if (found == beamsByJoints.end()) throw AnalysisError(name + ": no beam runs from " + route);
  const std::vector<int>& between = found->second;
  if (between.size() == 1) return between.front();
  std::vector<int> all, matching;  // beam numbers as the user counts them
  for (int b : between) {
    const Beam& beam = *beams[static_cast<size_t>(b)].beam;
    all.push_back(b + 1);
    if (std::fabs(beam.angle - load.angle) <= beam.angleResolution + load.angleResolution) matching.push_back(b + 1);
  }
  const std::string angle = "the roll angle " + Number(load.angle);
  if (matching.empty()) {
    throw AnalysisError(name + ": no beam from " + route + " has " + angle + " (beams " + ListOf(all) + " run there)");
  }
  if (matching.size() > 1) {
    Warn(name + " is ambiguous: beams " + ListOf(matching) + " run from " + route + " with " + angle +
         "; it is applied to beam " + std::to_string(matching.front()));
  }
  return matching.front() - 1;
}

// How far the beam's length, computed from the coordinates read, may lie
// from the length of the coordinates their texts were rounded from (to first
// order: the length changes by the unit vector along the beam times the
// moves of its ends).
double FrameAnalysis::Model::LengthUncertainty(const Beam& beam, double length) const {
  const Joint& a = deck.joints[static_cast<size_t>(beam.jointI)];
  const Joint& b = deck.joints[static_cast<size_t>(beam.jointJ)];
  const std::array<double, 3> along = {b.x - a.x, b.y - a.y, b.z - a.z};
  double uncertainty = 0.0;
  for (size_t k = 0; k < 3; ++k) uncertainty += std::fabs(along[k]) / length * (a.resolution[k] + b.resolution[k]);
  return uncertainty;
}

namespace {

// `at` put exactly at the beam's start or end when it lies within
// `nearStart` of 0 or within `nearEnd` of `length`.
double Snap(double at, double nearStart, double nearEnd, double length) {
  if (std::fabs(at) <= nearStart) return 0.0;
  if (std::fabs(at - length) <= nearEnd) return length;
  return at;
}

}  // namespace

// The pieces of a load on the beam's span. An end of a piece that lies, as
// far as the texts resolve, at an end of the beam is put exactly there, so a
// full-length load is exactly full length; a piece that reaches beyond that
// tolerance lies outside the beam.
std::vector<SpanLoad> FrameAnalysis::Model::SpanLoadsOf(const BeamData& data, const BeamLoad& load,
                                                        const std::string& name) const {
  std::vector<SpanLoad> spans;
  const double length = data.element->Length();
  const Matrix3& r = data.element->Rotation();
  const double lengthUncertainty = LengthUncertainty(*data.beam, length);
  for (const BeamLoadPiece& piece : load.pieces) {
    // The file gives the intensities and forces negated: a positive number
    // acts against the axis.
    Vector3 axis = Vector3::Zero();
    axis(piece.axis) = 1.0;
    const Vector3 local = r * axis;
    SpanLoad span;
    span.point = !piece.distributed;
    span.value1 = -piece.value1 * local;
    span.value2 = -(piece.distributed ? piece.value2 : piece.value1) * local;
    const double loaded = piece.distributed ? piece.length : 0.0;
    const double loadedResolution = piece.distributed ? piece.lengthResolution : 0.0;
    const double slack = kRoundingSlack * (length + std::fabs(piece.start) + std::fabs(loaded));
    const double startTolerance = piece.startResolution + slack;
    const double endTolerance = startTolerance + loadedResolution;
    span.start = Snap(piece.start, startTolerance, startTolerance + lengthUncertainty, length);
    span.end = Snap(piece.start + loaded, endTolerance, endTolerance + lengthUncertainty, length);
    if (span.start < 0.0 || span.end > length || span.end < span.start - (loadedResolution + slack)) {
      throw AnalysisError(name + " lies outside beam " + std::to_string(data.beam->number + 1) + ": it reaches from " +
                          Number(piece.start) + " to " + Number(piece.start + loaded) + " on a beam " + Number(length) +
                          " long");
    }
    span.end = std::max(span.end, span.start);
    spans.push_back(span);
  }
  return spans;
}

// ---- Stability -------------------------------------------------------------------

namespace {

// The diagonal of the assembled stiffness per slot, free and restrained.
std::vector<double> DiagonalBySlot(const Assembly& assembly, const std::vector<int>& freeSlots,
                                   const std::vector<int>& restrainedSlots, size_t slots) {
  std::vector<double> diagonal(slots, 0.0);
  for (const MatrixEntry& e : assembly.freeFree) {
    if (e.row == e.column) diagonal[static_cast<size_t>(freeSlots[static_cast<size_t>(e.row)])] += e.value;
  }
  for (const MatrixEntry& e : assembly.restrainedRestrained) {
    if (e.row == e.column) diagonal[static_cast<size_t>(restrainedSlots[static_cast<size_t>(e.row)])] += e.value;
  }
  return diagonal;
}

}  // namespace

std::optional<Weakness> FrameAnalysis::Model::Factorise(const Assembly& assembly, SparseCholesky& cholesky,
                                                        Timings& timings) const {
  const std::vector<double> diagonal = DiagonalBySlot(assembly, freeSlots, restrainedSlots, kind.size());
  if (std::optional<Weakness> weakness = Unstiff(diagonal)) return weakness;
  if (Equations() == 0) return std::nullopt;
  const auto start = Clock::now();
  int failed = -1;
  const bool factored = cholesky.Factor(Equations(), assembly.freeFree, failed);
  timings.factor += Seconds(start);
  if (!factored) return Weakness{failed >= 0 ? freeSlots[static_cast<size_t>(failed)] : -1, "has no stiffness left"};
  timings.flops += cholesky.Flops();
  ++timings.factorisations;
  return WeakPivot(diagonal, cholesky);
}

// The first free slot without stiffness of its own (see kRoundOffStiffness).
std::optional<Weakness> FrameAnalysis::Model::Unstiff(const std::vector<double>& diagonal) const {
  for (const int slot : freeSlots) {
    // Slots 3k to 3k + 2 are the translations, or the rotations, of a joint.
    const auto kindAtJoint = diagonal.begin() + 3 * (slot / 3);
    double largest = 0.0;
    for (auto d = kindAtJoint; d != kindAtJoint + 3; ++d) largest = std::max(largest, std::fabs(*d));
    const double own = diagonal[static_cast<size_t>(slot)];
    if (own <= 0.0 || own <= kRoundOffStiffness * largest) return Weakness{slot, "has no stiffness"};
  }
  return std::nullopt;
}

// The free slot with the weakest pivot against its own diagonal, when that
// is below kWeakPivot.
std::optional<Weakness> FrameAnalysis::Model::WeakPivot(const std::vector<double>& diagonal,
                                                        const SparseCholesky& cholesky) const {
  const std::vector<double> pivots = cholesky.Pivots();
  std::optional<Weakness> weakest;
  double smallest = kWeakPivot;
  for (size_t eq = 0; eq < freeSlots.size(); ++eq) {
    const double relative = pivots[eq] / diagonal[static_cast<size_t>(freeSlots[eq])];
    if (relative < smallest) {
      smallest = relative;
      weakest = Weakness{freeSlots[eq], "moves without resistance"};
    }
  }
  return weakest;
}

// ---- Solution -------------------------------------------------------------------

// Solves the cases until their gap states settle; a case that cannot be
// solved with its gaps open, or whose gaps never settle, fails alone.
void FrameAnalysis::Model::SolveAll(std::vector<StaticCase>& cases, const Assembly& base, Timings& timings) const {
  for (int trial = 0; trial < kMaxGapIterations; ++trial) {
    std::map<std::vector<char>, std::vector<StaticCase*>> groups;
    for (StaticCase& loads : cases) {
      if (loads.Pending()) groups[loads.closed].push_back(&loads);
    }
    if (groups.empty()) return;
    for (const auto& [closed, members] : groups) SolveTrial(closed, members, base, timings);
  }
  for (StaticCase& loads : cases) {
    if (loads.Pending()) {
      loads.error = loads.name + ": its gaps did not settle after " + std::to_string(kMaxGapIterations) + " trials";
    }
  }
}

// One trial for the cases whose gaps are in the states `closed`: one
// factorisation, all of them solved against it.
void FrameAnalysis::Model::SolveTrial(const std::vector<char>& closed, const std::vector<StaticCase*>& members,
                                      const Assembly& base, Timings& timings) const {
  auto start = Clock::now();
  Assembly assembly = base;
  AssembleLinks(assembly, closed);
  timings.assemble += Seconds(start);

  SparseCholesky cholesky;
  if (const std::optional<Weakness> weakness = Factorise(assembly, cholesky, timings)) {
    // With every gap closed it is the structure itself that gives way.
    if (std::all_of(closed.begin(), closed.end(), [](char state) { return state != 0; })) {
      throw AnalysisError("the structure is unstable" +
                          (weakness->slot >= 0 ? ": " + SlotName(weakness->slot) + " " + weakness->how : ""));
    }
    const std::string where = weakness->slot >= 0 ? SlotName(weakness->slot) : "the structure";
    for (StaticCase* loads : members) loads->error = loads->name + ": " + where + " moves freely with its gaps open";
    return;
  }

  start = Clock::now();
  const auto equations = static_cast<size_t>(Equations());
  std::vector<double> rhs(equations * members.size(), 0.0);
  for (size_t k = 0; k < members.size(); ++k) {
    const StaticCase& loads = *members[k];
    double* column = rhs.data() + k * equations;
    for (size_t eq = 0; eq < equations; ++eq) column[eq] = loads.loads[static_cast<size_t>(freeSlots[eq])];
    for (const MatrixEntry& e : assembly.freeRestrained) {
      column[e.row] -= e.value * loads.imposed[static_cast<size_t>(e.column)];
    }
  }
  cholesky.Solve(rhs, static_cast<int32_t>(members.size()));
  timings.solve += Seconds(start);

  for (size_t k = 0; k < members.size(); ++k) {
    members[k]->displacements = Displacements(*members[k], rhs, k);
    Settle(*members[k], closed, assembly);
  }
}

// Every slot's displacement from column `column` of the solved equations.
std::vector<double> FrameAnalysis::Model::Displacements(const StaticCase& loads, const std::vector<double>& rhs,
                                                        size_t column) const {
  const auto equations = static_cast<size_t>(Equations());
  std::vector<double> u(kind.size(), 0.0);
  for (size_t eq = 0; eq < equations; ++eq) u[static_cast<size_t>(freeSlots[eq])] = rhs[column * equations + eq];
  for (size_t r = 0; r < restrainedSlots.size(); ++r) u[static_cast<size_t>(restrainedSlots[r])] = loads.imposed[r];
  for (size_t slot = 0; slot < kind.size(); ++slot) {
    if (kind[slot] != SlotKind::kDependent) continue;
    double value = 0.0;
    for (const Term& term : terms[slot]) value += term.factor * u[static_cast<size_t>(term.slot)];
    u[slot] = value;
  }
  return u;
}

// After a trial: a case whose displacements are not finite numbers fails; a
// case whose gaps keep their states is settled, with its reactions from the
// stiffness of those states; the others go on with the new states.
void FrameAnalysis::Model::Settle(StaticCase& loads, const std::vector<char>& closed, const Assembly& assembly) const {
  const std::vector<double>& u = loads.displacements;
  if (!std::all_of(u.begin(), u.end(), [](double value) { return std::isfinite(value); })) {
    loads.error = loads.name + ": its results overflow (not finite numbers)";
    return;
  }
  const auto globalOf = [&](int joint) {
    const Matrix3& r = axes[static_cast<size_t>(joint)];
    const auto at = static_cast<size_t>(6 * joint);
    return Vector3(r.transpose() * Vector3(u[at], u[at + 1], u[at + 2]));
  };
  // A gap carries compression only: it opens when its joints part.
  std::vector<char> next(links.size(), 1);
  for (size_t l = 0; l < links.size(); ++l) {
    const double stretch = links[l].axis.dot(globalOf(links[l].jointJ) - globalOf(links[l].jointI));
    next[l] = stretch > 0.0 ? 0 : 1;
  }
  if (next == closed) {
    loads.settled = true;
    loads.reactions = Reactions(loads, assembly);
  } else {
    loads.closed = std::move(next);
  }
}

// What the supports exert in the restrained slots.
std::vector<double> FrameAnalysis::Model::Reactions(const StaticCase& loads, const Assembly& assembly) const {
  std::vector<double> reaction(restrainedSlots.size(), 0.0);
  for (const MatrixEntry& e : assembly.freeRestrained) {
    reaction[static_cast<size_t>(e.column)] +=
        e.value * loads.displacements[static_cast<size_t>(freeSlots[static_cast<size_t>(e.row)])];
  }
  for (const MatrixEntry& e : assembly.restrainedRestrained) {
    reaction[static_cast<size_t>(e.row)] += e.value * loads.imposed[static_cast<size_t>(e.column)];
  }
  for (size_t r = 0; r < restrainedSlots.size(); ++r) {
    reaction[r] -= loads.loads[static_cast<size_t>(restrainedSlots[r])];
  }
  return reaction;
}

// ---- Results ----------------------------------------------------------------------

CaseResult FrameAnalysis::Model::ZeroResult() const {
  CaseResult result;
  result.displacements.assign(static_cast<size_t>(joints), Six{});
  result.reactions.assign(static_cast<size_t>(joints), Six{});
  for (const auto& data : beams) {
    BeamResult beam;
    beam.number = data.beam->number;
    for (int p = 0; p <= data.segments; ++p) {
      beam.stations.push_back({data.element->Length() * p / data.segments, 0, 0, 0, 0, 0, 0});
    }
    result.beams.push_back(std::move(beam));
  }
  return result;
}

// Joint displacements and reactions in global axes, member forces at the
// stations, of a settled case; `result` holds the stations' distances.
void FrameAnalysis::Model::Recover(const StaticCase& loads, CaseResult& result) const {
  const std::vector<double>& u = loads.displacements;
  std::vector<double> support(kind.size(), 0.0);
  for (size_t r = 0; r < restrainedSlots.size(); ++r) {
    support[static_cast<size_t>(restrainedSlots[r])] = loads.reactions[r];
  }
  for (const auto& spring : springs) {
    if (kind[static_cast<size_t>(spring.slot)] != SlotKind::kRestrained) {
      support[static_cast<size_t>(spring.slot)] -= spring.stiffness * u[static_cast<size_t>(spring.slot)];
    }
  }
  for (int j = 0; j < joints; ++j) {
    const Matrix3 back = axes[static_cast<size_t>(j)].transpose();
    const auto toGlobal = [&](const std::vector<double>& values, int first) {
      const auto at = static_cast<size_t>(6 * j + first);
      return Vector3(back * Vector3(values[at], values[at + 1], values[at + 2]));
    };
    const Vector3 t = toGlobal(u, 0), rot = toGlobal(u, 3);
    const Vector3 f = toGlobal(support, 0), mo = toGlobal(support, 3);
    result.displacements[static_cast<size_t>(j)] = {t.x(), t.y(), t.z(), rot.x(), rot.y(), rot.z()};
    result.reactions[static_cast<size_t>(j)] = {f.x(), f.y(), f.z(), mo.x(), mo.y(), mo.z()};
  }
  for (size_t b = 0; b < beams.size(); ++b) {
    const auto& data = beams[b];
    Vector12 end;
    for (int e = 0; e < 2; ++e) {
      const int joint = e == 0 ? data.beam->jointI : data.beam->jointJ;
      for (int d = 0; d < 6; ++d) {
        end(6 * e + d) = result.displacements[static_cast<size_t>(joint)][static_cast<size_t>(d)];
      }
    }
    BeamResult& beam = result.beams[b];
    beam.endForces = data.element->EndForces(end, loads.spans[b]);
    for (auto& station : beam.stations) {
      const MemberForces forces = BeamElement::ForcesAt(station[0], beam.endForces, loads.spans[b]);
      std::copy(forces.begin(), forces.end(), station.begin() + 1);
    }
  }
}

namespace {

bool AllFinite(const CaseResult& result) {
  const auto finite = [](const auto& values) {
    return std::all_of(values.begin(), values.end(), [](double value) { return std::isfinite(value); });
  };
  return std::all_of(result.displacements.begin(), result.displacements.end(), finite) &&
         std::all_of(result.reactions.begin(), result.reactions.end(), finite) &&
         std::all_of(result.beams.begin(), result.beams.end(), [&finite](const BeamResult& beam) {
           return beam.endForces.allFinite() && std::all_of(beam.stations.begin(), beam.stations.end(), finite);
         });
}

}  // namespace

FrameAnalysis::FrameAnalysis(const InputDeck& deck, Messages messages)
    : m_pModel(std::make_unique<Model>(deck, std::move(messages))) {}

FrameAnalysis::~FrameAnalysis() = default;

std::vector<MatrixEntry> FrameAnalysis::FreeStiffness(int& equations) {
  Model& m = *m_pModel;
  m.Prepare();
  Assembly assembly;
  m.AssembleBase(assembly);
  m.AssembleLinks(assembly, std::vector<char>(m.links.size(), 1));
  equations = m.Equations();
  return assembly.freeFree;
}

std::vector<CaseResult> FrameAnalysis::Run() {
  Model& m = *m_pModel;
  auto start = Clock::now();
  m.Prepare();
  m.CheckResultSize();
  m_timings.equations = m.Equations();
  m.Progress("ANALYSING " + std::to_string(m.joints) + " JOINTS, " + std::to_string(m.beams.size()) + " BEAMS, " +
             std::to_string(m.links.size()) + " LINKS: " + std::to_string(m.Equations()) + " EQUATIONS");
  std::vector<StaticCase> cases = m.StaticCases();
  Assembly base;
  m.AssembleBase(base);
  m_timings.assemble += Seconds(start);

  m.SolveAll(cases, base, m_timings);

  start = Clock::now();
  std::vector<CaseResult> results(m.deck.cases.size(), m.ZeroResult());
  for (const StaticCase& loads : cases) {
    CaseResult& result = results[loads.position];
    if (loads.error.empty()) m.Recover(loads, result);
    std::string error = loads.error;
    if (error.empty() && !AllFinite(result)) error = loads.name + ": its results overflow (not finite numbers)";
    if (error.empty()) {
      m.Progress("STATIC LOAD CONDITION " + std::to_string(loads.number) + " SOLVED");
      continue;
    }
    result = m.ZeroResult();
    result.error = std::move(error);
  }
  m_timings.recover += Seconds(start);
  return results;
}

}  // namespace tav::analysis
