#!/usr/bin/env python3
"""Runs one end-to-end case (see README.md in this directory) and compares what
came out with what the case expects, byte for byte.

Exit code 0: the case passed; 1: it failed (differences are printed) or the
case file is malformed (the file, the line and the section are named);
77: the case does not apply to this platform (CTest counts it as skipped).
"""

import argparse
import contextlib
import os
import re
import select
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time

import loopback_addresses

SKIPPED = 77
SECTION_START = re.compile(r'^<([A-Za-z][\w-]*)((?:\s+[\w-]+(?:="[^"]*")?)*)\s*(/?)>(.*)$')
ATTRIBUTE = re.compile(r'([\w-]+)(?:="([^"]*)")?')
CLOCK_TIME = re.compile(rb'(\* )\d\d:\d\d:\d\d')
PLACEHOLDER = re.compile(r'\{\{([a-z0-9]+)(?::([^}]*))?\}\}')
DRIVE_PATH = re.compile(r'^([A-Za-z]):\\(.*)$')
FRAGMENT_NAME = re.compile(r'^[a-z0-9_]+$')
FRAGMENT_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'fragments')
RUN_TIMEOUT = 60
# A process the run started may take a moment to go after the run ended (under
# wine the server ends it); one still there after this was left behind.
LEFTOVER_GRACE = 2.0
PARALLEL_KEYWORD = ',PARALLEL='
SIMULATOR_READY_TIMEOUT = 20
SIMULATOR_STOP_TIMEOUT = 10
# What the sensor and the RFC library keep in the working directory by design,
# so that no case names them: the presence file of the runs in the directory,
# the lock of the per-destination logon file's copy, that copy, and the
# library's trace file, which a failing run leaves for the next.  Anything
# else a run leaves there (a "SapRfc-<pid>.ini" or "SapRfc.ini.new" of a copy
# cut short) is a fault.
OWN_FILES_OF_THE_RUN = ('Quenmarel.runs', 'SapRfc.ini.lock', 'SapRfc.ini', 'Dev_Rfc.Trc')
# Further files a library configuration keeps there by design: the NetWeaver
# bridge gives the NetWeaver library a trace directory of its own, where the
# library's trace file of severe errors (dev_rfc.trc) lands.
OWN_FILES_OF_THE_CONFIGURATION = {'nwrfc': ('nwrfc-trace', os.path.join('nwrfc-trace', 'dev_rfc.trc'))}

