#pragma once

#include "results/RunRecord.h"

class SequenceRun;

// The run the engine has just finished, as the results history keeps it: the engine's subject name,
// the sequence as it is now, the splits to the millisecond of the gates' clock, and a start time
// reckoned back from `finishedUtc` by the run's total.
RunRecord FinishedRunRecord(const SequenceRun& run, bool simulated, const QDateTime& finishedUtc);
