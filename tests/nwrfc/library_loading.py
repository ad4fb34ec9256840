#!/usr/bin/env python3
"""Runs the sensor with the NetWeaver RFC bridge in the vendor's library's
place and checks how the bridge finds the NetWeaver library and its chain of
companion libraries, all beside it, outside every search path:

- without the NetWeaver library beside it (nor, on Linux, on the system's
  search path), a run ends with error 1011 and Dev_Rfc.Trc names the missing
  file and the directory where it looked;
- without any one other library of the chain, a run ends with error 1011 and
  Dev_Rfc.Trc names that library;
- with the NetWeaver library, or the Unicode library it needs, damaged (zero
  bytes, cut inside its first header or after 2 KiB, a text, a directory, a
  FIFO, a link to itself, a library of the other bitness, one whose
  initialisation fails), Dev_Rfc.Trc names the file and what is wrong with it;
  a NetWeaver library without its functions names the first missing;
- stray ICU files of other versions beside a whole chain change nothing;
- libraries of the SDK's names in the working directory are never loaded,
  with the chain beside the bridge and without it;
- natively, a NetWeaver library, or a bridge, the sensor's account may not
  read is named as such, and an LD_LIBRARY_PATH that names the working
  directory does not make the sensor load a library from there;
- with the whole chain and RFC_TRACE=1, Dev_Rfc.Trc holds the bridge's error
  block alone; the line saying which library answered (version and path)
  lands in nwrfc-trace/bridge.trc, and the library's own line of the failed
  open in nwrfc-trace/dev_rfc.trc.

Every run ends within 10 s, without a signal, and leaves nothing in the
working directory but the files every failed run leaves.  Natively, or under
wine with --wine.  Exit code 0: all as expected; 1: not (the differences are
printed).
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
import loopback_addresses  # noqa: E402

RUN_TIMEOUT = 60
# A damaged library is found out before it is loaded: no run waits for it.
RUN_BOUND = 10
OPEN_FAILED = (b'<Prtg>\n<Error>1</Error>\n<Text>Error 1011: RFC-Open for PRD failed !</Text>\n</Prtg>\n')
PROFILE = ('Extcompany.: EXT01\nDestination: PRD\nClient.....: 100\nUser.......: monitor\nPassword...: %s\n'
           'Language...: EN\nMode.......: R/3\nHostname...: %s\nSysnr......: 99\nGwhost.....: %s\n'
           'Gwservice..: sapgw99\n')
# What a run that fails to open leaves in its working directory by design.
FILES_OF_A_FAILED_RUN = {'PRD.P00', 'Dev_Rfc.Trc', 'Quenmarel.runs'}
MARK = 'LOADED-FROM-THE-WORKING-DIRECTORY'


class Setup:
    def __init__(self, args, scratch, windows):
        self.args = args
        self.scratch = scratch
        self.windows = windows
        self.sensor = 'quenmarel.exe' if windows else 'quenmarel'
        self.library = 'sapnwrfc.dll' if windows else 'libsapnwrfc.so'
        self.suffix = '.dll' if windows else '.so'

    def seen_path(self, native_path):
        """A path as the sensor sees it."""
        return 'Z:' + native_path.replace('/', '\\') if self.windows else native_path

    def seen_directory(self, native_directory):
        return self.seen_path(native_directory) + ('\\' if self.windows else '/')

    def test_library(self, name):
        return os.path.join(self.args.test_libraries, name + self.suffix)

    def prepare(self, name, files, host, entries=()):
        """A directory with bin/ (the sensor, `files` and the `entries`, each
        a name and a way to make it) and work/ (the profile)."""
        top = os.path.join(self.scratch, name)
        bin_dir, work_dir = os.path.join(top, 'bin'), os.path.join(top, 'work')
        os.makedirs(bin_dir)
        os.makedirs(work_dir)
        for source in [os.path.join(self.args.bin, self.sensor)] + files:
            shutil.copy2(source, bin_dir)
        for entry, make in entries:
            make(os.path.join(bin_dir, entry))
        scrambled = subprocess.run([os.path.join(self.args.tools, 'quenmarel-profile'), 'scramble'],
                                   input=b'secret\n', stdout=subprocess.PIPE, check=True,
                                   timeout=RUN_TIMEOUT).stdout[:24].decode()
        with open(os.path.join(work_dir, 'PRD.P00'), 'w') as profile:
            profile.write(PROFILE % (scrambled, host, host))
        return bin_dir, work_dir

    def run(self, bin_dir, work_dir, extra_environment, account=None):
        environment = {key: value for key, value in os.environ.items()
                       if key not in ('LD_LIBRARY_PATH', 'RFC_TRACE', 'RFC_INI')}
        environment.update(extra_environment)
        command = [os.path.join(bin_dir, self.sensor), 'PRD']
        if self.windows:
            command.insert(0, self.args.wine)
            environment.update(WINEDEBUG='-all', WINEPREFIX=self.args.wine_prefix)
        started = time.monotonic()
        result = subprocess.run(command, cwd=work_dir, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, env=environment, timeout=RUN_TIMEOUT, preexec_fn=account)
        self.seconds = time.monotonic() - started
        trace_path = os.path.join(work_dir, 'Dev_Rfc.Trc')
        trace = open(trace_path, 'rb').read() if os.path.exists(trace_path) else b'(no trace file)'
        return result.stdout, result.returncode, trace


def differences(what, expected, actual):
    if expected == actual:
        return []
    return ['--- %s differs\nexpected: %r\nactual:   %r' % (what, expected, actual)]


def failed_open(setup, what, stdout, exit_code, work_dir, kept=FILES_OF_A_FAILED_RUN):
    """The run ended with the document of a failed open, in time, and left
    nothing it should not."""
    left = sorted(set(os.listdir(work_dir)) - kept)
    late = ['--- the run %s took %.1f s' % (what, setup.seconds)] if setup.seconds > RUN_BOUND else []
    return (differences('standard output ' + what, OPEN_FAILED, stdout) +
            differences('exit code ' + what, 2, exit_code) + late +
            (['--- left in the working directory %s: %s' % (what, ', '.join(left))] if left else []))


def trace_block(title, text):
    return ('**** ERROR in RfcOpen\nT:0001 ======> %s\nERROR       %s\n\n' % (title, text)).encode()


def not_loaded(setup, bin_dir, reason):
    return trace_block('NetWeaver RFC library not loaded', '%s in %s could not be loaded: %s'
                       % (setup.library, setup.seen_directory(bin_dir), reason))


def check_missing_library(setup, host):
    bin_dir, work_dir = setup.prepare('missing', [setup.args.bridge], host)
    stdout, exit_code, trace = setup.run(bin_dir, work_dir, {})
    where = setup.seen_directory(bin_dir)
    text = ('%s not found in %s' % (setup.library, where) if setup.windows else
            '%s not found in %s nor loadable from the library search path' % (setup.library, where))
    return (failed_open(setup, 'without the NetWeaver library', stdout, exit_code, work_dir) +
            differences('Dev_Rfc.Trc without the NetWeaver library',
                        trace_block('NetWeaver RFC library not found', text), trace))


def check_missing_piece_is_named(setup, host, piece):
    chain = [library for library in setup.args.chain if os.path.basename(library) != piece]
    bin_dir, work_dir = setup.prepare('without-' + piece, [setup.args.bridge] + chain, host)
    stdout, exit_code, trace = setup.run(bin_dir, work_dir, {})
    what = 'without %s' % piece
    return (failed_open(setup, what, stdout, exit_code, work_dir) +
            differences('Dev_Rfc.Trc ' + what, not_loaded(setup, bin_dir, '%s, which it needs, is missing' % piece),
                        trace))


def cut(length):
    def make(path, source):
        with open(source, 'rb') as whole:
            data = whole.read()
        with open(path, 'wb') as part:
            part.write(data[:length])
    return make


def written(data):
    def make(path, _source):
        with open(path, 'wb') as file:
            file.write(data)
    return make


def damages(setup):
    """Each damage: its name, how it is made from the library it replaces,
    and what the trace says of the file."""
    header = 'ELF header' if not setup.windows else 'DOS header'
    past_the_end = ('section 1 lies past the end of the file' if setup.windows else
                    'a loadable segment lies past the end of the file')
    found = [
        ('zero bytes', written(b''), 'is damaged (it is too short for an executable)'),
        ('cut inside its first header', cut(40), 'is damaged (it ends inside its %s)' % header),
        ('cut after 2 KiB', cut(2048), 'is damaged (%s)' % past_the_end),
        ('a text', written(b'not a library\n'), 'is damaged (it is neither a PE nor an ELF file)'),
        ('a directory', lambda path, _source: os.mkdir(path), 'is a directory, not a regular file'),
        ('a FIFO', lambda path, _source: os.mkfifo(path), 'is a FIFO, not a regular file'),
        ('a link to itself', lambda path, _source: os.symlink(os.path.basename(path), path),
         'is a link in a loop of links'),
    ]
    if not setup.windows:
        found.append(('a link to no file', lambda path, _source: os.symlink('gone', path),
                      'is a link that leads to no file'))
    if setup.args.other_bitness:
        bits = ('32', '64') if setup.args.wine.endswith('64') else ('64', '32')
        other = os.path.dirname(setup.args.other_bitness)
        found.append(('of the other bitness',
                      lambda path, _source: shutil.copyfile(os.path.join(other, os.path.basename(path)), path),
                      'is a %s-bit library; this bridge is %s-bit' % bits))
    if setup.windows:
        found.append(('one whose initialisation fails',
                      lambda path, _source: shutil.copyfile(setup.test_library('initialisation-fails'), path),
                      'failed to initialise (error 1114)'))
    return found


def check_damaged_library(setup, host, piece_index, damage):
    name, make, said = damage
    piece = setup.args.chain[piece_index]
    piece_name = os.path.basename(piece)
    chain = [library for library in setup.args.chain if library != piece]
    entries = [(piece_name, lambda path: make(path, piece))]
    label = '%s-%s' % (piece_name, name.replace(' ', '-'))
    bin_dir, work_dir = setup.prepare(label, [setup.args.bridge] + chain, host, entries)
    stdout, exit_code, trace = setup.run(bin_dir, work_dir, {})
    what = 'with %s %s' % (piece_name, name)
    reason = 'it ' + said if piece_index == 0 else '%s, which it needs, %s' % (piece_name, said)
    return (failed_open(setup, what, stdout, exit_code, work_dir) +
            differences('Dev_Rfc.Trc ' + what, not_loaded(setup, bin_dir, reason), trace))


def check_missing_function_is_named(setup, host):
    entries = [(setup.library, lambda path: shutil.copyfile(setup.test_library('without-functions'), path))]
    bin_dir, work_dir = setup.prepare('without-functions', [setup.args.bridge] + setup.args.chain[1:], host,
                                      entries)
    stdout, exit_code, trace = setup.run(bin_dir, work_dir, {})
    text = '%s lacks the function RfcOpenConnection' % setup.seen_path(os.path.join(bin_dir, setup.library))
    return (failed_open(setup, 'without the functions', stdout, exit_code, work_dir) +
            differences('Dev_Rfc.Trc without the functions', trace_block('NetWeaver RFC library not usable', text),
                        trace))


def connection_refused(host):
    return trace_block('connection refused', 'connection to %s:3399 refused' % host)


def check_stray_icu_files_are_ignored(setup, host):
    """ICU files of other versions (a FIFO, a text) beside a whole chain: the
    chain's own version is loaded, the run reaches the connection."""
    strays = ['icuuc60.dll', 'icudt48.dll'] if setup.windows else ['libicuuc.so.60', 'libicudata.so.48']
    entries = [(strays[0], os.mkfifo), (strays[1], lambda path: open(path, 'wb').write(b'not ICU\n'))]
    bin_dir, work_dir = setup.prepare('stray-icu', [setup.args.bridge] + setup.args.chain, host, entries)
    stdout, exit_code, trace = setup.run(bin_dir, work_dir, {})
    return (failed_open(setup, 'beside stray ICU files', stdout, exit_code, work_dir,
                        FILES_OF_A_FAILED_RUN | {'nwrfc-trace'}) +
            differences('Dev_Rfc.Trc beside stray ICU files', connection_refused(host), trace))


