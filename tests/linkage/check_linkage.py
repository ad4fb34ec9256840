#!/usr/bin/env python3
"""Checks the import and export tables of one build against the vendor's RFC library.

The sensor loads the RFC library itself, so that it starts without one and
can say what is wrong: it imports nothing from it, and looks up exactly the
vendor's seven functions by the names the vendor's library exports ("RfcOpen",
never the 32-bit decorated "RfcOpen@4"), which it carries as texts.  Our
stand-in exports those and nothing else.  A Windows build must also need no
DLL of its own, and the sensor and the library must be built for the same
machine.

Exit code 0: the tables are right; 1: they are not (each fault is printed).
"""

import argparse
import os
import re
import subprocess
import sys

RFC_FUNCTIONS = ['RfcCall', 'RfcClose', 'RfcEnvironment', 'RfcLastError', 'RfcOpen', 'RfcOpenEx', 'RfcReceive']
RFC_DLL = 'LIBRFC32.dll'
# What every Windows installation has; anything else would have to lie beside the program.
SYSTEM_DLLS = {'kernel32.dll', 'msvcrt.dll', 'ws2_32.dll', 'advapi32.dll'}
PE_FORMATS = {'x86': 'pei-i386', 'x64': 'pei-x86-64'}
TOOL_TIMEOUT = 60


def tool_output(command):
    return subprocess.run(command, stdout=subprocess.PIPE, stderr=subprocess.PIPE, check=True,
                          timeout=TOOL_TIMEOUT).stdout.decode()


class PeTables:
    """The file format, imports and exports of a PE file as `objdump -p` lists them."""

    def __init__(self, objdump, path):
        text = tool_output([objdump, '-p', path])
        self.name = os.path.basename(path)
        self.format = re.search(r'file format (\S+)', text).group(1)
        # DLL name -> imported names (an import by ordinal has the name "<none>").
        self.imports = {}
        for block in re.finditer(r'\tDLL Name: (\S+)\n\tvma:[^\n]*\n((?:\t[^\n]+\n)*)', text):
            self.imports.setdefault(block.group(1), []).extend(line.split()[-1] for line in block.group(2).splitlines())
        names = re.search(r'\[Ordinal/Name Pointer\] Table\n((?:\t[^\n]+\n)*)', text)
        self.exports = re.findall(r'\] (\S+)', names.group(1)) if names else []
        counts = re.search(r'Export Address Table\s+([0-9a-f]+)\n\s*\[Name Pointer/Ordinal\] Table\s+([0-9a-f]+)', text)
        # Exports without a name are reached by ordinal only.
        self.nameless_exports = int(counts.group(1), 16) - int(counts.group(2), 16) if counts else 0


def missing_function_names(path):
    """The seven names the program does not carry as whole texts, to look them up by."""
    with open(path, 'rb') as program:
        content = program.read()
    return [name for name in RFC_FUNCTIONS if b'\0' + name.encode() + b'\0' not in content]


def windows_faults(bin_dir, objdump, machine):
    faults = []
    files = {name: PeTables(objdump, os.path.join(bin_dir, name))
             for name in ['quenmarel.exe', 'quenmarel-profile.exe', RFC_DLL]}
    for tables in files.values():
        if tables.format != PE_FORMATS[machine]:
            faults.append('%s is %s, not %s' % (tables.name, tables.format, PE_FORMATS[machine]))
        own_dlls = sorted(dll for dll in tables.imports if dll.lower() not in SYSTEM_DLLS)
        if own_dlls:
            faults.append('%s needs DLLs that no Windows has: %s' % (tables.name, ', '.join(own_dlls)))
    library = files[RFC_DLL]
    importers = sorted(tables.name for tables in files.values() if RFC_DLL.lower() in map(str.lower, tables.imports))
    if importers:
        faults.append('%s import from %s' % (', '.join(importers), RFC_DLL))
    missing = missing_function_names(os.path.join(bin_dir, 'quenmarel.exe'))
    if missing:
        faults.append('quenmarel.exe does not name %s to look them up' % ', '.join(missing))
    if sorted(library.exports) != RFC_FUNCTIONS or library.nameless_exports:
        faults.append('%s exports %s and %d functions by ordinal only'
                      % (RFC_DLL, library.exports, library.nameless_exports))
    return faults


def symbol_names(nm, path, which):
    return sorted(line.split()[-1] for line in tool_output([nm, '-D', which, path]).splitlines() if line.strip())


def linux_faults(bin_dir, nm, objdump):
    faults = []
    sensor, library = os.path.join(bin_dir, 'quenmarel'), os.path.join(bin_dir, 'librfc32.so')
    exports = symbol_names(nm, library, '--defined-only')
    if exports != RFC_FUNCTIONS:
        shown = exports if len(exports) < 20 else exports[:10] + ['... %d in all' % len(exports)]
        faults.append('librfc32.so exports %s' % shown)
    imports = [name for name in symbol_names(nm, sensor, '--undefined-only') if name.startswith('Rfc')]
    if imports:
        faults.append('quenmarel imports %s' % imports)
    needed = re.findall(r'NEEDED\s+(\S+)', tool_output([objdump, '-p', sensor]))
    if 'librfc32.so' in needed:
        faults.append('quenmarel needs librfc32.so to start')
    missing = missing_function_names(sensor)
    if missing:
        faults.append('quenmarel does not name %s to look them up' % ', '.join(missing))
    return faults


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--bin', required=True, help='the build\'s bin directory')
    parser.add_argument('--windows', choices=sorted(PE_FORMATS), help='a Windows build for this machine')
    parser.add_argument('--objdump', default='objdump', help='objdump that reads the build\'s files')
    parser.add_argument('--nm', default='nm', help='nm for a Linux build')
    args = parser.parse_args()
    if args.windows:
        faults = windows_faults(args.bin, args.objdump, args.windows)
    else:
        faults = linux_faults(args.bin, args.nm, args.objdump)
    for fault in faults:
        print(fault)
    sys.exit(1 if faults else 0)


if __name__ == '__main__':
    main()
