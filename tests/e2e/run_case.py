#!/usr/bin/env python3
"""Runs one end-to-end case (see README.md in this directory) and compares what
came out with what the case expects, byte for byte.

Exit code 0: the case passed; 1: it failed (differences are printed);
77: the case does not apply to this platform (CTest counts it as skipped).
"""

import argparse
import hashlib
import os
import re
import select
import shutil
import signal
import subprocess
import sys
import tempfile
import time

SKIPPED = 77
SECTION_START = re.compile(r'^<([a-z]+)((?:\s+[a-z]+(?:="[^"]*")?)*)\s*(/?)>(.*)$')
ATTRIBUTE = re.compile(r'([a-z]+)(?:="([^"]*)")?')
CLOCK_TIME = re.compile(rb'(\* )\d\d:\d\d:\d\d')
PLACEHOLDER = re.compile(r'\{\{([a-z0-9]+)(?::([^}]*))?\}\}')
DRIVE_PATH = re.compile(r'^([A-Za-z]):\\(.*)$')
RUN_TIMEOUT = 60
SIMULATOR_READY_TIMEOUT = 20
SIMULATOR_STOP_TIMEOUT = 10


class Section:
    def __init__(self, name, attributes, text):
        self.name = name
        self.attributes = attributes
        self.text = text


def parse_case(path):
    """Reads a case file into a list of sections, in file order."""
    sections = []
    with open(path, encoding='utf-8') as case_file:
        lines = case_file.read().split('\n')
    if lines and lines[-1] == '':
        lines.pop()
    index = 0
    while index < len(lines):
        match = SECTION_START.match(lines[index])
        index += 1
        if not match:
            continue
        name, attribute_text, self_closing, rest = match.groups()
        attributes = {key: value for key, value in ATTRIBUTE.findall(attribute_text)}
        if self_closing:
            sections.append(Section(name, attributes, None))
            continue
        closing = '</%s>' % name
        if rest.endswith(closing):
            sections.append(Section(name, attributes, rest[:-len(closing)] + '\n'))
            continue
        body = []
        while index < len(lines) and lines[index] != closing:
            body.append(lines[index] + '\n')
            index += 1
        if index == len(lines):
            raise ValueError('%s: section <%s> is not closed' % (path, name))
        index += 1
        sections.append(Section(name, attributes, ''.join(body)))
    return sections


def loopback_hosts(case_name, variant):
    """Two loopback addresses that belong to this case and variant alone."""
    # QUENMAREL_TEST_NET keeps suites that run side by side (from several
    # checkouts) on addresses of their own.
    network = os.environ.get('QUENMAREL_TEST_NET', '')
    digest = hashlib.sha256(('%s/%s%s' % (case_name, variant, network)).encode()).digest()
    second, third, fourth = digest[0], digest[1], 2 + digest[2] % 250
    if second == 77:  # 127.77.0.0/16 belongs to the integration tests
        second = 78
    return '127.%d.%d.%d' % (second, third, fourth), '127.%d.%d.%d' % (second, third, fourth + 1)


class Expander:
    def __init__(self, hosts, profile_tool):
        self.hosts = hosts
        self.target_file = ''
        self.profile_tool = profile_tool
        self.scrambled = {}

    def scramble(self, password):
        if password not in self.scrambled:
            result = subprocess.run([self.profile_tool, 'scramble'], input=(password + '\n').encode('latin-1'),
                                    stdout=subprocess.PIPE, stderr=subprocess.PIPE, timeout=RUN_TIMEOUT)
            if result.returncode != 0 or len(result.stdout) != 25:
                raise RuntimeError('cannot scramble %r: %r' % (password, result.stderr))
            self.scrambled[password] = result.stdout[:24].decode('latin-1')
        return self.scrambled[password]

    def expand(self, text):
        def replace(match):
            name, argument = match.group(1), match.group(2)
            if name == 'host':
                return self.hosts[0]
            if name == 'host2':
                return self.hosts[1]
            if name == 'targetfile':
                return self.target_file
            if name == 'nul':
                return '\0'
            if name == 'scramble':
                return self.scramble(argument)
            if name == 'repeat':
                count, _, repeated = argument.partition(':')
                return repeated * int(count)
            raise ValueError('unknown placeholder %s' % match.group(0))
        return PLACEHOLDER.sub(replace, text)

    def section_bytes(self, section):
        text = self.expand(section.text)
        if 'nonewline' in section.attributes and text.endswith('\n'):
            text = text[:-1]
        if 'crlf' in section.attributes:
            text = text.replace('\n', '\r\n')
        return text.encode('latin-1')


