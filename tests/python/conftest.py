"""Shared set-up of the quilane module's tests.

The module is imported here, unguarded: a module that cannot be imported is a
failure of every test file, never a skip. The paths come from CTest's
environment (tests/python/CMakeLists.txt).
"""
import os
import pathlib
import subprocess

import pytest

import quilane  # noqa: F401  (a failed import must fail the run)

# Tests each file must at least run, so that a file whose tests are not
# collected (a renamed function, a broken parametrisation) cannot pass as an
# empty run.
MIN_TESTS_RUN = int(os.environ.get("QUILANE_PYTEST_MIN_TESTS", "1"))


def pytest_sessionfinish(session, exitstatus):
    if exitstatus == 0 and session.testscollected < MIN_TESTS_RUN:
        session.exitstatus = 1
        print(f"\nonly {session.testscollected} tests collected, expected at least "
              f"{MIN_TESTS_RUN}")


def _env_path(name):
    value = os.environ.get(name)
    if not value:
        pytest.fail(f"{name} is not set; run these tests through CTest")
    return pathlib.Path(value)


@pytest.fixture(scope="session")
def samples_dir():
    return _env_path("QUILANE_SAMPLES_DIR")


@pytest.fixture(scope="session")
def shared_airfoils_dir():
    return _env_path("QUILANE_SHARED_AIRFOILS_DIR")


class Tool:
    """quilane-redistribute run as a separate process."""

    def __init__(self, path):
        self.path = str(path)

    def run(self, *args, cwd=None):
        done = subprocess.run([self.path, *map(str, args)], capture_output=True, cwd=cwd,
                              timeout=60)
        return done.returncode, done.stdout, done.stderr.decode("utf-8")

    @staticmethod
    def messages(stderr):
        """The tool's messages without its name in front, one per line."""
        prefix = "quilane-redistribute: "
        lines = []
        for line in stderr.splitlines():
            assert line.startswith(prefix), line
            lines.append(line[len(prefix):])
        return "\n".join(lines)


@pytest.fixture(scope="session")
def tool():
    return Tool(_env_path("QUILANE_REDISTRIBUTE"))


def program_message(error):
    """The message of a quilane.Error as the tool prints it: without the
    'Section "<name>": ' the module puts in front of a calculation's refusal."""
    text = str(error)
    if error.section is not None:
        prefix = f'Section "{error.section}": '
        assert text.startswith(prefix), text
        text = text[len(prefix):]
    return text
