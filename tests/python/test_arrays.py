"""Section(x, y, name): arrays follow the readers' rules for order, repeats,
nose and chord, in any numeric type and memory layout; anything else is a
ValueError, never a crash."""
import numpy as np
import pytest

import quilane


def selig_points(path):
    """x and y of a Selig file's coordinate lines, read here independently."""
    lines = path.read_text().splitlines()[1:]
    pairs = [tuple(map(float, line.split())) for line in lines if line.strip()]
    return np.array([p[0] for p in pairs]), np.array([p[1] for p in pairs])


def test_selig_arrays_give_the_section_the_reader_gives(shared_airfoils_dir):
    files = sorted((shared_airfoils_dir / "selig").glob("*.dat"))
    assert files
    for path in files:
        x, y = selig_points(path)
        from_file = quilane.load(path)
        for given in ((x, y), (x[::-1], y[::-1])):  # upper or lower surface first
            section = quilane.Section(*given, name=from_file.name)
            assert np.array_equal(section.x, from_file.x), path.name
            assert np.array_equal(section.y, from_file.y), path.name
            assert (section.nose_index, section.chord) == (from_file.nose_index,
                                                           from_file.chord)
        assert quilane.Section(x, y).reversed is True
        assert quilane.Section(x[::-1], y[::-1]).reversed is False


def test_nose_chord_and_normalised_x():
    # The same five-point contour shifted and scaled in x: nose, chord and x
    # from the neighbour steps; y stays as given.
    section = quilane.Section([110.0, 60.0, 10.0, 60.0, 110.0], [0.0, -5.0, 0.0, 5.0, 0.0],
                              name="scaled")
    assert section.nose_index == 2 and section.chord == 100.0 and section.x_min == 10.0
    assert list(section.x) == [1.0, 0.5, 0.0, 0.5, 1.0]
    assert list(section.y) == [0.0, -5.0, 0.0, 5.0, 0.0]
    assert (section.name, section.format, section.path, len(section)) == (
        "scaled", "arrays", "", 5)


def test_exact_repeats_are_dropped_like_the_dat_reader_drops_them():
    x = [1.0, 0.5, 0.0, 0.0, 0.5, 1.0]
    y = [0.0, -0.05, 0.0, 0.0, 0.05, 0.0]
    section = quilane.Section(x, y)
    assert len(section) == 5 and list(section.x) == [1.0, 0.5, 0.0, 0.5, 1.0]


def test_any_numeric_type_and_layout_gives_the_same_section():
    x = np.array([1.0, 0.5, 0.0, 0.5, 1.0])
    y = np.array([0.0, -0.05, 0.0, 0.05, 0.0])
    reference = quilane.Section(x, y)
    scaled_int = quilane.Section(np.array([100, 50, 0, 50, 100], dtype=np.int16),
                                 np.array([0, -5, 0, 5, 0], dtype=np.int8))
    assert list(scaled_int.x) == list(reference.x) and list(scaled_int.y) == [0, -5, 0, 5, 0]
    interleaved = np.empty(10)
    interleaved[0::2], interleaved[1::2] = x, y
    strided = quilane.Section(interleaved[0::2], interleaved[1::2])
    fortran = np.asfortranarray(np.stack([x, y]))
    from_rows = quilane.Section(fortran[0], fortran[1])
    as_lists = quilane.Section(x.tolist(), y.tolist())
    as_float32 = quilane.Section(x.astype(np.float32), y.astype(np.float32))
    for other in (strided, from_rows, as_lists):
        assert np.array_equal(other.x, reference.x) and np.array_equal(other.y, reference.y)
    assert np.allclose(as_float32.y, reference.y, atol=1e-7)
    assert reference.x.dtype == np.float64


def test_arrays_handed_back_are_read_only_copies():
    x = np.array([1.0, 0.5, 0.0, 0.5, 1.0])
    section = quilane.Section(x, [0.0, -0.05, 0.0, 0.05, 0.0])
    with pytest.raises(ValueError):
        section.x[0] = 7.0
    x[2] = 0.25  # the caller's array is not the section's
    assert section.x[2] == 0.0


def five(y_middle=0.0):
    return [1.0, 0.5, 0.0, 0.5, 1.0], [0.0, -0.05, y_middle, 0.05, 0.0]


NAN_Y = five(float("nan"))

ARRAY_REFUSALS = {
    "no points": (([], []), {}, "holds 0 points"),
    "one point": (([0.5], [0.0]), {}, "holds 1 point ("),
    "two points with one x": (([0.5, 0.5], [0.0, 1.0]), {}, "same x in every record"),
    "a nan": ((NAN_Y[0], NAN_Y[1]), {}, "y[2] = nan, which is not a finite number"),
    "an infinity in x": (([1.0, np.inf, 0.0], [0.0, 0.0, 0.0]), {}, "x[1] = inf"),
    "lengths differ": (([1.0, 0.0, 1.0], [0.0, 0.1]), {}, "3 x values and 2 y values"),
    "2000 distinct points": ((np.cos(np.linspace(0, 2 * np.pi, 2000)),
                              np.sin(np.linspace(0, 2 * np.pi, 2000))), {},
                             "holds 2000 points"),
    "more values than a file may hold": ((np.zeros(2001), np.zeros(2001)), {},
                                         "at most 1000 points"),
    "x never decreases": (([0.0, 0.5, 1.0], [0.0, 0.1, 0.0]), {}, "never decrease"),
    "a table of x and y in one array": ((np.zeros((5, 2)), np.zeros(5)), {},
                                        "got shape (5, 2)"),
    "a single number": ((3.0, [1.0]), {}, "got shape ()"),
    "complex values": ((np.array(five()[0]) + 0j, five()[1]), {}, "dtype complex128"),
    "booleans": (([True, False, True], [False, False, True]), {}, "dtype bool"),
    "text": ((["1", "0", "1"], [0, 0, 0]), {}, "dtype <U1"),
    "a line break in the name": (five(), {"name": "a\nb"}, "line break"),
    "a name too long": (five(), {"name": "é" * 1001}, "more than 1000 characters"),
}


@pytest.mark.parametrize("case", ARRAY_REFUSALS)
def test_array_refusals(case):
    arrays, keywords, reason = ARRAY_REFUSALS[case]
    with pytest.raises(ValueError) as refusal:
        quilane.Section(*arrays, **keywords)
    assert reason in str(refusal.value)


def test_a_name_of_1000_characters_is_taken():
    assert quilane.Section(*five(), name="é" * 1000).name == "é" * 1000


def test_two_points_are_turned_round_as_a_dat_listing_is():
    # Two points enclose no area, so, as in a .dat file, they are taken as
    # listed upper surface first and turned round.
    with pytest.raises(ValueError, match="never decrease"):
        quilane.Section([1.0, 0.0], [0.0, 0.0])
    section = quilane.Section([0.0, 1.0], [0.0, 0.0])
    assert list(section.x) == [1.0, 0.0] and section.nose_index == 1
    for mapping in (False, True):
        for method in ("lagrange", "pwcubic"):
            try:
                result = quilane.redistribute(section, n=11, mapping=mapping, method=method)
            except ValueError as refusal:
                assert str(refusal)
            else:
                assert np.all(np.isfinite(result.x)) and np.all(np.isfinite(result.y))
