#include "cli/BatchRunner.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <mutex>
#include <new>
#include <optional>
#include <system_error>
#include <thread>

#include "cli/StopSignals.h"

namespace tarvelo::cli {

namespace {

// What the threads and the calling thread share, under `mutex`.
struct BatchState {
  std::mutex mutex;
  std::condition_variable changed;
  std::vector<std::optional<FileOutcome>> outcomes;  // filled as files finish
  size_t taken = 0;                                  // files started
  int workers_left = 0;
  uintmax_t bytes_done = 0;
  int done = 0;
  int started = 0;  // files taken so far: each one is shown as it starts
  std::string current;
};

FileOutcome FailedByException(const BatchInput& input, const std::string& what) {
  FileOutcome outcome;
  outcome.Input = input.Path;
  outcome.Status = FileStatus::kFailed;
  outcome.Messages.push_back(ReportedMessage{MessageKind::kError, "the conversion failed: " + what});
  outcome.Deciding = DecidingMessage(outcome.Status, outcome.Messages);
  return outcome;
}

void Work(const std::vector<BatchInput>& inputs, const BatchJob& shared_job, BatchState& state) {
  // This thread's own copy: the documents of different threads share nothing but the input
  // list, even read-only settings.
  const BatchJob job = shared_job;  // NOLINT(performance-unnecessary-copy-initialization)
  for (;;) {
    size_t index = 0;
    {
      std::lock_guard lock(state.mutex);
      if (state.taken >= inputs.size() || StopSignal() != 0) break;
      index = state.taken++;
      // As named, or relative to the folder named: two files of one name in two folders
      // differ, and the part they share with every other file is left out.
      state.current = inputs[index].Shown.empty() ? inputs[index].Path : inputs[index].Shown;
      ++state.started;
      state.changed.notify_all();
    }
    FileOutcome outcome;
    // What the standard library may throw (memory, file system) fails this file only.
    try {
      outcome = ConvertBatchFile(inputs[index], job);
    } catch (const std::bad_alloc&) {
      outcome = FailedByException(inputs[index], "out of memory");
    } catch (const std::exception& error) {
      outcome = FailedByException(inputs[index], error.what());
    }
    std::lock_guard lock(state.mutex);
    state.outcomes[index] = std::move(outcome);
    state.bytes_done += inputs[index].Bytes;
    ++state.done;
    state.changed.notify_all();
  }
  std::lock_guard lock(state.mutex);
  --state.workers_left;
  state.changed.notify_all();
}

}  // namespace

int DefaultJobs() { return std::max(1u, std::thread::hardware_concurrency()); }

int RunBatch(const std::vector<BatchInput>& inputs, const BatchJob& job, int jobs, const OutcomeSink& on_outcome,
             const ProgressSink& on_progress) {
  const auto start = std::chrono::steady_clock::now();
  uintmax_t bytes_total = 0;
  for (const BatchInput& input : inputs) bytes_total += input.Bytes;

  BatchState state;
  state.outcomes.resize(inputs.size());
  const int threads = std::max(1, std::min<int>(jobs, static_cast<int>(inputs.size())));
  // A thread the system cannot start (no memory, too many processes) leaves the batch to the
  // ones that started; when none did, this thread converts every file itself.
  std::vector<std::thread> workers;
  {
    std::lock_guard lock(state.mutex);
    state.workers_left = threads;
  }
  for (int i = 0; i < threads; ++i) {
    try {
      workers.emplace_back(Work, std::cref(inputs), std::cref(job), std::ref(state));
    } catch (const std::exception&) {
      std::lock_guard lock(state.mutex);
      state.workers_left -= threads - i;
      break;
    }
  }
  if (workers.empty()) {
    state.workers_left = 1;
    Work(inputs, job, state);
  }

  size_t reported = 0;
  std::unique_lock lock(state.mutex);
  for (;;) {
    // Hand over the finished files that come next in input order.
    while (reported < inputs.size() && state.outcomes[reported]) {
      FileOutcome outcome = std::move(*state.outcomes[reported]);
      state.outcomes[reported].reset();
      ++reported;
      lock.unlock();
      on_outcome(std::move(outcome));
      lock.lock();
    }
    if (state.workers_left == 0) break;
    BatchProgress progress;
    progress.Done = state.done;
    progress.Total = static_cast<int>(inputs.size());
    progress.Current = state.current;
    progress.Elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // Estimated once a hundredth of the bytes is done: a first file that is empty or refused
    // at once says nothing of the time the others take.
    if (state.bytes_done > 0 && bytes_total >= state.bytes_done && state.bytes_done * 100 >= bytes_total) {
      progress.Remaining = progress.Elapsed * static_cast<double>(bytes_total - state.bytes_done) /
                           static_cast<double>(state.bytes_done);
    }
    const int started = state.started, done = state.done;
    lock.unlock();
    on_progress(progress);
    lock.lock();
    // Woken when a file starts or ends, else five times a second for the clock.
    state.changed.wait_for(lock, std::chrono::milliseconds(200),
                           [&] { return state.started != started || state.done != done || state.workers_left == 0; });
  }
  const int never_started = static_cast<int>(inputs.size() - state.taken);
  lock.unlock();
  for (std::thread& worker : workers) worker.join();
  return never_started;
}

}  // namespace tarvelo::cli
