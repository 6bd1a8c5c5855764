"""Re-space the points of airfoil contours with the QuilaneConfMap engine.

Points run in the program's order: point 0 at the trailing edge, along the
lower surface to the nose, along the upper surface back to the trailing edge.
x is normalised to the chord, 0 at the nose and 1 at the trailing edge; y is
in the units of the input, neither shifted nor divided by the chord.
``coordinates(units="input")`` gives both in the input's own units, and
``coordinates(order="selig")`` upper surface first.

Every refusal of the program raises :class:`Error`, a ValueError carrying the
program's message, its code, where it happened and its way out.

    >>> import quilane
    >>> s = quilane.naca("2412")
    >>> r = quilane.redistribute(s, n=161, mapping=True)
    >>> quilane.write(r, "naca2412_161.dat", format="selig")
    ('naca2412_161.dat', 'Camber_naca2412_161.arf')
"""
from __future__ import annotations

import os
from typing import TYPE_CHECKING, Any, Callable, Dict, List, Literal, Optional, Sequence, Tuple, Union

import numpy as np
import numpy.typing as npt

from . import _core

__all__ = ["Error", "Section", "Result", "load", "naca", "redistribute", "redistribute_many",
           "write", "MAX_POINTS", "__version__"]

__version__: str = _core.VERSION
#: The most points a section or a result holds.
MAX_POINTS: int = _core.MAX_POINTS

if TYPE_CHECKING:
    _Order = Literal["program", "selig"]
    _Units = Literal["chord", "input"]
    _Method = Literal["lagrange", "pwcubic"]
    _Format = Literal["arf", "selig"]
    _FloatArray = npt.NDArray[np.float64]


class Error(ValueError):
    """A refusal of the program.

    ``str(error)`` is the program's message, led by ``Section "<name>": `` when
    a calculation refused a named section, with the way out on a line of its
    own when there is one.

    Attributes:
        code: what was refused, such as ``"point_count"``, ``"malformed_file"``,
            ``"outside_chord"`` or ``"usage"`` (a call the module does not take).
        where: where it happened, with only the keys that are known:
            ``"file"`` and ``"line"`` for a file, and one of ``"point"``,
            ``"panel"``, ``"station"``, ``"new_point"`` or ``"camber_point"``,
            numbered from 1 as the message numbers them.
        way_out: what to do instead, as a sentence ("" when the program knows
            no way).
        section: the name of the section refused, or None.
    """

    def __init__(self, message: str, code: str = "usage",
                 where: Optional[Dict[str, Union[str, int]]] = None, way_out: str = "",
                 section: Optional[str] = None) -> None:
        super().__init__(message)
        self.code = code
        self.where: Dict[str, Union[str, int]] = dict(where or {})
        self.way_out = way_out
        self.section = section

    def __reduce__(self) -> Tuple[Any, ...]:
        return (type(self), (str(self), self.code, self.where, self.way_out, self.section))


def _cached(make: Callable[[Any], Any]) -> Any:
    """A read-only property made once per object (kept in its __dict__, which
    pickling leaves out)."""
    key = "_cached_" + make.__name__

    def get(self: Any) -> Any:
        try:
            return self.__dict__[key]
        except KeyError:
            value = self.__dict__[key] = make(self)
            return value

    return property(get, doc=make.__doc__)


def _flag(value: object, what: str) -> bool:
    if isinstance(value, (bool, np.bool_)):
        return bool(value)
    raise TypeError(f"{what} must be True or False, not {type(value).__name__}.")


def _points(points: _FloatArray, chord: float, x_min: float, order: _Order,
            units: _Units) -> _FloatArray:
    if order not in ("program", "selig"):
        raise Error(f'order must be "program" or "selig", not {order!r}.')
    if units not in ("chord", "input"):
        raise Error(f'units must be "chord" or "input", not {units!r}.')
    out = points[::-1] if order == "selig" else points
    out = out.copy()
    if units == "input":
        out[:, 0] = x_min + chord * out[:, 0]
    return out