# Every section a case may hold, with the attributes it takes.  All but <info>
# may be written once more for one library configuration.
SECTIONS = {
    'info': (),
    'workdir': ('configuration',),
    'platform': ('configuration',),
    'command': ('configuration',),
    'library': ('configuration',),
    'args': ('configuration',),
    'stdin': ('configuration', 'crlf', 'nonewline'),
    'target': ('configuration', 'crlf', 'nonewline'),
    'file': ('configuration', 'name', 'crlf', 'nonewline'),
    'scenario': ('configuration',),
    'stdout': ('configuration', 'crlf', 'nonewline'),
    'stdout-to': ('configuration',),
    'stderr': ('configuration',),
    'exit': ('configuration',),
    'link': ('configuration', 'name'),
    'after': ('configuration', 'name', 'crlf', 'nonewline', 'absent'),
    'simlog': ('configuration',),
    'within': ('configuration',),
    'secret': ('configuration',),
}
VALUE_ATTRIBUTES = ('name', 'configuration')
NAMED_SECTIONS = ('file', 'link', 'after')
# Without these a case could pass while checking nothing.
REQUIRED_SECTIONS = ('stdout', 'exit')
# Sections read as they stand; placeholders are expanded in all others.
UNEXPANDED_SECTIONS = ('workdir', 'platform', 'command', 'library', 'exit', 'stdout-to', 'link', 'secret')
PLATFORMS = ('both', 'native', 'windows')
COMMANDS = ('quenmarel', 'quenmarel-profile')
# What a case may lay beside the sensor instead of the configuration's RFC
# library (and the files the configuration lays beside it): nothing, or an
# entry of the library's name that cannot be used.
LIBRARIES = ('none', 'empty', 'text', 'directory', 'fifo', 'link-loop', 'dangling-link')
# ... or the build's own stand-in library cut after N bytes (or at half of what
# the loader maps of it), or one of the build's test libraries (bin/test-libraries/NAME).
CUT_LIBRARY = re.compile(r'^cut:(\d+|half)$')
# The program header type of a segment the loader maps (PT_LOAD).
ELF_LOADABLE_SEGMENT = 1
TEST_LIBRARY = re.compile(r'^test-library:([\w.-]+)$')
# Where a case may send the program's standard output instead of to the runner.
STDOUT_DESTINATIONS = ('full', 'closed')
HEX_BYTES = re.compile(r'^(?:[0-9A-Fa-f]{2})+$')
# A case whose target is Plugin prints its result by the conventions of the
# monitors that run check plugins: besides console lines ("* ..." and empty
# ones) one line, "SAP PAGEROLL STATE - text", no "|" or control character in
# the text, then optionally " | " and the performance values, each
# 'label'=value[UOM];[warn];[crit];[min];[max] (a label holding a blank, a
# quote or "=" quoted, a quote in it doubled), one blank between two.  The
# state is the exit code's; the sensor's values are percentages from 0 up, so
# each has the unit "%", plain whole thresholds (the warning one below the
# critical one) and the least value 0, and the state is at least what they
# say of the values.
PLUGIN_TARGET = 'Plugin'
PLUGIN_STATES = {b'OK': 0, b'WARNING': 1, b'CRITICAL': 2, b'UNKNOWN': 3}
PLUGIN_LINE = re.compile(rb'^SAP PAGEROLL (OK|WARNING|CRITICAL|UNKNOWN) - ([^|]*?)(?: \| (.*))?$')
PLUGIN_NUMBER = rb'-?\d+(?:\.\d+)?'
PLUGIN_RANGE = re.compile(rb'^@?(?:~|' + PLUGIN_NUMBER + rb')?(?::(?:' + PLUGIN_NUMBER + rb')?)?$')
PLUGIN_VALUE = re.compile(rb"('(?:[^']|'')+'|[^'= ]+)=(" + PLUGIN_NUMBER + rb")([A-Za-z%]*)((?:;[^; ]*){0,4})(?: |$)")
PLUGIN_UNITS = (b'', b's', b'ms', b'us', b'%', b'B', b'KB', b'MB', b'TB', b'c')


class CaseError(Exception):
    """A malformed case file, named with the line at fault where there is one."""

    def __init__(self, path, line, message):
        super().__init__('%s:%d: %s' % (path, line, message) if line else '%s: %s' % (path, message))


class Section:
    def __init__(self, name, attributes, text, line, body_line):
        self.name = name
        self.attributes = attributes
        self.text = text
        self.line = line
        self.body_line = body_line

    def slot(self):
        """What the section stands for: its name and, for a file or <after>, the file's name."""
        return self.name, self.attributes.get('name')

    def describe(self):
        return '<%s%s>' % (self.name, ''.join(' %s="%s"' % (key, self.attributes[key])
                                              for key in VALUE_ATTRIBUTES if key in self.attributes))


def read_attributes(path, number, name, attribute_text):
    attributes = {}
    for match in ATTRIBUTE.finditer(attribute_text):
        key, value = match.groups()
        if key not in SECTIONS[name]:
            raise CaseError(path, number, 'section <%s> takes no attribute %s' % (name, key))
        if key in attributes:
            raise CaseError(path, number, 'attribute %s is repeated in <%s>' % (key, name))
        if key in VALUE_ATTRIBUTES and not value:
            raise CaseError(path, number, 'attribute %s of <%s> needs a value: %s="..."' % (key, name, key))
        if key not in VALUE_ATTRIBUTES and value is not None:
            raise CaseError(path, number, 'attribute %s of <%s> takes no value' % (key, name))
        attributes[key] = value
    return attributes