def install_program(bin_dir, private_bin, windows, target_bytes, library=None, beside=()):
    """Puts the programs and the RFC library into a directory of the case's own,
    with the case's target file beside them.  `library` takes the place of the
    build's own RFC library; the files of `beside` lie next to it."""
    os.makedirs(private_bin)
    library_name = 'LIBRFC32.dll' if windows else 'librfc32.so'
    names = ['quenmarel.exe', 'quenmarel-profile.exe'] if windows else ['quenmarel', 'quenmarel-profile']
    sources = [os.path.join(bin_dir, name) for name in names]
    sources.append(library or os.path.join(bin_dir, library_name))
    sources.extend(beside)
    for source in sources:
        if not os.path.exists(source):
            continue
        destination = os.path.join(private_bin, os.path.basename(source))
        try:
            os.link(source, destination)
        except OSError:
            shutil.copy2(source, destination)
    if target_bytes is not None:
        with open(os.path.join(private_bin, 'quenmarel.target'), 'wb') as target_file:
            target_file.write(target_bytes)


class CasePaths:
    """Where the files a case names lie on this machine: names relative to the
    working directory, or absolute Windows paths on a drive of the wine prefix
    ("C:\\PRTG_Path.Txt").  Remembers what it creates on the drives, so that
    it can be removed again."""

    def __init__(self, work_dir, wine_prefix):
        self.work_dir = work_dir
        self.wine_prefix = wine_prefix
        self.created = []

    def host_path(self, name):
        drive = DRIVE_PATH.match(name)
        if not drive:
            return os.path.join(self.work_dir, *name.split('\\'))
        if not self.wine_prefix:
            raise ValueError('%s: drive paths need the Windows build under wine' % name)
        letter, rest = drive.group(1).lower(), drive.group(2)
        return os.path.join(self.wine_prefix, 'drive_' + letter, *[part for part in rest.split('\\') if part])

    def create_parents(self, path):
        missing = []
        parent = os.path.dirname(path)
        while not os.path.exists(parent):
            missing.append(parent)
            parent = os.path.dirname(parent)
        if missing:
            self.created.append(missing[-1])
            os.makedirs(os.path.dirname(path))

    def write(self, name, content):
        path = self.host_path(name)
        self.create_parents(path)
        if DRIVE_PATH.match(name) and not os.path.exists(path):
            self.created.append(path)
        with open(path, 'wb') as created:
            created.write(content)

    def remove_created(self):
        for path in reversed(self.created):
            if os.path.isdir(path):
                shutil.rmtree(path, ignore_errors=True)
            elif os.path.exists(path):
                os.remove(path)


def windows_path(native_path):
    """The path under which a Windows program under wine sees a native file."""
    return 'Z:' + native_path.replace('/', '\\')


def read_line_with_timeout(stream, timeout):
    deadline = time.monotonic() + timeout
    line = b''
    while not line.endswith(b'\n'):
        remaining = deadline - time.monotonic()
        if remaining <= 0:
            return None
        ready, _, _ = select.select([stream], [], [], remaining)
        if not ready:
            return None
        byte = os.read(stream.fileno(), 1)
        if not byte:
            return line if line else None
        line += byte
    return line


