#!/usr/bin/env python3
"""`quenmarel-profile doctor` on installations laid out from the builds' own
files: each layout is a directory of copies (and a few damaged copies) of
the native and Windows programs and libraries, with profiles, listings and
logon files; the doctor's whole output and exit code are compared.

The native doctor reads every layout, the Windows ones included (it reads
files, it never loads them); the 64-bit Windows doctor runs under wine on a
healthy Windows layout and must print the same.  Some twenty more layouts are
each judged by the doctor and then run by the sensor, profile by profile and
listing entry by listing entry, natively and with the 64-bit build under wine:
the doctor's verdict on each must be the sensor's.  Three trial runs measure a
simulated system through the stand-in library: one healthy, one whose logon
is rejected, one through a SAProuter route whose password the doctor never
shows, also where the system's failure text quotes it.

Usage: doctor_installations.py --bin NATIVE_BIN --tools NATIVE_BIN --host N
           [--windows-bin DIR] [--windows32-bin DIR] [--wine LOADER --wine-prefix DIR]
"""

import argparse
import os
import re
import shutil
import struct
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import run_case  # noqa: E402
import script_setup  # noqa: E402

PASSWORD = 'doctor-secret'
# A route's password, which the doctor never shows.
ROUTE_PASSWORD = 'Route-Secret'
ROUTE_TO_SAPPRD01 = '/H/gate/S/3299/W/%s/H/sapprd01' % ROUTE_PASSWORD
# A small 64-bit DLL that imports the Visual C++ runtime (MSVCP140.dll, VCRUNTIME140.dll).
SEEDS = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'fuzz', 'corpus', 'executable_file')


def arguments():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--bin', required=True)
    parser.add_argument('--tools', required=True)
    parser.add_argument('--run-name', required=True)
    parser.add_argument('--windows-bin')
    parser.add_argument('--windows32-bin')
    parser.add_argument('--wine')
    parser.add_argument('--wine-prefix')
    parser.add_argument('--program-version', required=True, help='the build\'s version text: {{version}}')
    parser.add_argument('--version-number', required=True,
                        help='the version number alone, as packages are named: {{versionnumber}}')
    return parser.parse_args()


def truncated(length):
    return lambda data: data[:length]


def pe_header(data):
    return struct.unpack_from('<I', data, 0x3C)[0]


def with_section_count(count):
    """The PE file header claims COUNT sections."""
    def damage(data):
        data = bytearray(data)
        struct.pack_into('<H', data, pe_header(data) + 6, count)
        return bytes(data)
    return damage


def with_first_section_field(field, value):
    """The first section's header holds `value` at `field`: its raw data's
    offset in the file (20), its address in memory (12)."""
    def damage(data):
        data = bytearray(data)
        header = pe_header(data)
        optional_size = struct.unpack_from('<H', data, header + 20)[0]
        struct.pack_into('<I', data, header + 24 + optional_size + field, value)
        return bytes(data)
    return damage


# The first section's raw data starts far beyond the end of the file.
first_section_past_the_end = with_first_section_field(20, 0x7FFFFFF0)
# The first section lies at 0xFFFFFFF0 in memory, far past the image's size.
first_section_outside_the_image = with_first_section_field(12, 0xFFFFFFF0)


def elf_without_section_table(data):
    """The ELF section table (64-bit) starts beyond the end of the file and
    holds no section: the system's loader reads only the program headers."""
    data = bytearray(data)
    struct.pack_into('<Q', data, 40, len(data) + 4096)  # e_shoff
    struct.pack_into('<HH', data, 60, 0, 0)  # e_shnum, e_shstrndx
    return bytes(data)


def elf_with_interpreter_segment(data):
    """The stack's program header (64-bit) turned into an interpreter's, as a
    library may carry one: the loader ignores it when it loads a library."""
    data = bytearray(data)
    table, count = struct.unpack_from('<Q', data, 32)[0], struct.unpack_from('<H', data, 56)[0]
    for index in range(count):
        if struct.unpack_from('<I', data, table + 56 * index)[0] == 0x6474E551:  # PT_GNU_STACK
            struct.pack_into('<I', data, table + 56 * index, 3)  # PT_INTERP
    return bytes(data)


def needing_librfc33(data):
    """The library needs librfc33.so instead of librfc32.so, which it would
    otherwise find in itself."""
    assert data.count(b'librfc32.so\0') == 1
    return data.replace(b'librfc32.so\0', b'librfc33.so\0')


# A named pipe in place of a file, which no reader may wait on.
FIFO = object()
# A directory in place of a file.
DIRECTORY = object()


class Link:
    """A symbolic link in place of a file, to TARGET (which need not exist)."""

    def __init__(self, target):
        self.target = target


class Layouts:
    def __init__(self, args, root):
        self.args = args
        self.root = root
        self.tool = os.path.join(args.tools, 'quenmarel-profile')
        self.expander = run_case.Expander(('127.0.0.1', '127.0.0.1'), self.tool)
        self.failures = 0
        self.compared = 0
        self.skipped = []

    def source(self, where, name):
        directory = {'native': self.args.bin, 'win64': self.args.windows_bin, 'win32': self.args.windows32_bin,
                     'seeds': SEEDS}[where]
        return os.path.join(directory, name) if directory else None

    def profile(self, destination, host, user_line=True):
        lines = ['Extcompany.: EXT01', 'Destination: %s' % destination, 'Client.....: 100',
                 'User.......: monitor' if user_line else '',
                 'Password...: %s' % self.expander.scramble(PASSWORD), 'Language...: EN', 'Mode.......: R/3',
                 'Hostname...: %s' % host, 'Sysnr......: 00', 'Gwhost.....: %s' % host, 'Gwservice..: sapgw00']
        return ''.join(line + '\n' for line in lines if line)

    def lay_out(self, name, files):
        """A directory NAME with FILES: name -> (build, file[, damage]) or text."""
        directory = os.path.join(self.root, name)
        os.makedirs(directory)
        for target, content in files.items():
            path = os.path.join(directory, target)
            if content is FIFO:
                os.mkfifo(path)
                continue
            if content is DIRECTORY:
                os.mkdir(path)
                continue
            if isinstance(content, Link):
                os.symlink(content.target, path)
                continue
            if isinstance(content, str):
                script_setup.write(path, content)
                continue
            source = self.source(content[0], content[1])
            if source is None:
                return None
            with open(source, 'rb') as original:
                data = original.read()
            if len(content) > 2:
                data = content[2](data)
            with open(path, 'wb') as copy:
                copy.write(data)
            shutil.copymode(source, path)
        return directory

    def run_doctor(self, command, directory, extra=(), environment=None):
        # The library search path of the test machine is none of the layout's.
        if environment is None:
            environment = {key: value for key, value in os.environ.items() if key != 'LD_LIBRARY_PATH'}
        result = subprocess.run(command + ['doctor', directory] + list(extra), stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, timeout=300, env=environment)
        return result.returncode, result.stdout.decode('latin-1')

    def check(self, name, files, expected, exit_code, extra=(), environment=None):
        directory = self.lay_out(name, files)
        if directory is None:
            self.skipped.append(name)
            return None
        if callable(expected):
            expected = expected(directory)
        code, output = self.run_doctor([self.tool], directory, extra, environment)
        self.compare(name, expected, exit_code, output, code)
        return directory

    def compare(self, name, expected, exit_code, output, code):
        expected = expected.replace('{{version}}', self.args.program_version).replace(
            '{{versionnumber}}', self.args.version_number)
        self.compared += 1
        if output == expected and code == exit_code:
            print('ok   %s' % name)
            return
        self.failures += 1
        print('FAIL %s: exit code %d (expected %d)' % (name, code, exit_code))
        run_case.show_difference(name, expected.encode('latin-1'), output.encode('latin-1'))