class _Points:
    """What a section and a result share: their points as read-only arrays,
    made once, and in another order or in the input's units."""

    _core: Any

    def _frame(self) -> Tuple[float, float]:
        """(chord, x_min) of the section the points are normalised by."""
        raise NotImplementedError

    @_cached
    def xy(self) -> _FloatArray:
        """The points as an (N, 2) array of x (chord units) and y (input
        units), read-only, in the program's order."""
        return self._core.points()  # type: ignore[no-any-return]

    @_cached
    def x(self) -> _FloatArray:
        """x of the points in chord units, 0 at the nose and 1 at the trailing edge (read-only)."""
        return self.xy[:, 0]

    @_cached
    def y(self) -> _FloatArray:
        """y of the points in the input's units (read-only)."""
        return self.xy[:, 1]

    def coordinates(self, *, order: _Order = "program", units: _Units = "chord") -> _FloatArray:
        """The points as a new (N, 2) array: in the program's order or upper
        surface first (``order="selig"``, as a Selig file lists them), with x
        in chord units or in the input's own (``units="input"``:
        ``x_min + chord * x`` of the section)."""
        return _points(self.xy, *self._frame(), order, units)

    def __array__(self, dtype: npt.DTypeLike = None) -> _FloatArray:
        return self.xy if dtype is None else self.xy.astype(dtype)

    def __len__(self) -> int:
        return len(self.xy)


class Section(_Points):
    """An airfoil contour in the program's point order.

    ``Section(x, y, name="")`` takes the points from two sequences of real
    numbers (numpy arrays of any integer or float type and layout, or lists;
    not masked arrays, whose mask would be lost), one x and one y per point,
    listed from the trailing edge around the contour in either direction: a
    point equal to the one before it is dropped and an upper-surface-first
    listing (the Selig order) is turned round, as the .dat reader does. Then
    the nose is the last point where x falls, and x is normalised to
    ``(x - x_min) / chord``. A section holds 2 to 1000 points; a calculation
    needs its nose between the two ends, so at least 3.

    Sections pickle, and compare by their values.
    """

    _core: Any

    def __init__(self, x: npt.ArrayLike, y: npt.ArrayLike, name: str = "") -> None:
        self._core = _core.section_from_arrays(x, y, name)

    @classmethod
    def _wrap(cls, core: Any) -> "Section":
        section = cls.__new__(cls)
        section._core = core
        return section

    def __reduce__(self) -> Tuple[Any, ...]:
        return (_section_from_state, (self._core.state(),))

    @property
    def name(self) -> str:
        """The section's name (the title of its file)."""
        return str(self._core.name)

    def _frame(self) -> Tuple[float, float]:
        return (self.chord, self.x_min)

    @property
    def nose_index(self) -> int:
        """Index into x and y of the nose (leading-edge) point, counted from 0."""
        return int(self._core.nose_index)

    @property
    def chord(self) -> float:
        """The chord in the input's units, before normalising: x of the last
        point where x rises (the trailing edge of the upper surface in the
        program's order) minus ``x_min``. Not always the largest minus the
        smallest x: a point may lie a little beyond the trailing edge."""
        return float(self._core.chord)

    @property
    def x_min(self) -> float:
        """x of the nose in the input's units, before normalising (the last
        point where x falls; a point of a cambered section may lie a little
        ahead of it)."""
        return float(self._core.x_min)

    @property
    def format(self) -> str:
        """Where the points came from: the file's layout ("arf", "Selig",
        "Lednicer", "ISES"), "naca" or "arrays"."""
        return str(self._core.format)

    @property
    def path(self) -> str:
        """The file that was read, "" for a generated section or arrays."""
        return str(self._core.path)

    @property
    def ignored_lines(self) -> Optional[int]:
        """Lines of notes after the contour that the reader passed over (0 for
        arrays and NACA; None when the reader does not tell)."""
        return self._core.ignored_lines  # type: ignore[no-any-return]

    @property
    def reversed(self) -> Optional[bool]:
        """Whether the points were listed the other way round from the
        layout's usual order and turned round (None when not known)."""
        return self._core.reversed  # type: ignore[no-any-return]

    def __eq__(self, other: object) -> bool:
        if not isinstance(other, Section):
            return NotImplemented
        return bool(_state_key(self._core.state()) == _state_key(other._core.state()))

    __hash__ = None  # type: ignore[assignment]

    def __repr__(self) -> str:
        return f'<quilane.Section "{self.name}", {len(self)} points, {self.format}>'


