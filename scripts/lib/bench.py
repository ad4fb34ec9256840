#!/usr/bin/env python3
"""Measures the sensor against its performance targets (started by scripts/bench).

Runs, each many times in a scratch directory, against rfcsim on loopback:
the no-argument run; a single measurement (PRD @); item-mode runs over 1, 10
and 50 systems.  Then, a few times each, an item-mode run over a listing of 30
systems of which 6 are silent (they take the connection and never answer the
logon), one after another and with ",PARALLEL=8": the ratio of the two shows
how much of the listing's time parallel measurement saves.  Timed runs are started with posix_spawn, the cheapest start
there is.  Peak resident memory comes from separate runs under /usr/bin/time:
a child that Python starts inherits Python's own peak into its ru_maxrss
(Linux keeps the peak across exec), while one that time forks inherits only
time's few hundred KiB.  Every wait is bounded.

Exit code 0: the report was printed (whatever it says); 1: the benchmark could
not run (a tool is missing, rfcsim did not start, a run did not measure).
"""

import argparse
import os
import re
import select
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

RUN_TIMEOUT = 60
SIMULATOR_READY_TIMEOUT = 20
SIMULATOR_STOP_TIMEOUT = 10
WARM_UP_RUNS = 5
TIME = '/usr/bin/time'
ITEM_SIZES = (1, 10, 50)
NAMES_PER_LISTING_LINE = 20

# The example systems live on 127.43.0.x; the benchmark moves them to its own
# addresses so that it never meets the package test or a trial on the way.
EXAMPLE_NETWORK = '127.43.0.'
BENCH_NETWORK = '127.45.0.'
ITEM_NETWORK = '127.45.1.'
SILENT_HOST = '127.45.2.1'
SILENT_LISTING_SIZE = 30
SILENT_EVERY = 5  # every fifth listed system is silent: 6 of 30
PARALLEL_SYSTEMS = 8
PASSWORD = 'benchpass'

RATIO_LIMIT = 1.5
RSS_LIMIT_KIB = 4096
# "A small fraction of a process start": a quarter at most.
PER_SYSTEM_LIMIT = 0.25

SIZE_VALUES = ('PAGE_AREA_SHARED_MEMORY = 400000\nPAGE_AREA_SIZE = 600000\nPAGE_CURRENTLY_USED = 2500\n'
               'PAGE_MAX_USED = 5000\nPAGE_WP_LOCAL = 1000\nROLL_AREA_SHARED_MEMORY = 200000\n'
               'ROLL_AREA_SIZE = 300000\nROLL_CURRENTLY_USED = 1500\nROLL_MAX_USED = 4000\n')


class BenchmarkError(Exception):
    pass


class Series:
    """One kind of run: how it is started, and its wall times (seconds) and
    peak resident memory (KiB)."""

    def __init__(self, label, argv, work_dir, expected_exit, repetitions):
        self.label = label
        self.argv = argv
        self.work_dir = work_dir
        self.expected_exit = expected_exit
        self.repetitions = repetitions
        self.times = []
        self.max_rss_kib = 0

    def mean(self):
        return statistics.mean(self.times)

    def median(self):
        return statistics.median(self.times)


def run_once(argv, work_dir, devnull):
    """Starts one child with its output discarded, waits for it (bounded) and
    returns (wall seconds, exit code)."""
    actions = [(os.POSIX_SPAWN_DUP2, devnull, 0), (os.POSIX_SPAWN_DUP2, devnull, 1),
               (os.POSIX_SPAWN_DUP2, devnull, 2)]
    os.chdir(work_dir)
    started = time.perf_counter()
    pid = os.posix_spawn(argv[0], argv, os.environ, file_actions=actions)
    pid_fd = os.pidfd_open(pid)
    try:
        ready, _, _ = select.select([pid_fd], [], [], RUN_TIMEOUT)
        if not ready:
            os.kill(pid, signal.SIGKILL)
        _, status = os.waitpid(pid, 0)
        elapsed = time.perf_counter() - started
    finally:
        os.close(pid_fd)
    if not ready:
        raise BenchmarkError('%s did not end within %d s' % (' '.join(argv), RUN_TIMEOUT))
    return elapsed, os.waitstatus_to_exitcode(status)


