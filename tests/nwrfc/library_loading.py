#!/usr/bin/env python3
"""Runs the sensor with the NetWeaver RFC bridge in the vendor's library's
place and checks how the bridge finds the NetWeaver library and its chain of
companion libraries, all beside it, outside every search path:

- without the NetWeaver library beside it or on the system's search path, a
  run ends with error 1011 and Dev_Rfc.Trc names the missing file and the
  directory where it looked;
- without any one other library of the chain, a run ends with error 1011 and
  Dev_Rfc.Trc names that library;
- with the whole chain and RFC_TRACE=1, Dev_Rfc.Trc holds the bridge's error
  block alone; the line saying which library answered (version and path)
  lands in nwrfc-trace/bridge.trc, and the library's own line of the failed
  open in nwrfc-trace/dev_rfc.trc;
- with --other-bitness, that NetWeaver library beside the bridge is named in
  Dev_Rfc.Trc as a library of the other bitness.

Natively, or under wine with --wine.  Exit code 0: both as expected; 1: not
(the differences are printed).
"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
import loopback_addresses  # noqa: E402

RUN_TIMEOUT = 60
OPEN_FAILED = (b'<Prtg>\n<Error>1</Error>\n<Text>Error 1011: RFC-Open for PRD failed !</Text>\n</Prtg>\n')
PROFILE = ('Extcompany.: EXT01\nDestination: PRD\nClient.....: 100\nUser.......: monitor\nPassword...: %s\n'
           'Language...: EN\nMode.......: R/3\nHostname...: %s\nSysnr......: 99\nGwhost.....: %s\n'
           'Gwservice..: sapgw99\n')


class Setup:
    def __init__(self, args, scratch, windows):
        self.args = args
        self.scratch = scratch
        self.windows = windows
        self.sensor = 'quenmarel.exe' if windows else 'quenmarel'

    def seen_path(self, native_path):
        """A path as the sensor sees it."""
        return 'Z:' + native_path.replace('/', '\\') if self.windows else native_path

    def separator(self):
        return '\\' if self.windows else '/'

    def prepare(self, name, files, host):
        """A directory with bin/ (the sensor and `files`) and work/ (the profile)."""
        top = os.path.join(self.scratch, name)
        bin_dir, work_dir = os.path.join(top, 'bin'), os.path.join(top, 'work')
        os.makedirs(bin_dir)
        os.makedirs(work_dir)
        for source in [os.path.join(self.args.bin, self.sensor)] + files:
            shutil.copy2(source, bin_dir)
        scrambled = subprocess.run([os.path.join(self.args.tools, 'quenmarel-profile'), 'scramble'],
                                   input=b'secret\n', stdout=subprocess.PIPE, check=True,
                                   timeout=RUN_TIMEOUT).stdout[:24].decode()
        with open(os.path.join(work_dir, 'PRD.P00'), 'w') as profile:
            profile.write(PROFILE % (scrambled, host, host))
        return bin_dir, work_dir

    def run(self, bin_dir, work_dir, extra_environment):
        environment = {key: value for key, value in os.environ.items()
                       if key not in ('LD_LIBRARY_PATH', 'RFC_TRACE', 'RFC_INI')}
        environment.update(extra_environment)
        command = [os.path.join(bin_dir, self.sensor), 'PRD']
        if self.windows:
            command.insert(0, self.args.wine)
            environment.update(WINEDEBUG='-all', WINEPREFIX=self.args.wine_prefix)
        result = subprocess.run(command, cwd=work_dir, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, env=environment, timeout=RUN_TIMEOUT)
        trace_path = os.path.join(work_dir, 'Dev_Rfc.Trc')
        trace = open(trace_path, 'rb').read() if os.path.exists(trace_path) else b'(no trace file)'
        return result.stdout, result.returncode, trace


def differences(what, expected, actual):
    if expected == actual:
        return []
    return ['--- %s differs\nexpected: %r\nactual:   %r' % (what, expected, actual)]


def check_missing_library(setup, host):
    bin_dir, work_dir = setup.prepare('missing', [setup.args.bridge], host)
    stdout, exit_code, trace = setup.run(bin_dir, work_dir, {})
    library = 'sapnwrfc.dll' if setup.windows else 'libsapnwrfc.so'
    search = 'the DLL search path' if setup.windows else 'the library search path'
    expected_trace = ('**** ERROR in RfcOpen\nT:0001 ======> NetWeaver RFC library not found\n'
                      'ERROR       %s not found in %s%s nor loadable from %s\n\n'
                      % (library, setup.seen_path(bin_dir), setup.separator(), search)).encode()
    return (differences('standard output without the NetWeaver library', OPEN_FAILED, stdout) +
            differences('exit code without the NetWeaver library', 2, exit_code) +
            differences('Dev_Rfc.Trc without the NetWeaver library', expected_trace, trace))


def check_missing_piece_is_named(setup, host, piece):
    chain = [library for library in setup.args.chain if os.path.basename(library) != piece]
    bin_dir, work_dir = setup.prepare('without-' + piece, [setup.args.bridge] + chain, host)
    stdout, exit_code, trace = setup.run(bin_dir, work_dir, {})
    what = 'without %s' % piece
    named = [] if piece.encode() in trace else ['--- Dev_Rfc.Trc %s does not name it: %r' % (what, trace)]
    return (differences('standard output ' + what, OPEN_FAILED, stdout) +
            differences('exit code ' + what, 2, exit_code) + named)


def read_file(path):
    return open(path, 'rb').read() if os.path.exists(path) else b'(no file)'


def check_traces_of_the_bridge_and_the_library(setup, host):
    bin_dir, work_dir = setup.prepare('traced', [setup.args.bridge] + setup.args.chain, host)
    stdout, exit_code, trace = setup.run(bin_dir, work_dir, {'RFC_TRACE': '1'})
    library_path = setup.seen_path(os.path.join(bin_dir, os.path.basename(setup.args.chain[0])))
    expected_bridge_line = ('NetWeaver RFC library 0.1.0 (stand-in for tests against rfcsim, not the vendor\'s '
                            'library) from %s\n' % library_path).encode()
    expected_trace = ('**** ERROR in RfcOpen\nT:0001 ======> connection refused\n'
                      'ERROR       connection to %s:3399 refused\n\n' % host).encode()
    expected_library_line = ('[stand-in NetWeaver RFC library, trace level 1] RfcOpenConnection failed, rc=1: '
                             'connection refused: connection to %s:3399 refused\n' % host).encode()
    trace_dir = os.path.join(work_dir, 'nwrfc-trace')
    return (differences('standard output with RFC_TRACE=1', OPEN_FAILED, stdout) +
            differences('exit code with RFC_TRACE=1', 2, exit_code) +
            differences('Dev_Rfc.Trc with RFC_TRACE=1', expected_trace, trace) +
            differences('nwrfc-trace/bridge.trc with RFC_TRACE=1', expected_bridge_line,
                        read_file(os.path.join(trace_dir, 'bridge.trc'))) +
            differences('nwrfc-trace/dev_rfc.trc with RFC_TRACE=1', expected_library_line,
                        read_file(os.path.join(trace_dir, 'dev_rfc.trc'))))


def check_other_bitness_is_named(setup, host):
    chain = [setup.args.other_bitness] + setup.args.chain[1:]
    bin_dir, work_dir = setup.prepare('other-bitness', [setup.args.bridge] + chain, host)
    stdout, exit_code, trace = setup.run(bin_dir, work_dir, {})
    bits = ('32', '64') if setup.args.wine.endswith('64') else ('64', '32')
    words = ('is a %s-bit library; this bridge is %s-bit' % bits).encode()
    named = [] if words in trace else ['--- Dev_Rfc.Trc does not say %r: %r' % (words, trace)]
    return (differences('standard output with the other bitness', OPEN_FAILED, stdout) +
            differences('exit code with the other bitness', 2, exit_code) + named)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--bin', required=True, help='directory of the sensor under test')
    parser.add_argument('--tools', required=True, help='directory of the native quenmarel-profile')
    parser.add_argument('--bridge', required=True, help='the bridge library')
    parser.add_argument('--chain', required=True, nargs='+',
                        help='the stand-in NetWeaver library, then the libraries of its chain')
    parser.add_argument('--other-bitness', help='a stand-in NetWeaver library of the other bitness (wine only)')
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
        if args.other_bitness:
            failures += check_other_bitness_is_named(setup, host)
    finally:
        shutil.rmtree(scratch, ignore_errors=True)
    for failure in failures:
        print(failure)
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