def parse_case(path):
    """Reads a case file into a list of sections, in file order, refusing what
    the format does not know rather than skipping it."""
    with open(path, encoding='utf-8') as case_file:
        lines = case_file.read().split('\n')
    if lines and lines[-1] == '':
        lines.pop()
    sections = []
    index = 0
    while index < len(lines):
        number = index + 1
        match = SECTION_START.match(lines[index])
        index += 1
        if not match:
            if lines[index - 1].strip():
                raise CaseError(path, number, 'text outside a section: %r' % lines[index - 1])
            continue
        name, attribute_text, self_closing, rest = match.groups()
        if name not in SECTIONS:
            raise CaseError(path, number, 'unknown section <%s>' % name)
        attributes = read_attributes(path, number, name, attribute_text)
        closing = '</%s>' % name
        if self_closing or 'absent' in attributes:
            if not (self_closing and 'absent' in attributes and not rest):
                raise CaseError(path, number, 'only <after name="..." absent/> is written without a body')
            sections.append(Section(name, attributes, None, number, number))
        elif rest:
            if not rest.endswith(closing):
                raise CaseError(path, number, 'section <%s> has text after its start but no %s on the same line'
                                % (name, closing))
            sections.append(Section(name, attributes, rest[:-len(closing)] + '\n', number, number))
        else:
            body = []
            while index < len(lines) and lines[index] != closing:
                body.append(lines[index] + '\n')
                index += 1
            if index == len(lines):
                raise CaseError(path, number, 'section <%s> is not closed' % name)
            index += 1
            sections.append(Section(name, attributes, ''.join(body), number, number + 1))
    check_case(path, sections)
    return sections


def check_case(path, sections):
    """Refuses repeated sections, missing required ones, values the runner
    cannot use and unknown placeholders."""
    seen = {}
    for section in sections:
        if section.name in NAMED_SECTIONS and 'name' not in section.attributes:
            raise CaseError(path, section.line, 'section <%s> needs a name="..." attribute' % section.name)
        key = section.slot() + (section.attributes.get('configuration'),)
        if key in seen:
            raise CaseError(path, section.line, 'section %s is repeated (first at line %d)'
                            % (section.describe(), seen[key].line))
        seen[key] = section
    for name in REQUIRED_SECTIONS:
        if (name, None, None) not in seen:
            raise CaseError(path, 0, 'the case has no <%s> section; every case states its %s'
                            % (name, 'standard output' if name == 'stdout' else 'exit code'))
    section_names = set(section.name for section in sections)
    for section in sections:
        check_value(path, section, section_names)
        if section.text is None or section.name == 'info':
            continue
        if section.name in UNEXPANDED_SECTIONS and '{{' in section.text:
            raise CaseError(path, section.line, 'section <%s> takes no placeholders' % section.name)
        check_placeholders(path, section.body_line, section.text, True)


def check_value(path, section, section_names):
    value = section.text.strip() if section.text is not None else ''
    if section.name == 'exit' and not re.match(r'^-?\d+$', value):
        raise CaseError(path, section.line, 'section <exit> must hold a whole number, not %r' % value)
    if section.name == 'platform' and value not in PLATFORMS:
        raise CaseError(path, section.line, 'section <platform> must hold one of %s' % ', '.join(PLATFORMS))
    if section.name == 'within' and not re.match(r'^\d+$', value):
        raise CaseError(path, section.line, 'section <within> must hold a whole number of seconds, not %r' % value)
    if section.name == 'command' and value not in COMMANDS:
        raise CaseError(path, section.line, 'section <command> must hold one of %s' % ', '.join(COMMANDS))
    if section.name == 'library' and not (value in LIBRARIES or CUT_LIBRARY.match(value) or TEST_LIBRARY.match(value)):
        raise CaseError(path, section.line, 'section <library> must hold one of %s, cut:N, cut:half or '
                        'test-library:NAME' % ', '.join(LIBRARIES))
    if section.name == 'stdout-to' and value not in STDOUT_DESTINATIONS:
        raise CaseError(path, section.line, 'section <stdout-to> must hold one of %s'
                        % ', '.join(STDOUT_DESTINATIONS))
    if section.name == 'link' and (DRIVE_PATH.match(section.attributes['name']) or not value or '\n' in value):
        raise CaseError(path, section.line, 'section <link> names a link of the working directory and holds '
                        'its target on one line')
    if section.name == 'secret' and (not section.text or not all(section.text.split('\n')[:-1])):
        raise CaseError(path, section.line, 'section <secret> holds one text a line, none of them empty')
    if section.name == 'stdout' and section.text and 'stdout-to' in section_names:
        raise CaseError(path, section.line, 'with <stdout-to> nothing reaches the runner: <stdout> must be empty')


def fragment_path(name):
    return os.path.join(FRAGMENT_DIR, name)


