#!/usr/bin/env python3
"""Checks the include graph of the sources against the layers the build
intends, for what the compiler cannot see (a relative path, a header of the
same name in a folder that is on the include path for another reason):

- every include between two folders follows an edge listed below;
- no shipped folder includes a test double's folder;
- no file of the sensor includes itself back through other files, a header
  and its source file counted as one (no cycle among the modules of src/);
- no include climbs out of its folder with "..";
- the profile tool names no fact it shares with the sensor by a literal of
  its own (a file, library, function or package name, a listing's mark or
  keyword, a profile's label, a channel name): it asks the sensor's folders,
  where each lives once, so that the doctor cannot drift from the sensor.

Usage: check_layering.py SOURCE_ROOT
Exits 1 and names each offending include or literal when one is found."""

import os
import re
import sys

# What each folder may include besides itself.  The sensor's folders run one
# way, from the driver down to the small common types.
SENSOR = ['src/common', 'src/platform', 'src/config', 'src/rfc', 'src/calculation', 'src/output']
ALLOWED = {
    'src/common': [],
    'src/platform': ['src/common'],
    'src/config': ['src/common', 'src/platform'],
    'src/rfc': ['src/common', 'src/platform', 'src/config', 'include'],
    'src/calculation': ['src/common', 'include'],
    'src/output': ['src/common', 'src/calculation'],
    'src/driver': SENSOR + ['include'],
    'rfc-kit': ['src/common', 'src/platform', 'include'],
    'nwrfc-bridge': ['rfc-kit', 'src/common', 'src/platform', 'include'],
    'tools/quenmarel-profile': ['src/common', 'src/platform', 'src/config', 'src/output'],
    # The test doubles: the stand-in libraries and the simulated server.
    'rfclib': ['rfc-kit', 'src/common', 'src/platform', 'include'],
    'nwrfc-standin': ['rfclib', 'src/common', 'src/platform', 'include'],
    'tools/rfcsim': ['rfclib', 'src/common'],
    'include': [],
}
TEST_DOUBLES = {'rfclib', 'nwrfc-standin', 'tools/rfcsim'}
SOURCE_SUFFIXES = ('.h', '.cc')
# The facts the sensor and the profile tool share, as whole string literals;
# a message that mentions one among other words is no such literal.
SHARED_FACTS = {
    'function names': ['RfcCall', 'RfcClose', 'RfcEnvironment', 'RfcLastError', 'RfcOpen', 'RfcOpenEx', 'RfcReceive'],
    'library names': ['LIBRFC32.dll', 'librfc32.so', 'sapnwrfc.dll', 'libsapnwrfc.so', 'libsapucum.dll',
                      'libsapucum.so', 'icuuc', 'icudt', 'icuin', 'libicuuc', 'libicudata', 'libicui18n'],
    'package names': ['quenmarel-', '-windows-', '-linux-', '.zip', '.tar.gz'],
    'file names': ['quenmarel', 'quenmarel.exe', 'quenmarel.target', 'Quenmarel.runs', 'Dev_Rfc.Trc',
                   'C:\\PRTG_Path.Txt', 'Gastrelo.Prf', 'SAP Gastrelo.Gbl', '.P00', 'SapRfc.', 'SapRfc-', 'SapRfc.ini',
                   'SapRfc.ini.lock', 'SapRfc.ini.new'],
    'listing marks and keywords': ['# GSNG: ', '# GSNX: ', '# Gsng: ', 'Item=', 'ITEM=', ',PARALLEL=', ',LIMITS=',
                                   ',Sensor=', 'Sensor="SAP Quenmarel"', 'CH='],
    'profile labels': ['Extcompany.:', 'Destination:', 'Client.....:', 'User.......:', 'Password...:', 'Language...:',
                       'Mode.......:', 'Hostname...:', 'Sysnr......:', 'Gwhost.....:', 'Gwservice..:'],
    'channel names': ['Pages Used', 'Pages MaxUsed', 'Pages Wp Local', 'Rolls Used', 'Rolls MaxUsed'],
}
# The shipped tools whose literals are checked (rfcsim, a test double, keeps its own).
FACT_CHECKED_FOLDERS = ['tools/quenmarel-profile']
STRING_LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')
INCLUDE = re.compile(r'^\s*#\s*include\s+"([^"]+)"')


