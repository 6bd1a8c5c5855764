"""Result.plot: the input, the new points and the camber line on one axes."""
from __future__ import annotations

from typing import TYPE_CHECKING, Any

if TYPE_CHECKING:
    from . import Result as _Result


def plot_result(result: "_Result", ax: Any = None) -> Any:
    """Draws into ``ax`` (a new figure's axes when None) in the input's units,
    with equal scales on x and y so that the shape is not distorted."""
    try:
        import matplotlib  # type: ignore[import]  # noqa: F401
    except ImportError as missing:
        raise ImportError(
            "Result.plot draws with matplotlib, which is not installed: install it "
            "(Debian: apt install python3-matplotlib; elsewhere: pip install matplotlib)."
        ) from missing
    if ax is None:
        import matplotlib.pyplot as plt  # type: ignore[import]
        _, ax = plt.subplots()
    section = result.section
    given = section.coordinates(units="input")
    new = result.coordinates(units="input")
    camber = result.camber_coordinates(units="input")
    ax.plot(given[:, 0], given[:, 1], "-", color="red", linewidth=0.8,
            label=f"input, {len(section)} points")
    ax.plot(new[:, 0], new[:, 1], "o", color="blue", markersize=2.5,
            label=f"new, {result.n} points")
    ax.plot(camber[:, 0], camber[:, 1], "-", color="magenta", linewidth=0.8,
            label="camber line")
    ax.set_aspect("equal", adjustable="datalim")
    ax.set_title(result.title)
    ax.set_xlabel("x")
    ax.set_ylabel("y")
    ax.legend(loc="best", fontsize="small")
    return ax
