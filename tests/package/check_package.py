#!/usr/bin/env python3
"""Builds a release package, unpacks it the way an administrator would and
runs the bundled example against rfcsim: a Windows zip under wine, the Linux
archive natively.

Checks, in order: the package is named for its version and machine; it holds
exactly the files the README's table of package contents names, under one
top directory; every relative link of
its README.md resolves inside it.  Then, with an RFC library beside the sensor
(for Windows the one the Windows build made, as the vendor's would lie there;
for Linux the package's own stand-in), `quenmarel PRD @`, started in the
unpacked examples folder, prints the expected document byte for byte (clock
times masked) and exits with code 0.  For the Linux archive the shell commands
of the README's section "Trying a setup with rfcsim" are run as they stand, in
the directory the archive was unpacked in, and their output is compared with
the output the README shows after them; once more with PRD's address taken,
they must end with an error within 10 s.  The unpacked copy's example is first
moved to loopback addresses of this build's own (profiles, scenario and the
expected document alike), so that two builds' package tests, or a trial of
the example, can run at the same time.

Exit code 0: the package is sound; 1: it is not (the differences are printed).
"""

import argparse
import os
import re
import shutil
import signal
import socket
import subprocess
import sys
import tarfile
import tempfile
import time
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', 'e2e'))
from loopback_addresses import addresses  # noqa: E402
from run_case import CLOCK_TIME, Simulator, show_difference  # noqa: E402

CPACK_TIMEOUT = 300
RUN_TIMEOUT = 120
# With its port taken the trial must end long before the monitor's timeout.
PORT_TAKEN_BOUND = 10
# PRD's system number 00: the gateway convention's port 3300.
EXAMPLE_PRD_PORT = 3300
# The example's three systems, on 127.43.0.1 to 127.43.0.3.
EXAMPLE_ADDRESS = re.compile(rb'(?<![0-9])127\.43\.0\.([1-3])(?![0-9])')
EXAMPLE_SYSTEMS = 3
STAND_IN_FOLDER = 'stand-in-LIBRFC32-for-testing-without-SAP'
BRIDGE_FOLDER = 'NetWeaver-RFC-bridge'
LINKED_READMES = ['nwrfc-bridge/README.md', 'rfclib/README.md', 'tools/rfcsim/README.md']
# A Markdown link's target; those with a scheme or only an anchor lead elsewhere.
MARKDOWN_LINK = re.compile(r'\]\(([^)\s]+)\)')
TRIAL_SECTION = '## Trying a setup with rfcsim'
PACKAGE_TABLE_HEADING = '| file in the package |'
BACKQUOTED = re.compile(r'`([^`]+)`')
# A backquoted file name, with the "(Linux: `name`)" that may follow it.
NAME_WITH_LINUX_FORM = re.compile(r'`([^`]+)`(?:\s*\(Linux: `([^`]+)`\))?')


class Platform:
    """What differs between a Windows zip and the Linux archive."""

    def __init__(self, windows):
        self.windows = windows
        self.generator, self.suffix = ('ZIP', '.zip') if windows else ('TGZ', '.tar.gz')
        self.sensor = 'quenmarel.exe' if windows else 'quenmarel'
        self.library = 'LIBRFC32.dll' if windows else 'librfc32.so'


def build_package(cpack, build, platform, output_dir):
    """Runs cpack on the build and returns the path of the one archive it wrote."""
    os.makedirs(output_dir)
    result = subprocess.run([cpack, '-G', platform.generator, '--config', os.path.join(build, 'CPackConfig.cmake'),
                             '-B', output_dir], cwd=build, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            timeout=CPACK_TIMEOUT)
    archives = [name for name in os.listdir(output_dir) if name.endswith(platform.suffix)]
    if result.returncode != 0 or len(archives) != 1:
        raise RuntimeError('cpack failed (exit code %d):\n%s'
                           % (result.returncode, result.stdout.decode(errors='replace')))
    return os.path.join(output_dir, archives[0])


def readme_file_list(readme_path, top, platform):
    """The files the README's table of package contents names for PLATFORM, as member names.

    A row names its files in backquotes in its first cell; "(Linux: `x`)" gives
    the Linux form of the file before it, and a row starting "Linux only:" holds
    files of the Linux archive alone."""
    with open(readme_path, encoding='utf-8') as readme:
        text = readme.read()
    table = text[text.index(PACKAGE_TABLE_HEADING):].split('\n\n')[0]
    files = []
    for row in table.splitlines()[2:]:
        cell = row.split('|')[1].strip()
        if cell.startswith('Linux only:'):
            if not platform.windows:
                files += BACKQUOTED.findall(cell)
            continue
        for windows_name, linux_name in NAME_WITH_LINUX_FORM.findall(cell):
            files.append(windows_name if platform.windows or not linux_name else linux_name)
    return sorted(top + '/' + name.replace('\\', '/') for name in files)


