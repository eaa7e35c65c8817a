// A small host: builds a one-storey frame of joints with its supports,
// a floor diaphragm, masses and dampers, writes the own solver input and
// prints it.
#include <tav/Tav.h>

#include <cstdio>
#include <fstream>
#include <iostream>
#include <sstream>

int main(int argc, char** argv) {
  const std::string path = argc > 1 ? argv[1] : "demo_frame.tav";

  tav::CTavData doc;
  doc.SetTitle("DEMO FRAME");

  // Modal analysis of the first six modes.
  tav::CTavGlobalOption* options = doc.GetGlobalOption();
  options->m_nEigenMethod = 2;
  options->SetNumberOfModes(6);
  options->m_nSubspaceVectors = 12;
  options->m_nIterations = 30;
  options->m_dTolerance = 1e-6;

  // A ground-motion function for later history cases.
  tav::CTavFunction* functions = doc.GetFunction();
  functions->AddFunctionDefault();
  const int32_t pulse = functions->AddFunction(tav::TaV_FUNCTION_SINUSOIDAL, 2.0, 0.0);
  functions->AddFunctionValue(pulse, 0.0, 0.0);
  functions->AddFunctionValue(pulse, 0.25, 1.0);
  functions->AddFunctionValue(pulse, 0.5, 0.0);

  // Columns of 3.5 m on a 6 m by 4 m plan; the supports are skewed by 30 degrees.
  const int32_t skewed = doc.AddLocalCoordSystem(0.0, 0.0, 30.0, 1);
  const double plan[4][2] = {{0.0, 0.0}, {6.0, 0.0}, {6.0, 4.0}, {0.0, 4.0}};
  for (const auto& corner : plan) doc.AddJoint(corner[0], corner[1], 0.0, true, true, true, true, true, true, skewed);
  tav::CLongArray floor;
  for (const auto& corner : plan) floor.Add(doc.AddJoint(corner[0], corner[1], 3.5, -1));
  const int32_t centre = doc.AddJoint(3.0, 2.0, 3.5, -1);
  doc.SetJointRestraint(centre, false, false, true, true, true, false);

  // The floor moves as one rigid diaphragm about its centre, which carries the mass.
  doc.AddJointConstraintDiap(centre, floor);
  doc.AddJointMass(centre, 24.0, 24.0, 0.0, 0.0, 0.0, 104.0);
  for (int32_t joint : floor) doc.AddJointDamping(joint, 0.5, 0.5, 0.0, 0.0, 0.0, 0.0);

  if (doc.Save(path, tav::TaV_FORMAT_TAV) != 1) {
    std::cerr << "cannot write " << path << "\n";
    return 1;
  }
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  std::cout << "Own solver input written to " << path << ":\n\n" << text.str();
  return 0;
}
