"""The array entry under random shapes, types, layouts and values: every call
gives a Section or a ValueError (a Result or a ValueError for the run that
follows), never another error and never a crash; what is accepted keeps the
readers' invariants. Seeded, so a failure repeats; QUILANE_RANDOM_CASES sets
the number of cases."""
import os

import numpy as np
import pytest

import quilane
from conftest import program_message

CASES = int(os.environ.get("QUILANE_RANDOM_CASES", "1500"))
LENGTHS = [0, 1, 2, 3, 4, 5, 7, 50, 201, 250, 251, 999, 1000, 1001, 1999, 2000, 2001]
DTYPES = [np.float64, np.float32, np.float16, np.int64, np.int32, np.int8, np.uint16,
          np.complex128, np.bool_, object]


def contour(rng, length):
    """A closed, airfoil-like loop of `length` points, possibly tilted, scaled,
    shifted, jittered and in either direction."""
    theta = np.linspace(0.0, 2.0 * np.pi, length) if length else np.zeros(0)
    x = 0.5 * (np.cos(theta) + 1.0)
    y = rng.uniform(0.01, 0.2) * np.sin(theta) * (1.0 + rng.uniform(-0.5, 0.5) * x)
    if rng.random() < 0.3:
        x = x + rng.normal(0.0, 10.0 ** rng.uniform(-9, -1), length)
    angle = rng.uniform(-0.5, 0.5) if rng.random() < 0.3 else 0.0
    x, y = x * np.cos(angle) - y * np.sin(angle), x * np.sin(angle) + y * np.cos(angle)
    scale = 10.0 ** rng.uniform(-200, 200) if rng.random() < 0.1 else rng.uniform(0.1, 1000)
    x, y = x * scale + rng.normal(0, scale), y * scale
    if rng.random() < 0.5:
        x, y = x[::-1], y[::-1]
    return x, y


def values(rng, length):
    kind = rng.integers(5)
    if kind == 0:
        return rng.normal(0.0, 10.0 ** rng.uniform(-5, 5), (2, length))
    if kind == 1:  # repeats and constant runs
        return rng.integers(-3, 4, (2, length)).astype(float)
    return np.array(contour(rng, length))


def spoil(rng, arrays):
    x, y = arrays
    choice = rng.integers(12)
    if choice == 0 and x.size:
        (x if rng.random() < 0.5 else y)[rng.integers(x.size)] = rng.choice(
            [np.nan, np.inf, -np.inf, 1e308, -1e308, 5e-324])
    elif choice == 1:
        y = y[: max(0, y.size - 1 - rng.integers(3))]
    elif choice == 2:
        x = x.reshape(1, -1) if rng.random() < 0.5 else np.stack([x, x])
    return x, y


def layout(rng, array):
    choice = rng.integers(5)
    if choice == 0 and array.ndim == 1:  # every other element of a longer buffer
        wide = np.zeros(2 * array.size, dtype=array.dtype)
        wide[::2] = array
        return wide[::2]
    if choice == 1 and array.ndim == 1:
        return array[::-1].copy()[::-1]
    if choice == 2:
        return array.tolist()
    if choice == 3 and array.ndim == 1:  # a row of a Fortran-ordered table
        return np.asfortranarray(np.stack([array, array]))[0]
    return array


def cast(rng, array):
    dtype = DTYPES[rng.integers(len(DTYPES))] if rng.random() < 0.3 else np.float64
    with np.errstate(all="ignore"):
        return np.asarray(array).astype(dtype)