def check_working_directory_libraries_are_not_loaded(setup, host, with_chain):
    """Libraries of the SDK's names that leave a mark when loaded, in the
    working directory: none is loaded, with or without the chain beside the bridge."""
    name = 'working-directory-with-chain' if with_chain else 'working-directory-without-chain'
    bin_dir, work_dir = setup.prepare(name, [setup.args.bridge] + (setup.args.chain if with_chain else []), host)
    for library in setup.args.chain:
        shutil.copyfile(setup.test_library('marker'), os.path.join(work_dir, os.path.basename(library)))
    stdout, exit_code, trace = setup.run(bin_dir, work_dir, {})
    what = 'with the SDK\'s libraries in the working directory, %s the chain' % ('with' if with_chain else 'without')
    marked = ['--- a library of the working directory was loaded %s' % what] if os.path.exists(
        os.path.join(work_dir, MARK)) else []
    kept = FILES_OF_A_FAILED_RUN | {os.path.basename(library) for library in setup.args.chain} | {'nwrfc-trace'}
    return marked + failed_open(setup, what, stdout, exit_code, work_dir, kept) + (
        differences('Dev_Rfc.Trc ' + what, connection_refused(host), trace) if with_chain else [])


def check_relative_library_path_is_not_searched(setup, host):
    """LD_LIBRARY_PATH with an empty and a relative entry, which the dynamic
    linker reads as the working directory: a librfc32.so there that leaves a
    mark when loaded is never loaded (natively only)."""
    bin_dir, work_dir = setup.prepare('relative-library-path', [], host)
    shutil.copyfile(setup.test_library('marker'), os.path.join(work_dir, 'librfc32.so'))
    stdout, exit_code, _ = setup.run(bin_dir, work_dir, {'LD_LIBRARY_PATH': ':.'})
    what = 'with LD_LIBRARY_PATH naming the working directory'
    expected = ('<Prtg>\n<Error>1</Error>\n<Text>Error 1034: librfc32.so not found in %s nor on the system\'s search '
                'path: put the vendor\'s librfc32.so (or the NetWeaver RFC bridge) beside quenmarel</Text>\n</Prtg>\n'
                % setup.seen_directory(bin_dir)).encode()
    marked = ['--- the library of the working directory was loaded %s' % what] if os.path.exists(
        os.path.join(work_dir, MARK)) else []
    return marked + differences('standard output ' + what, expected, stdout) + differences(
        'exit code ' + what, 2, exit_code)