class Simulator:
    def __init__(self, rfcsim, scenario_path, work_dir):
        self.process = subprocess.Popen([os.path.abspath(rfcsim), scenario_path], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                        cwd=work_dir)
        first = read_line_with_timeout(self.process.stdout, SIMULATOR_READY_TIMEOUT)
        if first != b'ready\n':
            self.stop()
            raise RuntimeError('rfcsim did not get ready: %r %r' % (first, self.errors))

    def stop(self):
        """Stops the simulator and returns the lines it printed after "ready"."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        try:
            output, self.errors = self.process.communicate(timeout=SIMULATOR_STOP_TIMEOUT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            output, self.errors = self.process.communicate()
        return output


def show_difference(what, expected, actual):
    print('--- %s differs' % what)
    print('expected: %r' % expected)
    print('actual:   %r' % actual)
    expected_lines, actual_lines = expected.split(b'\n'), actual.split(b'\n')
    for number, (want, got) in enumerate(zip(expected_lines, actual_lines), start=1):
        if want != got:
            print('first difference in line %d:\n  expected %r\n  actual   %r' % (number, want, got))
            break
    else:
        print('line counts differ: expected %d, actual %d' % (len(expected_lines), len(actual_lines)))


def program_command(args, private_bin, command_name):
    if args.wine:
        return [args.wine, os.path.join(private_bin, command_name + '.exe')]
    return [os.path.join(private_bin, command_name)]


def program_environment(args):
    environment = dict(os.environ)
    if args.wine:
        environment['WINEDEBUG'] = '-all'
        if args.wine_prefix:
            environment['WINEPREFIX'] = args.wine_prefix
    return environment


def run_case(args):
    case_name = os.path.splitext(os.path.basename(args.case))[0]
    sections = parse_case(args.case)
    # A section written for this configuration takes the place of the general one.
    single = {section.name: section for section in sections if 'configuration' not in section.attributes}
    single.update({section.name: section for section in sections
                   if section.attributes.get('configuration') == args.configuration})
    platform = single['platform'].text.strip() if 'platform' in single else 'both'
    if (platform == 'native' and args.wine) or (platform == 'windows' and not args.wine):
        print('skipped: case is for %s only' % platform)
        return SKIPPED

    variant = 'wine' if args.wine else 'native'
    expander = Expander(loopback_hosts(case_name, variant), os.path.join(args.tools, 'quenmarel-profile'))
    scratch = tempfile.mkdtemp(prefix='quenmarel-e2e-')
    failures = []
    paths = CasePaths(os.path.join(scratch, 'work'), args.wine_prefix if args.wine else None)
    try:
        private_bin = os.path.join(scratch, 'bin')
        if 'workdir' in single:
            paths.work_dir = paths.host_path(single['workdir'].text.strip())
            shutil.rmtree(paths.work_dir, ignore_errors=True)
            paths.create_parents(os.path.join(paths.work_dir, 'x'))
            paths.created.append(paths.work_dir)
        work_dir = paths.work_dir
        os.makedirs(work_dir, exist_ok=True)
        target = single.get('target')
        expander.target_file = windows_path(os.path.join(private_bin, 'quenmarel.target')) if args.wine else \
            os.path.join(private_bin, 'quenmarel.target')
        install_program(args.bin, private_bin, bool(args.wine), expander.section_bytes(target) if target else None,
                        args.library, args.beside)
        for section in sections:
            if section.name == 'file':
                paths.write(section.attributes['name'], expander.section_bytes(section))

        simulator = None
        if 'scenario' in single:
            scenario_path = os.path.join(scratch, 'scenario.ini')
            with open(scenario_path, 'wb') as scenario_file:
                scenario_file.write(expander.section_bytes(single['scenario']))
            simulator = Simulator(os.path.join(args.tools, 'rfcsim'), scenario_path, scratch)

        try:
            command_name = single['command'].text.strip() if 'command' in single else 'quenmarel'
            arguments = single['args'].text.split('\n')[:-1] if 'args' in single else []
            arguments = [expander.expand(argument) for argument in arguments]
            stdin_bytes = expander.section_bytes(single['stdin']) if 'stdin' in single else b''
            result = subprocess.run(program_command(args, private_bin, command_name) + arguments, cwd=work_dir,
                                    input=stdin_bytes, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                    env=program_environment(args), timeout=RUN_TIMEOUT)
        finally:
            simulator_log = simulator.stop() if simulator else b''

        actual_stdout = CLOCK_TIME.sub(rb'\1HH:MM:SS', result.stdout)
        if 'stdout' in single:
            expected_stdout = expander.section_bytes(single['stdout'])
            if expected_stdout != actual_stdout:
                failures.append(('standard output', expected_stdout, actual_stdout))
        if 'exit' in single:
            expected_exit = int(single['exit'].text.strip())
            if expected_exit != result.returncode:
                failures.append(('exit code', str(expected_exit).encode(), str(result.returncode).encode()))
        if 'simlog' in single:
            expected_log = expander.section_bytes(single['simlog'])
            if expected_log != simulator_log:
                failures.append(('rfcsim log', expected_log, simulator_log))
        for section in sections:
            if section.name != 'after':
                continue
            path = paths.host_path(section.attributes['name'])
            if 'absent' in section.attributes:
                if os.path.exists(path):
                    failures.append(('file ' + section.attributes['name'], b'(absent)', b'(present)'))
                continue
            if not os.path.exists(path):
                failures.append(('file ' + section.attributes['name'], b'(present)', b'(absent)'))
                continue
            with open(path, 'rb') as after_file:
                actual_bytes = after_file.read()
            expected_bytes = expander.section_bytes(section)
            if actual_bytes != expected_bytes:
                failures.append(('file ' + section.attributes['name'], expected_bytes, actual_bytes))

        for what, expected, actual in failures:
            show_difference(what, expected, actual)
        if failures and result.stderr:
            print('--- standard error of the program:\n' + result.stderr.decode('latin-1', 'replace'))
        return 1 if failures else 0
    finally:
        if args.keep:
            print('kept ' + scratch)
        else:
            paths.remove_created()
            shutil.rmtree(scratch, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--bin', required=True, help='directory of the build under test')
    parser.add_argument('--tools', required=True, help='directory of the native rfcsim and quenmarel-profile')
    parser.add_argument('--wine', help='wine loader: run the Windows build under it')
    parser.add_argument('--wine-prefix', help='WINEPREFIX for the Windows build')
    parser.add_argument('--library', help='the RFC library to lay beside the sensor instead of the build\'s own')
    parser.add_argument('--beside', action='append', default=[], help='a further file to lay beside the sensor')
    parser.add_argument('--configuration', default='classic',
                        help='name of the library configuration; sections marked configuration="NAME" apply to it')
    parser.add_argument('--keep', action='store_true', help='keep the scratch directory')
    parser.add_argument('case', help='the case file')
    args = parser.parse_args()
    sys.exit(run_case(args))


if __name__ == '__main__':
    main()
