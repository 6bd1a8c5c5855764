"""The package as a library: pickling, threads, array views and units, the
Error's fields, argument types and the plot."""
import concurrent.futures
import inspect
import pickle
import sys

import numpy as np
import pytest

import quilane
from quilane import _core


def sections(samples_dir, shared_airfoils_dir):
    paths = sorted(samples_dir.glob("*.arf")) + sorted(shared_airfoils_dir.glob("*/*.dat"))
    return [quilane.load(path) for path in paths]


def same_answer(a, b):
    if isinstance(a, quilane.Error):
        return isinstance(b, quilane.Error) and (str(a), a.code, a.where) == (
            str(b), b.code, b.where)
    return a == b and np.array_equal(a.xy, b.xy) and a.report == b.report


def outcome(section, **settings):
    try:
        return quilane.redistribute(section, **settings)
    except quilane.Error as error:
        return error


def test_pickled_sections_results_and_errors_come_back_equal(samples_dir, tmp_path):
    loaded = quilane.load(samples_dir / "naca4412.arf")
    given = [loaded, quilane.naca("23012", n=121, blunt=True),
             quilane.Section(10 * loaded.x + 3, 10 * loaded.y, name="scaled")]
    for section in given:
        result = quilane.redistribute(section, n=81, mapping=True, method="pwcubic")
        for original in (section, result):
            copy = pickle.loads(pickle.dumps(original))
            assert copy == original and copy is not original
            assert np.array_equal(copy.xy, original.xy) and not copy.xy.flags.writeable
        copy = pickle.loads(pickle.dumps(result))
        assert copy.report == result.report and copy.text("selig") == result.text("selig")
        assert repr(copy) == repr(result) and copy.section.path == section.path
        # The section keeps the file it was read from: a copy cannot overwrite it either.
        if section.path:
            with pytest.raises(quilane.Error, match="is the input file"):
                quilane.write(copy, section.path)
    error = outcome(loaded, npoly=500)
    copy = pickle.loads(pickle.dumps(error))
    assert (type(copy), str(copy), copy.code, copy.section) == (
        quilane.Error, str(error), "degree_not_below_n", loaded.name)


DAMAGED_STATES = {
    "too few fields": lambda s: s[:5],
    "x and y of different lengths": lambda s: (s[0], s[1][:-1]) + s[2:],
    "nose beyond the points": lambda s: s[:3] + (10**6,) + s[4:],
    "a chord of zero": lambda s: s[:5] + (0.0,) + s[6:],
    "a nan among the points": lambda s: (s[0], np.where(np.arange(len(s[1])) == 3, np.nan, s[1]))
    + s[2:],
}


@pytest.mark.parametrize("case", DAMAGED_STATES)
def test_a_damaged_pickle_is_refused(case):
    state = quilane.naca("0012", n=31)._core.state()
    with pytest.raises(quilane.Error, match="is damaged"):
        _core.section_from_state(DAMAGED_STATES[case](state))


def test_redistribute_many_answers_as_redistribute_does_in_order(samples_dir,
                                                                 shared_airfoils_dir):
    given = sections(samples_dir, shared_airfoils_dir)
    given.insert(3, quilane.Section([1.0, 0.5, 0.0], [0.0, -0.1, 0.0], name="nose last"))
    for settings in (dict(n=101), dict(n=101, mapping=True, method="pwcubic", on_spline=True)):
        one_by_one = [outcome(s, **settings) for s in given]
        assert any(isinstance(a, quilane.Error) for a in one_by_one)  # a refusal among them
        for threads in (1, 2, 5, None):
            answers = quilane.redistribute_many(given, threads=threads, **settings)
            assert len(answers) == len(given)
            assert [i for i, (a, b) in enumerate(zip(answers, one_by_one))
                    if not same_answer(a, b)] == []
    assert quilane.redistribute_many([], n=11) == []


def test_python_threads_and_processes_give_the_serial_answers(samples_dir, shared_airfoils_dir):
    given = sections(samples_dir, shared_airfoils_dir)
    serial = [outcome(s, n=161, mapping=True) for s in given]
    with concurrent.futures.ThreadPoolExecutor(4) as pool:
        threaded = list(pool.map(lambda s: outcome(s, n=161, mapping=True), given))
    assert all(same_answer(a, b) for a, b in zip(threaded, serial))
    usable = [s for s, a in zip(given, serial) if not isinstance(a, quilane.Error)][:4]
    with concurrent.futures.ProcessPoolExecutor(2) as pool:
        answers = list(pool.map(quilane.redistribute, usable, [161] * 4, [True] * 4))
    assert all(a == outcome(s, n=161, mapping=True) for a, s in zip(answers, usable))


SETTING_REFUSALS = {
    "settings no section takes": (dict(n=5000), quilane.Error, "not a whole number from 2"),
    "npoly with pwcubic": (dict(method="pwcubic", npoly=3), quilane.Error, "leave it out"),
    "mapping None": (dict(mapping=None), TypeError, "mapping must be True or False"),
    "mapping 1": (dict(mapping=1), TypeError, "not int"),
    "on_spline text": (dict(on_spline="yes"), TypeError, "on_spline must be True or False"),
    "no threads": (dict(threads=0), quilane.Error, "threads must be 1 or more"),
    "threads as text": (dict(threads="2"), TypeError, "threads must be an integer"),
}


@pytest.mark.parametrize("case", SETTING_REFUSALS)
def test_setting_refusals(case):
    settings, kind, reason = SETTING_REFUSALS[case]
    with pytest.raises(kind, match=reason):
        quilane.redistribute_many([quilane.naca("0012")], **settings)
    if "threads" not in settings:
        with pytest.raises(kind, match=reason):
            quilane.redistribute(quilane.naca("0012"), **settings)


