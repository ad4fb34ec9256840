#!/usr/bin/env python3
"""A system that accepts the connection and never answers the logon, beside a
healthy one, each measured by its own sensor in one working directory through
a per-destination logon file.

The stuck runs wait inside the library's connection opening until its logon
bound; a healthy run started while they wait must be measured at once, not
after them.  If the runs took turns for the whole opening, the stuck runs'
logons would reach the simulator one bound apart, and the healthy run would
finish only after a stuck one had given up.  The stuck runs end with error
1011 once their bound has passed.

The healthy run keeps the library's trace file while the stuck runs are at
work, which may still need it; measured again once they have ended, it is
alone and deletes the file.

Meanwhile, in a directory of its own, the worst single-system run the sensor
controls: another process holds the gate of the runs in the directory and the
logon-file lock, and lets the lock go just before the run would give up on
it; the run then reaches a system that accepts and never answers.  It waits
out each bound and still ends with its document well within the monitor's
default timeout.
"""

import fcntl
import os
import sys
import threading
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_case  # noqa: E402  (shares the run bound and the reading of the simulator's lines)
from script_setup import arguments, budget_seconds, scratch, systems_address, write, write_system  # noqa: E402

STUCK = ('S01', 'S02', 'S03')
HEALTHY = 'H01'
WORST = 'W01'
# Generous: the stuck runs reach the simulator as soon as they have started.
LOGONS_TIMEOUT = 60
# The byte of the presence file that a run holds while it deletes a file alone,
# in the Linux build and in the Windows builds; wine makes a Windows program's
# byte-range locks POSIX locks, which the other process's locks stand in the way of.
PRESENCE_GATE_BYTE = {False: 17, True: 16}


def start(space, destination):
    return space.start_sensor([destination, 'CH=1'])


def measure_healthy(space, failures):
    healthy = start(space, HEALTHY)
    output, _ = healthy.communicate(timeout=run_case.RUN_TIMEOUT)
    if healthy.returncode != 0 or output != b'42\n':
        failures.append('healthy run: exit %d, output %r' % (healthy.returncode, output))


def wait_for_logons(simulator, addresses):
    """Reads the simulator's lines until each address has seen a logon; the
    addresses still missing when the time is up."""
    missing = set(addresses)
    deadline = time.monotonic() + LOGONS_TIMEOUT
    while missing:
        line = run_case.read_line_with_timeout(simulator.process.stdout, max(0, deadline - time.monotonic()))
        if line is None:
            break
        missing.discard(line.decode('latin-1').split(' ')[1] if line.startswith(b'logon ') else None)
    return missing


def lock_logon_file(lock, windows, operation):
    """Takes or lets go the logon-file lock as the sensor does: the Linux build
    the whole file with flock, a Windows build its first byte."""
    if windows:
        fcntl.lockf(lock, operation, 1, 0)
    else:
        fcntl.flock(lock, operation)


class WorstRun:
    """The run of WORST in the scratch SPACE, behind another process's gate and
    lock; the lock is let go a second before the run's wait for it would end."""

    def __init__(self, space):
        work = self.work = space.work
        gate_wait = budget_seconds('presence_gate_wait_ms')
        lock_wait = budget_seconds('logon_file_lock_wait_ms')
        self.bound = budget_seconds('monitor_default_timeout_ms') - budget_seconds('monitor_timeout_spare_ms')
        windows = bool(space.args.wine)
        self.gate = open(os.path.join(work, 'Quenmarel.runs'), 'a+')
        fcntl.lockf(self.gate, fcntl.LOCK_EX, 1, PRESENCE_GATE_BYTE[windows])
        self.lock = open(os.path.join(work, 'SapRfc.ini.lock'), 'a')
        lock_logon_file(self.lock, windows, fcntl.LOCK_EX)
        self.release = threading.Timer(gate_wait + lock_wait - 1, lock_logon_file, (self.lock, windows, fcntl.LOCK_UN))
        self.started = time.monotonic()
        self.run = space.start_sensor([WORST])
        self.release.start()

    def check(self, host, port, failures):
        output, _ = self.run.communicate(timeout=run_case.RUN_TIMEOUT)
        took = time.monotonic() - self.started
        self.release.cancel()
        self.gate.close()
        self.lock.close()
        expected = '<Prtg>\n<Error>1</Error>\n<Text>Error 1011: RFC-Open for %s failed !</Text>\n</Prtg>\n' % WORST
        traced = '**** ERROR in RfcOpenEx\nT:0001 ======> logon timeout\nERROR       no logon answer from %s:%d' % (
            host, port)
        trace_file = os.path.join(self.work, 'Dev_Rfc.Trc')
        with open(trace_file, errors='replace') if os.path.exists(trace_file) else open(os.devnull) as trace:
            if not trace.read().startswith(traced):
                failures.append('worst run: the logon was not waited for after the lock was let go')
        if self.run.returncode != 2 or output != expected.encode():
            failures.append('worst run: exit %d, output %r' % (self.run.returncode, output))
        if took > self.bound:
            failures.append('worst run: its document came after %.1f s, not within %d s' % (took, self.bound))