# An account that the permissions of a file keep out: root reads any file,
# so a run as root takes the unprivileged account's identity.
UNPRIVILEGED = 65534


def unprivileged():
    os.setgroups([])
    os.setgid(UNPRIVILEGED)
    os.setuid(UNPRIVILEGED)


def check_unreadable_library(setup, host, name, expected_stdout, expected_trace):
    """`name` beside the sensor, which the sensor's account may not read
    (natively only: wine's prefix belongs to the account that made it)."""
    bin_dir, work_dir = setup.prepare('unreadable-' + name, [setup.args.bridge] + setup.args.chain, host)
    os.chmod(os.path.join(bin_dir, name), 0)
    for directory in (setup.scratch, os.path.dirname(bin_dir), bin_dir):
        os.chmod(directory, 0o755)
    os.chmod(work_dir, 0o777)
    stdout, exit_code, trace = setup.run(bin_dir, work_dir, {}, unprivileged if os.geteuid() == 0 else None)
    what = 'with %s unreadable' % name
    expected_stdout = expected_stdout.replace(b'{{bindir}}', setup.seen_directory(bin_dir).encode())
    return (differences('standard output ' + what, expected_stdout, stdout) +
            differences('exit code ' + what, 2, exit_code) +
            ([] if expected_trace is None else
             differences('Dev_Rfc.Trc ' + what, not_loaded(setup, bin_dir, expected_trace), trace)))


