#pragma once

// How many times longer the code under test may take than in a normal build.
// The sanitized build checks every access and allocation, about fourfold
// slower; a real-time bound that holds the program to its goal on a normal
// build stretches by this much there, where memory errors are what is tested.
#ifdef GLAZE_SANITIZE
constexpr int TestSlowdown = 4;
#else
constexpr int TestSlowdown = 1;
#endif
