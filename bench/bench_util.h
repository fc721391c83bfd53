// Small timing helpers shared by the benchmark programs.
#pragma once

#include <algorithm>
#include <chrono>
#include <vector>

namespace qrn::bench {

inline double median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

inline double millisSince(std::chrono::steady_clock::time_point t0) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
}

template <typename Fn>
double millis(Fn&& fn) {
    const auto t0 = std::chrono::steady_clock::now();
    fn();
    return millisSince(t0);
}

}  // namespace qrn::bench
