"""Every refusal is a ValueError carrying the program's message, and a
refused call changes nothing: the section and any file stay as they were."""
import os
import pathlib

import numpy as np
import pytest

import quilane
from conftest import program_message

FIVE_X = [1.0, 0.5, 0.0, 0.5, 1.0]
FIVE_Y = [0.0, -0.05, 0.0, 0.05, 0.0]


def sample(samples_dir, name="naca0012.arf"):
    return quilane.load(samples_dir / name)


# Settings refused, on the 61-point sample: one the run refuses reaches the
# caller with the run's message; the module's own checks of its arguments.
RUN_REFUSALS = {
    "degree as high as the point count": (
        dict(npoly=61), "nPoly must be lower then 61"),
    "n beyond every integer the run takes": (
        dict(n=10**30),
        "Number of new points 1000000000000000000000000000000 is not a whole number from 2 "
        "to 1000; type such a number and calculate again."),
    "degree beyond every integer, still not lower than N": (
        dict(npoly=2**40), "nPoly must be lower then 61"),
    "unknown method": (
        dict(method="spline"), 'method must be "lagrange" or "pwcubic", not "spline".'),
}


@pytest.mark.parametrize("case", RUN_REFUSALS)
def test_run_refusals(samples_dir, case):
    settings, message = RUN_REFUSALS[case]
    section = sample(samples_dir)
    x_before, y_before = section.x.copy(), section.y.copy()
    with pytest.raises(ValueError) as refusal:
        quilane.redistribute(section, **settings)
    assert program_message(refusal.value) == message
    assert np.array_equal(section.x, x_before) and np.array_equal(section.y, y_before)


def test_degree_just_below_the_point_count_runs(samples_dir):
    assert len(quilane.redistribute(sample(samples_dir), npoly=60, n=31)) == 31


def arf_text(title, points):
    lines = [title, f" {len(points)} "]
    lines += [f"  {i}  {x}  {y}" for i, (x, y) in enumerate(points, start=1)]
    return "\r\n".join(lines) + "\r\n"


UPPER_FIRST = list(zip(FIVE_X, [-v for v in FIVE_Y]))

# A file the reader refuses and one the run refuses, loaded and run by the
# module and by the tool: the same message.
FILE_CASES = {
    "missing file": (None, []),
    "count that is no number": ("title\r\n many\r\n", []),
    "upper surface first on the mapping route": (arf_text("up", UPPER_FIRST), ["--mapping"]),
    "listed from the nose": (arf_text("nose", list(zip(
        [0.0, 0.5, 1.0, 0.5, 0.0], FIVE_Y))), []),
    "surfaces that cross": (arf_text("cross", list(zip(
        [100, 30, 50, 0, 50, 100], [0, -4, -5, 0, 5, 0]))), ["--mapping"]),
}


@pytest.mark.parametrize("case", FILE_CASES)
def test_file_refusals_match_the_tool(tool, tmp_path, case):
    text, settings = FILE_CASES[case]
    path = tmp_path / "input.arf"
    if text is not None:
        path.write_bytes(text.encode())
    _, stdout, stderr = tool.run(*settings, path)
    assert stdout == b""
    expected = tool.messages(stderr)
    with pytest.raises(ValueError) as refusal:
        quilane.redistribute(quilane.load(path), mapping=bool(settings))
    assert program_message(refusal.value) == expected
    assert (path.read_bytes() if text is not None else None) == (
        text.encode() if text is not None else None)


def test_a_folder_is_refused_as_the_tool_refuses_it(tool, tmp_path):
    _, _, stderr = tool.run(tmp_path)
    with pytest.raises(ValueError) as refusal:
        quilane.load(tmp_path)
    assert str(refusal.value) == tool.messages(stderr)


NACA_REFUSALS = {
    "not a designation": (dict(code="24x2"), "24x2"),
    "too few points": (dict(code="0012", n=2), "at least 3 points"),
    "a formula that folds over": (dict(code="9999"), "gives no proper section"),
}


@pytest.mark.parametrize("case", NACA_REFUSALS)
def test_naca_refusals_are_the_generator_s(tool, case):
    arguments, named = NACA_REFUSALS[case]
    with pytest.raises(ValueError) as refusal:
        quilane.naca(**arguments)
    message = str(refusal.value)
    assert named in message and message.endswith(".")
    if "n" not in arguments:
        _, _, stderr = tool.run("--naca", arguments["code"])
        assert message == tool.messages(stderr)


def test_write_never_replaces_the_input(samples_dir, tmp_path):
    source = tmp_path / "wing.arf"
    source.write_bytes((samples_dir / "naca2412.arf").read_bytes())
    result = quilane.redistribute(quilane.load(source), n=41)
    for target in (source, tmp_path / "." / "wing.arf"):
        with pytest.raises(ValueError) as refusal:
            quilane.write(result, target)
        assert str(refusal.value).endswith(
            "; choose another output name so the input is not overwritten.")
    assert source.read_bytes() == (samples_dir / "naca2412.arf").read_bytes()
    # A camber file that would land on the input is refused too.
    camber_twin = tmp_path / "Camber_wing.arf"
    os.replace(source, camber_twin)
    result = quilane.redistribute(quilane.load(camber_twin), n=41)
    with pytest.raises(ValueError):
        quilane.write(result, tmp_path / "wing.arf")
    assert not (tmp_path / "wing.arf").exists()


def test_the_input_is_known_by_the_folder_it_was_read_in(samples_dir, tmp_path, monkeypatch):
    (tmp_path / "a").mkdir()
    (tmp_path / "b").mkdir()
    original = (samples_dir / "naca0012.arf").read_bytes()
    (tmp_path / "a" / "wing.arf").write_bytes(original)
    monkeypatch.chdir(tmp_path / "a")
    result = quilane.redistribute(quilane.load("wing.arf"), n=41)
    monkeypatch.chdir(tmp_path / "b")
    quilane.write(result, "wing.arf")  # another folder, another file
    with pytest.raises(ValueError, match="is the input file"):
        quilane.write(result, "../a/wing.arf")
    assert (tmp_path / "a" / "wing.arf").read_bytes() == original
    assert len(quilane.load(tmp_path / "b" / "wing.arf")) == 41


WRITE_REFUSALS = {
    "missing folder": ("no/such/folder/out.arf", "arf", 'the folder "no/such/folder" does not exist'),
    "empty name of a Selig file": ("", "selig", "No name was given for the Selig file"),
}


@pytest.mark.parametrize("case", WRITE_REFUSALS)
def test_write_refusals_leave_nothing_behind(samples_dir, tmp_path, monkeypatch, case):
    monkeypatch.chdir(tmp_path)
    name, layout, reason = WRITE_REFUSALS[case]
    result = quilane.redistribute(sample(samples_dir), n=21)
    with pytest.raises(ValueError) as refusal:
        quilane.write(result, name, format=layout)
    assert reason in str(refusal.value)
    assert list(pathlib.Path(tmp_path).iterdir()) == []


def test_write_refuses_an_unknown_format(samples_dir, tmp_path):
    result = quilane.redistribute(sample(samples_dir), n=21)
    with pytest.raises(ValueError, match='format must be "arf" or "selig", not "csv"'):
        quilane.write(result, tmp_path / "out.csv", format="csv")
    with pytest.raises(ValueError):
        result.text("xfoil")
    assert list(tmp_path.iterdir()) == []
