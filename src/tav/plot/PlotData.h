// Plain data a picture is made of: the frame in global coordinates and what
// is drawn on it. A host (the tav tool) fills these from its model and its
// results; the drawing code knows nothing else of the library.
//
// Global Z is up. Joint and beam indices count from 0 into the frame's
// lists; `number` is what the user sees (from 1).
#pragma once

#include <array>
#include <string>
#include <vector>

namespace tav::plot {

using Point = std::array<double, 3>;  // global X, Y, Z

struct PlotJoint {
  int number = 0;
  Point at{};
  std::array<bool, 6> restrained{};  // UX UY UZ RX RY RZ held; the support's kind follows
  bool spring = false;               // a support spring acts on it
};

struct PlotBeam {
  int number = 0;
  int jointI = 0, jointJ = 0;
  Point axis2{}, axis3{};  // the local axes 2 and 3, unit vectors in global components
};

// A nonlinear link (gap) between two joints.
struct PlotLink {
  int jointI = 0, jointJ = 0;
};

// A force or a moment acting at a point, in global components. Drawings
// scale all arrows of a picture by the largest.
struct PlotArrow {
  Point at{};
  Point vector{};
  bool moment = false;
};

// How long arrows are drawn: a force or moment of magnitude `value` at
// `length` (in the frame's units), the others in proportion. Left at zero,
// the largest arrow of the picture takes a fixed fraction of the frame's
// size. Hosts of the library take both from its arrow operations
// (CalcJointLoad_Arrow, CalcJointReaction_Arrow).
struct ArrowScale {
  double length = 0.0;
  double value = 0.0;
};

struct PlotFrame {
  std::string title;
  std::vector<PlotJoint> joints;
  std::vector<PlotBeam> beams;
  std::vector<PlotLink> links;
  std::vector<std::vector<int>> diaphragms;  // the joints of each rigid diaphragm, its master first
  std::string loadCase;                      // the case whose loads are drawn; empty: none
  std::vector<PlotArrow> loads;
  ArrowScale loadScale;
};

// Member-force components a diagram can show, in the order of the result
// store: N, V2, V3, T, M2, M3.
enum class ForceComponent { kN, kV2, kV3, kT, kM2, kM3 };

// One result drawn over the frame: a case, a combination or a mode.
struct PlotResult {
  std::string name;
  bool mode = false;  // a mode shape: its sign is arbitrary, and the 3D view animates it
  // Global translations of each joint; empty: no deformed shape.
  std::vector<Point> displacements;
  // The diagram: per beam, values at stations equally spaced from I to J;
  // empty: no diagram.
  ForceComponent component = ForceComponent::kM3;
  std::vector<std::vector<double>> stations;
  // The value drawn at the diagram's full height; 0: the largest magnitude
  // among the stations.
  double reference = 0.0;
  std::vector<PlotArrow> reactions;
  ArrowScale reactionScale;
};

// The direction the frame is seen from: azimuth about Z from the X axis
// and elevation above the XY plane, in degrees.
struct PlotView {
  double azimuth = -60.0;
  double elevation = 30.0;
};

struct PlotStyle {
  int width = 800;  // pixels
  int height = 600;
  bool jointNumbers = false;
  bool beamNumbers = false;
  bool localAxes = false;
  // The factor the displacements are drawn at; 0: chosen so that the
  // largest is a tenth of the frame's size. The picture states it.
  double deformedScale = 0.0;
};

}  // namespace tav::plot