def check_placeholders(path, first_line, text, fragments_allowed):
    for offset, line in enumerate(text.split('\n')):
        number = first_line + offset
        for match in PLACEHOLDER.finditer(line):
            problem = placeholder_problem(match.group(1), match.group(2), fragments_allowed)
            if problem:
                raise CaseError(path, number, '%s: %s' % (match.group(0), problem))
            if match.group(1) == 'fragment':
                with open(fragment_path(match.group(2)), encoding='utf-8') as fragment:
                    check_placeholders(fragment_path(match.group(2)), 1, fragment.read(), False)
        if '{{' in PLACEHOLDER.sub('', line):
            raise CaseError(path, number, 'malformed placeholder in %r' % line)


def placeholder_problem(name, argument, fragments_allowed):
    """What is wrong with a placeholder, or None."""
    if name in ('host', 'host2', 'targetfile', 'bindir', 'nul', 'version', 'versionnumber'):
        return None if argument is None else 'takes no argument'
    if name == 'scramble':
        return None if argument else 'needs the password: {{scramble:TEXT}}'
    if name == 'testlibrary':
        return None if argument and re.match(r'^[\w.-]+$', argument) else 'needs a file name: {{testlibrary:NAME}}'
    if name == 'bytes':
        return None if argument and HEX_BYTES.match(argument) else 'needs pairs of hex digits: {{bytes:C3A4}}'
    if name == 'repeat':
        return None if argument and re.match(r'^\d+:', argument) else 'needs a count and a text: {{repeat:N:TEXT}}'
    if name == 'fragment':
        if not fragments_allowed:
            return 'a fragment cannot use another fragment'
        if not argument or not FRAGMENT_NAME.match(argument) or not os.path.isfile(fragment_path(argument)):
            return 'no such fragment in %s' % FRAGMENT_DIR
        return None
    return 'unknown placeholder'


def select_sections(sections, configuration):
    """The sections that apply under a configuration, in file order: for each
    section (each file name of a named one) the one written for the
    configuration if there is one, else the general one."""
    chosen = {}
    for section in sections:
        written_for = section.attributes.get('configuration')
        if written_for is None:
            chosen.setdefault(section.slot(), section)
        elif written_for == configuration:
            chosen[section.slot()] = section
    return [section for section in sections if chosen.get(section.slot()) is section]


class Expander:
    def __init__(self, hosts, profile_tool, versions=(None, None)):
        self.hosts = hosts
        self.target_file = ''
        self.bin_dir = ''
        self.test_libraries = ''
        self.profile_tool = profile_tool
        # The build's version text ("Vers " and the rest) and its number alone.
        self.versions = {'version': versions[0], 'versionnumber': versions[1]}
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
            if name == 'bindir':
                return self.bin_dir
            if name == 'nul':
                return '\0'
            if name in self.versions:
                if self.versions[name] is None:
                    raise RuntimeError('%s needs the build\'s version: --program-version and --version-number'
                                       % match.group(0))
                return self.versions[name]
            if name == 'bytes':
                return bytes.fromhex(argument).decode('latin-1')
            if name == 'testlibrary':
                with open(os.path.join(self.test_libraries, argument), 'rb') as library:
                    return library.read().decode('latin-1')
            if name == 'scramble':
                return self.scramble(argument)
            if name == 'repeat':
                count, _, repeated = argument.partition(':')
                return repeated * int(count)
            if name == 'fragment':
                with open(fragment_path(argument), encoding='utf-8') as fragment:
                    text = fragment.read()
                # The placeholder stands for the fragment's lines; the case's own
                # line feed after it ends the last one.
                return self.expand(text[:-1] if text.endswith('\n') else text)
            raise ValueError('unknown placeholder %s' % match.group(0))
        return PLACEHOLDER.sub(replace, text)

    def section_bytes(self, section):
        text = self.expand(section.text)
        if 'nonewline' in section.attributes and text.endswith('\n'):
            text = text[:-1]
        if 'crlf' in section.attributes:
            text = text.replace('\n', '\r\n')
        return text.encode('latin-1')


