#pragma once
// Runs the files of a batch on N threads, one document per thread at a time, and hands their
// outcomes back on the calling thread in input order, whatever order they finish in.
//
// Each thread takes the next file not yet taken, with its own copy of the job; nothing is
// shared between threads but the input list, read only. Once a stop signal has come no file
// is started; the files being converted stop at their next progress step.

#include <functional>
#include <string>
#include <vector>

#include "cli/BatchInputs.h"
#include "cli/BatchJob.h"
#include "cli/FileOutcome.h"

namespace tarvelo::cli {

struct BatchProgress {
  int Done = 0;
  int Total = 0;
  std::string Current;    // the file started last: as named, or its path relative to the folder named
  double Elapsed = 0;     // seconds
  double Remaining = -1;  // seconds, estimated from the bytes converted; < 0 while unknown
};

// Called on the calling thread: each outcome in input order, and the progress whenever a file
// starts or ends and otherwise about five times a second.
using OutcomeSink = std::function<void(FileOutcome&&)>;
using ProgressSink = std::function<void(const BatchProgress&)>;

// The number of files converted at once when --jobs is not given: the processor's cores.
int DefaultJobs();

// Converts `inputs` with `jobs` threads (at least 1). Returns how many files were never
// started because a stop signal came.
int RunBatch(const std::vector<BatchInput>& inputs, const BatchJob& job, int jobs, const OutcomeSink& on_outcome,
             const ProgressSink& on_progress);

}  // namespace tarvelo::cli