class Result(_Points):
    """New points and camber line of one calculation, with the section and
    the settings it ran with. Its points (``xy``, ``x``, ``y``) are the new
    points; the nose is point N // 2 for odd N. Results pickle, and compare
    by their values."""

    _core: Any
    _section: Section
    _settings: Dict[str, Any]

    def __init__(self) -> None:
        raise TypeError("Results come from quilane.redistribute or redistribute_many.")

    @classmethod
    def _wrap(cls, core: Any, section: Section, settings: Dict[str, Any]) -> "Result":
        result = cls.__new__(cls)
        result._core = core
        result._section = section
        result._settings = settings
        return result

    def __reduce__(self) -> Tuple[Any, ...]:
        return (_result_from_state, (self._core.state(), self._section, self._settings))

    def _frame(self) -> Tuple[float, float]:
        return self._section._frame()

    @_cached
    def camber_xy(self) -> _FloatArray:
        """The camber line as an (M, 2) array, read-only: midpoints of the new
        points paired about the middle one, from the nose to the trailing
        edge; x in chord units, y in the input's."""
        return self._core.camber()  # type: ignore[no-any-return]

    @_cached
    def camber_x(self) -> _FloatArray:
        """x of the camber line in chord units (read-only)."""
        return self.camber_xy[:, 0]

    @_cached
    def camber_y(self) -> _FloatArray:
        """y of the camber line in the input's units (read-only)."""
        return self.camber_xy[:, 1]

    def camber_coordinates(self, *, units: _Units = "chord") -> _FloatArray:
        """The camber line as a new (M, 2) array, x in chord units or in the
        input's own."""
        return _points(self.camber_xy, *self._frame(), "program", units)

    @property
    def report(self) -> Dict[str, Any]:
        """The quality report of the run, a dict: max_deviation and
        mean_deviation (chord units) with max_deviation_point (1-based new
        point) and max_deviation_x; blunt_trailing_edge; new_points and
        input_points (largest panel angle in degrees and its 1-based point,
        shortest and longest panel in chord units and their 1-based panels);
        text, the line ``quilane-redistribute --report`` prints; warning,
        empty up to 0.5 % of the chord."""
        return self._core.report()  # type: ignore[no-any-return]

    @property
    def title(self) -> str:
        """Title line of the written files: the section's name and " - redistributed"."""
        return str(self._core.title)

    @property
    def section(self) -> Section:
        """The section re-spaced."""
        return self._section

    @property
    def n(self) -> int:
        """Number of new points."""
        return len(self.xy)

    @property
    def mapping(self) -> bool:
        """Whether conformal mapping was used."""
        return bool(self._settings["mapping"])

    @property
    def method(self) -> str:
        """"lagrange" or "pwcubic"."""
        return str(self._settings["method"])

    @property
    def npoly(self) -> Optional[int]:
        """Degree of the Lagrange polynomial (None for pwcubic)."""
        return self._settings["npoly"]  # type: ignore[no-any-return]

    @property
    def on_spline(self) -> bool:
        """Whether the new points were placed on the curve through the input points."""
        return bool(self._settings["on_spline"])

    def text(self, format: _Format = "arf") -> bytes:
        """The bytes write() puts in the new-point file: "arf" (CR LF lines,
        5 decimals) or "selig" (LF lines, 6 decimals, upper surface first)."""
        return bytes(self._core.text(format))

    def plot(self, ax: Any = None) -> Any:
        """Draws the input points, the new points and the camber line with
        matplotlib, on equal axes in the input's units, into ``ax`` (a new
        figure's axes when None). Returns the axes."""
        from ._plot import plot_result
        return plot_result(self, ax)

    def __eq__(self, other: object) -> bool:
        if not isinstance(other, Result):
            return NotImplemented
        return bool(self._settings == other._settings and self._section == other._section
                    and _state_key(self._core.state()) == _state_key(other._core.state()))

    __hash__ = None  # type: ignore[assignment]

    def __repr__(self) -> str:
        settings = "mapping, " if self.mapping else "along the chord, "
        settings += f"lagrange npoly={self.npoly}" if self.method == "lagrange" else "pwcubic"
        if self.on_spline:
            settings += ", on spline"
        return f'<quilane.Result "{self.title}", {self.n} points, {settings}>'


def _state_key(state: Tuple[Any, ...]) -> Tuple[Any, ...]:
    """A state with its arrays as bytes, for comparing."""
    return tuple(v.tobytes() if isinstance(v, np.ndarray) else v for v in state)


def _section_from_state(state: Tuple[Any, ...]) -> Section:
    return Section._wrap(_core.section_from_state(state))


def _result_from_state(state: Tuple[Any, ...], section: Section,
                       settings: Dict[str, Any]) -> Result:
    return Result._wrap(_core.result_from_state(state), section, settings)


def load(path: Union[str, "os.PathLike[str]"]) -> Section:
    """Reads a coordinate file (*.arf, or a Selig, Lednicer or ISES .dat
    file, told by its content) into a Section, as the program's readers do."""
    return Section._wrap(_core.load(os.fspath(path)))


