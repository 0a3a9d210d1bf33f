#pragma once
// Lets a progress thread see that the thread it reports for has ended.
#include "net/transfer_progress.h"

namespace velmo {

// A probe that tells whether the calling thread has ended; it answers "no"
// for as long as the thread runs. Without a handle to the thread (the system
// refused one) it never answers "ended", and the end marker alone ends the
// progress thread.
TransferEndedProbe calling_thread_end_probe();

}  // namespace velmo