def install_program(bin_dir, private_bin, windows, target_bytes, library=None, beside=(), case_library=None):
    """Puts the programs and the RFC library into a directory of the case's own,
    with the case's target file beside them.  `library` takes the place of the
    build's own RFC library; the files of `beside` lie next to it; neither
    does when the case names a library of its own (`case_library`, a value of
    <library>)."""
    os.makedirs(private_bin)
    library_name = 'LIBRFC32.dll' if windows else 'librfc32.so'
    names = ['quenmarel.exe', 'quenmarel-profile.exe'] if windows else ['quenmarel', 'quenmarel-profile']
    sources = [os.path.join(bin_dir, name) for name in names]
    if case_library is None:
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
    if case_library not in (None, 'none'):
        lay_unusable_library(case_library, os.path.join(bin_dir, library_name), os.path.join(private_bin, library_name),
                             os.path.join(bin_dir, 'test-libraries'))
    if target_bytes is not None:
        with open(os.path.join(private_bin, 'quenmarel.target'), 'wb') as target_file:
            target_file.write(target_bytes)


def loaded_length(data):
    """How much of a library's bytes the loader maps: for an ELF file the end of
    its last loadable segment (a build with debug sections carries far more
    behind it, so that its half may still hold every segment whole), else its
    whole length."""
    if data[:4] != b'\x7fELF':
        return len(data)
    wide = data[4] == 2
    if wide:
        phoff, = struct.unpack_from('<Q', data, 0x20)
        phentsize, phnum = struct.unpack_from('<HH', data, 0x36)
    else:
        phoff, = struct.unpack_from('<I', data, 0x1C)
        phentsize, phnum = struct.unpack_from('<HH', data, 0x2A)
    end = 0
    for index in range(phnum):
        entry = phoff + index * phentsize
        if wide:
            kind, offset, size = struct.unpack_from('<I4xQ16xQ', data, entry)
        else:
            kind, offset, _, _, size = struct.unpack_from('<IIIII', data, entry)
        if kind == ELF_LOADABLE_SEGMENT:
            end = max(end, offset + size)
    return end or len(data)


