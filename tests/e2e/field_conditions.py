#!/usr/bin/env python3
"""The sensor under the conditions a monitoring agent may start it in, which
no case of the runner can set: an inherited signal disposition or mask, a
descriptor limit, a logon-file lock held by another process, entries that a
profile must not replace.  Each run's whole output is compared with what the
same run gives under kind conditions.

- Started with SIGCHLD ignored, or at a descriptor limit that leaves room for
  few children, a parallel run gives the sequential run's document.
- A parallel run that a system ends early (the RFC error handler) leaves no
  copy of a logon file behind for the children it ended.
- With SIGALRM blocked, or ignored, a run that cannot have the logon-file lock
  (held by a helper for longer) gives up after its bound and says why in the
  document and the trace file.
- The profile tool refuses to replace a dangling link, a pipe, a file nobody
  may read and a directory, and with --force still replaces none of them.
"""

import os
import resource
import signal
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_case  # noqa: E402  (shares the run bound)
from script_setup import arguments, budget_seconds, scratch, systems_address, write, write_system  # noqa: E402

SYSTEMS = ('F01', 'F02', 'F03', 'F04', 'F05', 'F06')
DESCRIPTOR_LIMIT = 10
LOCK_WAIT_SECONDS = budget_seconds('logon_file_lock_wait_ms')
LOCK_HELD_SECONDS = LOCK_WAIT_SECONDS + 7
# Generous: a run that waits for the lock gives up after LOCK_WAIT_SECONDS.
LOCKED_RUN_TIMEOUT = 60


def listing(names):
    return '# Gsng: ............%s\n' % ''.join('%s.P00#' % name for name in names)


def run_sensor(space, sensor_arguments, preexec_fn=None, timeout=run_case.RUN_TIMEOUT):
    sensor = subprocess.Popen(run_case.program_command(space.args, space.bin, 'quenmarel') + sensor_arguments,
                              cwd=space.work, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                              env=run_case.program_environment(space.args), preexec_fn=preexec_fn)
    space.sensors.append(sensor)
    output, _ = sensor.communicate(timeout=timeout)
    return sensor.returncode, output


def ignore_sigchld():
    signal.signal(signal.SIGCHLD, signal.SIG_IGN)


def limit_descriptors():
    resource.setrlimit(resource.RLIMIT_NOFILE, (DESCRIPTOR_LIMIT, DESCRIPTOR_LIMIT))


def block_sigalrm():
    signal.pthread_sigmask(signal.SIG_BLOCK, [signal.SIGALRM])


def ignore_sigalrm():
    signal.signal(signal.SIGALRM, signal.SIG_IGN)


def leftovers(work):
    return sorted(name for name in os.listdir(work) if name.startswith('SapRfc-') or name == 'SapRfc.ini.new')


def check_parallel_runs(space, failures):
    """Healthy systems: the sequential document, whatever the launcher did."""
    item = [SYSTEMS[0], 'ITEM=Pages:Used']
    expected = run_sensor(space, item)
    if expected[0] != 0 or b'Processed=%d' % len(SYSTEMS) not in expected[1]:
        failures.append('sequential run: exit %d, output %r' % expected)
        return
    for name, options, preexec_fn in (('SIGCHLD ignored', ',PARALLEL=3', ignore_sigchld),
                                      ('descriptor limit %d' % DESCRIPTOR_LIMIT, ',PARALLEL=16', limit_descriptors)):
        got = run_sensor(space, item + [options], preexec_fn)
        if got != expected:
            failures.append('%s: exit %d, output %r\n  expected exit %d, output %r' % ((name,) + got + expected))
    if leftovers(space.work):
        failures.append('healthy runs left %s' % leftovers(space.work))


def check_run_ended_early(space, failures):
    """The first system ends the run; the children still waiting for their
    silent systems are ended, and their copies removed."""
    write(os.path.join(space.work, 'Gastrelo.Prf'), listing(['ABT'] + list(SYSTEMS[:3])))
    item = ['ABT', 'ITEM=Pages:Used']
    expected = run_sensor(space, item)
    got = run_sensor(space, item + [',PARALLEL=4'])
    if expected[0] != 1 or got != expected:
        failures.append('run ended early: exit %d, output %r\n  sequential exit %d, output %r' % (got + expected))
    if leftovers(space.work):
        failures.append('the run ended early left %s' % leftovers(space.work))


def hold_lock(work):
    """A helper process holding the logon-file lock, once it has it."""
    helper = subprocess.Popen(
        [sys.executable, '-c', 'import fcntl, sys, time\n'
         'lock = open("SapRfc.ini.lock", "a")\nfcntl.flock(lock, fcntl.LOCK_EX)\n'
         'print("held", flush=True)\ntime.sleep(%d)\n' % LOCK_HELD_SECONDS],
        cwd=work, stdout=subprocess.PIPE)
    if run_case.read_line_with_timeout(helper.stdout, run_case.RUN_TIMEOUT) != b'held\n':
        helper.kill()
        raise RuntimeError('the helper did not take the lock')
    return helper