NO_TARGET = 'ok      quenmarel.target: none, so the result is PRTG\'s XML (EXEXML)\n'
NO_PATH_FILE = ('ok      C:\\PRTG_Path.Txt: none, so the sensor looks for profiles in its working directory, then in '
                'the monitor\'s standard directories\n')
WIN64_SENSOR = 'ok      quenmarel.exe: 64-bit Windows (x64), {{version}}\n'
WIN32_SENSOR = 'ok      quenmarel.exe: 32-bit Windows (x86), {{version}}\n'
NATIVE_SENSOR = 'ok      quenmarel: 64-bit Linux (x86-64), {{version}}\n'
STAND_IN = ('warning %s: the stand-in library for tests, %s; it talks only to rfcsim: never on a real probe: put the '
            'vendor\'s %s or the NetWeaver RFC bridge here\n')
SEVEN = 'ok      %s: exports the seven functions the sensor imports\n'
UNKNOWN_ORIGIN = 'ok      %s: a library of unknown origin that exports the seven functions the sensor imports, %s\n'


def program_cases(layouts):
    win_bridge = ('win64', 'nwrfc-bridge/LIBRFC32.dll')
    win_nwrfc = ('win64', 'nwrfc-standin/sapnwrfc.dll')
    bridge_libraries = {'quenmarel.exe': ('win64', 'quenmarel.exe'), 'LIBRFC32.dll': win_bridge,
                        'sapnwrfc.dll': win_nwrfc, 'icuuc50.dll': win_nwrfc, 'icudt50.dll': win_nwrfc,
                        'icuin50.dll': win_nwrfc}
    companions_ok = ''.join('ok      %s: 64-bit Windows (x64), like the bridge\n' % name
                            for name in ['sapnwrfc.dll', 'libsapucum.dll', 'icuuc50.dll', 'icudt50.dll',
                                         'icuin50.dll'])
    layouts.check('x64-sensor-beside-x86-library',
                  {'quenmarel.exe': ('win64', 'quenmarel.exe'), 'LIBRFC32.dll': ('win32', 'LIBRFC32.dll')},
                  WIN64_SENSOR +
                  'error   LIBRFC32.dll: 32-bit Windows (x86) library beside a 64-bit Windows (x64) quenmarel.exe, '
                  'so the sensor ends with error 1034: use quenmarel-{{versionnumber}}-windows-x86.zip\n' +
                  NO_TARGET + NO_PATH_FILE + 'doctor: 3 ok, 0 warnings, 1 error\n', 2)
    layouts.check('x86-sensor-beside-x64-library',
                  {'quenmarel.exe': ('win32', 'quenmarel.exe'), 'LIBRFC32.dll': ('win64', 'LIBRFC32.dll')},
                  WIN32_SENSOR +
                  'error   LIBRFC32.dll: 64-bit Windows (x64) library beside a 32-bit Windows (x86) quenmarel.exe, '
                  'so the sensor ends with error 1034: use quenmarel-{{versionnumber}}-windows-x64.zip\n' +
                  NO_TARGET + NO_PATH_FILE + 'doctor: 3 ok, 0 warnings, 1 error\n', 2)
    layouts.check('x86-stand-in-with-plain-names',
                  {'quenmarel.exe': ('win32', 'quenmarel.exe'), 'LIBRFC32.dll': ('win32', 'LIBRFC32.dll')},
                  WIN32_SENSOR + STAND_IN % ('LIBRFC32.dll', '32-bit Windows (x86)', 'LIBRFC32.dll') +
                  SEVEN % 'LIBRFC32.dll' + NO_TARGET + NO_PATH_FILE + 'doctor: 4 ok, 1 warning, 0 errors\n', 0)
    layouts.check('missing-library', {'quenmarel.exe': ('win64', 'quenmarel.exe')},
                  WIN64_SENSOR +
                  'error   LIBRFC32.dll: not beside quenmarel.exe, so the sensor takes the first on the system\'s '
                  'search path (the system directory, the Windows directory, then the directories of PATH; never '
                  'the working directory), and without one ends with error 1034: put the vendor\'s LIBRFC32.dll (or '
                  'the NetWeaver RFC bridge) beside quenmarel.exe\n' + NO_TARGET + NO_PATH_FILE +
                  'doctor: 3 ok, 0 warnings, 1 error\n', 2)
    layouts.check('bridge-without-libsapucum', bridge_libraries,
                  WIN64_SENSOR + 'ok      LIBRFC32.dll: the NetWeaver RFC bridge, 64-bit Windows (x64)\n' +
                  SEVEN % 'LIBRFC32.dll' +
                  'ok      sapnwrfc.dll: 64-bit Windows (x64), like the bridge\n'
                  'ok      sapnwrfc.dll: needs no Visual C++ runtime\n'
                  'error   libsapucum.dll: missing beside the NetWeaver RFC bridge, so every run ends with error '
                  '1011: copy it from the lib folder of the NetWeaver RFC SDK for 64-bit Windows (x64)\n' +
                  ''.join('ok      %s: 64-bit Windows (x64), like the bridge\n' % name
                          for name in ['icuuc50.dll', 'icudt50.dll', 'icuin50.dll']) +
                  NO_TARGET + NO_PATH_FILE + 'doctor: 10 ok, 0 warnings, 1 error\n', 2)
    runtime = dict(bridge_libraries, **{'libsapucum.dll': win_nwrfc, 'VCRUNTIME140.dll': win_nwrfc,
                                        'sapnwrfc.dll': ('seeds', 'pe64_program_needing_runtime')})
    layouts.check('bridge-needing-visual-cpp-runtime', runtime,
                  WIN64_SENSOR + 'ok      LIBRFC32.dll: the NetWeaver RFC bridge, 64-bit Windows (x64)\n' +
                  SEVEN % 'LIBRFC32.dll' +
                  'ok      sapnwrfc.dll: 64-bit Windows (x64), like the bridge\n'
                  'warning MSVCP140.dll: needed by sapnwrfc.dll, not beside it; the system directory is Windows\' own: '
                  'make sure the probe has it: install the Microsoft Visual C++ Redistributable (x64) that provides '
                  'it\n'
                  'ok      VCRUNTIME140.dll: needed by sapnwrfc.dll, found beside it\n' +
                  companions_ok.split('\n', 1)[1] + NO_TARGET + NO_PATH_FILE + 'doctor: 11 ok, 1 warning, 0 errors\n', 0)
    healthy = dict(bridge_libraries, **{'libsapucum.dll': win_nwrfc, 'PRD.P00': layouts.profile('PRD', 'sapprd01')})
    healthy_output = (WIN64_SENSOR + 'ok      LIBRFC32.dll: the NetWeaver RFC bridge, 64-bit Windows (x64)\n' +
                      SEVEN % 'LIBRFC32.dll' + companions_ok.replace(
                          'like the bridge\nok      libsapucum',
                          'like the bridge\nok      sapnwrfc.dll: needs no Visual C++ runtime\nok      libsapucum') +
                      NO_TARGET + 'ok      PRD.P00: the sensor accepts it (destination PRD, host sapprd01)\n' +
                      NO_PATH_FILE + 'doctor: 12 ok, 0 warnings, 0 errors\n')
    directory = layouts.check('healthy-bridge-installation', healthy, healthy_output, 0)
    if directory and layouts.args.wine:
        # The Windows doctor under wine reads the same files alike.
        command = [layouts.args.wine, os.path.join(layouts.args.windows_bin, 'quenmarel-profile.exe')]
        environment = run_case.program_environment(layouts.args)
        code, output = layouts.run_doctor(command, run_case.windows_path(directory), (), environment)
        layouts.compare('healthy-bridge-installation-under-wine', healthy_output, 0, output, code)
    native_bridge = {'quenmarel': ('native', 'quenmarel'), 'librfc32.so': ('native', 'nwrfc-bridge/librfc32.so')}
    for name in ['libsapnwrfc.so', 'libsapucum.so', 'libicuuc.so.50', 'libicudata.so.50', 'libicui18n.so.50']:
        native_bridge[name] = ('native', 'nwrfc-standin/libsapnwrfc.so')
    layouts.check('healthy-native-bridge-installation', native_bridge,
                  NATIVE_SENSOR + 'ok      librfc32.so: the NetWeaver RFC bridge, 64-bit Linux (x86-64)\n' +
                  SEVEN % 'librfc32.so' +
                  ''.join('ok      %s: 64-bit Linux (x86-64), like the bridge\n' % name
                          for name in ['libsapnwrfc.so', 'libsapucum.so', 'libicuuc.so.50', 'libicudata.so.50',
                                       'libicui18n.so.50']) +
                  NO_TARGET + NO_PATH_FILE + 'doctor: 10 ok, 0 warnings, 0 errors\n', 0)


