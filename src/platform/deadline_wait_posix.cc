#include "platform/deadline_wait_posix.h"

#include <pthread.h>
#include <signal.h>
#include <sys/time.h>

#include <cerrno>

#include "platform/clock.h"

namespace {

// Should the timer strike between the clock's reading and the next blocking
// call, it strikes again this much later, so that no wait outlives its deadline.
constexpr long repeat_interval_us = 10000;

void interrupt_the_wait(int) {}

timeval as_timeval(long long microseconds) {
  timeval value{};
  value.tv_sec = static_cast<time_t>(microseconds / 1000000);
  value.tv_usec = static_cast<suseconds_t>(microseconds % 1000000);
  return value;
}

}  // namespace

bool wait_with_deadline(int (*wait_once)(void* argument), void* argument, int timeout_ms) {
  const long long deadline = monotonic_ms() + timeout_ms;
  struct sigaction interrupt {};
  struct sigaction previous_action {};
  interrupt.sa_handler = interrupt_the_wait;
  sigemptyset(&interrupt.sa_mask);
  interrupt.sa_flags = 0;  // no SA_RESTART: the interrupted call returns with EINTR
  if (sigaction(SIGALRM, &interrupt, &previous_action) != 0) return false;
  // A launcher may hand the sensor a blocked SIGALRM; the timer must reach
  // the wait all the same, so it is let through for the wait alone.
  sigset_t alarm_only, previous_mask;
  sigemptyset(&alarm_only);
  sigaddset(&alarm_only, SIGALRM);
  pthread_sigmask(SIG_UNBLOCK, &alarm_only, &previous_mask);
  itimerval timer{};
  itimerval previous_timer{};
  timer.it_value = as_timeval(timeout_ms > 0 ? timeout_ms * 1000LL : 1);
  timer.it_interval = as_timeval(repeat_interval_us);
  bool succeeded = false;
  if (setitimer(ITIMER_REAL, &timer, &previous_timer) == 0) {
    for (;;) {
      if (wait_once(argument) == 0) {
        succeeded = true;
        break;
      }
      if (errno != EINTR || monotonic_ms() >= deadline) break;
    }
    setitimer(ITIMER_REAL, &previous_timer, nullptr);
  }
  pthread_sigmask(SIG_SETMASK, &previous_mask, nullptr);
  sigaction(SIGALRM, &previous_action, nullptr);
  return succeeded;
}