def test_masked_arrays_and_non_sections_are_refused():
    x = np.ma.masked_array([1.0, 0.5, 0.0, 0.5, 1.0], mask=[0, 0, 1, 0, 0])
    with pytest.raises(TypeError, match="x is a masked array"):
        quilane.Section(x, [0.0, -0.05, 0.0, 0.05, 0.0])
    with pytest.raises(TypeError, match=r"sections\[1\] must be a quilane.Section"):
        quilane.redistribute_many([quilane.naca("0012"), "0012"])


ERROR_FIELDS = {
    "a file line": ("title\r\n 3\r\n 1 1.0 zero\r\n", dict(),
                    ("malformed_file", {"file": "<path>", "line": 3}, "")),
    "a nose at the end": ("nose\r\n 3\r\n 1 1 0\r\n 2 0.5 0\r\n 3 0 0\r\n", dict(),
                          ("nose_at_end", {"point": 3}, "")),
    "a way out": ("open\r\n 5\r\n 1 0.99 0\r\n 2 0.5 -0.05\r\n 3 0 0\r\n 4 0.5 0.05\r\n"
                  " 5 1 0\r\n", dict(), ("station_out_of_range", {"station": 1}, "mapping=True")),
}


@pytest.mark.parametrize("case", ERROR_FIELDS)
def test_error_fields_say_what_where_and_the_way_out(tmp_path, case):
    text, settings, (code, where, way_out) = ERROR_FIELDS[case]
    path = tmp_path / "wing.arf"
    path.write_bytes(text.encode())
    with pytest.raises(quilane.Error) as refused:
        quilane.redistribute(quilane.load(path), **settings)
    error = refused.value
    assert isinstance(error, ValueError)
    expected_where = {k: str(path) if v == "<path>" else v for k, v in where.items()}
    assert (error.code, error.where) == (code, expected_where)
    assert way_out in error.way_out and str(error).endswith(error.way_out)
    if error.section is not None:
        assert str(error).startswith(f'Section "{error.section}": ')


def test_arrays_are_cached_read_only_views(samples_dir):
    result = quilane.redistribute(quilane.load(samples_dir / "naca2412.arf"), n=41)
    for owner in (result, result.section):
        assert owner.x is owner.x and owner.xy is owner.xy
        assert np.shares_memory(owner.x, owner.xy) and np.shares_memory(owner.y, owner.xy)
        assert owner.xy.shape == (len(owner), 2) and not owner.xy.flags.writeable
        assert np.asarray(owner) is owner.xy
        assert np.asarray(owner, dtype=np.float32).dtype == np.float32
    assert np.array_equal(result.camber_xy, np.column_stack([result.camber_x, result.camber_y]))


def test_coordinates_in_the_input_s_units_and_the_selig_order(samples_dir):
    loaded = quilane.load(samples_dir / "naca4412.arf")
    unit = quilane.Section(loaded.x, loaded.y)  # chord 1, nose at x = 0
    chord, x_min = 250.0, -40.0
    given = np.column_stack([x_min + chord * unit.x, chord * unit.y])
    scaled = quilane.Section(given[:, 0], given[:, 1], name="wing")
    assert (scaled.chord, scaled.x_min) == (chord, x_min)
    assert np.allclose(scaled.coordinates(units="input"), given, rtol=0, atol=1e-12 * chord)
    assert np.array_equal(scaled.coordinates(order="selig"), scaled.xy[::-1])
    # The calculation does not depend on the units: the scaled result, back in
    # the input's units, is the unit result scaled.
    for settings in (dict(n=61), dict(n=61, mapping=True, method="pwcubic")):
        small = quilane.redistribute(unit, **settings).xy
        large = quilane.redistribute(scaled, **settings).coordinates(units="input")
        assert np.allclose(large, [x_min, 0] + chord * small, rtol=0, atol=1e-9 * chord)
    # Selig order is the order of a written Selig file.
    result = quilane.redistribute(loaded, n=61)
    written = np.loadtxt(result.text("selig").decode().splitlines()[1:])
    assert np.allclose(written, result.coordinates(order="selig"), rtol=0, atol=5e-7)
    with pytest.raises(quilane.Error, match='units must be "chord" or "input"'):
        result.coordinates(units="mm")


def test_signatures_are_named_and_typed():
    parameters = inspect.signature(quilane.redistribute_many).parameters
    assert list(parameters) == ["sections", "n", "mapping", "method", "npoly", "on_spline",
                                "threads"]
    assert parameters["threads"].kind is inspect.Parameter.KEYWORD_ONLY
    assert list(inspect.signature(quilane.Section).parameters) == ["x", "y", "name"]


def test_plot_draws_the_three_curves_in_the_input_s_units(samples_dir, monkeypatch):
    matplotlib = pytest.importorskip("matplotlib")
    matplotlib.use("Agg")
    unit = quilane.load(samples_dir / "naca2412.arf")
    section = quilane.Section(5 * unit.x + 1, 5 * unit.y, name="wing")
    result = quilane.redistribute(section, n=31, mapping=True)
    ax = result.plot()
    given, new, camber = ax.get_lines()
    assert np.allclose(new.get_xydata(), result.coordinates(units="input"))
    assert np.allclose(given.get_xydata(), section.coordinates(units="input"))
    assert np.allclose(camber.get_xydata(), result.camber_coordinates(units="input"))
    assert ax.get_aspect() == 1.0 and ax.get_title() == result.title
    monkeypatch.setitem(sys.modules, "matplotlib", None)
    with pytest.raises(ImportError, match="python3-matplotlib"):
        result.plot()
