#!/usr/bin/env python3
"""Checks that a library under the vendor's RFC library name exports exactly
the seven functions of the classic interface, nothing more and nothing less.

A shared object is read with `nm -D --defined-only`, a DLL with `objdump -p`
(its export name table).  Exit code 0: exactly the seven; 1: otherwise (the
difference is printed).
"""

import argparse
import re
import subprocess
import sys

SEVEN = ['RfcCall', 'RfcClose', 'RfcEnvironment', 'RfcLastError', 'RfcOpen', 'RfcOpenEx', 'RfcReceive']
TOOL_TIMEOUT = 60
EXPORT_TABLE_LINE = re.compile(r'^\s*\[\s*\d+\]\s+(\S+)\s*$')


def shared_object_exports(nm, library):
    output = subprocess.run([nm, '-D', '--defined-only', library], stdout=subprocess.PIPE, check=True,
                            timeout=TOOL_TIMEOUT).stdout.decode()
    # "address type name"; symbols without an address (absolute ones) have two columns.
    return sorted(line.split()[-1] for line in output.splitlines() if line.strip())


def dll_exports(objdump, library):
    output = subprocess.run([objdump, '-p', library], stdout=subprocess.PIPE, check=True,
                            timeout=TOOL_TIMEOUT).stdout.decode()
    names, in_table = [], False
    for line in output.splitlines():
        if line.startswith('[Ordinal/Name Pointer] Table'):
            in_table = True
            continue
        if in_table:
            match = EXPORT_TABLE_LINE.match(line)
            if not match:
                break
            names.append(match.group(1))
    return sorted(names)


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--nm', help='nm, to read a shared object')
    parser.add_argument('--objdump', help='objdump for the DLL\'s format, to read a DLL')
    parser.add_argument('library')
    args = parser.parse_args()
    exports = dll_exports(args.objdump, args.library) if args.objdump else shared_object_exports(args.nm, args.library)
    if exports == SEVEN:
        return 0
    print('%s exports:\n  %s' % (args.library, '\n  '.join(exports) or '(nothing)'))
    print('missing: %s' % (', '.join(sorted(set(SEVEN) - set(exports))) or 'none'))
    print('extra:   %d symbols' % len(set(exports) - set(SEVEN)))
    return 1


if __name__ == '__main__':
    sys.exit(main())
