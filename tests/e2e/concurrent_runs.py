#!/usr/bin/env python3
"""Many sensors at the same moment in one working directory, each with its own
per-destination logon file: every run must reach its own system.

The logon files are all copied to the same "SapRfc.ini"; without the lock
around copy and connect, one run reads another's copy and fails to open its
destination or reaches the wrong system.
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


def write(path, text):
    with open(path, 'w', newline='\n') as created:
        created.write(text)


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
            write(os.path.join(work_dir, destination + '.P00'), ''.join([
                'Extcompany.: EXT01\n', 'Destination: %s\n' % destination, 'Client.....: 100\n',
                'User.......: monitor\n', 'Password...: %s\n' % password, 'Language...: EN\n',
                'Mode.......: R/3\n', 'Hostname...: nowhere.invalid\n', 'Sysnr......: 00\n',
                'Gwhost.....: nowhere.invalid\n', 'Gwservice..: sapgw00\n']))
            write(os.path.join(work_dir, 'SapRfc.' + destination),
                  'DEST=%s\nTYPE=A\nASHOST=%s\nSYSNR=%02d\n' % (destination, host, number))
            scenario.append('[system]\nlisten = %s:%d\nPAGE_AREA_SIZE = 100\nPAGE_CURRENTLY_USED = %d\n'
                            % (host, 3300 + number, number))
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
                    expected = ('* SapRfc.Ini.......: D%02d<\n%d\n' % (number, number)).encode()
                    if process.returncode != 0 or output != expected:
                        failures.append('D%02d: exit %d, output %r' % (number, process.returncode, output))
        finally:
            simulator.stop()
        for failure in failures:
            print(failure)
        print('%d of %d runs reached their own system' % (RUNS * ROUNDS - len(failures), RUNS * ROUNDS))
        return 1 if failures else 0
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == '__main__':
    sys.exit(main())