def malformed_cases(layouts):
    layouts.check('truncated-sensor-and-huge-section-count',
                  {'quenmarel.exe': ('win64', 'quenmarel.exe', truncated(200)),
                   'LIBRFC32.dll': ('win64', 'LIBRFC32.dll', with_section_count(0xFFFF))},
                  'error   quenmarel.exe: not a readable program or library: its optional header is missing or lies '
                  'past the end of the file: copy quenmarel.exe from the release package again\n'
                  'error   LIBRFC32.dll: not a readable program or library: claims 65535 sections, more than a PE '
                  'file may have: put the vendor\'s LIBRFC32.dll (or the NetWeaver RFC bridge) beside '
                  'quenmarel.exe\n' + NO_TARGET + NO_PATH_FILE + 'doctor: 2 ok, 0 warnings, 2 errors\n', 2)
    layouts.check('section-past-the-end-and-dos-stub',
                  {'quenmarel.exe': ('win64', 'quenmarel.exe', first_section_past_the_end),
                   'LIBRFC32.dll': ('win64', 'LIBRFC32.dll', truncated(40))},
                  'error   quenmarel.exe: not a readable program or library: section 1 lies past the end of the file: '
                  'copy quenmarel.exe from the release package again\n'
                  'error   LIBRFC32.dll: not a readable program or library: it ends inside its DOS header: put the '
                  'vendor\'s LIBRFC32.dll (or the NetWeaver RFC bridge) beside quenmarel.exe\n' +
                  NO_TARGET + NO_PATH_FILE + 'doctor: 2 ok, 0 warnings, 2 errors\n', 2)
    layouts.check('elf-cut-inside-a-loadable-segment',
                  {'quenmarel': ('native', 'quenmarel'), 'librfc32.so': ('native', 'librfc32.so', truncated(4096))},
                  NATIVE_SENSOR +
                  'error   librfc32.so: not a readable program or library: a loadable segment lies past the end of the '
                  'file: put the vendor\'s librfc32.so (or the NetWeaver RFC bridge) beside quenmarel\n' +
                  NO_TARGET + NO_PATH_FILE + 'doctor: 3 ok, 0 warnings, 1 error\n', 2)
    layouts.check('pe-section-outside-the-image',
                  {'quenmarel.exe': ('win64', 'quenmarel.exe'),
                   'LIBRFC32.dll': ('win64', 'LIBRFC32.dll', first_section_outside_the_image)},
                  WIN64_SENSOR +
                  'error   LIBRFC32.dll: not a readable program or library: section 1 lies outside its image: put the '
                  'vendor\'s LIBRFC32.dll (or the NetWeaver RFC bridge) beside quenmarel.exe\n' +
                  NO_TARGET + NO_PATH_FILE + 'doctor: 3 ok, 0 warnings, 1 error\n', 2)