def unpack(archive_path, platform, destination):
    """Unpacks the archive; returns its top directory and its member files."""
    if platform.windows:
        with zipfile.ZipFile(archive_path) as archive:
            members = [name for name in archive.namelist() if not name.endswith('/')]
            archive.extractall(destination)
    else:
        with tarfile.open(archive_path) as archive:
            members = [member.name for member in archive.getmembers() if not member.isdir()]
            archive.extractall(destination)
    top = os.path.basename(archive_path)[:-len(platform.suffix)]
    return os.path.join(destination, top), sorted(members)


def broken_links(package_dir):
    """The README's relative link targets that lead to no file inside the package."""
    with open(os.path.join(package_dir, 'README.md'), encoding='utf-8') as readme:
        targets = MARKDOWN_LINK.findall(readme.read())
    broken = []
    for target in targets:
        path = target.split('#')[0]
        if not path or ':' in path:
            continue
        resolved = os.path.normpath(os.path.join(package_dir, path))
        if not resolved.startswith(package_dir + os.sep) or not os.path.isfile(resolved):
            broken.append(target)
    return broken


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


def masked(stdout):
    return CLOCK_TIME.sub(rb'\1HH:MM:SS', stdout)


def run_example(args, platform, package_dir, scratch):
    """Runs the bundled example against rfcsim; returns (standard output, exit code)."""
    library = args.library or os.path.join(package_dir, STAND_IN_FOLDER, platform.library)
    shutil.copy2(library, package_dir)
    examples = os.path.join(package_dir, 'examples')
    rfcsim = os.path.join(args.tools, 'rfcsim') if platform.windows else os.path.join(package_dir, STAND_IN_FOLDER,
                                                                                       'rfcsim')
    command = [os.path.join(package_dir, platform.sensor), 'PRD', '@']
    environment = dict(os.environ)
    if platform.windows:
        command.insert(0, args.wine)
        environment.update(WINEDEBUG='-all', WINEPREFIX=args.wine_prefix)
    simulator = Simulator(rfcsim, os.path.join(examples, 'demo.scenario'), scratch)
    try:
        result = subprocess.run(command, cwd=examples, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                stderr=subprocess.PIPE, env=environment, timeout=RUN_TIMEOUT)
    finally:
        simulator.stop()
    os.remove(os.path.join(package_dir, platform.library))
    return masked(result.stdout), result.returncode


def trial_section_blocks(package_dir):
    """The README trial section's first shell block and the output block after it."""
    with open(os.path.join(package_dir, 'README.md'), encoding='utf-8') as readme:
        text = readme.read()
    section = text[text.index(TRIAL_SECTION):]
    section = section[:section.index('\n## ', len(TRIAL_SECTION))]
    blocks = re.findall(r'```(\w*)\n(.*?)```', section, re.S)
    shell = next(index for index, (kind, _) in enumerate(blocks) if kind == 'sh')
    return blocks[shell][1], blocks[shell + 1][1].encode()


def run_trial_commands(commands, package_dir, timeout):
    """Runs COMMANDS where the archive was unpacked; returns (stdout, stderr, exit code, seconds)."""
    started = time.monotonic()
    # A session of its own, so that whatever the commands leave running (rfcsim,
    # when they fail half-way) is stopped with them.
    shell = subprocess.Popen(['sh', '-c', commands], cwd=os.path.dirname(package_dir), stdin=subprocess.DEVNULL,
                             stdout=subprocess.PIPE, stderr=subprocess.PIPE, start_new_session=True)
    try:
        stdout, stderr = shell.communicate(timeout=timeout)
    except subprocess.TimeoutExpired:
        stdout, stderr = b'', b'timed out'
    finally:
        try:
            os.killpg(shell.pid, signal.SIGTERM)
        except ProcessLookupError:
            pass
        shell.communicate()
    return stdout, stderr, shell.returncode, time.monotonic() - started


def run_readme_trial(package_dir, hosts):
    """Runs the README's trial commands; returns the failures."""
    commands, shown = trial_section_blocks(package_dir)
    stdout, stderr, exit_code, _ = run_trial_commands(commands, package_dir, RUN_TIMEOUT)
    failures = []
    if masked(stdout) != masked(moved(shown, hosts)):
        failures.append(('standard output of the README\'s trial commands', masked(moved(shown, hosts)),
                         masked(stdout)))
    if exit_code != 0:
        failures.append(('exit code of the README\'s trial commands', b'0', str(exit_code).encode() + b' ' + stderr))
    return failures


