#!/usr/bin/env python3
"""The profile tool at a terminal (Linux): it asks for the password on
standard error, the terminal does not show what is typed, and the terminal's
echo comes back on every way out, a signal included.  And the profiles it
writes are readable by their owner only.

The case files cannot hold these: their runner gives the tool pipes, never a
terminal, and compares bytes, not file modes.

Exit code 0: every check held; 1: one did not (each is printed).
"""

import argparse
import os
import pty
import select
import signal
import subprocess
import sys
import tempfile
import termios
import time

WAIT = 20  # seconds any single step may take; nothing here is timed
PASSWORD = 'Secret1'


class Failures:
    def __init__(self):
        self.count = 0

    def check(self, holds, what):
        if not holds:
            self.count += 1
            print('FAILED: ' + what)


def echo_is_on(terminal):
    return bool(termios.tcgetattr(terminal)[3] & termios.ECHO)


def read_until(stream, wanted):
    """What `stream` gives until it holds `wanted` or WAIT seconds passed."""
    deadline = time.monotonic() + WAIT
    got = b''
    while wanted not in got and time.monotonic() < deadline:
        ready, _, _ = select.select([stream], [], [], deadline - time.monotonic())
        if not ready:
            break
        chunk = os.read(stream.fileno(), 256)
        if not chunk:
            break
        got += chunk
    return got


def drain(master):
    """Everything the terminal would have shown so far."""
    shown = b''
    while select.select([master], [], [], 0)[0]:
        try:
            chunk = os.read(master, 256)
        except OSError:  # the other side is gone
            break
        if not chunk:
            break
        shown += chunk
    return shown


class ToolAtTerminal:
    """The tool with a fresh terminal as standard input and pipes for the rest."""

    def __init__(self, tool, arguments):
        self.master, self.terminal = pty.openpty()
        self.process = subprocess.Popen([tool] + arguments, stdin=self.terminal, stdout=subprocess.PIPE,
                                        stderr=subprocess.PIPE)
        self.prompt = read_until(self.process.stderr, b'Password: ')

    def type(self, text):
        os.write(self.master, text.encode())

    def finish(self):
        stdout, stderr = self.process.communicate(timeout=WAIT)
        return stdout, self.prompt + stderr

    def close(self):
        if self.process.poll() is None:
            self.process.kill()
            self.process.wait(timeout=WAIT)
        os.close(self.master)
        os.close(self.terminal)


def stored_form(tool, password):
    result = subprocess.run([tool, 'scramble'], input=(password + '\n').encode(), stdout=subprocess.PIPE,
                            timeout=WAIT, check=True)
    return result.stdout


def check_typed_password(tool, failures):
    session = ToolAtTerminal(tool, ['scramble'])
    try:
        failures.check(session.prompt == b'Password: ', 'the prompt on standard error: %r' % session.prompt)
        failures.check(not echo_is_on(session.terminal), 'the echo is off while the password is typed')
        session.type(PASSWORD + '\n')
        stdout, stderr = session.finish()
        failures.check(PASSWORD.encode() not in drain(session.master), 'the terminal did not show the password')
        failures.check(stdout == stored_form(tool, PASSWORD), 'the stored form of the typed password: %r' % stdout)
        failures.check(stderr == b'Password: \n', 'the prompt and a line feed on standard error: %r' % stderr)
        failures.check(session.process.returncode == 0, 'exit code 0: %d' % session.process.returncode)
        failures.check(echo_is_on(session.terminal), 'the echo is back after the password')
    finally:
        session.close()


def check_refused_password(tool, failures):
    session = ToolAtTerminal(tool, ['scramble'])
    try:
        session.type('x' * 21 + '\n')
        _, stderr = session.finish()
        failures.check(b'longer than 20 characters' in stderr, 'a refused password is said so: %r' % stderr)
        failures.check(session.process.returncode == 2, 'exit code 2: %d' % session.process.returncode)
        failures.check(echo_is_on(session.terminal), 'the echo is back after a refused password')
    finally:
        session.close()


def check_ending_signal(tool, failures, signal_number):
    session = ToolAtTerminal(tool, ['scramble'])
    name = signal.Signals(signal_number).name
    try:
        failures.check(not echo_is_on(session.terminal), '%s: the echo is off while the tool waits' % name)
        session.process.send_signal(signal_number)
        session.finish()
        failures.check(session.process.returncode == -signal_number,
                       '%s ends the tool as it would have: %d' % (name, session.process.returncode))
        failures.check(echo_is_on(session.terminal), '%s: the echo is back after the tool ended' % name)
    finally:
        session.close()


def check_profile_modes(tool, failures):
    fields = ['--extcompany=EXT01', '--destination=PRD', '--client=100', '--user=monitor', '--language=EN',
              '--mode=R/3', '--hostname=sapprd01', '--sysnr=00', '--gwhost=sapprd01', '--gwservice=sapgw00']
    with tempfile.TemporaryDirectory(prefix='quenmarel-terminal-') as directory:
        old_umask = os.umask(0o022)
        try:
            for arguments, what in ((['NEW.P00'], 'a new profile'),
                                    (['OLD.P00', '--force'], 'a profile that replaced one readable by all')):
                path = os.path.join(directory, arguments[0])
                if '--force' in arguments:
                    with open(path, 'w') as old:
                        old.write('old\n')
                    os.chmod(path, 0o644)
                result = subprocess.run([tool, 'new'] + arguments + fields, input=(PASSWORD + '\n').encode(),
                                        cwd=directory, stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=WAIT)
                failures.check(result.returncode == 0, '%s is written: %r' % (what, result.stderr))
                mode = os.stat(path).st_mode & 0o777 if os.path.exists(path) else None
                failures.check(mode == 0o600, '%s is readable by its owner only: %s' % (what, oct(mode or 0)))
        finally:
            os.umask(old_umask)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--tool', required=True, help='the native quenmarel-profile')
    args = parser.parse_args()
    tool = os.path.abspath(args.tool)
    failures = Failures()
    check_typed_password(tool, failures)
    check_refused_password(tool, failures)
    for signal_number in (signal.SIGINT, signal.SIGTERM, signal.SIGHUP, signal.SIGQUIT):
        check_ending_signal(tool, failures, signal_number)
    check_profile_modes(tool, failures)
    print('%d checks failed' % failures.count if failures.count else 'all checks held')
    return 1 if failures.count else 0


if __name__ == '__main__':
    sys.exit(main())
