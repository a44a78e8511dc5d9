#include "engine/random.h"

#include <stdint.h>

static uint32_t random_state;

void SeedRandom(unsigned int seed) {
    random_state = seed;
}

int DrawRandom() {
    random_state = random_state * 214013u + 2531011u;
    return static_cast<int>((random_state >> 16) & 0x7FFF);
}
