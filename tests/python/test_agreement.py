"""quilane.redistribute gives what quilane-redistribute writes, to the last
written digit, on every shipped sample and published section, every route and
every method; where the tool refuses, the module raises ValueError with the
tool's message."""
import pathlib

import pytest

import quilane
from conftest import program_message

ROUTES = {"chord": [], "mapping": ["--mapping"]}
METHODS = {
    "lagrange1": (["--lagrange", "1"], dict(method="lagrange", npoly=1)),
    "lagrange3": (["--lagrange", "3"], dict(method="lagrange", npoly=3)),
    "pwcubic": (["--pwcubic"], dict(method="pwcubic")),
}
POINT_COUNTS = [51, 161]


def input_files():
    import os
    samples = pathlib.Path(os.environ["QUILANE_SAMPLES_DIR"])
    shared = pathlib.Path(os.environ["QUILANE_SHARED_AIRFOILS_DIR"])
    files = sorted(samples.glob("*.arf")) + sorted(shared.glob("*/*.dat"))
    return [pytest.param(f, id=f"{f.parent.name}/{f.name}") for f in files]


def test_inputs_cover_the_samples_and_both_dat_layouts():
    ids = [p.id for p in input_files()]
    assert sum(i.startswith("samples/") for i in ids) >= 4
    assert any(i.startswith("selig/") for i in ids)
    assert any(i.startswith("lednicer/") for i in ids)


def outcome_of(section, n, route, method):
    try:
        return quilane.redistribute(section, n=n, mapping=route == "mapping",
                                    **METHODS[method][1]), None
    except ValueError as refusal:
        return None, program_message(refusal)


@pytest.mark.parametrize("n", POINT_COUNTS)
@pytest.mark.parametrize("method", METHODS)
@pytest.mark.parametrize("route", ROUTES)
@pytest.mark.parametrize("path", input_files())
def test_file_agrees_with_the_tool(tool, tmp_path, path, route, method, n):
    section = quilane.load(path)
    result, refusal = outcome_of(section, n, route, method)
    settings = ["-n", n, *ROUTES[route], *METHODS[method][0]]

    # The Selig text on standard output: six decimals.
    code, stdout, stderr = tool.run(*settings, "--format", "selig", path)
    if refusal is not None:
        assert code == 1 and stdout == b""
        assert refusal == tool.messages(stderr).replace("--mapping", "mapping=True")
        return
    assert code == 0, stderr
    assert result.text("selig") == stdout

    # The *.arf file and its camber file, written by both.
    code, _, stderr = tool.run(*settings, "-o", tmp_path / "tool.arf", path)
    assert code == 0, stderr
    written = quilane.write(result, tmp_path / "module.arf")
    assert written == (str(tmp_path / "module.arf"), str(tmp_path / "Camber_module.arf"))
    assert (tmp_path / "module.arf").read_bytes() == (tmp_path / "tool.arf").read_bytes()
    assert ((tmp_path / "Camber_module.arf").read_bytes()
            == (tmp_path / "Camber_tool.arf").read_bytes())


@pytest.mark.parametrize("code", ["0012", "2412", "23012"])
@pytest.mark.parametrize("method", METHODS)
@pytest.mark.parametrize("route", ROUTES)
def test_naca_agrees_with_the_tool(tool, code, route, method):
    result, refusal = outcome_of(quilane.naca(code), 101, route, method)
    assert refusal is None
    status, stdout, stderr = tool.run("-n", 101, *ROUTES[route], *METHODS[method][0],
                                      "--format", "selig", "--naca", code)
    assert status == 0, stderr
    assert result.text("selig") == stdout


def test_open_trailing_edge_refusal_names_the_module_s_way_out(tool, shared_airfoils_dir):
    # A published section whose ends do not both lie at x = 1 is refused along
    # the chord with the same message and way out as the tool, the module
    # naming its own argument where the tool names its option.
    for path in sorted(shared_airfoils_dir.glob("*/*.dat")):
        section = quilane.load(path)
        if section.x[0] == 1.0 and section.x[-1] == 1.0:
            continue
        with pytest.raises(quilane.Error) as refusal:
            quilane.redistribute(section)
        error = refusal.value
        first, second = program_message(error).split("\n")
        assert (error.code, error.where, error.section, error.way_out) == (
            "station_out_of_range", {"station": 1}, section.name, second)
        assert first.endswith(" is not in the given interpolation range")
        assert "open trailing edge" in second
        assert second.endswith("; for this section use mapping=True.")
        _, _, stderr = tool.run(path)
        assert tool.messages(stderr) == f"{first}\n{second.replace('mapping=True', '--mapping')}"
        return
    pytest.fail("no published section with an open trailing edge among the shared files")


@pytest.mark.parametrize("on_spline", [False, True])
@pytest.mark.parametrize("route", ROUTES)
@pytest.mark.parametrize("path", input_files()[:4])
def test_report_is_the_tool_s_report_line(tool, path, route, on_spline):
    # The report comes from the same run as the tool's --report line.
    section = quilane.load(path)
    result = quilane.redistribute(section, n=101, mapping=route == "mapping",
                                  method="pwcubic", on_spline=on_spline)
    code, _, stderr = tool.run("-n", 101, *ROUTES[route], "--pwcubic", "--report",
                               *(["--on-spline"] if on_spline else []), "--format", "selig", path)
    assert result.on_spline == on_spline
    assert result.report["text"].endswith("a spline through the input") == on_spline
    assert code == 0, stderr
    lines = stderr.splitlines()
    assert lines[0] == f"{path}: {result.report['text']}"
    report = result.report
    assert 0.0 <= report["mean_deviation"] <= report["max_deviation"] < 0.005
    assert 1 <= report["max_deviation_point"] <= 101
    assert report["warning"] == ""
    assert report["new_points"]["shortest"] <= report["new_points"]["longest"]