def test_random_arrays_give_a_section_or_a_value_error():
    rng = np.random.default_rng(20261209)
    accepted = refused = results = 0
    for case in range(CASES):
        length = int(rng.choice(LENGTHS)) if rng.random() < 0.6 else int(rng.integers(0, 300))
        x, y = spoil(rng, values(rng, length))
        x, y = layout(rng, cast(rng, x)), layout(rng, cast(rng, y))
        try:
            section = quilane.Section(x, y, name=f"case {case}")
        except ValueError as refusal:
            assert str(refusal), case
            refused += 1
            continue
        accepted += 1
        assert 2 <= len(section) <= quilane.MAX_POINTS, case
        assert np.all(np.isfinite(section.x)) and np.all(np.isfinite(section.y)), case
        assert section.x[section.nose_index] == 0.0, case
        assert section.chord > 0.0 and np.isfinite(section.chord), case

        n = int(rng.choice([-1, 0, 2, 3, 51, 161, 1000, 1001, 5000])) if rng.random() < 0.3 \
            else int(rng.integers(2, 400))
        method = "lagrange" if rng.random() < 0.5 else "pwcubic"
        npoly = int(rng.integers(-1, min(len(section) + 2, 12)))
        try:
            result = quilane.redistribute(section, n=n, mapping=bool(rng.random() < 0.5),
                                          method=method, npoly=npoly)
        except ValueError as refusal:
            assert str(refusal), case
            continue
        results += 1
        assert 2 <= n <= 1000 and len(result) == n, case
        assert len(result.camber_x) == (n + 1) // 2 == len(result.camber_y), case
        for array in (result.x, result.y, result.camber_x, result.camber_y):
            assert array.dtype == np.float64 and np.all(np.isfinite(array)), case
    # The draw reaches both outcomes of both steps.
    assert accepted > CASES // 10 and refused > CASES // 10 and results > CASES // 20


@pytest.mark.parametrize("seed", range(3))
def test_random_sections_agree_with_the_tool_through_files(tool, tmp_path, seed):
    # A Section from arrays, written as a Selig file and given to the tool,
    # gives the tool's numbers: the arrays take the same road as the files.
    rng = np.random.default_rng(seed)
    x, y = contour(rng, int(rng.integers(20, 240)))
    x, y = np.round(x, 6), np.round(y, 6)
    path = tmp_path / "random.dat"
    path.write_text("random\n" + "".join(f"{a:.6f} {b:.6f}\n" for a, b in zip(x, y)))
    section = quilane.Section(x, y, name="random")
    for mapping in (False, True):
        settings = ["--mapping"] if mapping else []
        code, stdout, stderr = tool.run("-n", 81, *settings, "--format", "selig", path)
        try:
            text = quilane.redistribute(section, n=81, mapping=mapping).text("selig")
        except ValueError as refusal:
            assert code == 1 and program_message(refusal) == tool.messages(stderr).replace(
                "--mapping", "mapping=True")
        else:
            assert code == 0 and text == stdout


def tilted_copy_deviation(angle):
    """Largest distance between the new points of a copy of NACA 0012 turned
    by `angle` about its nose (and scaled so that its x runs from 0 to 1
    again) and the copy of the section's new points, on the mapping route."""
    base = quilane.naca("0012", n=121)
    rotation = np.array([[np.cos(angle), -np.sin(angle)], [np.sin(angle), np.cos(angle)]])
    turned = rotation @ np.vstack([base.x, base.y])
    low, high = turned[0].min(), turned[0].max()

    def copy_of(points):
        return (points[0] - low) / (high - low), points[1] / (high - low)

    copy = quilane.Section(*copy_of(turned))
    assert copy.nose_index == base.nose_index  # the same point is the nose
    result = quilane.redistribute(base, n=101, mapping=True)
    expected_x, expected_y = copy_of(rotation @ np.vstack([result.x, result.y]))
    copied = quilane.redistribute(copy, n=101, mapping=True)
    return max(np.abs(copied.x - expected_x).max(), np.abs(copied.y - expected_y).max())


def test_an_untilted_copy_gives_the_same_result():
    assert tilted_copy_deviation(0.0) == 0.0


# The mapping works in the section's chord frame (nose to trailing-edge
# midpoint), so the copy's new points are the copy of the new points.
@pytest.mark.parametrize("angle", [0.03, -0.03])
def test_a_tilted_copy_gives_the_tilted_copy_of_the_result(angle):
    assert tilted_copy_deviation(angle) < 1e-10
