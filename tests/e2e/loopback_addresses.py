"""The loopback addresses on which the tests' simulated systems listen.

Every address follows from one text, the suite's network: QUENMAREL_TEST_NET
when it is set and not empty, else the name the build gives its own tests in
QUENMAREL_TEST_NET_DEFAULT (a hash of the build directory's path), else the
empty text.  Any text will do: it is only ever hashed.  Suites with different
networks, such as those of two checkouts tested at the same time, take
different addresses; within a suite, each purpose (a case in one run of the
cases, a script against one build) takes addresses of its own.

The scripts take theirs from 127.128.0.0 to 127.254.255.255; the gtest
fixture of the integration tests hashes the same text into 127.64.0.0/10, so
the two never meet, and neither meets the bundled example's 127.43.0.x.
"""

import hashlib
import os

NETWORK_VARIABLE = 'QUENMAREL_TEST_NET'
DEFAULT_NETWORK_VARIABLE = 'QUENMAREL_TEST_NET_DEFAULT'
FIRST_SECOND_NUMBER = 128
LAST_SECOND_NUMBER = 254
# The last number of an address stays within 1 to 254.
HIGHEST_LAST_NUMBER = 254


def test_network():
    """The text that names this suite's network."""
    return os.environ.get(NETWORK_VARIABLE) or os.environ.get(DEFAULT_NETWORK_VARIABLE, '')


def addresses(purpose, count):
    """COUNT consecutive loopback addresses of PURPOSE in this suite's network."""
    key = '%s\n%s' % (test_network(), purpose)
    digest = hashlib.sha256(key.encode('utf-8', 'surrogateescape')).digest()
    second = FIRST_SECOND_NUMBER + digest[0] % (LAST_SECOND_NUMBER - FIRST_SECOND_NUMBER + 1)
    first_last = 1 + int.from_bytes(digest[2:4], 'big') % (HIGHEST_LAST_NUMBER - count + 1)
    return ['127.%d.%d.%d' % (second, digest[1], first_last + offset) for offset in range(count)]
