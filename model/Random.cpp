#include "model/Random.h"

#include <utility>

namespace {
uint32_t state = 1;
std::function<int()>& Override() {
    static std::function<int()> source;
    return source;
}
} // namespace

void SeedRandom(uint32_t seed) {
    state = seed;
}

int RandomDraw() {
    if (Override()) return Override()() & 0x7FFF;
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
}

void SetRandomSource(std::function<int()> source) {
    Override() = std::move(source);
}
