// The entry point every fuzz target defines: libFuzzer's driver calls it in
// the fuzz build, ReplayMain.cpp in the test builds.
#pragma once

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);
