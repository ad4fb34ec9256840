#!/usr/bin/env python3
"""Many sensors at the same moment in one working directory, each with its own
per-destination logon file: every run must reach its own system, and every
failing run must report its own system's error text, although all of them
share "SapRfc.ini" and the library's trace file "Dev_Rfc.Trc".

Half of the systems fail their call with a text naming the system.  Without
the run's own logon-file copy a run reaches another run's system; without its
own part of the trace file a run reports another system's text; and a
successful run that deleted the trace file beside failing ones would make
them report "- Look for Trace-File".  Afterwards the directory holds only the
files a run may leave there.  With --library and the stand-in's variant that
reads RFC_INI only when it is loaded, a sensor that names its own copy after
loading the library reaches the systems of other runs.
"""

import os
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_case  # noqa: E402  (shares the run bound and the files a run may leave)
from script_setup import arguments, scratch, systems_address, write_system  # noqa: E402

RUNS = 20
ROUNDS = 3


def fails(number):
    return number % 2 == 1


def expected_output(number):
    destination = 'D%02d' % number
    # Outside console mode no logon-file line breaks the bare value.
    if fails(number):
        return ('<Prtg>\n<Error>1</Error>\n<Text>Error 1014: RFC-Failure raised ! - system %s is failing'
                '</Text>\n</Prtg>\n' % destination).encode(), 2
    return ('%d\n' % number).encode(), 0


def main():
    args = arguments(__doc__)
    host = systems_address('concurrent-runs', args)

    with scratch(args, 'quenmarel-concurrent-', host, b'Harnick\n') as space:
        password = space.expander.scramble('secret')
        scenario = []
        for number in range(1, RUNS + 1):
            destination = 'D%02d' % number
            write_system(space.work, destination, password, host, number)
            call = 'call = failure\ntext = system %s is failing\n' % destination if fails(number) else ''
            scenario.append('[system]\nlisten = %s:%d\n%sPAGE_AREA_SIZE = 100\nPAGE_CURRENTLY_USED = %d\n'
                            % (host, 3300 + number, call, number))
        given = set(os.listdir(space.work))

        simulator = space.start_simulator(''.join(scenario))
        failures = []
        try:
            for _ in range(ROUNDS):
                runs = {number: space.start_sensor(['D%02d' % number, 'CH=1']) for number in range(1, RUNS + 1)}
                for number, process in runs.items():
                    output, _ = process.communicate(timeout=run_case.RUN_TIMEOUT)
                    expected, exit_code = expected_output(number)
                    if process.returncode != exit_code or output != expected:
                        failures.append('D%02d: exit %d, output %r' % (number, process.returncode, output))
                left = sorted(set(os.listdir(space.work)) - given - set(run_case.OWN_FILES_OF_THE_RUN))
                if left:
                    failures.append('left in the directory: %s' % ', '.join(left))
        finally:
            simulator.stop()
        for failure in failures:
            print(failure)
        print('%d of %d runs reached their own system and reported their own failure'
              % (RUNS * ROUNDS - len(failures), RUNS * ROUNDS))
        return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
