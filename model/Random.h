#pragma once
// The process-wide pseudo-random generator of the randomiser: results 0..32767.

#include <cstdint>
#include <functional>

void SeedRandom(uint32_t seed);
int RandomDraw();
// Replaces the generator (tests); an empty function restores the built-in one.
void SetRandomSource(std::function<int()> source);