def source_files(root, folder):
    directory = os.path.join(root, folder)
    if not os.path.isdir(directory):
        return []
    return sorted(os.path.join(folder, name) for name in os.listdir(directory) if name.endswith(SOURCE_SUFFIXES))


def resolve(root, including_folder, included):
    """The files an include may name: 'folder/x.h' is a sensor folder's header,
    a bare name lies in the including folder or in any folder holding it."""
    first = included.split('/')[0]
    if '/' in included and 'src/' + first in ALLOWED:
        return ['src/' + included]
    if os.path.exists(os.path.join(root, including_folder, included)):
        return [os.path.join(including_folder, included)]
    return [os.path.join(folder, included) for folder in ALLOWED
            if os.path.exists(os.path.join(root, folder, included))]


def main():
    root = sys.argv[1]
    problems = []
    graph = {}
    for folder in ALLOWED:
        for path in source_files(root, folder):
            graph[path] = []
            with open(os.path.join(root, path), encoding='utf-8', errors='replace') as source:
                for number, line in enumerate(source, 1):
                    match = INCLUDE.match(line)
                    if not match:
                        continue
                    included = match.group(1)
                    where = '%s:%d: "%s"' % (path, number, included)
                    if '..' in included.split('/'):
                        problems.append('%s climbs out of its folder' % where)
                    for target in resolve(root, folder, included):
                        target_folder = os.path.dirname(target)
                        graph[path].append(target)
                        if target_folder == folder:
                            continue
                        if target_folder in TEST_DOUBLES and folder not in TEST_DOUBLES:
                            problems.append('%s: shipped code includes the test double %s' % (where, target_folder))
                        elif target_folder not in ALLOWED[folder]:
                            problems.append('%s: %s may not include %s' % (where, folder, target_folder))
    problems += shared_fact_literals(root)
    sensor_graph = {path: targets for path, targets in graph.items() if path.startswith('src/')}
    problems += ['include cycle among: ' + ', '.join(cycle) for cycle in cycles(modules(sensor_graph))]
    for problem in problems:
        print(problem)
    print('%d files, %d problems' % (len(graph), len(problems)))
    return 1 if problems else 0


def shared_fact_literals(root):
    """Each string literal of the checked folders that is one of the shared facts."""
    facts = {fact: kind for kind, names in SHARED_FACTS.items() for fact in names}
    problems = []
    for folder in FACT_CHECKED_FOLDERS:
        for path in source_files(root, folder):
            with open(os.path.join(root, path), encoding='utf-8', errors='replace') as source:
                for number, line in enumerate(source, 1):
                    code = line.split('//', 1)[0] if not line.lstrip().startswith('"') else line
                    for literal in STRING_LITERAL.findall(code):
                        if literal in facts:
                            problems.append('%s:%d: "%s" is one of the %s the sensor\'s folders hold' %
                                            (path, number, literal, facts[literal]))
    return problems


def modules(graph):
    """The graph with each header and its source file as one node."""
    merged = {}
    for path, targets in graph.items():
        merged.setdefault(os.path.splitext(path)[0], set()).update(
            os.path.splitext(target)[0] for target in targets if os.path.splitext(target)[0] != os.path.splitext(path)[0])
    return {node: sorted(targets) for node, targets in merged.items()}


def cycles(graph):
    """The strongly connected components of more than one file (Tarjan)."""
    index, low, stack, on_stack, found = {}, {}, [], set(), []

    def visit(node):
        index[node] = low[node] = len(index)
        stack.append(node)
        on_stack.add(node)
        for successor in graph.get(node, []):
            if successor not in graph:
                continue
            if successor not in index:
                visit(successor)
                low[node] = min(low[node], low[successor])
            elif successor in on_stack:
                low[node] = min(low[node], index[successor])
        if low[node] == index[node]:
            component = []
            while True:
                member = stack.pop()
                on_stack.discard(member)
                component.append(member)
                if member == node:
                    break
            if len(component) > 1:
                found.append(sorted(component))

    sys.setrecursionlimit(10000)
    for node in sorted(graph):
        if node not in index:
            visit(node)
    return found


if __name__ == '__main__':
    sys.exit(main())