def check_lock_wait(space, failures):
    """Both runs give up while the helper still holds the lock."""
    destination = SYSTEMS[0]
    trace_file = os.path.join(space.work, 'Dev_Rfc.Trc')
    if os.path.exists(trace_file):
        os.remove(trace_file)
    reason = '%s not copied: SapRfc.ini.lock held by another process for %d s' % ('SapRfc.' + destination,
                                                                                LOCK_WAIT_SECONDS)
    expected = ('<Prtg>\n<Error>1</Error>\n<Text>Error 1011: RFC-Open for %s failed ! '
                '%s</Text>\n</Prtg>\n' % (destination, reason)).encode()
    helper = hold_lock(space.work)
    try:
        runs = [subprocess.Popen(run_case.program_command(space.args, space.bin, 'quenmarel') + [destination],
                                 cwd=space.work, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL,
                                 env=run_case.program_environment(space.args), preexec_fn=preexec_fn)
                for preexec_fn in (block_sigalrm, ignore_sigalrm)]
        space.sensors.extend(runs)
        for name, run in zip(('SIGALRM blocked', 'SIGALRM ignored'), runs):
            output, _ = run.communicate(timeout=LOCKED_RUN_TIMEOUT)
            if run.returncode != 2 or output != expected:
                failures.append('%s, lock held: exit %d, output %r' % (name, run.returncode, output))
        if helper.poll() is not None:
            failures.append('the runs waited until the helper let the lock go')
    finally:
        helper.kill()
        helper.wait()
    block = '**** ERROR in RfcOpenEx\nT:%04d ======> logon file not copied\nERROR       %s\n\n'
    traced = None
    if os.path.exists(trace_file):
        with open(trace_file) as trace:
            traced = trace.read()
    if traced != block % (1, reason) + block % (2, reason):
        failures.append('trace file after the lock waits: %r' % traced)


def new_profile(space, path, force):
    command = run_case.program_command(space.args, space.bin, 'quenmarel-profile') + [
        'new', path, '--extcompany=EXT01', '--destination=PRD', '--client=100', '--user=monitor',
        '--language=EN', '--mode=R/3', '--hostname=sapprd01', '--sysnr=00', '--gwhost=sapprd01',
        '--gwservice=sapgw00'] + (['--force'] if force else [])
    tool = subprocess.run(command, cwd=space.work, input=b'secret\n', stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, env=run_case.program_environment(space.args),
                          timeout=run_case.RUN_TIMEOUT)
    return tool.returncode, tool.stdout, tool.stderr


def check_profile_tool(space, failures):
    made = {
        'LINK.P00': lambda path: os.symlink('nowhere.P00', path),
        'PIPE.P00': os.mkfifo,
        'HIDDEN.P00': lambda path: (write(path, 'kept\n'), os.chmod(path, 0)),
        'DIR.P00': os.mkdir,
    }
    for name, make in made.items():
        path = os.path.join(space.work, name)
        make(path)
        before = os.lstat(path)
        for force, message in ((False, '%s exists; give --force to overwrite it' % name),
                               (True, '%s is not a regular file; it is left as it is' % name)):
            if force and name == 'HIDDEN.P00':
                continue  # a regular file, which --force does replace
            code, output, error = new_profile(space, name, force)
            if code == 0 or output != b'' or message.encode() not in error:
                failures.append('new %s%s: exit %d, output %r, error %r' %
                                (name, ' --force' if force else '', code, output, error))
            after = os.lstat(path)
            if (after.st_ino, after.st_mode, after.st_size) != (before.st_ino, before.st_mode, before.st_size):
                failures.append('new %s%s changed it' % (name, ' --force' if force else ''))
        for leftover in os.listdir(space.work):
            if leftover.endswith('.new'):
                failures.append('the profile tool left %s' % leftover)


def main():
    args = arguments(__doc__)
    host = systems_address('field-conditions', args)

    failures = []
    with scratch(args, 'quenmarel-field-', host, None) as space:
        password = space.expander.scramble('secret')
        scenario = ['[system]\nlisten = %s:3300\ncall = abort\ntext = connection reset by partner\n' % host]
        write_system(space.work, 'ABT', password, host, 0)
        for number, destination in enumerate(SYSTEMS, start=1):
            write_system(space.work, destination, password, host, number)
            scenario.append('[system]\nlisten = %s:%d\nPAGE_AREA_SIZE = 100\nPAGE_CURRENTLY_USED = %d\n'
                            % (host, 3300 + number, 10 * number))
        write(os.path.join(space.work, 'Gastrelo.Prf'), listing(SYSTEMS))
        simulator = space.start_simulator(''.join(scenario))
        try:
            check_parallel_runs(space, failures)
            check_lock_wait(space, failures)
        finally:
            simulator.stop()
        # The same systems silent now: the children the run ends wait in their logon.
        scenario = [scenario[0]] + ['[system]\nlisten = %s:%d\nlogon = silent\n' % (host, 3300 + number)
                                    for number in range(1, len(SYSTEMS) + 1)]
        simulator = space.start_simulator(''.join(scenario))
        try:
            check_run_ended_early(space, failures)
        finally:
            simulator.stop()
        check_profile_tool(space, failures)
    for failure in failures:
        print(failure)
    print('the sensor under field conditions: %s' % ('failed' if failures else 'passed'))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
