// What the benchmarks' reporters read of a finished run.
#pragma once

// Google Benchmark 1.8 replaced a run's error_occurred by skipped (a run can also be skipped
// without an error); a run of either kind has no time to keep.
template <typename TRun> bool Skipped(const TRun &r) {
    if constexpr (requires { r.skipped; })
        return r.skipped != decltype(r.skipped){};
    else
        return r.error_occurred;
}