def naca(code: str, n: int = 201, blunt: bool = False) -> Section:
    """Generates the NACA 4- or 5-digit section ``code`` ("2412", "NACA
    23012") with n points, cosine spaced, chord 1; ``blunt=True`` gives the
    published open trailing edge, else a sharp one. (The tool quilane-naca
    writes 101 points unless told otherwise; ``--naca`` inputs of
    quilane-redistribute have 201, as here.)"""
    return Section._wrap(_core.naca(code, n, _flag(blunt, "blunt")))


def _settings(n: int, mapping: bool, method: str, npoly: Optional[int],
              on_spline: bool) -> Dict[str, Any]:
    if method == "pwcubic" and npoly is not None:
        raise Error('npoly is the degree of the Lagrange polynomial; leave it out with '
                    'method="pwcubic".')
    return {"n": n, "mapping": _flag(mapping, "mapping"), "method": method,
            "npoly": (1 if npoly is None else npoly) if method == "lagrange" else None,
            "on_spline": _flag(on_spline, "on_spline")}


def _section_core(section: object, what: str) -> Any:
    if not isinstance(section, Section):
        raise TypeError(f"{what} must be a quilane.Section, not {type(section).__name__}.")
    return section._core


def redistribute(section: Section, n: int = 51, mapping: bool = False,
                 method: _Method = "lagrange", npoly: Optional[int] = None,
                 on_spline: bool = False) -> Result:
    """Re-spaces ``section`` to n new points (2 to 1000) exactly as the program does.

    ``mapping=True`` lays the points out by conformal mapping (they crowd at
    the nose and the trailing edge); False places them along the chord at
    cosine spacing (both ends of the contour must lie at x = 1). ``method``
    "lagrange" interpolates with a polynomial of degree ``npoly`` (default 1,
    lower than the section's point count), "pwcubic" with the piecewise cubic
    spline (no npoly). ``on_spline=True`` then places each new point on a
    smooth curve through the input points (a cubic spline in arc length),
    where the method and the route put it; the ends stay the input's
    trailing-edge points. The interpreter lock is released while it runs.
    Raises Error naming the section when the program refuses."""
    core = _section_core(section, "section")
    settings = _settings(n, mapping, method, npoly, on_spline)
    run = _core.redistribute(core, settings["n"], settings["mapping"], method,
                             settings["npoly"], settings["on_spline"])
    return Result._wrap(run, section, settings)


def _thread_count(threads: Optional[int]) -> int:
    if threads is None:
        affinity = getattr(os, "sched_getaffinity", None)
        return len(affinity(0)) if affinity else (os.cpu_count() or 1)
    if isinstance(threads, bool) or not isinstance(threads, (int, np.integer)):
        raise TypeError(f"threads must be an integer or None, not {type(threads).__name__}.")
    if threads < 1:
        raise Error(f"threads must be 1 or more, not {threads}.")
    return int(threads)


def redistribute_many(sections: Sequence[Section], *, n: int = 51, mapping: bool = False,
                      method: _Method = "lagrange", npoly: Optional[int] = None,
                      on_spline: bool = False,
                      threads: Optional[int] = None) -> List[Union[Result, Error]]:
    """Re-spaces every section with the same settings, as redistribute() does,
    on ``threads`` threads (None: one per processor this process may use).

    Returns one answer per section, in order: its Result, or the Error that
    refused it (returned, not raised). Settings that no section could take
    (n or npoly out of range, an unknown method) raise Error at once."""
    sections = list(sections)
    cores = [_section_core(s, f"sections[{i}]") for i, s in enumerate(sections)]
    settings = _settings(n, mapping, method, npoly, on_spline)
    answers = _core.redistribute_many(cores, settings["n"], settings["mapping"], method,
                                      settings["npoly"], settings["on_spline"],
                                      _thread_count(threads))
    return [answer if isinstance(answer, Error) else Result._wrap(answer, section, settings)
            for answer, section in zip(answers, sections)]


def write(result: Result, path: Union[str, "os.PathLike[str]"],
          format: _Format = "arf") -> Tuple[str, str]:
    """Writes result's new points to ``path`` and its camber line beside it,
    as the command-line tool does: format "arf" (the program's layout) or
    "selig" (.dat, upper surface first); the camber file is "Camber_" and the
    name, always *.arf. Each file goes through a temporary file renamed into
    place; the file the section was read from is never replaced. Returns
    (path, camber_path)."""
    if not isinstance(result, Result):
        raise TypeError(f"result must be a quilane.Result, not {type(result).__name__}.")
    written = _core.write(result._core, result.section._core.absolute_path, os.fspath(path),
                          format)
    return (str(written[0]), str(written[1]))