def loader_agreement_cases(layouts):
    """What the system's loader loads the doctor does not call broken."""
    healthy_stand_in = (NATIVE_SENSOR + STAND_IN % ('librfc32.so', '64-bit Linux (x86-64)', 'librfc32.so') +
                        SEVEN % 'librfc32.so' + NO_TARGET + NO_PATH_FILE + 'doctor: 4 ok, 1 warning, 0 errors\n')
    for name, damage in (('elf-without-a-section-table', elf_without_section_table),
                         ('elf-library-with-an-interpreter-segment', elf_with_interpreter_segment)):
        layouts.check(name, {'quenmarel': ('native', 'quenmarel'), 'librfc32.so': ('native', 'librfc32.so', damage)},
                      healthy_stand_in, 0)
    layouts.check('functions-through-a-needed-library',
                  {'quenmarel': ('native', 'quenmarel'),
                   'librfc32.so': ('native', 'test-libraries/rfc-through-needed.so', needing_librfc33),
                   'librfc33.so': ('native', 'librfc32.so')},
                  NATIVE_SENSOR + UNKNOWN_ORIGIN % ('librfc32.so', '64-bit Linux (x86-64)') + NO_TARGET +
                  NO_PATH_FILE + 'doctor: 4 ok, 0 warnings, 0 errors\n', 0)
    layouts.check('32-bit-elf-library-beside-the-64-bit-sensor',
                  {'quenmarel': ('native', 'quenmarel'), 'librfc32.so': ('seeds', 'elf32_x86_library')},
                  NATIVE_SENSOR +
                  'error   librfc32.so: 32-bit Linux (x86) library beside a 64-bit Linux (x86-64) quenmarel, so the '
                  'sensor ends with error 1034: put a 64-bit Linux (x86-64) librfc32.so here\n' +
                  NO_TARGET + NO_PATH_FILE + 'doctor: 3 ok, 0 warnings, 1 error\n', 2)


def not_a_file_cases(layouts):
    layouts.check('sensor-is-a-pipe', {'quenmarel': FIFO, 'librfc32.so': ('native', 'librfc32.so')},
                  'error   quenmarel: not a regular file, so it cannot be the sensor: copy quenmarel from the release '
                  'package again\n' + STAND_IN % ('librfc32.so', '64-bit Linux (x86-64)', 'librfc32.so') +
                  SEVEN % 'librfc32.so' + NO_TARGET + NO_PATH_FILE + 'doctor: 3 ok, 1 warning, 1 error\n', 2)
    layouts.check('listing-is-a-pipe', {'quenmarel': ('native', 'quenmarel'), 'librfc32.so': ('native', 'librfc32.so'),
                                        'Gastrelo.Prf': FIFO},
                  NATIVE_SENSOR + STAND_IN % ('librfc32.so', '64-bit Linux (x86-64)', 'librfc32.so') +
                  SEVEN % 'librfc32.so' + NO_TARGET +
                  'error   Gastrelo.Prf: not a regular file the sensor can read, so its runs end with error 1002: make '
                  'it a readable file\n' + NO_PATH_FILE + 'doctor: 4 ok, 1 warning, 1 error\n', 2)


def library_cases(layouts):
    """The library where the sensor takes it, each file the bridge needs as
    it finds it, and a library's origin told by its marks alone."""
    # The sensor takes the first librfc32.so of LD_LIBRARY_PATH, and so does the doctor.
    elsewhere = layouts.lay_out('library-on-the-search-path', {'librfc32.so': ('native', 'librfc32.so')})
    environment = dict(os.environ, LD_LIBRARY_PATH=elsewhere)
    layouts.check('library-found-on-the-search-path', {'quenmarel': ('native', 'quenmarel')},
                  lambda directory: NATIVE_SENSOR + 'ok      librfc32.so: not beside quenmarel: the sensor takes %s/'
                  'librfc32.so, the first on the system\'s search path\n' % elsewhere +
                  STAND_IN % ('librfc32.so', '64-bit Linux (x86-64)', 'librfc32.so') + SEVEN % 'librfc32.so' +
                  NO_TARGET + NO_PATH_FILE + 'doctor: 5 ok, 1 warning, 0 errors\n', 0, environment=environment)
    layouts.check('pipe-in-the-librarys-place', {'quenmarel': ('native', 'quenmarel'), 'librfc32.so': FIFO},
                  NATIVE_SENSOR + 'error   librfc32.so: is a FIFO, not a regular file, so the sensor ends with error '
                  '1034: put the vendor\'s librfc32.so (or the NetWeaver RFC bridge) beside quenmarel\n' + NO_TARGET +
                  NO_PATH_FILE + 'doctor: 3 ok, 0 warnings, 1 error\n', 2)
    # Many functions make no vendor's library: the NetWeaver library is none for the sensor.
    layouts.check('netweaver-library-in-the-classic-librarys-place',
                  {'quenmarel.exe': ('win64', 'quenmarel.exe'), 'LIBRFC32.dll': ('win64', 'nwrfc-standin/sapnwrfc.dll')},
                  WIN64_SENSOR + 'error   LIBRFC32.dll: a library of unknown origin, 64-bit Windows (x64), that does not '
                  'export RfcCall, RfcClose, RfcEnvironment, RfcLastError, RfcOpen, RfcOpenEx, RfcReceive, so the '
                  'sensor ends with error 1034: put the vendor\'s LIBRFC32.dll or the NetWeaver RFC bridge here\n' +
                  NO_TARGET + NO_PATH_FILE + 'doctor: 3 ok, 0 warnings, 1 error\n', 2)
    win_nwrfc = ('win64', 'nwrfc-standin/sapnwrfc.dll')
    remedy = ': copy %s from the lib folder of the NetWeaver RFC SDK for 64-bit Windows (x64) beside the bridge\n'
    layouts.check('bridge-libraries-that-are-no-files',
                  {'quenmarel.exe': ('win64', 'quenmarel.exe'), 'LIBRFC32.dll': ('win64', 'nwrfc-bridge/LIBRFC32.dll'),
                   'sapnwrfc.dll': win_nwrfc, 'libsapucum.dll': FIFO, 'icuuc50.dll': win_nwrfc,
                   'icudt50.dll': DIRECTORY, 'icuin50.dll': Link('icuin50-gone.dll')},
                  WIN64_SENSOR + 'ok      LIBRFC32.dll: the NetWeaver RFC bridge, 64-bit Windows (x64)\n' +
                  SEVEN % 'LIBRFC32.dll' +
                  'ok      sapnwrfc.dll: 64-bit Windows (x64), like the bridge\n'
                  'ok      sapnwrfc.dll: needs no Visual C++ runtime\n'
                  'error   libsapucum.dll: is a FIFO, not a regular file, so every run ends with error 1011' +
                  remedy % 'libsapucum.dll' +
                  'ok      icuuc50.dll: 64-bit Windows (x64), like the bridge\n'
                  'error   icudt50.dll: is a directory, not a regular file, so every run ends with error 1011' +
                  remedy % 'icudt50.dll' +
                  'error   icuin50.dll: is a link that leads to no file, so every run ends with error 1011' +
                  remedy % 'icuin50.dll' + NO_TARGET + NO_PATH_FILE + 'doctor: 8 ok, 0 warnings, 3 errors\n', 2)