def read_file(path):
    return open(path, 'rb').read() if os.path.exists(path) else b'(no file)'


def check_traces_of_the_bridge_and_the_library(setup, host):
    bin_dir, work_dir = setup.prepare('traced', [setup.args.bridge] + setup.args.chain, host)
    stdout, exit_code, trace = setup.run(bin_dir, work_dir, {'RFC_TRACE': '1'})
    library_path = setup.seen_path(os.path.join(bin_dir, os.path.basename(setup.args.chain[0])))
    expected_bridge_line = ('NetWeaver RFC library 0.1.0 (stand-in for tests against rfcsim, not the vendor\'s '
                            'library) from %s\n' % library_path).encode()
    expected_library_line = ('[stand-in NetWeaver RFC library, trace level 1] RfcOpenConnection failed, rc=1: '
                             'connection refused: connection to %s:3399 refused\n' % host).encode()
    trace_dir = os.path.join(work_dir, 'nwrfc-trace')
    return (differences('standard output with RFC_TRACE=1', OPEN_FAILED, stdout) +
            differences('exit code with RFC_TRACE=1', 2, exit_code) +
            differences('Dev_Rfc.Trc with RFC_TRACE=1', connection_refused(host), trace) +
            differences('nwrfc-trace/bridge.trc with RFC_TRACE=1', expected_bridge_line,
                        read_file(os.path.join(trace_dir, 'bridge.trc'))) +
            differences('nwrfc-trace/dev_rfc.trc with RFC_TRACE=1', expected_library_line,
                        read_file(os.path.join(trace_dir, 'dev_rfc.trc'))))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--bin', required=True, help='directory of the sensor under test')
    parser.add_argument('--tools', required=True, help='directory of the native quenmarel-profile')
    parser.add_argument('--bridge', required=True, help='the bridge library')
    parser.add_argument('--chain', required=True, nargs='+',
                        help='the stand-in NetWeaver library, then the libraries of its chain')
    parser.add_argument('--test-libraries', required=True, help='the build\'s bin/test-libraries')
    parser.add_argument('--other-bitness', help='a stand-in NetWeaver library of the other bitness (wine only), '
                                                'with its chain beside it')
    parser.add_argument('--wine', help='wine loader: run the Windows build under it')
    parser.add_argument('--wine-prefix', help='WINEPREFIX for the Windows build')
    args = parser.parse_args()
    # Nothing listens there: the run gets as far as the connection, no further.
    host = loopback_addresses.addresses('nwrfc-library-loading/%s' % ('wine' if args.wine else 'native'), 1)[0]
    scratch = tempfile.mkdtemp(prefix='quenmarel-nwrfc-')
    try:
        setup = Setup(args, scratch, bool(args.wine))
        failures = check_missing_library(setup, host) + check_traces_of_the_bridge_and_the_library(setup, host)
        for piece in args.chain[1:]:
            failures += check_missing_piece_is_named(setup, host, os.path.basename(piece))
        for damage in damages(setup):
            for piece_index in (0, 1):
                failures += check_damaged_library(setup, host, piece_index, damage)
        failures += check_missing_function_is_named(setup, host)
        failures += check_stray_icu_files_are_ignored(setup, host)
        for with_chain in (True, False):
            failures += check_working_directory_libraries_are_not_loaded(setup, host, with_chain)
        if not args.wine:
            failures += check_relative_library_path_is_not_searched(setup, host)
            failures += check_unreadable_library(
                setup, host, setup.library, OPEN_FAILED, 'it cannot be read by this account')
            failures += check_unreadable_library(
                setup, host, 'librfc32.so',
                b'<Prtg>\n<Error>1</Error>\n<Text>Error 1034: librfc32.so in {{bindir}} cannot be read by this '
                b'account: give the account the sensor runs under the right to read it</Text>\n</Prtg>\n', None)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
