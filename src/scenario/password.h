// The execution password generator: 1 to 16 letters A..Z and a..z.
#pragma once

#include <functional>
#include <string>

namespace qrn {

inline constexpr int kPasswordCapacity = 16;

// Uniform integer in lo..hi (both included).
using DrawSmall = std::function<int(int lo, int hi)>;

// n + 1 draws (n from 0..15) of a code in 65..122, of which the letters are
// kept; drawn again when no letter was kept.
std::string generatePassword(const DrawSmall& draw);

}  // namespace qrn
