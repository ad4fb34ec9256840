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
"""

import os
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_case  # noqa: E402  (shares the run bound and the reading of the simulator's lines)
from script_setup import arguments, scratch, systems_address, write, write_system  # noqa: E402

STUCK = ('S01', 'S02', 'S03')
HEALTHY = 'H01'
# Generous: the stuck runs reach the simulator as soon as they have started.
LOGONS_TIMEOUT = 60


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


def main():
    args = arguments(__doc__)
    host = systems_address('stuck-system', args)

    failures = []
    with scratch(args, 'quenmarel-stuck-', host, b'Harnick\n') as space:
        password = space.expander.scramble('secret')
        scenario = []
        for number, destination in enumerate(STUCK + (HEALTHY,), start=1):
            write_system(space.work, destination, password, host, number)
            # Far beyond the library's logon bound: the system never answers in time.
            stuck = 'delay_ms = 600000\n' if destination in STUCK else ''
            scenario.append('[system]\nlisten = %s:%d\n%sPAGE_AREA_SIZE = 100\nPAGE_CURRENTLY_USED = 42\n'
                            % (host, 3300 + number, stuck))
        trace_file = os.path.join(space.work, 'Dev_Rfc.Trc')
        write(trace_file, '**** ERROR in RfcOpenEx\nT:0001 ======> logon timeout\nERROR       an earlier failure\n\n')

        simulator = space.start_simulator(''.join(scenario))
        try:
            stuck_runs = [start(space, destination) for destination in STUCK]
            missing = wait_for_logons(simulator, ['%s:%d' % (host, 3300 + number)
                                                  for number in range(1, len(STUCK) + 1)])
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
        finally:
            simulator.stop()
    for failure in failures:
        print(failure)
    print('healthy run beside %d stuck ones: %s' % (len(STUCK), 'failed' if failures else 'passed'))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
