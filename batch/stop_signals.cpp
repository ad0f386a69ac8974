#include "batch/stop_signals.hpp"

#include <csignal>
#include <initializer_list>

namespace tolvex {

namespace {

volatile std::sig_atomic_t received = 0;

void note_signal(int signal) {
    received = signal;
}

sigset_t stop_set() {
    sigset_t set;
    sigemptyset(&set);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaddset(&set, s);
    return set;
}

} // namespace

void catch_stop_signals() {
    struct sigaction action {};
    action.sa_handler = note_signal;
    sigemptyset(&action.sa_mask);
    for (int s : {SIGINT, SIGTERM, SIGHUP})
        sigaction(s, &action, nullptr);
}

void stop_if_signalled() {
    if (received != 0)
        throw run_stopped{received};
}

int received_stop_signal() {
    return received;
}

stop_signals_held::stop_signals_held() {
    const sigset_t set = stop_set();
    sigprocmask(SIG_BLOCK, &set, nullptr);
}

stop_signals_held::~stop_signals_held() {
    const sigset_t set = stop_set();
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
}

int stopped_status(const run_stopped& stop) {
    return 128 + stop.signal;
}

} // namespace tolvex