def peak_rss_kib(argv, work_dir, expected_exit, scratch):
    """The peak resident memory of one run, as /usr/bin/time reports it."""
    report = os.path.join(scratch, 'time.out')
    # A session of its own, so that a run that hangs is killed with time, not left behind.
    process = subprocess.Popen([TIME, '-o', report, '-f', '%M'] + argv, cwd=work_dir, stdin=subprocess.DEVNULL,
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, start_new_session=True)
    try:
        process.wait(timeout=RUN_TIMEOUT)
    except subprocess.TimeoutExpired:
        os.killpg(process.pid, signal.SIGKILL)
        process.wait(timeout=RUN_TIMEOUT)
        raise BenchmarkError('%s did not end within %d s' % (' '.join(argv), RUN_TIMEOUT))
    if process.returncode != expected_exit:
        raise BenchmarkError('%s under time: exit code %d' % (' '.join(argv), process.returncode))
    with open(report) as report_file:
        return int(report_file.read().split()[-1])


def measure(kinds, scratch, memory_repetitions):
    """Times every kind of run in rounds, one run of each kind per round, so
    that a busy moment of a shared machine weighs on all kinds alike; then
    takes the peak memory of each kind from its own runs under time."""
    with open(os.devnull, 'r+b') as devnull_file:
        devnull = devnull_file.fileno()
        for round_number in range(WARM_UP_RUNS + max(kind.repetitions for kind in kinds)):
            for kind in kinds:
                if round_number >= WARM_UP_RUNS + kind.repetitions:
                    continue
                elapsed, exit_code = run_once(kind.argv, kind.work_dir, devnull)
                if exit_code != kind.expected_exit:
                    raise BenchmarkError('%s: exit code %d, expected %d' % (kind.label, exit_code,
                                                                           kind.expected_exit))
                if round_number >= WARM_UP_RUNS:
                    kind.times.append(elapsed)
    for kind in kinds:
        for _ in range(memory_repetitions):
            kind.max_rss_kib = max(kind.max_rss_kib, peak_rss_kib(kind.argv, kind.work_dir, kind.expected_exit,
                                                                  scratch))


def check_output(kind, pattern):
    """One run with its output kept: the benchmark must time real measurements."""
    result = subprocess.run(kind.argv, cwd=kind.work_dir, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, timeout=RUN_TIMEOUT)
    if result.returncode != kind.expected_exit or not re.search(pattern, result.stdout):
        raise BenchmarkError('%s did not measure (exit code %d):\n%s'
                             % (kind.label, result.returncode, result.stdout.decode('latin-1')))


class Simulator:
    """rfcsim serving the scenario, its log going to a file so it never blocks."""

    def __init__(self, rfcsim, scenario_path, scratch):
        self.log_path = os.path.join(scratch, 'rfcsim.log')
        with open(self.log_path, 'wb') as log:
            self.process = subprocess.Popen([rfcsim, scenario_path], stdout=log, stderr=subprocess.STDOUT,
                                            cwd=scratch)
        deadline = time.monotonic() + SIMULATOR_READY_TIMEOUT
        while not self.log().startswith(b'ready\n'):
            if self.process.poll() is not None or time.monotonic() > deadline:
                self.stop()
                raise BenchmarkError('rfcsim did not get ready: %r' % self.log())
            time.sleep(0.01)

    def log(self):
        with open(self.log_path, 'rb') as log:
            return log.read()

    def stop(self):
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGTERM)
        try:
            self.process.wait(timeout=SIMULATOR_STOP_TIMEOUT)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait(timeout=SIMULATOR_STOP_TIMEOUT)


def write(path, text):
    with open(path, 'w', newline='\n', encoding='latin-1') as created:
        created.write(text)


def read(path):
    with open(path, encoding='latin-1') as opened:
        return opened.read()


