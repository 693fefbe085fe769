// A fuzz target's check: a failed one ends the run, and libFuzzer keeps the input.
#pragma once

#include <cstdlib>

#define CHECK(ok) ((ok) ? void() : std::abort())
