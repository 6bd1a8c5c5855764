"""What write() puts in a file, load() reads back: the new points to the
file's decimals, the title, and the program's point order."""
import numpy as np
import pytest

import quilane

LAYOUTS = {"arf": 5, "selig": 6}  # decimals written


@pytest.mark.parametrize("layout", LAYOUTS)
@pytest.mark.parametrize("mapping", [False, True])
def test_written_result_loads_back(samples_dir, tmp_path, layout, mapping):
    result = quilane.redistribute(quilane.load(samples_dir / "naca4412.arf"), n=161,
                                  mapping=mapping, method="pwcubic")
    path, camber_path = quilane.write(result, tmp_path / f"out.{layout}", format=layout)
    back = quilane.load(path)
    decimals = LAYOUTS[layout]
    assert back.format == ("arf" if layout == "arf" else "Selig")
    assert back.name == "NACA 4412 - redistributed" == result.title
    assert len(back) == 161
    # Loading normalises x again (new points may lie slightly ahead of the
    # nose); undone, it gives the written values.
    x_written = back.x * back.chord + back.x_min
    half_unit = 0.5 * 10.0 ** -decimals + 1e-12
    assert np.max(np.abs(x_written - result.x)) <= half_unit
    assert np.max(np.abs(back.y - result.y)) <= half_unit
    camber_lines = open(camber_path, "rb").read().split(b"\r\n")
    assert camber_lines[:2] == [b"NACA 4412 - redistributed", b" 81 "]
    assert len(camber_lines) == 2 + 81 + 1 == 2 + len(result.camber_x) + 1


def test_written_text_is_the_text_method_s(samples_dir, tmp_path):
    result = quilane.redistribute(quilane.naca("23012", n=151), n=75, mapping=True)
    for layout in LAYOUTS:
        path, _ = quilane.write(result, tmp_path / f"n.{layout}", format=layout)
        assert (tmp_path / f"n.{layout}").read_bytes() == result.text(layout)
    assert result.text("arf").startswith(b"NACA 23012 - redistributed\r\n 75 \r\n  1  1.00000  ")


def test_selig_camber_file_is_arf_beside_it(tmp_path):
    result = quilane.redistribute(quilane.naca("0012"), n=51)
    written = quilane.write(result, tmp_path / "wing.dat", format="selig")
    assert written == (str(tmp_path / "wing.dat"), str(tmp_path / "Camber_wing.arf"))
    assert sorted(p.name for p in tmp_path.iterdir()) == ["Camber_wing.arf", "wing.dat"]


def test_rewriting_replaces_the_earlier_result(tmp_path):
    target = tmp_path / "again.arf"
    for n in (31, 41):
        quilane.write(quilane.redistribute(quilane.naca("2412"), n=n), target)
    assert len(quilane.load(target)) == 41
    assert sorted(p.name for p in tmp_path.iterdir()) == ["Camber_again.arf", "again.arf"]


@pytest.mark.parametrize("name", ["wing, root", "  leading blanks", 'quote "A"', "Flügel é"])
def test_names_of_array_sections_come_back_from_an_arf_file(tmp_path, name):
    naca = quilane.naca("2412", n=61)
    section = quilane.Section(naca.x, naca.y, name=name)
    path, _ = quilane.write(quilane.redistribute(section, n=41), tmp_path / "named.arf")
    assert quilane.load(path).name == name + " - redistributed"
