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
files a run may leave there.
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_case  # noqa: E402  (shares the program set-up and the simulator)

RUNS = 20
ROUNDS = 3
# QUENMAREL_TEST_NET keeps suites that run side by side on addresses of their own.
NETWORK = int(os.environ.get('QUENMAREL_TEST_NET', '0')) % 250
# What runs leave in their directory besides the files given to them.
LEFT_BEHIND = {'SapRfc.ini', 'SapRfc.ini.lock', 'Quenmarel.runs', 'Dev_Rfc.Trc'}


def write(path, text):
    with open(path, 'w', newline='\n') as created:
        created.write(text)


def write_system(work_dir, destination, password, host, number):
    """A system's profile and its per-destination logon file, which sends the
    run to HOST:3300+NUMBER; the profile's own host leads nowhere."""
    write(os.path.join(work_dir, destination + '.P00'), ''.join([
        'Extcompany.: EXT01\n', 'Destination: %s\n' % destination, 'Client.....: 100\n',
        'User.......: monitor\n', 'Password...: %s\n' % password, 'Language...: EN\n',
        'Mode.......: R/3\n', 'Hostname...: nowhere.invalid\n', 'Sysnr......: 00\n',
        'Gwhost.....: nowhere.invalid\n', 'Gwservice..: sapgw00\n']))
    write(os.path.join(work_dir, 'SapRfc.' + destination),
          'DEST=%s\nTYPE=A\nASHOST=%s\nSYSNR=%02d\n' % (destination, host, number))


def fails(number):
    return number % 2 == 1


def expected_output(number):
    destination = 'D%02d' % number
    logon_line = '* SapRfc.Ini.......: %s<\n' % destination
    if fails(number):
        return (logon_line + '<Prtg>\n<Error>1</Error>\n<Text>Error 1014: RFC-Failure raised ! - system %s is failing'
                '</Text>\n</Prtg>\n' % destination).encode(), 2
    return (logon_line + '%d\n' % number).encode(), 0


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--bin', required=True)
    parser.add_argument('--tools', required=True)
    parser.add_argument('--wine')
    parser.add_argument('--wine-prefix')
    parser.add_argument('--host', type=int, required=True,
                        help='last number of the simulated systems\' address: each build tested at once its own')
    args = parser.parse_args()
    host = '127.44.%d.%d' % (NETWORK, args.host)

    scratch = tempfile.mkdtemp(prefix='quenmarel-concurrent-')
    try:
        private_bin = os.path.join(scratch, 'bin')
        work_dir = os.path.join(scratch, 'work')
        os.makedirs(work_dir)
        run_case.install_program(args.bin, private_bin, bool(args.wine), b'Harnick\n')
        expander = run_case.Expander((host, host), os.path.join(args.tools, 'quenmarel-profile'))
        password = expander.scramble('secret')
        scenario = []
        for number in range(1, RUNS + 1):
            destination = 'D%02d' % number
            write_system(work_dir, destination, password, host, number)
            call = 'call = failure\ntext = system %s is failing\n' % destination if fails(number) else ''
            scenario.append('[system]\nlisten = %s:%d\n%sPAGE_AREA_SIZE = 100\nPAGE_CURRENTLY_USED = %d\n'
                            % (host, 3300 + number, call, number))
        given = set(os.listdir(work_dir))
        scenario_path = os.path.join(scratch, 'scenario.ini')
        write(scenario_path, ''.join(scenario))

        simulator = run_case.Simulator(os.path.join(args.tools, 'rfcsim'), scenario_path, scratch)
        failures = []
        try:
            for _ in range(ROUNDS):
                runs = {}
                for number in range(1, RUNS + 1):
                    command = run_case.program_command(args, private_bin, 'quenmarel') + ['D%02d' % number, 'CH=1']
                    runs[number] = subprocess.Popen(command, cwd=work_dir, stdout=subprocess.PIPE,
                                                    stderr=subprocess.DEVNULL, env=run_case.program_environment(args))
                for number, process in runs.items():
                    output, _ = process.communicate(timeout=run_case.RUN_TIMEOUT)
                    expected, exit_code = expected_output(number)
                    if process.returncode != exit_code or output != expected:
                        failures.append('D%02d: exit %d, output %r' % (number, process.returncode, output))
                left = sorted(set(os.listdir(work_dir)) - given - LEFT_BEHIND)
                if left:
                    failures.append('left in the directory: %s' % ', '.join(left))
        finally:
            simulator.stop()
        for failure in failures:
            print(failure)
        print('%d of %d runs reached their own system and reported their own failure'
              % (RUNS * ROUNDS - len(failures), RUNS * ROUNDS))
        return 1 if failures else 0
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == '__main__':
    sys.exit(main())
