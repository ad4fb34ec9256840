#!/usr/bin/env python3
"""The end-to-end runner refuses a malformed case file before it runs anything
(exit code 1, one line naming the file, the line and the fault), applies a
section written for a configuration only when it runs for that configuration,
and fails a run that writes to standard error unexpectedly, leaves a file
behind that the case does not name, shows a text the case calls secret or,
for the target Plugin, expects a result line the check plugins' conventions
refuse.

Exit code 0: the runner behaved so for every case in runner_cases/; 1: it did
not (each wrong answer is printed).
"""

import argparse
import os
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
CASES = os.path.join(HERE, 'runner_cases')
RUN_TIMEOUT = 120

# Case, runner options, the exit code the runner must give, and a line it must print.
CHECKS = [
    ('misspelled_section.test', [], 1, 'misspelled_section.test:8: unknown section <stdot>'),
    ('missing_exit.test', [], 1, 'missing_exit.test: the case has no <exit> section; every case states its exit code'),
    ('repeated_section.test', [], 1, 'repeated_section.test:11: section <exit> is repeated (first at line 10)'),
    ('repeated_file_name.test', [], 1,
     'repeated_file_name.test:10: section <file name="PRD.P00"> is repeated (first at line 7)'),
    ('repeated_configuration_section.test', [], 1, 'repeated_configuration_section.test:12: '
     'section <after name="Dev_Rfc.Trc" configuration="other"> is repeated (first at line 11)'),
    ('unknown_attribute.test', [], 1, 'unknown_attribute.test:8: section <stdout> takes no attribute crfl'),
    ('unknown_placeholder.test', [], 1, 'unknown_placeholder.test:8: {{hots}}: unknown placeholder'),
    ('odd_hex_digits.test', [], 1,
     'odd_hex_digits.test:8: {{bytes:C3A}}: needs pairs of hex digits: {{bytes:C3A4}}'),
    ('output_expected_beside_stdout_to.test', [], 1, 'output_expected_beside_stdout_to.test:9: '
     'with <stdout-to> nothing reaches the runner: <stdout> must be empty'),
    ('checks_nothing.test', [], 1,
     'checks_nothing.test: the case has no <stdout> section; every case states its standard output'),
    ('within_not_a_number.test', [], 1,
     "within_not_a_number.test:4: section <within> must hold a whole number of seconds, not '2.5'"),
    ('within_exceeded.test', [], 1, '--- run time differs'),
    ('unexpected_standard_error.test', [], 1, '--- standard error differs'),
    ('file_left_in_a_subdirectory.test', [], 1, '--- left in the working directory, neither given by the case '
     'nor named in an <after>: cfg\\PRD.P00'),
    ('file_left_beside_the_library_files.test', [], 1, '--- left in the working directory, neither given by the '
     'case nor named in an <after>: SapRfc.ini.new'),
    ('secret_in_standard_output.test', [], 1, '--- the secret Hidden42 appears in standard output'),
    ('secret_in_a_written_file.test', [], 1, '--- the secret Hidden42 appears in the file PRD.P00'),
    ('secret_in_a_copy_of_a_given_file.test', [], 0, None),
    ('plugin_label_with_a_blank_unquoted.test', [], 1, '--- the expected standard output breaks the plugin '
     "conventions: performance data not 'label'=value[UOM];warn;crit;min;max at 'Pages Used=4%;;;0;'"),
    ('link_named_by_a_drive_path.test', [], 1, 'link_named_by_a_drive_path.test:4: section <link> names a link '
     'of the working directory and holds its target on one line'),
    ('configuration_sections.test', [], 0, None),
    ('configuration_sections.test', ['--configuration', 'other'], 0, None),
    ('configuration_sections.test', ['--configuration', 'third'], 1, '--- file written-for-third.txt differs'),
]


def wrong_answer(bin_dir, case, options, expected_exit, expected_line):
    """What the runner did wrong with one case, or None."""
    command = [sys.executable, os.path.join(HERE, 'run_case.py'), '--bin', bin_dir, '--tools', bin_dir] + options
    result = subprocess.run(command + [case], cwd=CASES, stdout=subprocess.PIPE, stderr=subprocess.STDOUT,
                            timeout=RUN_TIMEOUT)
    output = result.stdout.decode('utf-8', 'replace')
    if result.returncode != expected_exit:
        return 'exit code %d, expected %d' % (result.returncode, expected_exit)
    if expected_line is not None and expected_line not in output.split('\n'):
        return 'no line %r' % expected_line
    return None


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument('--bin', required=True, help='directory of the native build')
    args = parser.parse_args()
    failures = 0
    for case, options, expected_exit, expected_line in CHECKS:
        wrong = wrong_answer(os.path.abspath(args.bin), case, options, expected_exit, expected_line)
        if wrong:
            failures += 1
            print('%s %s: %s' % (case, ' '.join(options), wrong))
    print('%d of %d runner checks passed' % (len(CHECKS) - failures, len(CHECKS)))
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main())
