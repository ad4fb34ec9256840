#!/usr/bin/env python3
"""Builds the Windows release zip, unpacks it the way an administrator would and
runs the bundled example against rfcsim under wine.

Checks, in order: the zip is named for its version and machine; it holds
exactly the expected files under one top directory; after the stand-in
LIBRFC32.dll is copied beside quenmarel.exe, `quenmarel.exe PRD @`, started in
the unpacked examples folder, prints the expected document byte for byte (clock
times masked) and exits with code 0.  The unpacked copy's example is first
moved to loopback addresses of this build's own (profiles, scenario and the
expected document alike), so that two builds' package tests, or a trial of
the example, can run at the same time.

Exit code 0: the package is sound; 1: it is not (the differences are printed).
"""

import argparse
import os
import re
import shutil
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
from loopback_addresses import addresses  # noqa: E402
from run_case import CLOCK_TIME, Simulator, show_difference  # noqa: E402

CPACK_TIMEOUT = 300
RUN_TIMEOUT = 120
# The example's three systems, on 127.43.0.1 to 127.43.0.3.
EXAMPLE_ADDRESS = re.compile(rb'(?<![0-9])127\.43\.0\.([1-3])(?![0-9])')
EXAMPLE_SYSTEMS = 3
STAND_IN_FOLDER = 'stand-in-LIBRFC32-for-testing-without-SAP'
BRIDGE_FOLDER = 'NetWeaver-RFC-bridge'
# What the package holds whatever else lies in examples/: the example run needs the last two.
REQUIRED_FILES = ['README.md', 'quenmarel-profile.exe', 'quenmarel.exe', STAND_IN_FOLDER + '/LIBRFC32.dll',
                  BRIDGE_FOLDER + '/LIBRFC32.dll', 'examples/PRD.P00', 'examples/demo.scenario']


def build_zip(cpack, windows_build, output_dir):
    """Runs cpack on the Windows build and returns the path of the one zip it wrote."""
    os.makedirs(output_dir)
    result = subprocess.run([cpack, '-G', 'ZIP', '--config', os.path.join(windows_build, 'CPackConfig.cmake'),
                             '-B', output_dir], cwd=windows_build, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            timeout=CPACK_TIMEOUT)
    zips = [name for name in os.listdir(output_dir) if name.endswith('.zip')]
    if result.returncode != 0 or len(zips) != 1:
        raise RuntimeError('cpack failed (exit code %d):\n%s'
                           % (result.returncode, result.stdout.decode(errors='replace')))
    return os.path.join(output_dir, zips[0])


def expected_file_list(top, examples_dir):
    """Every file the package must hold, and nothing else, as zip member names."""
    examples = ['examples/' + name for name in os.listdir(examples_dir)
                if os.path.isfile(os.path.join(examples_dir, name))]
    return sorted(top + '/' + name for name in set(REQUIRED_FILES + examples))


def package_failures(zip_path, package, examples_dir):
    """Compares the zip's name and member list with the expected ones."""
    top = os.path.splitext(os.path.basename(zip_path))[0]
    if top != package:
        return [('package name', package.encode(), top.encode())]
    with zipfile.ZipFile(zip_path) as archive:
        actual = sorted(name for name in archive.namelist() if not name.endswith('/'))
    expected = expected_file_list(top, examples_dir)
    if actual == expected:
        return []
    return [('file list of ' + os.path.basename(zip_path), '\n'.join(expected).encode(), '\n'.join(actual).encode())]


def unpack(zip_path, destination):
    """Unpacks the zip and returns its top directory."""
    with zipfile.ZipFile(zip_path) as archive:
        archive.extractall(destination)
    return os.path.join(destination, os.path.splitext(os.path.basename(zip_path))[0])


def moved(text, hosts):
    """TEXT with each of the example's addresses replaced by the one of HOSTS in its place."""
    return EXAMPLE_ADDRESS.sub(lambda found: hosts[int(found.group(1)) - 1].encode(), text)


def move_example(examples, hosts):
    """Moves the example's systems to HOSTS in the unpacked profiles and scenario."""
    for name in os.listdir(examples):
        path = os.path.join(examples, name)
        with open(path, 'rb') as example_file:
            text = example_file.read()
        if name == 'PRD.P00' and moved(text, hosts) == text:
            raise RuntimeError('PRD.P00 of the package names none of the addresses 127.43.0.1 to .3 any more')
        with open(path, 'wb') as example_file:
            example_file.write(moved(text, hosts))


def run_example(args, package_dir, scratch, hosts):
    """Runs the bundled example against rfcsim on HOSTS; returns (standard output, exit code)."""
    shutil.copy2(os.path.join(package_dir, STAND_IN_FOLDER, 'LIBRFC32.dll'), package_dir)
    examples = os.path.join(package_dir, 'examples')
    move_example(examples, hosts)
    environment = dict(os.environ, WINEDEBUG='-all', WINEPREFIX=args.wine_prefix)
    simulator = Simulator(os.path.join(args.tools, 'rfcsim'), os.path.join(examples, 'demo.scenario'), scratch)
    try:
        result = subprocess.run([args.wine, os.path.join(package_dir, 'quenmarel.exe'), 'PRD', '@'], cwd=examples,
                                stdin=subprocess.DEVNULL, stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                                env=environment, timeout=RUN_TIMEOUT)
    finally:
        simulator.stop()
    return CLOCK_TIME.sub(rb'\1HH:MM:SS', result.stdout), result.returncode


def check_package(args):
    scratch = tempfile.mkdtemp(prefix='quenmarel-package-')
    try:
        zip_path = build_zip(args.cpack, args.windows_build, os.path.join(scratch, 'cpack'))
        failures = package_failures(zip_path, args.package, args.examples)
        if not failures:
            package_dir = unpack(zip_path, os.path.join(scratch, 'unpacked'))
            hosts = addresses('package/' + args.package, EXAMPLE_SYSTEMS)
            stdout, exit_code = run_example(args, package_dir, scratch, hosts)
            with open(args.expected, 'rb') as expected_file:
                expected_stdout = moved(expected_file.read(), hosts)
            if stdout != expected_stdout:
                failures.append(('standard output', expected_stdout, stdout))
            if exit_code != 0:
                failures.append(('exit code', b'0', str(exit_code).encode()))
        for what, expected, actual in failures:
            show_difference(what, expected, actual)
        return 1 if failures else 0
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--cpack', required=True, help='the cpack program')
    parser.add_argument('--windows-build', required=True, help='the configured and built Windows build directory')
    parser.add_argument('--package', required=True, help='the package\'s expected name, without ".zip"')
    parser.add_argument('--tools', required=True, help='directory of the native rfcsim')
    parser.add_argument('--examples', required=True, help='the source examples folder the package must carry')
    parser.add_argument('--expected', required=True, help='the expected standard output of the example run')
    parser.add_argument('--wine', required=True, help='wine loader')
    parser.add_argument('--wine-prefix', required=True, help='WINEPREFIX of the run')
    sys.exit(check_package(parser.parse_args()))


if __name__ == '__main__':
    main()