def generated_profile(profile_tool, scratch, host, destination):
    """A complete profile for `host`, written by the profile tool."""
    path = os.path.join(scratch, 'generated.P00')
    result = subprocess.run([profile_tool, 'new', path, '--force', '--extcompany=BENCH',
                             '--destination=' + destination, '--client=100', '--user=monitor', '--language=EN',
                             '--mode=R/3', '--hostname=' + host, '--sysnr=00', '--gwhost=' + host,
                             '--gwservice=sapgw00'], input=(PASSWORD + '\n').encode(), stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, timeout=RUN_TIMEOUT)
    if result.returncode != 0:
        raise BenchmarkError('quenmarel-profile new failed: %s' % result.stdout.decode('latin-1'))
    return read(path)


def served_system(host, client='100', user='MONITOR', password=PASSWORD):
    return ('[system]\nlisten = %s:3300\nclient = %s\nuser = %s\npassword = %s\n%s\n'
            % (host, client, user, password, SIZE_VALUES))


def single_system_setup(args, scratch):
    """The example profile PRD with the scenario that serves it, on the
    benchmark's addresses; generated when the examples are not there."""
    profile_path = os.path.join(args.examples, 'PRD.P00')
    scenario_path = os.path.join(args.examples, 'demo.scenario')
    if os.path.exists(profile_path) and os.path.exists(scenario_path):
        return (read(profile_path).replace(EXAMPLE_NETWORK, BENCH_NETWORK),
                read(scenario_path).replace(EXAMPLE_NETWORK, BENCH_NETWORK), 'the example profile')
    host = BENCH_NETWORK + '1'
    profile = generated_profile(os.path.join(args.bin, 'quenmarel-profile'), scratch, host, 'PRD')
    return profile, served_system(host), 'a generated profile (examples/ has none)'


def item_listing(count):
    """An item profile listing S01.P00 ... in lines the sensor reads whole."""
    names = ['S%02d.P00#' % number for number in range(1, count + 1)]
    lines = []
    for first in range(0, count, NAMES_PER_LISTING_LINE):
        lines.append('# Gsng: BENCH     : %s\n' % ''.join(names[first:first + NAMES_PER_LISTING_LINE]))
    return ''.join(lines)


def item_setup(args, scratch):
    """Profiles S01 ... S50, each on its own address, and their scenario."""
    host_line = re.compile(r'^(Hostname\.\.\.|Gwhost\.\.\.\.\.): .*$', re.M)
    template = generated_profile(os.path.join(args.bin, 'quenmarel-profile'), scratch, ITEM_NETWORK + '1', 'S01')
    profiles, scenario = {}, []
    for number in range(1, max(ITEM_SIZES) + 1):
        host = ITEM_NETWORK + str(number)
        profile = host_line.sub(lambda match: '%s: %s' % (match.group(1), host), template)
        profiles['S%02d.P00' % number] = profile.replace('Destination: S01', 'Destination: S%02d' % number)
        scenario.append(served_system(host))
    return profiles, ''.join(scenario)


def silent_setup(args, scratch, item_profiles):
    """A directory whose item listing names 30 systems, every fifth of them
    silent, and the scenario line of the silent system."""
    directory = os.path.join(scratch, 'silent')
    os.makedirs(directory)
    template = item_profiles['S01.P00']
    silent = re.sub(r'(?m)^(Hostname\.\.\.|Gwhost\.\.\.\.\.): .*$', lambda match: '%s: %s' % (match.group(1), SILENT_HOST),
                    template).replace('Destination: S01', 'Destination: SIL')
    write(os.path.join(directory, 'SIL.P00'), silent)
    names = []
    for number in range(1, SILENT_LISTING_SIZE + 1):
        if number % SILENT_EVERY == 2:
            names.append('SIL.P00#')
        else:
            name = 'S%02d.P00' % number
            write(os.path.join(directory, name), item_profiles[name])
            names.append(name + '#')
    lines = ['# Gsng: BENCH     : %s\n' % ''.join(names[first:first + NAMES_PER_LISTING_LINE])
             for first in range(0, len(names), NAMES_PER_LISTING_LINE)]
    write(os.path.join(directory, 'Gastrelo.Prf'), ''.join(lines))
    return directory, '[system]\nlisten = %s:3300\nlogon = silent\n' % SILENT_HOST


