// Constants of the scenario file format. Every saved file depends on them:
// never change a value here.
#pragma once

namespace qrn::lockformat {

// Every locked text byte is XORed with this mask.
inline constexpr unsigned char kMask = 0xB6;

// The execution password of length L is also rearranged: locked byte i is
// masked byte kPasswordPermutation[L - 1][i] of the plain password.
inline constexpr unsigned char kPasswordPermutation[16][16] = {
    {0},
    {1, 0},
    {2, 0, 1},
    {3, 2, 0, 1},
    {1, 2, 3, 4, 0},
    {5, 2, 3, 0, 1, 4},
    {1, 6, 0, 5, 3, 4, 2},
    {6, 3, 5, 0, 1, 2, 7, 4},
    {1, 3, 8, 0, 7, 2, 4, 6, 5},
    {8, 7, 5, 1, 2, 3, 4, 9, 0, 6},
    {6, 4, 10, 7, 2, 1, 9, 3, 5, 8, 0},
    {1, 11, 10, 0, 8, 7, 9, 2, 3, 6, 5, 4},
    {8, 12, 9, 2, 6, 7, 1, 3, 5, 4, 11, 10, 0},
    {8, 11, 0, 9, 7, 3, 10, 1, 2, 13, 5, 4, 6, 12},
    {13, 5, 7, 8, 14, 4, 11, 9, 1, 10, 12, 3, 0, 2, 6},
    {11, 4, 7, 2, 15, 0, 3, 10, 12, 6, 13, 8, 14, 1, 9, 5},
};

}  // namespace qrn::lockformat