def configuration_cases(layouts):
    files = {'quenmarel': ('native', 'quenmarel'), 'librfc32.so': ('native', 'librfc32.so'),
             'PRD.P00': layouts.profile('PRD', 'sapprd01'),
             'QAS.P00': layouts.profile('QAS', 'sapqas01', user_line=False),
             'SAP Gastrelo.Gbl': '# GSNG: SENSOR01  : PRD.P00#TRN.P00#\n'
                                 '# GSNX: SENSOR01  : Item=Pages:Used,Sensor="SAP Quenmarel"\n'
                                 '# GSNX: SENSOR02  : Item=Pages:Used,Sensor="SAP Other"\n',
             'SapRfc.PRD': 'DEST=PRD\nTYPE=A\nASHOST=sapprd01\nSYSNR=00\n',
             'SapRfc.OLD': 'DEST=OLD\nTYPE=A\nASHOST=sapold01\nSYSNR=00\n',
             'quenmarel.target': 'harnick\n'}
    layouts.check('broken-configuration', files,
                  NATIVE_SENSOR + STAND_IN % ('librfc32.so', '64-bit Linux (x86-64)', 'librfc32.so') +
                  SEVEN % 'librfc32.so' +
                  'error   quenmarel.target: its first line names no target, so every run ends with Error 1008: '
                  'Output target in quenmarel.target must be one of EXEXML, Miravex, Tolvane, Quelbrin, Harnick, Plugin !: '
                  'write one of the six keywords, exactly, on its first line\n'
                  'error   SAP Gastrelo.Gbl (sensor SENSOR01): lists "TRN.P00", which is not in this directory, so '
                  'that system always fails: write that profile, or correct the listing\n'
                  'error   SAP Gastrelo.Gbl (sensor SENSOR02): the sensor refuses it with Error 1029: Invalid '
                  'Sensor-Allocation...: correct the allocation\n'
                  'ok      PRD.P00: the sensor accepts it (destination PRD, host sapprd01)\n'
                  'error   QAS.P00: label "User.......:" is missing; the sensor refuses it with Error 1006: Username '
                  'in Profile QAS.P00 is missing...: add the user line\n'
                  'warning SapRfc.OLD: no profile here has the destination OLD, so no run reads it: remove it, or '
                  'correct the destination of the profile it was meant for\n'
                  'ok      SapRfc.PRD: the logon of destination PRD (PRD.P00)\n'
                  'warning QAS.P00: no SapRfc.QAS beside the other destinations\' logon files, so it connects to the '
                  'host of the profile: write SapRfc.QAS if this system, too, is reached through a destination\n'
                  'ok      C:\\PRTG_Path.Txt: not read: the target does not search the monitor\'s directories\n'
                  'doctor: 5 ok, 3 warnings, 4 errors\n', 2)


def simulated_systems(layouts, host):
    """rfcsim with the system every profile of the layouts reaches (system 00),
    one that rejects every logon (system 01) and one whose every call fails
    with a text that quotes a route (system 02)."""
    scenario = os.path.join(layouts.root, 'scenario.ini')
    script_setup.write(scenario, '\n'.join([
        '[system]', 'listen = %s:3300' % host, 'client = 100', 'user = MONITOR', 'password = %s' % PASSWORD,
        'PAGE_AREA_SHARED_MEMORY = 8192', 'PAGE_AREA_SIZE = 65536', 'PAGE_CURRENTLY_USED = 3000',
        'PAGE_MAX_USED = 7000', 'PAGE_WP_LOCAL = 0', 'PAGING_FILE_SIZE = 262144', 'ROLL_AREA_SHARED_MEMORY = 4096',
        'ROLL_AREA_SIZE = 16384', 'ROLL_CURRENTLY_USED = 1500', 'ROLL_FILE_SIZE = 131072', 'ROLL_MAX_USED = 3100',
        '[system]', 'listen = %s:3301' % host, 'logon = reject',
        '[system]', 'listen = %s:3302' % host, 'call = failure', 'text = partner not reached via %s' % ROUTE_TO_SAPPRD01,
        '']))
    return run_case.Simulator(os.path.join(layouts.args.tools, 'rfcsim'), scenario, layouts.root)


