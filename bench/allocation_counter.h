// Counts every heap allocation of the process that links allocation_counter.cpp,
// which replaces the global operator new.
#ifndef QUILANE_BENCH_ALLOCATION_COUNTER_H_
#define QUILANE_BENCH_ALLOCATION_COUNTER_H_

namespace quilane::bench {

// Allocations made through operator new since the process started.
long AllocationCount();

}  // namespace quilane::bench

#endif  // QUILANE_BENCH_ALLOCATION_COUNTER_H_
