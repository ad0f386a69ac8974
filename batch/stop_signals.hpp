// SIGINT, SIGTERM and SIGHUP end a run at the next fault instead of killing the process at once,
// so that the outputs staged so far are removed by their owners as the stack unwinds.
#pragma once

namespace tolvex {

// Thrown where a run checks for a stop; signal is the one received.
struct run_stopped {
    int signal;
};

// From now on the three signals only note that they came.
void catch_stop_signals();

// Throws run_stopped when one of them came.
void stop_if_signalled();

// The signal that came, or 0: a read or write it broke off (EINTR) ends as the stop does.
int received_stop_signal();

// Holds the three signals back while it lives, so that what it guards (putting the outputs in
// place) is done whole; one that comes meanwhile is noted when it ends.
class stop_signals_held {
  public:
    stop_signals_held();
    ~stop_signals_held();
    stop_signals_held(const stop_signals_held&) = delete;
    stop_signals_held& operator=(const stop_signals_held&) = delete;
};

// The exit status of a process ended by signal: 128 + its number (130 for SIGINT).
int stopped_status(const run_stopped& stop);

} // namespace tolvex
