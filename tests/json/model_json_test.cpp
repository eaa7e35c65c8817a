// The JSON model files of Tav::json in process: where each kind of mistake
// is reported, that a refused model leaves the document as it was, and that
// reading and writing know the same keys.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "json/DocumentedModel.h"
#include "tav/json/ModelJson.h"

namespace tav {
namespace {

// "PATH: message" of the first mistake, as the tool prints it after the
// file's name; "" when the model builds.
std::string Refusal(const std::string& text) {
  try {
    CTavData doc;
    json::BuildModel(json::ParseModelText(text), doc);
  } catch (const json::ModelError& error) {
    return (error.Path().empty() ? "" : error.Path() + ": ") + error.what();
  }
  return "";
}

// Two joints and a beam between them, followed by `rest`.
std::string Frame(const std::string& beam, const std::string& rest = "") {
  return R"({"joints": [{"x": 0, "y": 0, "z": 0}, {"x": 4, "y": 0, "z": 0}], "groups": [{"kind": "beam",
    "sections": [{"shape": "rectangle", "E": 1, "width": 1, "height": 1}], "beams": [{"section": 1, "joints": )" +
         beam + "}]}]" + rest + "}";
}

// A frame whose one static case carries a beam load of `type`.
std::string BeamLoad(const std::string& type, const std::string& components) {
  return Frame("[1, 2]", R"(, "loadCases": {"static": [{"name": "Q", "beamLoads": [{"beam": 1, )" + type +
                             R"(, "components": [)" + components + "]}]}]}");
}

struct Broken {
  std::string model;
  const char* message;  // the start of it
};

TEST(ModelJsonTest, EachMistakeIsReportedAtItsPlace) {
  const std::string z = R"({"direction": "Z", "values": [1, 1], "distances": [0, 1]})";
  const Broken cases[] = {
      {R"({"joints": [}")", "not valid JSON: parse error at line 1, column 13"},
      {R"({"joints": [{"x": 1e999, "y": 0, "z": 0}]})",
       "not valid JSON: parse error at line 1, column 23: number overflow parsing '1e999'"},
      {R"({"joints": [], "beams": []})", "/beams: unknown key \"beams\""},
      {R"({"joints": [{"x": "0", "y": 0, "z": 0}]})", "/joints/0/x: expected a number, found a string"},
      {R"({"joints": [{"x": 0, "y": 0, "z": 0}], "masses": [{"joint": 2, "values": [1, 1, 1, 0, 0, 0]}]})",
       "/masses/0/joint: joint 2 does not exist (there are 1)"},
      {R"({"joints": [{"x": 0, "y": 0, "z": 0}], "masses": [{"joint": 1, "values": [1, 2, 3]}]})",
       "/masses/0/values: expected 6 numbers, found 3"},
      {R"({"joints": [{"x": 0, "y": 0, "z": 0, "localSystem": 1}]})",
       "/joints/0/localSystem: local system 1 does not exist (there are none)"},
      {R"({"joints": [{"x": 0, "y": 0, "z": 0, "restraints": ["UW"]}]})",
       "/joints/0/restraints/0: \"UW\" is not one of"},
      {R"({"options": {"forceSegments": 0}})", "/options/forceSegments: the value 0 is out of range"},
      {R"({"options": {"checks": ["LOAD-VECTOR", "LOAD-VECTOR"]}})",
       "/options/checks/1: \"LOAD-VECTOR\" is given twice"},
      {R"({"options": {"eigen": {"method": "lanczos"}}})",
       "/options/eigen/method: \"lanczos\" is not one of \"none\", \"determinant\", \"subspace\""},
      {R"({"title": "A\nSTOP"})", "/title: the text holds a line break or another control character"},
      {R"({"document": {"settings": [1, 2, 3]}})", "/document/settings: expected 4 whole numbers"},
      // Groups and their elements.
      {R"({"groups": [{"sections": []}]})", "/groups/0: missing key \"kind\""},
      {R"({"groups": [{"kind": "spring", "sections": []}]})", "/groups/0/sections: unknown key \"sections\""},
      {R"({"joints": [{"x": 0, "y": 0, "z": 0}, {"x": 1, "y": 0, "z": 0}], "groups": [{"kind": "beam",
        "sections": [], "beams": [{"section": 1, "joints": [1, 2]}]}]})",
       "/groups/0/beams/0/section: section 1 does not exist (there are none)"},
      {R"({"groups": [{"kind": "beam", "sections": [{"shape": "circle"}]}]})",
       "/groups/0/sections/0/shape: \"circle\" is not one of \"general\", \"rectangle\""},
      {Frame("[2, 2]"), "/groups/0/beams/0/joints: a beam needs two different joints"},
      {Frame(R"([1, 2], "offsets": [0, -1])"), "/groups/0/beams/0/offsets/1: an offset cannot be negative"},
      {Frame(R"([1, 2], "segments": 1.5)"), "/groups/0/beams/0/segments: expected a whole number, found a number"},
      {R"({"groups": [{"kind": "spring", "constants": [{"stiffness": [1, 2]}]}]})",
       "/groups/0/constants/0/stiffness: expected 3 or 6 stiffnesses, found 2"},
      {R"({"groups": [{"kind": "link", "properties": [], "links": [{"property": 1, "joints": [1, 2]}]}]})",
       "/groups/0/links/0/property: link property 1 does not exist (there are none)"},
      // Load cases and their loads.
      {R"({"joints": [{"x": 0, "y": 0, "z": 0}], "loadCases": {"static": [{"name": "P",
        "jointLoads": [{"joint": 1, "values": [1, 0, 0, 0, 0, 0], "function": 3}]}]}})",
       "/loadCases/static/0/jointLoads/0/function: function 3 does not exist"},
      {R"({"loadCases": {"static": [{"name": "DEAD LOAD"}]}})",
       "/loadCases/static/0/name: a name must be one word (the solver files separate words by blanks)"},
      {R"({"loadCases": {"static": [{"name": "D"}, {"name": "D"}]}})",
       "/loadCases/static/1/name: the name \"D\" is used twice"},
      {BeamLoad(R"("type": "distributed")", z + ", " + z),
       "/loadCases/static/0/beamLoads/0/components/1/direction: the direction is given twice"},
      {BeamLoad(R"("type": "force")", z), "/loadCases/static/0/beamLoads/0/components/0/values: expected 1 numbers"},
      {BeamLoad(R"("type": "distributed", "absolute": true)", R"({"direction": "X", "values": [1, 1],
        "distances": [1, 4.5]})"),
       "/loadCases/static/0/beamLoads/0/components/0/distances/1: the distance 4.500000 is off the beam (0 to "
       "4.000000)"},
      {BeamLoad(R"("type": "distributed")", R"({"direction": "X", "values": [1, 1], "distances": [0.5, 0.25]})"),
       "/loadCases/static/0/beamLoads/0/components/0/distances: the second distance is before the first"},
      {R"({"loadCases": {"moving": [{"name": "M", "lanes": [{"beams": [1], "eccentricities": [0, 0]}]}]}})",
       "/loadCases/moving/0/lanes/0/beams: expected two beams"},
      // Combinations.
      {R"({"combinations": [{"name": "C", "type": "ADD", "terms": [{"kind": "static", "case": 1, "factor": 1}]}]})",
       "/combinations/0/terms/0/case: static case 1 does not exist (there are none)"},
      {R"({"combinations": [{"name": "A", "terms": [{"kind": "combination", "case": 3, "factor": 1}]}, {"name": "B"}]})",
       "/combinations/0/terms/0/case: combination case 3 does not exist (there are 2)"},
      {R"({"combinations": [{"name": "A", "terms": [{"kind": "combination", "case": 2, "factor": 1}]}, {"name": "B"}]})",
       "/combinations/0/terms/0/case: combination 2 is not listed before this one"},
      {R"({"loadCases": {"static": [{"name": "D"}]}, "combinations": [{"name": "D"}]})",
       "/combinations/0/name: the name \"D\" is used twice"},
  };
  for (const Broken& broken : cases) {
    const std::string refusal = Refusal(broken.model);
    EXPECT_EQ(refusal.rfind(broken.message, 0), 0u) << broken.message << "\n  got: " << refusal;
  }
}

