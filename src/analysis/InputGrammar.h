// The grammar of the own solver input, part by part. InputReader.cpp
// decides from the headings which block a statement belongs to; a reader of
// that part of the input reads the statement into the deck:
//   ModelBlockReader    the system options and counts, functions, local
//                       coordinate systems, joints, restraints, constraints,
//                       masses, dampers and initial conditions
//   ElementGroupReader  beam, support spring and link groups
//   LoadConditionReader static, history, response spectrum and moving load
//                       conditions
// Every failure is an InputError naming the statement's line.
#pragma once

#include <algorithm>
#include <array>
#include <optional>
#include <string_view>
#include <vector>

#include "analysis/InputDeck.h"
#include "analysis/InputLexer.h"
#include "tav/model/OwnFormatWords.h"

namespace tav::analysis {

// The position of `word` in `list`, none when it is not there.
template <size_t N>
std::optional<size_t> PositionIn(const words::Words<N>& list, std::string_view word) {
  const auto found = std::find(list.begin(), list.end(), word);
  if (found == list.end()) return std::nullopt;
  return static_cast<size_t>(found - list.begin());
}

// The position in `items` of the one whose number is `number`, -1 if none.
template <class T>
int PositionOf(const std::vector<T>& items, int number) {
  const auto found =
      std::find_if(items.begin(), items.end(), [number](const T& item) { return item.number == number; });
  return found == items.end() ? -1 : static_cast<int>(found - items.begin());
}

// A statement no block here takes: a numbered one belongs to some block,
// anything else is not part of the input language at all.
[[noreturn]] void NotHere(const Words& words);
// Lines of a list start with their number; anything else is not theirs.
void ExpectNumbered(const Words& words);
// A joint named by `text`, returned 0-based. Every block that names joints
// comes after the joint block, so the deck knows them all.
int JointIndex(const InputDeck& deck, const Words& words, std::string_view text);
int NextJoint(const InputDeck& deck, Words& words, std::string_view what);

// "NOAN=I J ANGLE": how a beam statement and a beam load name a beam.
struct BeamNaming {
  int jointI = 0, jointJ = 0;
  RealReading angle;
};
BeamNaming ReadBeamNaming(const InputDeck& deck, Words& words);

class ModelBlockReader {
 public:
  ModelBlockReader(InputDeck& deck, LineSource& source) : m_deck(deck), m_source(source) {}

  void ReadSystemLine(Words& words);
  // A function statement and the line of its points after it.
  void ReadFunction(Words& words);
  void ReadLocalSystem(Words& words);
  void ReadJoint(Words& words);
  void ReadRestraint(Words& words);
  void ReadConstraint(Words& words);
  // A mass or damper record, added to the joint's `sum` (mass or damping).
  void ReadJointValues(Words& words, const words::Words<6>& names, Six Joint::*sum);
  static void ReadInitialConditions(Words& words);
  // After the last statement, read up to `stopLine`: NUMBER OF NODES must
  // have been given and count the joints.
  void CheckJointCount(int stopLine) const;

 private:
  void ReadEigenSolution(Words& words);
  void ReadEigenSettings(Words& words);
  void ReadCounts(Words& words);
  void ReadDiaphragm(Words& words);
  void ReadRigidLink(Words& words);
  void ReadSlaves(Words& words, std::string_view key, std::vector<int>& slaves) const;

  InputDeck& m_deck;
  LineSource& m_source;
  int m_nodesLine = 0;  // of NUMBER OF NODES, 0 before it
};

class ElementGroupReader {
 public:
  explicit ElementGroupReader(InputDeck& deck) : m_deck(deck) {}

  // The group headings, after their first words.
  void OpenBeamGroup(Words& words);
  void OpenSpringGroup(Words& words);
  void OpenLinkGroup(Words& words);
  // A statement within the group opened last.
  void ReadBeamGroupLine(Words& words);
  void ReadSpringGroupLine(Words& words);
  void ReadLinkGroupLine(Words& words);

 private:
  void ReadSection(Words& words);
  void ReadBeam(Words& words);
  void ReadBeamOptions(Words& words, Beam& beam) const;
  void ReadSpringConstant(Words& words);
  void ReadSpring(Words& words);
  void ReadLinkProperty(Words& words);
  void ReadLink(Words& words);
  // A group lists its properties first, then its elements.
  void StartElements() { m_elementsStarted = true; }
  void CheckPropertiesStillOpen(const Words& words) const;

  InputDeck& m_deck;
  bool m_elementsStarted = false;  // the current group has given an element
};

class LoadConditionReader {
 public:
  explicit LoadConditionReader(InputDeck& deck) : m_deck(deck) {}

  // The load condition headings, after their first words.
  void OpenStatic(Words& words);
  void OpenHistory(Words& words);
  void OpenSpectrum(Words& words);
  void OpenMoving(Words& words);
  // A statement within the load condition opened last.
  void ReadLine(Words& words);

 private:
  // The parts of a load condition, in the order they must come.
  enum class Part { kNone, kJointLoads, kBeamLoads, kDisplacements, kDamping, kLanes, kSelfWeight };

  LoadCase& Open(Words& words, CaseKind kind);
  bool ReadPartHeading(Words& words, const LoadCase& loadCase);
  void EnterPart(const Words& words, Part part);
  JointLoad ReadJointLoad(Words& words, const words::Words<6>& names) const;
  BeamLoad ReadBeamLoad(Words& words) const;
  static SelfWeight ReadSelfWeight(Words& words);
  void ReadLane(Words& words);

  InputDeck& m_deck;
  Part m_part = Part::kNone;  // of the current load condition
};

}  // namespace tav::analysis
