#pragma once
// The millisecond-by-millisecond walk of the Ampico and Artecho models, done stretch by
// stretch. A model's holes open and close, and the paper changes speed, at a few thousand
// milliseconds of a roll; in between, each millisecond repeats the same arithmetic on the
// model's state alone. The walk reads the holes only where they change, steps the state without
// them in between, and stops stepping once a step leaves the state exactly as it was (every
// later step of the stretch would too). The values are the same, to the bit, as those of a walk
// that reads every hole at every millisecond.

#include <algorithm>

#include "expression/ControlHoles.h"

namespace tarvelo {

// Walks milliseconds 1 ... answers.Last(). At a millisecond k where the holes or the paper may
// have changed, `take_holes(k)` reads them into the model and gives the first later millisecond
// at which they may change again. `steps(count)` moves the model's state by `count`
// milliseconds with what was read, and tells whether it settled: a step left the state exactly
// as it found it, and the steps after it were skipped. `answer(k)` gives the values of
// millisecond k to the onsets waiting for them.
template <typename TakeHoles, typename Steps, typename Answer>
void WalkMilliseconds(MillisecondAnswers& answers, TakeHoles&& take_holes, Steps&& steps, Answer&& answer) {
  for (long long k = 1; k <= answers.Last();) {
    const long long until = std::min(take_holes(k), answers.Last() + 1);
    bool settled = steps(1);
    if (answers.Wanted(k)) answer(k);
    // The rest of the stretch: the same holes, the same paper, the same arithmetic.
    for (++k; k < until;) {
      const long long stop = std::min(answers.NextWanted(), until - 1);
      if (!settled) settled = steps(stop - k + 1);
      k = stop + 1;
      if (answers.Wanted(stop)) answer(stop);
    }
  }
}

}  // namespace tarvelo