def lay_unusable_library(kind, own_library, path, test_libraries):
    """Makes `path` the entry of the RFC library's name that a <library> value asks for."""
    cut, test_library = CUT_LIBRARY.match(kind), TEST_LIBRARY.match(kind)
    if kind == 'directory':
        os.mkdir(path)
    elif kind == 'fifo':
        os.mkfifo(path)
    elif kind == 'link-loop':
        os.symlink(os.path.basename(path), path)
    elif kind == 'dangling-link':
        os.symlink(os.path.basename(path) + '.gone', path)
    elif test_library:
        shutil.copyfile(os.path.join(test_libraries, test_library.group(1)), path)
    else:
        data = b'not a library\n' if kind == 'text' else b''
        if cut:
            with open(own_library, 'rb') as whole:
                data = whole.read()
            data = data[:loaded_length(data) // 2 if cut.group(1) == 'half' else int(cut.group(1))]
        with open(path, 'wb') as written:
            written.write(data)


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

    def link(self, name, target):
        """A symbolic link of the working directory, its target written as a
        Windows path relative to the link's directory."""
        path = self.host_path(name)
        self.create_parents(path)
        os.symlink(os.path.join(*target.split('\\')), path)

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


def with_parallel_keyword(arguments, systems):
    """The arguments with ",PARALLEL=N" added to the options: as an option word
    of its own after the first, else at the end of the second; unchanged when
    the options name the keyword already."""
    keyword = PARALLEL_KEYWORD + str(systems)
    if any(PARALLEL_KEYWORD in argument.upper() for argument in arguments[1:3]):
        return arguments
    if len(arguments) <= 2:
        return arguments + [keyword]
    return arguments[:2] + [arguments[2] + keyword] + arguments[3:]


def processes_started_from(directory, windows_directory):
    """The processes whose command line names a program in `directory` (or,
    for a Windows program under wine, in its Windows form), as "pid: command"."""
    found = []
    for entry in os.listdir('/proc'):
        if not entry.isdigit():
            continue
        try:
            with open('/proc/%s/cmdline' % entry, 'rb') as cmdline:
                command = cmdline.read().replace(b'\0', b' ').decode('latin-1')
        except OSError:
            continue
        if directory + '/' in command or windows_directory + '\\' in command:
            found.append('%s: %s' % (entry, command.strip()))
    return found


def leftover_processes(private_bin):
    """Processes of the case's programs still there after the run, waited for
    a short, bounded time; the ones found are killed, so that none lingers."""
    deadline = time.monotonic() + LEFTOVER_GRACE
    while True:
        found = processes_started_from(private_bin, windows_path(private_bin))
        if not found or time.monotonic() > deadline:
            break
        time.sleep(0.05)
    for process in found:
        try:
            os.kill(int(process.split(':')[0]), signal.SIGKILL)
        except OSError:
            pass
    return found


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


@contextlib.contextmanager
def stdout_destination(name):
    """The program's standard output and what closes it in the child: the
    runner's pipe; the device that is always full; or no stream at all."""
    if name == 'full':
        with open('/dev/full', 'wb') as full:
            yield full, None
    elif name == 'closed':
        yield None, lambda: os.close(1)
    else:
        yield subprocess.PIPE, None


def program_command(args, private_bin, command_name):
    if args.wine:
        return [args.wine, os.path.join(private_bin, command_name + '.exe')]
    return [os.path.join(private_bin, command_name)]


def program_environment(args):
    # The libraries a configuration lays beside the sensor must be found from
    # there, as on a probe, never through a search path of the test machine.
    environment = {key: value for key, value in os.environ.items() if key != 'LD_LIBRARY_PATH'}
    if args.wine:
        environment['WINEDEBUG'] = '-all'
        if args.wine_prefix:
            environment['WINEPREFIX'] = args.wine_prefix
    return environment


def run_case(args):
    case_name = os.path.splitext(os.path.basename(args.case))[0]
    sections = select_sections(parse_case(args.case), args.configuration)
    single = {section.name: section for section in sections if section.name not in NAMED_SECTIONS}
    platform = single['platform'].text.strip() if 'platform' in single else 'both'
    if (platform == 'native' and args.wine) or (platform == 'windows' and not args.wine):
        print('skipped: case is for %s only' % platform)
        return SKIPPED

    run_name = args.run_name or ('wine' if args.wine else 'native')
    expander = Expander(loopback_addresses.addresses('%s/%s' % (case_name, run_name), 2),
                        os.path.join(args.tools, 'quenmarel-profile'), (args.program_version, args.version_number))
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
        expander.bin_dir = windows_path(private_bin) + '\\' if args.wine else private_bin + '/'
        expander.test_libraries = os.path.join(args.bin, 'test-libraries')
        case_library = single['library'].text.strip() if 'library' in single else None
        install_program(args.bin, private_bin, bool(args.wine), expander.section_bytes(target) if target else None,
                        args.library, args.beside, case_library)
        for section in sections:
            if section.name == 'file':
                paths.write(section.attributes['name'], expander.section_bytes(section))
        for section in sections:
            if section.name == 'link':
                paths.link(section.attributes['name'], section.text.strip())

        simulator = None
        if 'scenario' in single:
            scenario_path = os.path.join(scratch, 'scenario.ini')
            with open(scenario_path, 'wb') as scenario_file:
                scenario_file.write(expander.section_bytes(single['scenario']))
            simulator = Simulator(os.path.join(args.tools, 'rfcsim'), scenario_path, scratch)

        try:
            started = time.monotonic()
            command_name = single['command'].text.strip() if 'command' in single else 'quenmarel'
            arguments = single['args'].text.split('\n')[:-1] if 'args' in single else []
            arguments = [expander.expand(argument) for argument in arguments]
            if args.parallel:
                arguments = with_parallel_keyword(arguments, args.parallel)
            # The bytes the case spells, as the other sections give them.
            arguments = [argument.encode('latin-1') for argument in arguments]
            stdin_bytes = expander.section_bytes(single['stdin']) if 'stdin' in single else b''
            stdout_to = single['stdout-to'].text.strip() if 'stdout-to' in single else None
            with stdout_destination(stdout_to) as (stdout, close_stdout):
                result = subprocess.run(program_command(args, private_bin, command_name) + arguments, cwd=work_dir,
                                        input=stdin_bytes, stdout=stdout, stderr=subprocess.PIPE,
                                        env=program_environment(args), timeout=RUN_TIMEOUT,
                                        preexec_fn=close_stdout)
        finally:
            run_seconds = time.monotonic() - started
            # Looked for while the simulator still holds every connection open.
            leftovers = leftover_processes(private_bin)
            simulator_log = simulator.stop() if simulator else b''

        for stream, name, actual in (('standard output', 'stdout', result.stdout or b''),
                                     ('standard error', 'stderr', result.stderr)):
            expected = expander.section_bytes(single[name]) if name in single else b''
            actual = CLOCK_TIME.sub(rb'\1HH:MM:SS', actual)
            if expected != actual:
                failures.append((stream, expected, actual))
        expected_exit = int(single['exit'].text.strip())
        if expected_exit != result.returncode:
            failures.append(('exit code', str(expected_exit).encode(), str(result.returncode).encode()))
        if leftovers:
            failures.append(('processes after the run', b'(none)', '\n'.join(leftovers).encode('latin-1')))
        if 'within' in single and run_seconds > int(single['within'].text):
            failures.append(('run time', b'at most %s s' % single['within'].text.strip().encode(),
                             b'%.1f s' % run_seconds))
        if 'simlog' in single:
            expected_log = expander.section_bytes(single['simlog'])
            if args.parallel:
                # Systems measured at the same time reach the simulator in no set order.
                expected_log, simulator_log = sorted_lines(expected_log), sorted_lines(simulator_log)
            if expected_log != simulator_log:
                failures.append(('rfcsim log', expected_log, simulator_log))
        for section in sections:
            if section.name == 'after':
                failures.extend(file_failures(paths, expander, section))
        broken_conventions = plugin_failures(single, result.stdout or b'',
                                             expander.section_bytes(single['stdout']), result.returncode,
                                             expected_exit)
        revealed = []
        if 'secret' in single:
            streams = (('standard output', result.stdout or b''), ('standard error', result.stderr),
                       ('the rfcsim log', simulator_log))
            revealed = secret_places(paths, expander, sections, single['secret'], streams)
        left_behind = files_left_behind(paths, sections, args.configuration)

        for what, expected, actual in failures:
            show_difference(what, expected, actual)
        for name in left_behind:
            print('--- left in the working directory, neither given by the case nor named in an <after>: ' + name)
        for place in revealed:
            print('--- ' + place)
        for problem in broken_conventions:
            print('--- ' + problem)
        return 1 if failures or left_behind or revealed or broken_conventions else 0
    finally:
        if args.keep:
            print('kept ' + scratch)
        else:
            paths.remove_created()
            shutil.rmtree(scratch, ignore_errors=True)


def plugin_line_problem(output, exit_code):
    """What keeps standard output from being a check plugin's result by the
    conventions (see PLUGIN_LINE), or None."""
    lines = [line for line in output.split(b'\n')[:-1] if line and not line.startswith(b'* ')]
    if not output.endswith(b'\n') or len(lines) != 1:
        return 'not one whole result line beside the console lines'
    match = PLUGIN_LINE.match(lines[0])
    if not match:
        return 'no "SAP PAGEROLL STATE - text" line'
    state_word, text, performance = match.groups()
    if PLUGIN_STATES[state_word] != exit_code:
        return 'state %s with exit code %d' % (state_word.decode(), exit_code)
    if re.search(rb'[\x00-\x1f\x7f]', text):
        return 'a control character in the text'
    worst = 0
    at = 0
    while performance is not None and at < len(performance):
        value = PLUGIN_VALUE.match(performance, at)
        if not value:
            return 'performance data not \'label\'=value[UOM];warn;crit;min;max at %r' % performance[at:].decode('latin-1')
        at = value.end()
        problem, state = plugin_value_problem(*value.groups())
        if problem:
            return problem
        worst = max(worst, state)
    if performance is not None and performance.endswith(b' '):
        return 'a blank after the last performance value'
    if PLUGIN_STATES[state_word] < worst:
        return 'state %s below what the values say against their thresholds' % state_word.decode()
    return None


def plugin_value_problem(label, value, unit, fields):
    """What is wrong with one performance value, and the state it gives."""
    if unit not in PLUGIN_UNITS:
        return 'unit %s, which the conventions do not know' % unit.decode('latin-1'), 0
    if unit != b'%':
        return 'a value of %s without the unit %%' % label.decode('latin-1'), 0
    warning, critical, least, _ = (fields.split(b';')[1:] + [b''] * 4)[:4]
    for threshold in (warning, critical):
        if not PLUGIN_RANGE.match(threshold) or (threshold and not threshold.isdigit()):
            return 'threshold %r of %s not a plain whole number' % (threshold, label.decode('latin-1')), 0
    if warning and critical and int(warning) >= int(critical):
        return 'warning threshold of %s not below its critical one' % label.decode('latin-1'), 0
    if least != b'0':
        return 'least value of %s not 0' % label.decode('latin-1'), 0
    number = float(value)
    state = 2 if critical and number > int(critical) else 1 if warning and number > int(warning) else 0
    return None, state


def plugin_failures(single, result_stdout, expected_stdout, result_exit, expected_exit):
    """The conventions' check of a Plugin case: on what it printed, and on what
    it expects, so that a case cannot expect a line the conventions refuse."""
    target = single.get('target')
    command = single['command'].text.strip() if 'command' in single else 'quenmarel'
    if not target or target.text.strip() != PLUGIN_TARGET or command != 'quenmarel' or 'stdout-to' in single:
        return []
    found = []
    for what, output, exit_code in (('standard output', result_stdout, result_exit),
                                    ('the expected standard output', expected_stdout, expected_exit)):
        problem = plugin_line_problem(output, exit_code)
        if problem:
            found.append('%s breaks the plugin conventions: %s' % (what, problem))
    return found


def sorted_lines(text):
    return b''.join(sorted(text.splitlines(True)))


def file_failures(paths, expander, section):
    """How a file differs after the run from what an <after> section expects."""
    name = section.attributes['name']
    path = paths.host_path(name)
    if 'absent' in section.attributes:
        return [('file ' + name, b'(absent)', b'(present)')] if os.path.exists(path) else []
    if not os.path.exists(path):
        return [('file ' + name, b'(present)', b'(absent)')]
    with open(path, 'rb') as after_file:
        actual_bytes = after_file.read()
    expected_bytes = expander.section_bytes(section)
    return [('file ' + name, expected_bytes, actual_bytes)] if actual_bytes != expected_bytes else []


def secret_places(paths, expander, sections, secret_section, streams):
    """Where a text of <secret> shows after the run, as "the secret S appears
    in W": a stream, or a file of the working directory (subdirectories
    included) other than one whose bytes are those of a file the case gave,
    such as the library's copy of a logon file.  Links are not followed."""
    given = set(expander.section_bytes(section) for section in sections if section.name == 'file')
    places = []
    for secret in secret_section.text.split('\n')[:-1]:
        text = secret.encode('latin-1')
        where = [name for name, data in streams if text in data]
        for directory, _, files in os.walk(paths.work_dir):
            for name in sorted(files):
                path = os.path.join(directory, name)
                if os.path.islink(path) or not os.path.isfile(path):
                    continue
                with open(path, 'rb') as written:
                    content = written.read()
                if text in content and content not in given:
                    where.append('the file ' + os.path.relpath(path, paths.work_dir).replace(os.sep, '\\'))
        places.extend('the secret %s appears in %s' % (secret, place) for place in where)
    return places


def files_left_behind(paths, sections, configuration):
    """What lies in the working directory after the run, subdirectories
    included, that the case neither created nor names in an <after> section
    and that is not one of the sensor's and the library's own files; each
    named as a case names it (cfg\\PRD.P00)."""
    own_files = OWN_FILES_OF_THE_RUN + OWN_FILES_OF_THE_CONFIGURATION.get(configuration, ())
    named = set()
    for section in sections:
        if section.name in NAMED_SECTIONS:
            relative = os.path.relpath(paths.host_path(section.attributes['name']), paths.work_dir)
            while relative and not relative.startswith(os.pardir):
                named.add(relative)
                relative = os.path.dirname(relative)
    left = []
    for directory, subdirectories, files in os.walk(paths.work_dir):
        for entry in subdirectories + files:
            relative = os.path.relpath(os.path.join(directory, entry), paths.work_dir)
            if relative not in named and relative not in own_files:
                left.append(relative.replace(os.sep, '\\'))
    return sorted(left)


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
    parser.add_argument('--parallel', type=int, metavar='N',
                        help='add ,PARALLEL=N to the case\'s options (unless they name it) and compare the '
                             'simulator\'s log lines in any order')
    parser.add_argument('--run-name',
                        help='this run of the cases among the suite\'s (native, wine32-parallel, ...): the same '
                             'case in two runs at once takes different addresses; default: native or wine')
    parser.add_argument('--program-version', help='the build\'s version text, as the banner shows it: {{version}}')
    parser.add_argument('--version-number', help='the build\'s version number alone: {{versionnumber}}')
    parser.add_argument('--keep', action='store_true', help='keep the scratch directory')
    parser.add_argument('case', help='the case file')
    args = parser.parse_args()
    try:
        sys.exit(run_case(args))
    except CaseError as error:
        print(error)
        sys.exit(1)


if __name__ == '__main__':
    main()
