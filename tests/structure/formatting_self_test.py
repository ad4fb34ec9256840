#!/usr/bin/env python3
"""The formatting check itself: it passes a tree whose files follow the house
style, fails one with a file that does not and names that file alone, and
leaves build directories alone.

Usage: formatting_self_test.py --clang-format PROGRAM SOURCE_ROOT"""

import argparse
import os
import shutil
import subprocess
import sys
import tempfile

CHECK = os.path.join(os.path.dirname(os.path.abspath(__file__)), 'check_formatting.py')
FORMATTED = '// A file as the style writes it.\nint answer() { return 42; }\n'
# Each of these differs from the style in one way.
MISFORMATTED = {
    'indented_by_four.cc': 'int answer() {\n    return 42;\n}\n',
    'blanks_inside_a_declaration.h': 'int  answer( );\n',
    'line_of_121.cc': 'int answer() { return 42; }  // ' + 'x' * 89 + '\n',
}


def write(path, text):
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with open(path, 'w', newline='\n') as created:
        created.write(text)


def check(program, root):
    result = subprocess.run([sys.executable, CHECK, '--clang-format', program, root], stdout=subprocess.PIPE,
                            stderr=subprocess.STDOUT, timeout=300)
    return result.returncode, result.stdout.decode('utf-8', 'replace')


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument('--clang-format', required=True)
    parser.add_argument('source_root')
    args = parser.parse_args()
    failures = []
    root = tempfile.mkdtemp(prefix='formatting-')
    try:
        shutil.copy(os.path.join(args.source_root, '.clang-format'), root)
        write(os.path.join(root, 'src', 'answer.cc'), FORMATTED)
        # What a build leaves is no source, however it looks.
        write(os.path.join(root, 'build-windows', 'generated.cc'), MISFORMATTED['indented_by_four.cc'])
        code, output = check(args.clang_format, root)
        if code != 0:
            failures.append('a formatted tree: exit %d\n%s' % (code, output))
        for name, text in MISFORMATTED.items():
            path = os.path.join(root, 'src', name)
            write(path, text)
            code, output = check(args.clang_format, root)
            os.remove(path)
            named = [line.split(':')[0] for line in output.splitlines() if 'not formatted as' in line]
            if code != 1 or named != [os.path.join('src', name)]:
                failures.append('%s: exit %d\n%s' % (name, code, output))
    finally:
        shutil.rmtree(root, ignore_errors=True)
    for failure in failures:
        print(failure)
    print('formatting check: %s' % ('failed' if failures else 'passed'))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
