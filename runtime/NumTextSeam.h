// A seam of the number texts for tests: the split of a value into a mantissa and a power of two
// that every exact decimal expansion starts from (std::frexp). Emulated arithmetic has been seen
// to give a mantissa of 0 there, which hardware never does; tests feed such splits through it.
#pragma once

using TFrexpFunction = long double (*)(long double, int *);
extern TFrexpFunction NumTextFrexp;
