#!/usr/bin/env python3
"""A run that measures its listed systems in child processes is killed while
they wait for silent systems: none of its children may outlive it.

A monitor ends a sensor that takes too long the hard way, so the run is killed
with SIGKILL (natively, or the process of the Windows program under wine) and
gets no chance to end its children itself.  It is killed once each child has
logged on to its silent system and waits for the library's 5 s logon bound; a
child still there a moment after its parent went was left behind.
"""

import argparse
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_case  # noqa: E402  (shares the program set-up, the simulator and the process search)

CHILDREN = 4
CHILD_MARKER = '?quenmarel-listed-system'
CHILDREN_START_TIMEOUT = 30
# Well below the 5 s a child waits for a silent logon.
GONE_TIMEOUT = 2.0


def write(path, text):
    with open(path, 'w', newline='\n') as created:
        created.write(text)


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
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--bin', required=True)
    parser.add_argument('--tools', required=True)
    parser.add_argument('--wine')
    parser.add_argument('--wine-prefix')
    args = parser.parse_args()
    host, _ = run_case.loopback_hosts('stopped-parallel-run', 'wine' if args.wine else 'native')

    scratch = tempfile.mkdtemp(prefix='quenmarel-stopped-')
    try:
        private_bin = os.path.join(scratch, 'bin')
        work_dir = os.path.join(scratch, 'work')
        os.makedirs(work_dir)
        run_case.install_program(args.bin, private_bin, bool(args.wine), None)
        expander = run_case.Expander((host, host), os.path.join(args.tools, 'quenmarel-profile'))
        write(os.path.join(work_dir, 'SIL.P00'), ''.join([
            'Extcompany.: EXT01\n', 'Destination: SIL\n', 'Client.....: 100\n', 'User.......: monitor\n',
            'Password...: %s\n' % expander.scramble('secret'), 'Language...: EN\n', 'Mode.......: R/3\n',
            'Hostname...: %s\n' % host, 'Sysnr......: 00\n', 'Gwhost.....: %s\n' % host, 'Gwservice..: sapgw00\n']))
        write(os.path.join(work_dir, 'Gastrelo.Prf'), '# Gsng: ............%s\n' % ('SIL.P00#' * CHILDREN * 2))
        scenario_path = os.path.join(scratch, 'scenario.ini')
        write(scenario_path, '[system]\nlisten = %s:3300\nlogon = silent\n' % host)

        simulator = run_case.Simulator(os.path.join(args.tools, 'rfcsim'), scenario_path, scratch)
        run = None
        try:
            command = run_case.program_command(args, private_bin, 'quenmarel') + [
                'SIL', 'ITEM=Pages:Used', ',PARALLEL=%d' % CHILDREN]
            run = subprocess.Popen(command, cwd=work_dir, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                   env=run_case.program_environment(args))
            # Killed once every child waits for its system, as a monitor's timeout finds them.
            for _ in range(CHILDREN):
                logon = run_case.read_line_with_timeout(simulator.process.stdout, CHILDREN_START_TIMEOUT)
                if logon is None or not logon.startswith(b'logon '):
                    print('the run did not start %d children: %s' % (CHILDREN, children_of_the_run(private_bin)))
                    return 1
            if len(children_of_the_run(private_bin)) != CHILDREN:
                print('not %d children: %s' % (CHILDREN, children_of_the_run(private_bin)))
                return 1
            run.send_signal(signal.SIGKILL)
            run.wait(timeout=run_case.RUN_TIMEOUT)
            if not wait_for(lambda: not children_of_the_run(private_bin), GONE_TIMEOUT):
                print('children left behind by the killed run: %s' % children_of_the_run(private_bin))
                return 1
            print('the killed run left none of its %d children behind' % CHILDREN)
            return 0
        finally:
            if run is not None and run.poll() is None:
                run.kill()
                run.wait(timeout=run_case.RUN_TIMEOUT)
            run_case.leftover_processes(private_bin)
            simulator.stop()
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


if __name__ == '__main__':
    sys.exit(main())