def measure_silent(kinds):
    """Times each kind in turn, without warming up: every run lasts seconds."""
    with open(os.devnull, 'r+b') as devnull_file:
        for _ in range(max(kind.repetitions for kind in kinds)):
            for kind in kinds:
                elapsed, exit_code = run_once(kind.argv, kind.work_dir, devnull_file.fileno())
                if exit_code != kind.expected_exit:
                    raise BenchmarkError('%s: exit code %d' % (kind.label, exit_code))
                kind.times.append(elapsed)


def benchmark(args, scratch):
    single_profile, single_scenario, single_source = single_system_setup(args, scratch)
    item_profiles, item_scenario = item_setup(args, scratch)

    single_dir = os.path.join(scratch, 'single')
    os.makedirs(single_dir)
    write(os.path.join(single_dir, 'PRD.P00'), single_profile)
    item_dirs = {}
    for size in ITEM_SIZES:
        item_dirs[size] = os.path.join(scratch, 'items%d' % size)
        os.makedirs(item_dirs[size])
        write(os.path.join(item_dirs[size], 'Gastrelo.Prf'), item_listing(size))
        for name in sorted(item_profiles)[:size]:
            write(os.path.join(item_dirs[size], name), item_profiles[name])
    silent_dir, silent_scenario = silent_setup(args, scratch, item_profiles)
    scenario_path = os.path.join(scratch, 'bench.scenario')
    write(scenario_path, single_scenario + '\n' + item_scenario + '\n' + silent_scenario)

    quenmarel = os.path.join(args.bin, 'quenmarel')
    item_argv = [quenmarel, 'BENCH', 'ITEM=Pages:Used', '@']
    results = {
        'true': Series('reference: /bin/true', ['/bin/true'], single_dir, 0, args.repetitions),
        'none': Series('no-argument run', [quenmarel], single_dir, 2, args.repetitions),
        'single': Series('single measurement (PRD @)', [quenmarel, 'PRD', '@'], single_dir, 0, args.repetitions),
    }
    for size in ITEM_SIZES:
        results[size] = Series('item mode, %d system%s' % (size, '' if size == 1 else 's'), item_argv,
                               item_dirs[size], 0, args.item_repetitions)
    silent_runs = [
        Series('one after another', [quenmarel, 'BENCH', 'ITEM=Pages:Used'], silent_dir, 0, args.silent_repetitions),
        Series(',PARALLEL=%d' % PARALLEL_SYSTEMS, [quenmarel, 'BENCH', 'ITEM=Pages:Used,PARALLEL=%d' % PARALLEL_SYSTEMS],
               silent_dir, 0, args.silent_repetitions),
    ]
    simulator = Simulator(os.path.join(args.bin, 'rfcsim'), scenario_path, scratch)
    try:
        check_output(results['none'], rb'Error 1001')
        check_output(results['single'], rb'now processed')
        for size in ITEM_SIZES:
            check_output(results[size], rb'NoSystems=%d, Processed=%d, Failed=0' % (size, size))
        measure(list(results.values()), scratch, args.memory_repetitions)
        if args.silent_repetitions > 0:
            silent_count = SILENT_LISTING_SIZE // SILENT_EVERY
            summary = rb'NoSystems=%d, Processed=%d, Failed=%d' % (SILENT_LISTING_SIZE, SILENT_LISTING_SIZE - silent_count,
                                                                   silent_count)
            for kind in silent_runs:
                check_output(kind, summary)
            measure_silent(silent_runs)
    finally:
        simulator.stop()
    return results, single_source, silent_runs


def per_system_seconds(results):
    """Slope of the least-squares line through the item runs' medians."""
    sizes = list(ITEM_SIZES)
    medians = [results[size].median() for size in sizes]
    mean_size, mean_time = statistics.mean(sizes), statistics.mean(medians)
    numerator = sum((size - mean_size) * (median - mean_time) for size, median in zip(sizes, medians))
    return numerator / sum((size - mean_size) ** 2 for size in sizes)


def verdict(passed):
    return 'PASS' if passed else 'MISS'


