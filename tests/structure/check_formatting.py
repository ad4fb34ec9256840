#!/usr/bin/env python3
"""Checks that every C++ file of the sources follows the house style written
in .clang-format, as clang-format 14 applies it.

Usage: check_formatting.py --clang-format PROGRAM SOURCE_ROOT
Exits 1 and names each file that differs from what clang-format would make
of it (run `clang-format -i FILE` to mend it); exits 1 as well when PROGRAM is
not clang-format 14, whose output another version need not match."""

import argparse
import os
import re
import subprocess
import sys

SUFFIXES = ('.h', '.cc')
# Build directories, wherever they lie, and what version control keeps.
SKIPPED_DIRECTORY = re.compile(r'^(build.*|\..*)$')
VERSION = re.compile(r'clang-format version (\d+)\.')
WANTED_MAJOR = '14'
# Files handed to one clang-format at a time.
CHUNK = 100


def source_files(root):
    for directory, subdirectories, names in os.walk(root):
        subdirectories[:] = sorted(name for name in subdirectories if not SKIPPED_DIRECTORY.match(name))
        for name in sorted(names):
            if name.endswith(SUFFIXES):
                yield os.path.join(directory, name)


def version_problem(program):
    try:
        output = subprocess.run([program, '--version'], stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                                timeout=60).stdout.decode('utf-8', 'replace')
    except OSError as error:
        return '%s cannot be run: %s' % (program, error)
    found = VERSION.search(output)
    if not found or found.group(1) != WANTED_MAJOR:
        return '%s is not clang-format %s: %s' % (program, WANTED_MAJOR, output.strip())
    return None


def unformatted_files(program, files):
    """The files clang-format would change, each named once (the style file is
    found from each file's directory upwards, as `clang-format -i` finds it)."""
    found = set()
    for start in range(0, len(files), CHUNK):
        chunk = files[start:start + CHUNK]
        checked = subprocess.run([program, '--dry-run', '--Werror', '--style=file'] + chunk, stdout=subprocess.PIPE,
                                 stderr=subprocess.PIPE, timeout=300)
        named = {path for path in chunk if (path + ':').encode() in checked.stderr}
        if checked.returncode != 0 and not named:
            raise RuntimeError('clang-format failed: %s' % checked.stderr.decode('utf-8', 'replace'))
        found |= named
    return [path for path in files if path in found]


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--clang-format', required=True, help='the clang-format 14 program')
    parser.add_argument('root', help='the source tree, holding .clang-format')
    args = parser.parse_args()
    problem = version_problem(args.clang_format)
    if problem:
        print(problem)
        return 1
    files = list(source_files(args.root))
    unformatted = unformatted_files(args.clang_format, files)
    for path in unformatted:
        print('%s: not formatted as .clang-format says (clang-format -i mends it)' % os.path.relpath(path, args.root))
    print('%d files, %d not formatted' % (len(files), len(unformatted)))
    return 1 if unformatted or not files else 0


if __name__ == '__main__':
    sys.exit(main())
