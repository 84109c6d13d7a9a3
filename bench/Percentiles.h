// The time of the measured part of each iteration, reported as the 50th, 95th and 99th
// percentiles ("p50_ms", "p95_ms", "p99_ms"): what the hand feels is the slow event, not
// the mean.
#pragma once

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace bench_support {

class Percentiles {
  public:
    // Runs `measured` and keeps how long it took.
    template <class Measured>
    void Time(Measured&& measured) {
        const auto start = std::chrono::steady_clock::now();
        measured();
        milliseconds_.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }

    void Report(benchmark::State& state) {
        if (milliseconds_.empty()) {
            return;
        }
        state.counters["p50_ms"] = At(0.50);
        state.counters["p95_ms"] = At(0.95);
        state.counters["p99_ms"] = At(0.99);
    }

  private:
    double At(double fraction) {
        const auto at =
            milliseconds_.begin() +
            static_cast<std::ptrdiff_t>(fraction * static_cast<double>(milliseconds_.size() - 1));
        std::nth_element(milliseconds_.begin(), at, milliseconds_.end());
        return *at;
    }

    std::vector<double> milliseconds_;
};

}  // namespace bench_support
