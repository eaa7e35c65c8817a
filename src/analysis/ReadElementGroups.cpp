// The element groups: beams with their sections, support springs with
// their constants, and nonlinear links with their properties. A group lists
// its properties first, then its elements.
#include <cmath>
#include <string>
#include <utility>

#include "analysis/InputGrammar.h"

namespace tav::analysis {
namespace {

// The most segments a beam's results may be divided into (the NREG of a beam
// statement): as many as a model may ask for.
constexpr int kMaxSegments = 1000;

// "g NUMBER OF ELEMENTS=n" after the group's kind, optionally followed by
// "NUMBER OF CONSTANTS=m".
int ReadGroupNumber(Words& words, bool withConstants) {
  const int number = words.NextNumber("group number");
  words.Expect("NUMBER");
  words.Expect("OF");
  words.IntegerValue("ELEMENTS");
  if (withConstants) {
    words.Expect("NUMBER");
    words.Expect("OF");
    words.IntegerValue("CONSTANTS");
  }
  words.ExpectEnd();
  return number;
}

// "END RELEASE=MTI [MTJ]" or "END RELEASE=MTJ", after END.
void ReadRelease(Words& words, Beam& beam) {
  const auto release = [&](std::string_view end) {
    if (end == words::kReleaseI) {
      beam.releaseI = true;
    } else if (end == words::kReleaseJ) {
      beam.releaseJ = true;
    } else {
      words.Fail("unknown end release " + Quote(end));
    }
  };
  const std::string_view first = words.Value("RELEASE");
  if (first.empty()) words.Fail("END RELEASE= names no end");
  release(first);
  while (words.Peek() == words::kReleaseI || words.Peek() == words::kReleaseJ) release(words.Take("an end"));
}

// The comma-separated values of "STIFFNESS=k1,k2,k3".
std::vector<std::string_view> SplitAtCommas(std::string_view text) {
  std::vector<std::string_view> values;
  for (size_t begin = 0;;) {
    const size_t comma = text.find(',', begin);
    values.push_back(text.substr(begin, comma - begin));
    if (comma == std::string_view::npos) return values;
    begin = comma + 1;
  }
}

}  // namespace

void ElementGroupReader::CheckPropertiesStillOpen(const Words& words) const {
  if (m_elementsStarted) words.Fail("properties must come before the elements of their group");
}

// ---- Beams ----

void ElementGroupReader::OpenBeamGroup(Words& words) {
  m_elementsStarted = false;
  BeamGroup group;
  group.number = ReadGroupNumber(words, false);
  m_deck.beamGroups.push_back(std::move(group));
}

void ElementGroupReader::ReadBeamGroupLine(Words& words) {
  if (words.Peek() == "MAT/SEC") {
    ReadSection(words);
  } else {
    ReadBeam(words);
  }
}

// "MAT/SEC PROPERTIES s [E=r] [J=r] [POISSON'S RATIO=r] [IS=r] [IT=r]
// [AREA=r] [ASHS=r] [ASHT=r]": only the values that are not 0 are written.
void ElementGroupReader::ReadSection(Words& words) {
  CheckPropertiesStillOpen(words);
  words.Expect("MAT/SEC");
  words.Expect("PROPERTIES");
  Section section;
  section.number = words.NextNumber("section number");
  static constexpr std::pair<std::string_view, double Section::*> kFields[] = {
      {"E", &Section::e},       {"J", &Section::j},       {"IS", &Section::is},     {"IT", &Section::it},
      {"AREA", &Section::area}, {"ASHS", &Section::ashs}, {"ASHT", &Section::asht},
  };
  while (!words.AtEnd()) {
    // The one key with a blank in it.
    if (words.Accept("POISSON'S")) {
      section.poisson = words.RealValue("RATIO");
      continue;
    }
    const KeyValue split = SplitKey(words.Peek());
    const auto field = std::find_if(std::begin(kFields), std::end(kFields),
                                    [&split](const auto& entry) { return entry.first == split.key; });
    if (!split.hasValue || field == std::end(kFields)) words.Fail(Unexpected(words.Peek()));
    section.*(field->second) = words.RealValue(split.key);
  }
  m_deck.beamGroups.back().sections.push_back(section);
}

// "b MATERIAL=s NOAN=i j angle NREG=n", then the options (ReadBeamOptions).
void ElementGroupReader::ReadBeam(Words& words) {
  ExpectNumbered(words);
  StartElements();
  BeamGroup& group = m_deck.beamGroups.back();
  Beam beam;
  beam.line = words.Line();
  beam.number = words.NextNumber("beam number");
  beam.group = static_cast<int>(m_deck.beamGroups.size()) - 1;
  const int section = words.NumberValue("MATERIAL");
  beam.section = PositionOf(group.sections, section);
  if (beam.section < 0) {
    words.Fail("section " + std::to_string(section + 1) + " does not exist in beam group " +
               std::to_string(group.number + 1));
  }
  const BeamNaming naming = ReadBeamNaming(m_deck, words);
  beam.jointI = naming.jointI;
  beam.jointJ = naming.jointJ;
  beam.angle = naming.angle.value;
  beam.angleResolution = naming.angle.resolution;
  beam.segments = words.IntegerValue("NREG");
  if (beam.segments < 1 || beam.segments > kMaxSegments) {
    words.Fail("NREG=" + std::to_string(beam.segments) + " is not a number of segments from 1 to " +
               std::to_string(kMaxSegments));
  }
  ReadBeamOptions(words, beam);
  group.beams.push_back(beam);
}

// Optionally "END RELEASE=MTI [MTJ]" or "END RELEASE=MTJ", "IOFFSET=r
// JOFFSET=r", "RIGID=r" and the beam's own "NREG=r".
void ElementGroupReader::ReadBeamOptions(Words& words, Beam& beam) const {
  while (!words.AtEnd()) {
    if (words.Accept("END")) {
      ReadRelease(words, beam);
    } else if (words.PeekKey("IOFFSET")) {
      beam.offsetI = words.RealValue("IOFFSET");
    } else if (words.PeekKey("JOFFSET")) {
      beam.offsetJ = words.RealValue("JOFFSET");
    } else if (words.PeekKey("RIGID")) {
      beam.rigid = words.RealValue("RIGID");
    } else if (words.PeekKey("NREG")) {
      // Written with "%g", as a real; only a whole count makes sense.
      const std::string_view text = words.Value("NREG");
      const double segments = words.Real(text, "NREG=");
      if (segments < 1.0 || segments > 1e6 || segments != std::floor(segments)) {
        words.Fail("the beam's NREG=" + std::string(text) + " is not a whole number of segments");
      }
      beam.ownSegments = static_cast<int>(segments);
    } else {
      words.Fail(Unexpected(words.Peek()));
    }
  }
}

// ---- Support springs ----

void ElementGroupReader::OpenSpringGroup(Words& words) {
  m_elementsStarted = false;
  SpringGroup group;
  group.number = ReadGroupNumber(words, true);
  m_deck.springGroups.push_back(std::move(group));
}

void ElementGroupReader::ReadSpringGroupLine(Words& words) {
  if (words.Peek() == "SPRING") {
    ReadSpringConstant(words);
  } else {
    ReadSpring(words);
  }
}

// "SPRING CONSTANTS c STIFFNESS=k" or, for three degrees of freedom,
// "STIFFNESS=k1,k2,k3".
void ElementGroupReader::ReadSpringConstant(Words& words) {
  CheckPropertiesStillOpen(words);
  words.Expect("SPRING");
  words.Expect("CONSTANTS");
  SpringConstant constant;
  constant.number = words.NextNumber("spring constant number");
  const std::vector<std::string_view> values = SplitAtCommas(words.Value("STIFFNESS"));
  words.ExpectEnd();
  if (values.size() != 1 && values.size() != 3) words.Fail("STIFFNESS= takes one value or three separated by commas");
  constant.multi = values.size() == 3;
  for (size_t i = 0; i < values.size(); ++i) constant.stiffness[i] = words.Real(values[i], "STIFFNESS=");
  m_deck.springGroups.back().constants.push_back(constant);
}

// "s SPRING CONSTANT=c NODE=j TYPE=SINGLE|MULTI D.O.F".
void ElementGroupReader::ReadSpring(Words& words) {
  ExpectNumbered(words);
  StartElements();
  SpringGroup& group = m_deck.springGroups.back();
  Spring spring;
  spring.line = words.Line();
  spring.number = words.NextNumber("spring number");
  words.Expect("SPRING");
  const int constant = words.NumberValue("CONSTANT");
  spring.constant = PositionOf(group.constants, constant);
  if (spring.constant < 0) {
    words.Fail("spring constant " + std::to_string(constant + 1) + " does not exist in spring group " +
               std::to_string(group.number + 1));
  }
  spring.joint = JointIndex(m_deck, words, words.Value("NODE"));
  const std::string_view type = words.Value("TYPE");
  if (type != "SINGLE" && type != "MULTI") words.Fail("unknown spring type " + Quote(type));
  spring.multi = type == "MULTI";
  words.Expect("D.O.F");
  words.ExpectEnd();
  group.springs.push_back(spring);
}

// ---- Nonlinear links ----

void ElementGroupReader::OpenLinkGroup(Words& words) {
  m_elementsStarted = false;
  LinkGroup group;
  group.number = ReadGroupNumber(words, true);
  m_deck.linkGroups.push_back(std::move(group));
}

// "MAT/SEC PROPERTIE p K0=r" or a link.
void ElementGroupReader::ReadLinkGroupLine(Words& words) {
  if (words.Accept("MAT/SEC")) {
    ReadLinkProperty(words);
  } else {
    ReadLink(words);
  }
}

void ElementGroupReader::ReadLinkProperty(Words& words) {
  CheckPropertiesStillOpen(words);
  words.Expect("PROPERTIE");
  LinkProperty property;
  property.number = words.NextNumber("link property number");
  property.k0 = words.RealValue("K0");
  words.ExpectEnd();
  m_deck.linkGroups.back().properties.push_back(property);
}

// "l NODE i j MATERIAL=p".
void ElementGroupReader::ReadLink(Words& words) {
  ExpectNumbered(words);
  StartElements();
  LinkGroup& group = m_deck.linkGroups.back();
  Link link;
  link.line = words.Line();
  link.number = words.NextNumber("link number");
  words.Expect("NODE");
  link.jointI = NextJoint(m_deck, words, "joint I");
  link.jointJ = NextJoint(m_deck, words, "joint J");
  const int property = words.NumberValue("MATERIAL");
  link.property = PositionOf(group.properties, property);
  if (link.property < 0) {
    words.Fail("link property " + std::to_string(property + 1) + " does not exist in link group " +
               std::to_string(group.number + 1));
  }
  words.ExpectEnd();
  group.links.push_back(link);
}

}  // namespace tav::analysis
