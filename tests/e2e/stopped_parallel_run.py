#!/usr/bin/env python3
"""A run that measures its listed systems in child processes is killed while
they wait for silent systems: none of its children may outlive it.

A monitor ends a sensor that takes too long the hard way, so the run is killed
with SIGKILL (natively, or the process of the Windows program under wine) and
gets no chance to end its children itself.  It is killed once each child has
logged on to its silent system and waits for the library's 5 s logon bound; a
child still there a moment after its parent went was left behind.
"""

import os
import signal
import subprocess
import sys
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_case  # noqa: E402  (shares the run bound, the simulator's lines and the process search)
from script_setup import arguments, scratch, systems_address, write, write_profile  # noqa: E402

CHILDREN = 4
CHILD_MARKER = '?quenmarel-listed-system'
CHILDREN_START_TIMEOUT = 30
# Well below the 5 s a child waits for a silent logon.
GONE_TIMEOUT = 2.0


def children_of_the_run(private_bin):
    return [process for process in run_case.processes_started_from(private_bin, run_case.windows_path(private_bin))
            if CHILD_MARKER in process]


def wait_for(condition, timeout):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        if condition():
            return True
        time.sleep(0.05)
    return condition()


def main():
    args = arguments(__doc__)
    host = systems_address('stopped-parallel-run', args)

    with scratch(args, 'quenmarel-stopped-', host, None) as space:
        write_profile(space.work, 'SIL', space.expander.scramble('secret'), host)
        write(os.path.join(space.work, 'Gastrelo.Prf'), '# Gsng: ............%s\n' % ('SIL.P00#' * CHILDREN * 2))

        simulator = space.start_simulator('[system]\nlisten = %s:3300\nlogon = silent\n' % host)
        try:
            run = space.start_sensor(['SIL', 'ITEM=Pages:Used', ',PARALLEL=%d' % CHILDREN], stdout=subprocess.DEVNULL)
            # Killed once every child waits for its system, as a monitor's timeout finds them.
            for _ in range(CHILDREN):
                logon = run_case.read_line_with_timeout(simulator.process.stdout, CHILDREN_START_TIMEOUT)
                if logon is None or not logon.startswith(b'logon '):
                    print('the run did not start %d children: %s' % (CHILDREN, children_of_the_run(space.bin)))
                    return 1
            if len(children_of_the_run(space.bin)) != CHILDREN:
                print('not %d children: %s' % (CHILDREN, children_of_the_run(space.bin)))
                return 1
            run.send_signal(signal.SIGKILL)
            run.wait(timeout=run_case.RUN_TIMEOUT)
            if not wait_for(lambda: not children_of_the_run(space.bin), GONE_TIMEOUT):
                print('children left behind by the killed run: %s' % children_of_the_run(space.bin))
                return 1
            print('the killed run left none of its %d children behind' % CHILDREN)
            return 0
        finally:
            run_case.leftover_processes(space.bin)
            simulator.stop()


if __name__ == '__main__':
    sys.exit(main())
