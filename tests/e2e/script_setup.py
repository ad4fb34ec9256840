"""What the end-to-end scripts that run several sensors at once share: their
arguments, a scratch directory with the programs and a working directory,
profiles, the simulator, and the sensors started in the working directory.
"""

import argparse
import contextlib
import os
import re
import shutil
import subprocess
import tempfile

import loopback_addresses
import run_case


def arguments(description):
    """The script's arguments: where the programs are, how they run (under
    wine or not) and the name of the build tested, which gives the simulated
    systems an address of their own."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument('--bin', required=True)
    parser.add_argument('--tools', required=True)
    parser.add_argument('--wine')
    parser.add_argument('--wine-prefix')
    parser.add_argument('--run-name', required=True,
                        help='the build tested (native, wine, wine32): each one tested at once its own address')
    parser.add_argument('--library', help='the RFC library to lay beside the sensor instead of the build\'s own')
    return parser.parse_args()


TIME_BUDGET = os.path.join(os.path.dirname(os.path.abspath(__file__)), '..', '..', 'src', 'common', 'time_budget.h')


def budget_seconds(name):
    """A bound of the sensor's time budget, in whole seconds, as the header states it."""
    with open(TIME_BUDGET) as header:
        found = re.search(r'inline constexpr int %s = (\d+);' % name, header.read())
    if not found:
        raise RuntimeError('%s states no bound %s' % (TIME_BUDGET, name))
    return int(found.group(1)) // 1000


def systems_address(script, args):
    """The simulated systems' address, of this SCRIPT against this build alone."""
    return loopback_addresses.addresses('%s/%s' % (script, args.run_name), 1)[0]


def write(path, text):
    with open(path, 'w', newline='\n') as created:
        created.write(text)


def write_profile(work_dir, destination, password, host):
    """The profile of DESTINATION, client 100, with the stored PASSWORD,
    system 00 on HOST."""
    write(os.path.join(work_dir, destination + '.P00'), ''.join([
        'Extcompany.: EXT01\n', 'Destination: %s\n' % destination, 'Client.....: 100\n',
        'User.......: monitor\n', 'Password...: %s\n' % password, 'Language...: EN\n',
        'Mode.......: R/3\n', 'Hostname...: %s\n' % host, 'Sysnr......: 00\n',
        'Gwhost.....: %s\n' % host, 'Gwservice..: sapgw00\n']))


def write_system(work_dir, destination, password, host, number):
    """A system's profile and its per-destination logon file, which sends the
    run to HOST:3300+NUMBER; the profile's own host leads nowhere."""
    write_profile(work_dir, destination, password, 'nowhere.invalid')
    write(os.path.join(work_dir, 'SapRfc.' + destination),
          'DEST=%s\nTYPE=A\nASHOST=%s\nSYSNR=%02d\n' % (destination, host, number))


class Scratch:
    """bin/, a private copy of the programs; work/, the sensors' working
    directory; and the profile tool's scrambling of passwords."""

    def __init__(self, args, root, host):
        self.args = args
        self.root = root
        self.bin = os.path.join(root, 'bin')
        self.work = os.path.join(root, 'work')
        self.expander = run_case.Expander((host, host), os.path.join(args.tools, 'quenmarel-profile'))
        self.sensors = []

    def start_simulator(self, scenario):
        """rfcsim, ready, with the SCENARIO text."""
        path = os.path.join(self.root, 'scenario.ini')
        write(path, scenario)
        return run_case.Simulator(os.path.join(self.args.tools, 'rfcsim'), path, self.root)

    def start_sensor(self, sensor_arguments, stdout=subprocess.PIPE):
        """The sensor started in work/ with SENSOR_ARGUMENTS, its standard
        error dropped; killed at the end of the scratch if still running."""
        sensor = subprocess.Popen(run_case.program_command(self.args, self.bin, 'quenmarel') + sensor_arguments,
                                  cwd=self.work, stdout=stdout, stderr=subprocess.DEVNULL,
                                  env=run_case.program_environment(self.args))
        self.sensors.append(sensor)
        return sensor

    def stop_sensors(self):
        for sensor in self.sensors:
            if sensor.poll() is None:
                sensor.kill()
                sensor.wait(timeout=run_case.RUN_TIMEOUT)


@contextlib.contextmanager
def scratch(args, prefix, host, target_bytes):
    """A Scratch in a new directory named with PREFIX, its systems on HOST and
    TARGET_BYTES in the target file (None: no target file); at the end its
    sensors still running are killed and the directory removed."""
    root = tempfile.mkdtemp(prefix=prefix)
    space = Scratch(args, root, host)
    try:
        os.makedirs(space.work)
        run_case.install_program(args.bin, space.bin, bool(args.wine), target_bytes, args.library)
        yield space
    finally:
        space.stop_sensors()
        shutil.rmtree(root, ignore_errors=True)