def measure_cases(layouts, host):
    rejected = layouts.profile('QAS', host).replace('Sysnr......: 00', 'Sysnr......: 01')
    files = {'quenmarel': ('native', 'quenmarel'), 'librfc32.so': ('native', 'librfc32.so'),
             'PRD.P00': layouts.profile('PRD', host), 'QAS.P00': rejected}
    start = (NATIVE_SENSOR + STAND_IN % ('librfc32.so', '64-bit Linux (x86-64)', 'librfc32.so') +
             SEVEN % 'librfc32.so' + NO_TARGET +
             'ok      PRD.P00: the sensor accepts it (destination PRD, host %s)\n'
             'ok      QAS.P00: the sensor accepts it (destination QAS, host %s)\n' % (host, host) + NO_PATH_FILE)
    layouts.check('measure-healthy-system', files,
                  start + 'ok      measure PRD: (PRD) Page/Roll: Pages Used=4%, Max=9%, WpLocal=0%, Roll Used=7%, '
                  'Max=15\ndoctor: 7 ok, 1 warning, 0 errors\n', 0, ['--measure', 'PRD'])
    rejected_trace = ('        Dev_Rfc.Trc: **** ERROR in RfcOpen\n'
                      '        Dev_Rfc.Trc: T:0001 ======> logon rejected\n'
                      '        Dev_Rfc.Trc: ERROR       logon to %s:3301 rejected: name or password is incorrect\n'
                      % host)
    layouts.check('measure-rejected-logon', files,
                  start + 'error   measure QAS: Error 1011: RFC-Open for QAS failed !: check the profile and '
                  'Dev_Rfc.Trc in the working directory\n' + rejected_trace +
                  'doctor: 6 ok, 1 warning, 1 error\n', 2, ['--measure', 'QAS'])
    # The document's text is shown as plain text, without XML's entities.
    layouts.check('measure-name-with-ampersands', files,
                  start + 'error   measure PRD && touch: Error 1002: Profile PRD && touch.P00 is missing...: check the '
                  'name, C:\\PRTG_Path.Txt and the custom-sensor directory (@, which skips that search, also switches '
                  'console mode on: for trials at a console only)\n        Dev_Rfc.Trc: nothing written by this run\n'
                  'doctor: 6 ok, 1 warning, 1 error\n', 2, ['--measure', 'PRD && touch'])
    listing = dict(files, **{'SAP Gastrelo.Gbl': '# GSNG: SENSOR01  : PRD.P00#QAS.P00#\n'
                                                  '# GSNX: SENSOR01  : Item=Pages:Used,Sensor="SAP Quenmarel"\n'})
    listing_start = start.replace(NO_TARGET, NO_TARGET + 'ok      SAP Gastrelo.Gbl (sensor SENSOR01): lists 2 '
                                  'profiles, all present\n')
    # An item-mode run ends with exit code 0 whatever its systems did: a
    # failed one is an error, named.
    layouts.check('measure-item-mode-with-a-failed-system', listing,
                  listing_start + 'error   measure GLOBAL: (***) Pages Used: NoSystems=2, Processed=1, Failed=1: failed '
                  'QAS.P00: check their profiles and Dev_Rfc.Trc in the working directory\n' + rejected_trace +
                  'doctor: 7 ok, 1 warning, 1 error\n', 2, ['--measure', 'GLOBAL', 'SENSOR01'])
    # The words reach the sensor each as its own argument: the second is the
    # sensor word, not part of a longer option text.
    layouts.check('measure-words-as-typed', listing,
                  listing_start + 'error   measure GLOBAL: Error 1030: Global Sensor NOSUCH not found...: check the '
                  'sensor word and the file\n        Dev_Rfc.Trc: nothing written by this run\n'
                  'doctor: 7 ok, 1 warning, 1 error\n', 2, ['--measure', 'GLOBAL', 'NOSUCH'])
    harnick = dict(files, **{'quenmarel.target': 'Harnick\n'})
    harnick_start = start.replace(NO_TARGET, 'ok      quenmarel.target: selects Harnick\n').replace(
        NO_PATH_FILE, 'ok      C:\\PRTG_Path.Txt: not read: the target does not search the monitor\'s directories\n')
    # "CH=" makes the run print one bare value.
    layouts.check('measure-one-value-of-harnick', harnick,
                  harnick_start + 'ok      measure PRD: 4\ndoctor: 7 ok, 1 warning, 0 errors\n', 0,
                  ['--measure', 'PRD', 'CH=1'])
    # A check plugin's line: the state of values above a limit stands in front
    # of the message, and is no fault of the installation; a numbered error is
    # an UNKNOWN line with exit code 3, judged as in every other form.
    plugin = dict(files, **{'quenmarel.target': 'Plugin\n'})
    plugin_start = harnick_start.replace('selects Harnick', 'selects Plugin')
    layouts.check('measure-plugin-values-above-a-limit', plugin,
                  plugin_start + 'ok      measure PRD: CRITICAL - (PRD) Page/Roll: Pages Used=4%, Max=9%, WpLocal=0%, '
                  'Roll Used=7%, Max=15\ndoctor: 7 ok, 1 warning, 0 errors\n', 0, ['--measure', 'PRD', ',LIMITS=8/14'])
    layouts.check('measure-plugin-rejected-logon', plugin,
                  plugin_start + 'error   measure QAS: Error 1011: RFC-Open for QAS failed !: check the profile and '
                  'Dev_Rfc.Trc in the working directory\n' + rejected_trace +
                  'doctor: 6 ok, 1 warning, 1 error\n', 2, ['--measure', 'QAS'])
    measure_through_a_route(layouts, host)


def measure_through_a_route(layouts, host):
    """A SAProuter route in the profile's host, and the system's failure text
    quoting one: the doctor shows both with "****" for the password."""
    route = '/h/gate/s/3299/w/%s/h/%s' % (ROUTE_PASSWORD, host)
    files = {'quenmarel': ('native', 'quenmarel'), 'librfc32.so': ('native', 'librfc32.so'),
             'TRN.P00': layouts.profile('TRN', route).replace('Sysnr......: 00', 'Sysnr......: 02')}
    shown = ROUTE_TO_SAPPRD01.replace(ROUTE_PASSWORD, '****')
    layouts.check('measure-through-a-route', files,
                  NATIVE_SENSOR + STAND_IN % ('librfc32.so', '64-bit Linux (x86-64)', 'librfc32.so') +
                  SEVEN % 'librfc32.so' + NO_TARGET +
                  'ok      TRN.P00: the sensor accepts it (destination TRN, host %s)\n' %
                  route.replace(ROUTE_PASSWORD, '****') + NO_PATH_FILE +
                  'error   measure TRN: Error 1014: RFC-Failure raised ! - partner not reached via %s: see the text '
                  'after the message and Dev_Rfc.Trc\n'
                  '        Dev_Rfc.Trc: **** ERROR in RfcReceive\n'
                  '        Dev_Rfc.Trc: T:0001 ======> RFC failure\n'
                  '        Dev_Rfc.Trc: ERROR       partner not reached via %s\n'
                  'doctor: 5 ok, 1 warning, 1 error\n' % (shown, shown), 2, ['--measure', 'TRN'])

# ---- The doctor's verdicts against the sensor's runs ----

