// The program's random source: a 15-bit linear congruential generator with the
// srand/rand interface, written here so a seed gives the same plan on every C runtime.
#pragma once

void SeedRandom(unsigned int seed);
// Next draw, 0..32767.
int DrawRandom();