def main():
    args = arguments(__doc__)
    host = systems_address('stuck-system', args)
    systems = STUCK + (HEALTHY, WORST)

    failures = []
    with scratch(args, 'quenmarel-stuck-', host, b'Harnick\n') as space, \
            scratch(args, 'quenmarel-worst-', host, b'Harnick\n') as worst_space:
        password = space.expander.scramble('secret')
        scenario = []
        for number, destination in enumerate(systems, start=1):
            write_system(worst_space.work if destination == WORST else space.work, destination, password, host, number)
            # Far beyond the library's logon bound: the system never answers in time.
            stuck = 'delay_ms = 600000\n' if destination != HEALTHY else ''
            scenario.append('[system]\nlisten = %s:%d\n%sPAGE_AREA_SIZE = 100\nPAGE_CURRENTLY_USED = 42\n'
                            % (host, 3300 + number, stuck))
        trace_file = os.path.join(space.work, 'Dev_Rfc.Trc')
        write(trace_file, '**** ERROR in RfcOpenEx\nT:0001 ======> logon timeout\nERROR       an earlier failure\n\n')

        simulator = space.start_simulator(''.join(scenario))
        try:
            worst = WorstRun(worst_space)
            check_stuck_beside_healthy(space, simulator, host, trace_file, failures)
            worst.check(host, 3300 + systems.index(WORST) + 1, failures)
        finally:
            simulator.stop()
    for failure in failures:
        print(failure)
    print('healthy run beside %d stuck ones, and the worst run: %s' % (len(STUCK), 'failed' if failures else 'passed'))
    return 1 if failures else 0


def check_stuck_beside_healthy(space, simulator, host, trace_file, failures):
    stuck_runs = [start(space, destination) for destination in STUCK]
    missing = wait_for_logons(simulator, ['%s:%d' % (host, 3300 + number) for number in range(1, len(STUCK) + 1)])
    if missing:
        failures.append('no logon from the stuck runs at %s while they all waited' % ', '.join(sorted(missing)))
    measure_healthy(space, failures)
    # The upper bound, with all the slack the stuck runs' own bound gives.
    given_up = [destination for destination, run in zip(STUCK, stuck_runs) if run.poll() is not None]
    if given_up:
        failures.append('the healthy run ended only after %s had given up' % ', '.join(given_up))
    if not os.path.exists(trace_file):
        failures.append('the healthy run deleted the trace file beside the stuck runs')
    for destination, run in zip(STUCK, stuck_runs):
        output, _ = run.communicate(timeout=run_case.RUN_TIMEOUT)
        expected = ('<Prtg>\n<Error>1</Error>\n<Text>Error 1011: RFC-Open for %s failed !</Text>\n</Prtg>\n'
                    % destination).encode()
        if run.returncode != 2 or output != expected:
            failures.append('%s: exit %d, output %r' % (destination, run.returncode, output))
    measure_healthy(space, failures)
    if os.path.exists(trace_file):
        failures.append('the healthy run, alone, kept the trace file')


if __name__ == '__main__':
    sys.exit(main())
