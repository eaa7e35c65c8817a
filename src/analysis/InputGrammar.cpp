#include "analysis/InputGrammar.h"

#include <string>

namespace tav::analysis {

void NotHere(const Words& words) {
  const Statement& statement = words.GetStatement();
  if (!statement.words.empty() && ParseInteger(statement.words[0])) {
    words.Fail("statement " + Excerpt(statement) + " is out of place");
  }
  words.Fail("unknown statement " + Excerpt(statement));
}

void ExpectNumbered(const Words& words) {
  if (!ParseInteger(words.Peek())) NotHere(words);
}

int JointIndex(const InputDeck& deck, const Words& words, std::string_view text) {
  const int joint = words.Number(text, "joint");
  if (joint >= static_cast<int>(deck.joints.size())) {
    words.Fail("joint " + std::to_string(joint + 1) + " does not exist: the input has " +
               std::to_string(deck.joints.size()) + " joints");
  }
  return joint;
}

int NextJoint(const InputDeck& deck, Words& words, std::string_view what) {
  return JointIndex(deck, words, words.Take(what));
}

BeamNaming ReadBeamNaming(const InputDeck& deck, Words& words) {
  BeamNaming naming;
  naming.jointI = JointIndex(deck, words, words.Value("NOAN"));
  naming.jointJ = NextJoint(deck, words, "joint J");
  naming.angle = words.NextReading("the roll angle");
  return naming;
}

}  // namespace tav::analysis