// The keys of `value` and of everything in it, array positions left out.
void CollectKeys(const json::Json& value, const std::string& path, std::set<std::string>& keys) {
  if (value.is_object()) {
    for (const auto& item : value.items()) {
      keys.insert(path + "/" + item.key());
      CollectKeys(item.value(), path + "/" + item.key(), keys);
    }
  } else if (value.is_array()) {
    for (const json::Json& item : value) CollectKeys(item, path + "/*", keys);
  }
}

// The documented example uses every key: what is written of it has no key
// the example lacks (a key at its default may be left out), and builds the
// same model again. Refused, it leaves the document as it was.
TEST(ModelJsonTest, ReadingAndWritingKnowTheSameKeys) {
  const json::Json model = json::ParseModelText(test::DocumentedModel());
  CTavData doc;
  json::Json broken = model;
  broken["combinations"][0]["terms"][0]["case"] = 99;
  EXPECT_THROW(json::BuildModel(broken, doc), json::ModelError);
  EXPECT_EQ(json::ModelToJson(doc), json::ModelToJson(CTavData()));
  json::BuildModel(model, doc);
  const json::Json written = json::ModelToJson(doc);
  std::set<std::string> read, wrote;
  CollectKeys(model, "", read);
  CollectKeys(written, "", wrote);
  for (const std::string& key : wrote) EXPECT_EQ(read.count(key), 1u) << key;
  CTavData again;
  json::BuildModel(written, again);
  EXPECT_EQ(json::ModelToJson(again), written);
}

TEST(ModelJsonTest, AnEmptyReleaseListReleasesNothing) {
  CTavData doc;
  json::BuildModel(json::ParseModelText(Frame(R"([1, 2], "releaseI": [], "releaseJ": ["R3"])")), doc);
  EXPECT_EQ(doc.GetBeam(0)->m_bReleaseI, 0);
  EXPECT_NE(doc.GetBeam(0)->m_bReleaseJ, 0);
  const json::Json beam = json::ModelToJson(doc)["groups"][0]["beams"][0];
  EXPECT_FALSE(beam.contains("releaseI"));
  EXPECT_EQ(beam["releaseJ"], json::Json::array({"R3"}));
}

}  // namespace
}  // namespace tav