def run_readme_trial_with_port_taken(package_dir, hosts):
    """Runs the README's trial commands while PRD's port is taken; returns the failures.

    rfcsim cannot listen and ends; the commands must end soon after with an
    error, measure nothing and leave the sensor's folder as it was."""
    commands, _ = trial_section_blocks(package_dir)
    with socket.socket() as taken:
        taken.setsockopt(socket.SOL_SOCKET, socket.SO_REUSEADDR, 1)
        taken.bind((hosts[0], EXAMPLE_PRD_PORT))
        taken.listen()
        stdout, stderr, exit_code, seconds = run_trial_commands(commands, package_dir, 3 * PORT_TAKEN_BOUND)
    failures = []
    if seconds > PORT_TAKEN_BOUND:
        failures.append(('seconds the trial commands took with the port taken', b'at most %d' % PORT_TAKEN_BOUND,
                         b'%.1f' % seconds))
    if exit_code == 0:
        failures.append(('exit code of the trial commands with the port taken', b'not 0', b'0'))
    if stdout != b'':
        failures.append(('standard output of the trial commands with the port taken', b'', stdout))
    if b'cannot listen on ' + hosts[0].encode() not in stderr:
        failures.append(('standard error of the trial commands with the port taken', b'rfcsim: cannot listen on ...',
                         stderr))
    left = [name for name in ('librfc32.so', 'rfcsim.log') if os.path.exists(os.path.join(package_dir, name))]
    if left:
        failures.append(('files left in the package folder', b'', ' '.join(left).encode()))
    return failures


def check_unpacked(args, platform, package_dir, scratch):
    failures = [('link in README.md', b'a file inside the package', target.encode())
                for target in broken_links(package_dir)]
    hosts = addresses('package/' + args.package, EXAMPLE_SYSTEMS)
    move_example(os.path.join(package_dir, 'examples'), hosts)
    stdout, exit_code = run_example(args, platform, package_dir, scratch)
    with open(args.expected, 'rb') as expected_file:
        expected_stdout = moved(expected_file.read(), hosts).replace(b'{{version}}', args.program_version.encode())
    if stdout != expected_stdout:
        failures.append(('standard output', expected_stdout, stdout))
    if exit_code != 0:
        failures.append(('exit code', b'0', str(exit_code).encode()))
    if not platform.windows:
        failures += run_readme_trial(package_dir, hosts)
        failures += run_readme_trial_with_port_taken(package_dir, hosts)
    return failures


def check_package(args):
    platform = Platform(args.wine is not None)
    scratch = tempfile.mkdtemp(prefix='quenmarel-package-')
    try:
        archive = build_package(args.cpack, args.build, platform, os.path.join(scratch, 'cpack'))
        top = os.path.basename(archive)[:-len(platform.suffix)]
        failures = []
        if top != args.package:
            failures.append(('package name', args.package.encode(), top.encode()))
        else:
            package_dir, members = unpack(archive, platform, os.path.join(scratch, 'unpacked'))
            expected = readme_file_list(os.path.join(args.source, 'README.md'), top, platform)
            if members != expected:
                failures.append(('file list of ' + os.path.basename(archive), '\n'.join(expected).encode(),
                                 '\n'.join(members).encode()))
            else:
                failures += check_unpacked(args, platform, package_dir, scratch)
        for what, expected, actual in failures:
            show_difference(what, expected, actual)
        return 1 if failures else 0
    finally:
        shutil.rmtree(scratch, ignore_errors=True)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--cpack', required=True, help='the cpack program')
    parser.add_argument('--build', required=True, help='the configured and built build directory to package')
    parser.add_argument('--package', required=True, help='the package\'s expected name, without its suffix')
    parser.add_argument('--tools', required=True, help='directory of the native rfcsim (for a Windows package)')
    parser.add_argument('--library', help='the RFC library laid beside a Windows sensor; '
                        'the Linux archive brings its own stand-in')
    parser.add_argument('--source', required=True, help='the source tree, whose README lists what a package holds')
    parser.add_argument('--expected', required=True,
                        help='the expected standard output of the example run, {{version}} for the version text')
    parser.add_argument('--program-version', required=True, help='the build\'s version text, as the banner shows it')
    parser.add_argument('--wine', help='wine loader: the package is a Windows zip')
    parser.add_argument('--wine-prefix', help='WINEPREFIX of the run')
    sys.exit(check_package(parser.parse_args()))


if __name__ == '__main__':
    main()