# A line of filler that neither a profile nor a listing takes.
FILLER = 'x' * 99 + '\n'
BEYOND_THE_BOUND = FILLER * ((1 << 20) // len(FILLER) + 10)
ALLOCATION = ',Sensor="SAP Quenmarel"'


def doctor_verdict(lines, subject):
    """What the doctor's lines say the sensor does with SUBJECT: "refused N"
    or "accepted", a listing's with the number of names that measure nothing."""
    subject = shown(subject)
    own = [(verdict, text) for verdict, line_subject, text in lines if line_subject == subject]
    if not own:
        return 'not judged'
    for _, text in own:
        refused = re.search(r'the sensor refuses it with Error (\w+):', text)
        if refused:
            return 'refused ' + refused.group(1)
    for _, _, text in lines:
        # A logon file that names the profile's run.
        if re.search(r'so every run of %s ends with Error 1011:' % re.escape(subject), text):
            return 'refused 1011'
    unread = sum(1 for verdict, text in own if verdict == 'error' and text.startswith('lists '))
    return 'accepted, %d unread' % unread if subject_is_listing(subject) else 'accepted'


def subject_is_listing(subject):
    return subject.lower().startswith(('gastrelo.prf', 'sap gastrelo.gbl'))


def shown(text):
    """TEXT as the doctor shows it: each control character a blank."""
    return ''.join(' ' if ord(c) < 0x20 or 0x7F <= ord(c) <= 0x9F else c for c in text)


def sensor_verdict(code, output):
    refused = re.search(rb'<Text>Error (\w+):', output)
    if code == 2 and refused:
        return 'refused ' + refused.group(1).decode()
    counts = re.search(rb'NoSystems=(\d+), Processed=(\d+), Failed=(\d+)', output)
    if code == 0 and counts:
        systems, processed, failed = (int(count) for count in counts.groups())
        return 'accepted, %d unread' % (systems - processed - failed)
    return 'accepted' if code == 0 else 'exit code %d' % code


class Differential:
    """Each layout is judged by the doctor, then run by the sensor profile by
    profile and listing by listing, natively and under wine with the 64-bit
    build; every verdict must be the sensor's."""

    def __init__(self, layouts, host):
        self.layouts = layouts
        self.host = host

    def profile(self, destination, **changes):
        """A profile every run measures through rfcsim, with CHANGES: label -> value, or None to leave it out."""
        values = {'Extcompany.:': 'EXT01', 'Destination:': destination, 'Client.....:': '100',
                  'User.......:': 'monitor', 'Password...:': self.layouts.expander.scramble(PASSWORD),
                  'Language...:': 'EN', 'Mode.......:': 'R/3', 'Hostname...:': self.host, 'Sysnr......:': '00',
                  'Gwhost.....:': self.host, 'Gwservice..:': 'sapgw00'}
        values.update(changes)
        return ''.join('%s %s\n' % (label, value) for label, value in values.items() if value is not None)

    def programs(self, platform):
        if platform == 'native':
            return {'quenmarel': ('native', 'quenmarel'), 'librfc32.so': ('native', 'librfc32.so')}
        return {'quenmarel.exe': ('win64', 'quenmarel.exe'), 'LIBRFC32.dll': ('win64', 'LIBRFC32.dll')}

    def run_sensor(self, platform, directory, words):
        args = self.layouts.args
        if platform == 'native':
            command = [os.path.join(directory, 'quenmarel')]
            environment = run_case.program_environment(argparse.Namespace(wine=None))
        else:
            command = [args.wine, os.path.join(directory, 'quenmarel.exe')]
            environment = run_case.program_environment(args)
        result = subprocess.run(command + [word.encode('latin-1') for word in words], cwd=directory,
                                stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, env=environment, timeout=120)
        return result.returncode, result.stdout

    def judge(self, name, files, probes, platforms=('native', 'wine')):
        """PROBES: (subject, sensor words) for each profile and listing entry."""
        for platform in platforms:
            if platform == 'wine' and not (self.layouts.args.wine and self.layouts.args.windows_bin):
                self.layouts.skipped.append('%s under wine' % name)
                continue
            directory = self.layouts.lay_out('%s-%s' % (name, platform), dict(self.programs(platform), **files))
            code, output = self.layouts.run_doctor([self.layouts.tool], directory)
            lines = [(line[:8].strip(), line[8:].split(': ', 1)[0], line[8:].split(': ', 1)[-1])
                     for line in output.split('\n') if line and not line.startswith(' ')]
            problems = self.forged(output) + self.windows_doctor_differs(platform, directory, output)
            for subject, words in probes:
                expected = doctor_verdict(lines, subject)
                sensor_code, sensor_output = self.run_sensor(platform, directory, words)
                actual = sensor_verdict(sensor_code, sensor_output)
                if expected != actual:
                    problems.append('%s: the doctor says %s, the sensor (%s) %s' %
                                    (subject, expected, ' '.join(words), actual))
                problems += self.misread(output, subject, sensor_output)
            self.report('%s (%s)' % (name, platform), problems, output)

    def windows_doctor_differs(self, platform, directory, output):
        """The Windows doctor under wine reads a Windows installation as the native one does."""
        if platform != 'wine':
            return []
        args = self.layouts.args
        command = [args.wine, os.path.join(args.windows_bin, 'quenmarel-profile.exe')]
        _, windows_output = self.layouts.run_doctor(command, run_case.windows_path(directory), (),
                                                    run_case.program_environment(args))
        return [] if windows_output == output else ['the Windows doctor says:\n' + windows_output]

    @staticmethod
    def forged(output):
        """A control byte other than the line feed, or a line a name made."""
        problems = ['raw control byte %r in the doctor\'s output' % chr(byte)
                    for byte in sorted(set(output.encode('latin-1'))) if byte < 0x20 and byte != 0x0A or byte == 0x7F]
        if re.search(r'^ok      B\.P00', output, re.MULTILINE):
            problems.append('a file name forged a finding of its own')
        return problems

    @staticmethod
    def misread(output, subject, sensor_output):
        """What the doctor says the sensor reads must be what the sensor's console line shows."""
        said = re.search(r'^error   %s: .*the sensor reads "([^"]*)"' % re.escape(shown(subject)), output,
                         re.MULTILINE)
        if not said or (', %s, ' % said.group(1)).encode('latin-1') in sensor_output:
            return []
        return ['%s: the doctor says the sensor reads "%s", the sensor shows %r' %
                (subject, said.group(1), sensor_output[:200])]

    def report(self, name, problems, output):
        self.layouts.compared += 1
        if not problems:
            print('ok   %s' % name)
            return
        self.layouts.failures += 1
        print('FAIL %s' % name)
        for problem in problems:
            print('     %s' % problem)
        print(output)


def differential_cases(layouts, host):
    judged = Differential(layouts, host)
    profile = judged.profile
    measure = lambda name: (name, [name, '#'])  # noqa: E731
    entry = lambda word: ('SAP Gastrelo.Gbl (sensor %s)' % word, ['GLOBAL', word])  # noqa: E731
    item_profile = ('Gastrelo.Prf', ['PRD', 'ITEM=Pages:Used'])

    def global_listing(entry_text, listing='PRD.P00#'):
        return {'PRD.P00': profile('PRD'),
                'SAP Gastrelo.Gbl': '# GSNG: SENSOR01  : %s\n# GSNX: SENSOR01  : %s\n' % (listing, entry_text)}

    judged.judge('healthy', {'PRD.P00': profile('PRD'), 'SapRfc.PRD': 'DEST=PRD\nTYPE=A\nASHOST=%s\nSYSNR=00\n' % host,
                             'Gastrelo.Prf': '# Gsng: ............PRD.P00#\n'},
                 [measure('PRD.P00'), item_profile])
    judged.judge('entry-item-misspelt', global_listing('Item=Pages:Usd' + ALLOCATION), [entry('SENSOR01')])
    judged.judge('entry-limits-inverted', global_listing('Item=Pages:Used,LIMITS=95/80' + ALLOCATION),
                 [entry('SENSOR01')])
    judged.judge('entry-parallel-17', global_listing('Item=Pages:Used,PARALLEL=17' + ALLOCATION), [entry('SENSOR01')])
    judged.judge('entry-options-in-force', global_listing('Item=Rolls:MaxUsed,PARALLEL=2,LIMITS=/95,Alias' + ALLOCATION),
                 [entry('SENSOR01')])
    judged.judge('entry-without-allocation', global_listing('Item=Pages:Used,Sensor="SAP Other"'), [entry('SENSOR01')])
    judged.judge('entry-without-item', global_listing('ITEM=Pages:Used' + ALLOCATION), [entry('SENSOR01')])
    judged.judge('entry-too-long', global_listing('Item=Pages:Used,' + 'Alias,' * 20 + ALLOCATION), [entry('SENSOR01')])
    judged.judge('listing-too-long', global_listing('Item=Pages:Used' + ALLOCATION, 'PRD.P00#' * 260),
                 [entry('SENSOR01')])
    judged.judge('listing-with-an-empty-and-an-absent-name',
                 global_listing('Item=Pages:Used' + ALLOCATION, 'PRD.P00##GONE.P00#' + 'L' * 70 + '.P00#'),
                 [entry('SENSOR01')])
    judged.judge('two-sensors-one-refused',
                 dict(global_listing('Item=Pages:Used' + ALLOCATION),
                      **{'SAP Gastrelo.Gbl': '# GSNG: SENSOR01  : PRD.P00#\n# gsnx: sensor01  : Item=Pages:Used' +
                         ALLOCATION + '\n# GSNG: SENSOR02  : PRD.P00#\n# GSNX: SENSOR02  : Item=pages:used' +
                         ALLOCATION + '\n'}),
                 [('SAP Gastrelo.Gbl (sensor SENSOR01)', ['GLOBAL', 'sensor01']), entry('SENSOR02')])
    judged.judge('value-against-the-colon', {'PRD.P00': profile('PRD').replace('Hostname...: ', 'Hostname...:1')},
                 [measure('PRD.P00')])
    judged.judge('system-number-of-one-digit-and-a-letter', {'PRD.P00': profile('PRD', **{'Sysnr......:': '0x'})},
                 [measure('PRD.P00')])
    judged.judge('profile-defects',
                 {'NOUSER.P00': profile('NOUSER', **{'User.......:': None}),
                  'BADPASS.P00': profile('BADPASS', **{'Password...:': 'x' * 23}),
                  'WRONG.P00': profile('WRONG', **{'Password...:': profile('X').split('Password...: ')[1][:24]
                                                   .replace('a', 'b').replace('A', 'B')}),
                  'LONGDEST.P00': profile('LONGDESTINATION')},
                 [measure('NOUSER.P00'), measure('BADPASS.P00'), measure('LONGDEST.P00')])
    judged.judge('logon-file-of-another-destination',
                 {'PRD.P00': profile('PRD'), 'SapRfc.PRD': 'DEST=QAS\nTYPE=A\nASHOST=%s\nSYSNR=00\n' % host},
                 [measure('PRD.P00')])
    judged.judge('logon-file-without-an-entry-first',
                 {'PRD.P00': profile('PRD'), 'SapRfc.PRD': 'TYPE=A\nASHOST=%s\nSYSNR=00\n' % host},
                 [measure('PRD.P00')])
    judged.judge('logon-file-with-an-overlong-host',
                 {'PRD.P00': profile('PRD'), 'SapRfc.PRD': 'DEST=PRD\nTYPE=A\nASHOST=%s\nSYSNR=00\n' % ('h' * 300)},
                 [measure('PRD.P00')])
    # Windows finds names in any letter case, Linux in the one written.
    judged.judge('listing-names-in-another-case',
                 {'PRD.P00': profile('PRD'), 'Gastrelo.Prf': '# Gsng: ............prd.p00#PRD.P00#\n'},
                 [item_profile, measure('PRD.P00')])
    judged.judge('logon-file-in-another-case',
                 {'PRD.P00': profile('PRD'), 'SapRfc.prd': 'DEST=QAS\nTYPE=A\nASHOST=%s\nSYSNR=00\n' % host},
                 [measure('PRD.P00')])
    judged.judge('listing-file-in-another-case',
                 {'PRD.P00': profile('PRD'), 'sap gastrelo.gbl': '# GSNG: SENSOR01  : PRD.P00#\n'
                  '# GSNX: SENSOR01  : Item=Pages:Used' + ALLOCATION + '\n'},
                 [(('sap gastrelo.gbl (sensor SENSOR01)'), ['GLOBAL', 'SENSOR01'])], platforms=('wine',))
    # Both read no more than the bound of every text file.
    judged.judge('profile-beyond-the-bound',
                 {'PRD.P00': profile('PRD') + BEYOND_THE_BOUND,
                  'LATE.P00': profile('LATE', **{'User.......:': None}) + BEYOND_THE_BOUND + 'User.......: monitor\n'},
                 [measure('PRD.P00'), measure('LATE.P00')])
    judged.judge('listing-beyond-the-bound',
                 {'PRD.P00': profile('PRD'),
                  'Gastrelo.Prf': '# Gsng: ............PRD.P00#\n' + BEYOND_THE_BOUND + '# Gsng: ............GONE.P00#\n'},
                 [item_profile])
    # Names and values that would forge lines of the doctor's output.
    judged.judge('escape-sequences', dict(global_listing('Item=Pages:Used\x1b[2J' + ALLOCATION),
                                         **{'ESC.P00': profile('ES\x1b[31mC')}),
                 [entry('SENSOR01'), measure('ESC.P00')])
    judged.judge('file-name-with-a-line-feed', {'A.P00\nok      B.P00': profile('PRD')},
                 [measure('A.P00\nok      B.P00')], platforms=('native',))


def main():
    args = arguments()
    root = tempfile.mkdtemp(prefix='doctor-')
    layouts = Layouts(args, root)
    try:
        program_cases(layouts)
        malformed_cases(layouts)
        loader_agreement_cases(layouts)
        configuration_cases(layouts)
        not_a_file_cases(layouts)
        library_cases(layouts)
        host = script_setup.systems_address('doctor', args)
        simulator = simulated_systems(layouts, host)
        try:
            measure_cases(layouts, host)
            differential_cases(layouts, host)
        finally:
            simulator.stop()
    finally:
        shutil.rmtree(root, ignore_errors=True)
    for name in layouts.skipped:
        print('skipped %s: its build was not given' % name)
    print('%d layouts compared, %d failed' % (layouts.compared, layouts.failures))
    return 1 if layouts.failures or not layouts.compared else 0


if __name__ == '__main__':
    sys.exit(main())
