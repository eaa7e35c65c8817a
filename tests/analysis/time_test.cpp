// Functions of time and envelopes over steps, against values worked out by
// hand.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "analysis/Diagnostics.h"
#include "analysis/Envelope.h"
#include "analysis/TimeFunctions.h"

namespace tav::analysis {
namespace {

Function Table(std::vector<std::array<double, 2>> points) {
  Function function;
  function.number = 1;
  function.points = std::move(points);
  return function;
}

Function Sine(double period, double phase, std::vector<std::array<double, 2>> envelope = {}) {
  Function function = Table(std::move(envelope));
  function.sinusoidal = true;
  function.parameters = {period, phase};
  return function;
}

TEST(TimeFunctionTest, ValuesAtTimes) {
  const struct {
    Function function;
    double time, value;
  } cases[] = {
      // Linear between the points, the end values held outside them.
      {Table({{0, 0}, {1, 2}, {3, -2}}), -1.0, 0.0},
      {Table({{0, 0}, {1, 2}, {3, -2}}), 0.5, 1.0},
      {Table({{0, 0}, {1, 2}, {3, -2}}), 2.0, 0.0},
      {Table({{0, 0}, {1, 2}, {3, -2}}), 7.0, -2.0},
      {Table({{0.5, 4}}), 0.0, 4.0},
      // A step: two points at one time jump there.
      {Table({{0, 0}, {1, 0}, {1, 5}}), 1.5, 5.0},
      // sin(2 pi t / T + phase): period 2 s, phase 90 degrees is cos(pi t).
      {Sine(2, 90), 0.0, 1.0},
      {Sine(2, 90), 1.0, -1.0},
      {Sine(2, 0), 0.5, 1.0},
      // A table scales the sine: half at t = 0.5, whole from t = 1 on.
      {Sine(2, 0, {{0, 0}, {1, 1}}), 0.5, 0.5},
      {Sine(2, 0, {{0, 0}, {1, 1}}), 1.5, -1.0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("t = " + std::to_string(c.time));
    EXPECT_NEAR(TimeFunction(c.function).At(c.time), c.value, 1e-12);
  }
}

TEST(TimeFunctionTest, FunctionsThatCannotBeUsedAreNamed) {
  const struct {
    Function function;
    std::string message;
  } cases[] = {
      {Table({}), "function 2 has no points"},
      {Sine(0, 0), "function 2 is sinusoidal without a period"},
      {Table({{0, 0}, {2, 1}, {1, 0}}), "function 2: its times go back at point 3"},
  };
  for (const auto& c : cases) {
    try {
      TimeFunction{c.function};
      ADD_FAILURE() << c.message;
    } catch (const AnalysisError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }
  InputDeck deck;
  deck.functions.push_back(Table({{0, 1}}));
  EXPECT_THROW(TimeFunctionOf(deck, 5, "a load"), AnalysisError);
  EXPECT_EQ(TimeFunctionOf(deck, 1, "a load").At(3.0), 1.0);
}

CaseResult OneJointOneStation(double value) {
  CaseResult result;
  result.displacements = {{value, -value, 0, 0, 0, 0}};
  result.reactions = {{0, 0, 2 * value, 0, 0, 0}};
  BeamResult& beam = result.beams.emplace_back();
  beam.stations = {{1.5, value, 0, 0, 0, 0, -3 * value}};
  return result;
}

TEST(EnvelopeTest, LargestSmallestAndThePeakWithItsSign) {
  Envelope envelope(OneJointOneStation(99));
  EXPECT_EQ(envelope.Peak().displacements, OneJointOneStation(0).displacements);
  for (double value : {1.0, -2.0, 0.5}) envelope.Add(OneJointOneStation(value));
  const CaseResult maximum = envelope.Maximum(), minimum = envelope.Minimum(), peak = envelope.Peak();
  EXPECT_EQ(maximum.displacements[0], (Six{1, 2, 0, 0, 0, 0}));
  EXPECT_EQ(minimum.displacements[0], (Six{-2, -1, 0, 0, 0, 0}));
  EXPECT_EQ(peak.displacements[0], (Six{-2, 2, 0, 0, 0, 0}));
  EXPECT_EQ(peak.reactions[0][2], -4.0);
  // The station keeps its distance; its forces are enveloped.
  EXPECT_EQ(peak.beams[0].stations[0], (std::array<double, 7>{1.5, -2, 0, 0, 0, 0, 6}));
  EXPECT_EQ(maximum.beams[0].stations[0][6], 6.0);
  EXPECT_EQ(minimum.beams[0].stations[0][6], -3.0);
}

}  // namespace
}  // namespace tav::analysis
