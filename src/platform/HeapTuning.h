#pragma once

namespace kavoret {

// Keeps memory freed at the top of the heap for the next use instead of handing
// it back to the system at once. Every tally reads the results file into a few
// megabytes of buffers and frees them again; handed back each time, the next
// tally takes every one of those pages afresh, one page fault each, which costs
// more than the tally itself. Up to 16 MiB stay with the process. Call it once,
// first thing in main (benchmarks of the tally call it too, to measure what the
// program does).
void keepFreedHeapForReuse();

} // namespace kavoret