def print_silent_report(silent_runs):
    sequential, parallel = silent_runs
    print()
    print('item mode, %d systems of which %d silent (each costs the 5 s logon bound), %d runs each:'
          % (SILENT_LISTING_SIZE, SILENT_LISTING_SIZE // SILENT_EVERY, len(sequential.times)))
    for kind in silent_runs:
        print('  %-30s median %8.2f s' % (kind.label, kind.median()))
    print('  %-30s %8.1f (the silent systems wait side by side: about %d bounds against one)'
          % ('one after another / parallel', sequential.median() / parallel.median(),
             SILENT_LISTING_SIZE // SILENT_EVERY))


def print_report(args, results, single_source):
    print('Quenmarel benchmark: %s; %d timed runs each (item runs %d), %d runs each under time for memory;'
          % (args.bin, args.repetitions, args.item_repetitions, args.memory_repetitions))
    print('single measurement with %s' % single_source)
    print()
    print('%-32s %10s %10s %12s' % ('run', 'mean ms', 'median ms', 'max RSS KiB'))
    for key in ['true', 'none', 'single'] + list(ITEM_SIZES):
        series = results[key]
        print('%-32s %10.3f %10.3f %12d' % (series.label, series.mean() * 1e3, series.median() * 1e3,
                                            series.max_rss_kib))

    process_start = results['none'].median()
    ratio = results['single'].median() / process_start
    mean_ratio = results['single'].mean() / results['none'].mean()
    per_system = per_system_seconds(results)
    fraction = per_system / process_start
    rss_rows = [(results[key].label, results[key].max_rss_kib) for key in ('none', 'single', max(ITEM_SIZES))]

    print()
    print('%-44s %18s %10s  %s' % ('target', 'measured', 'limit', 'result'))
    print('%-44s %18s %10s  %s' % ('single / no-argument run (medians)', '%.2f (means %.2f)' % (ratio, mean_ratio),
                                   '<= %.1f' % RATIO_LIMIT, verdict(ratio <= RATIO_LIMIT)))
    for label, max_rss in rss_rows:
        print('%-44s %18s %10s  %s' % ('peak RSS, ' + label, '%d KiB' % max_rss, '< %d' % RSS_LIMIT_KIB,
                                       verdict(max_rss < RSS_LIMIT_KIB)))
    print('%-44s %18s %10s  %s' % ('each further system / no-argument run',
                                   '%.3f (%.3f ms)' % (fraction, per_system * 1e3), '<= %.2f' % PER_SYSTEM_LIMIT,
                                   verdict(fraction <= PER_SYSTEM_LIMIT)))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--bin', required=True, help='directory of a Release build (quenmarel, rfcsim, ...)')
    parser.add_argument('--examples', required=True, help='the examples folder (PRD.P00, demo.scenario)')
    parser.add_argument('--repetitions', type=int, default=300, help='runs of each single-run kind')
    parser.add_argument('--item-repetitions', type=int, default=100, help='runs of each item-mode kind')
    parser.add_argument('--memory-repetitions', type=int, default=20, help='runs of each kind under time')
    parser.add_argument('--silent-repetitions', type=int, default=2,
                        help='runs of each kind over the listing with silent systems (0: none)')
    args = parser.parse_args()
    for tool in [os.path.join(args.bin, name) for name in ('quenmarel', 'quenmarel-profile', 'rfcsim')] + [TIME]:
        if not os.access(tool, os.X_OK):
            print('bench: %s is missing' % tool, file=sys.stderr)
            return 1
    args.bin, args.examples = os.path.abspath(args.bin), os.path.abspath(args.examples)
    scratch = tempfile.mkdtemp(prefix='quenmarel-bench-')
    home = os.getcwd()
    try:
        results, single_source, silent_runs = benchmark(args, scratch)
    except (BenchmarkError, OSError, subprocess.TimeoutExpired) as failure:
        print('bench: cannot measure: %s' % failure, file=sys.stderr)
        return 1
    finally:
        os.chdir(home)
        shutil.rmtree(scratch, ignore_errors=True)
    print_report(args, results, single_source)
    if args.silent_repetitions > 0:
        print_silent_report(silent_runs)
    return 0


if __name__ == '__main__':
    sys.exit(main())
