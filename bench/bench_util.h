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

// The median of `runs` timed calls work(1)..work(runs), after one untimed
// warm-up call work(0).
template <typename Fn>
double medianOfRuns(int runs, Fn&& work) {
    std::vector<double> times;
    work(0);
    for (int i = 1; i <= runs; ++i) times.push_back(millis([&] { work(i); }));
    return median(times);
}

}  // namespace qrn::bench
