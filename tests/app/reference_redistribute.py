#!/usr/bin/env python3
"""Checks quilane-redistribute against an independent implementation.

The reference below redistributes a coordinate file with plain Python floats
and complex numbers, written from the method's mathematics rather than from
the engine's code: arccos for the along-chord angle, the Joukowski map
z = zeta + A^2/zeta for the way back from the circle plane, the Hermite basis
functions for the piecewise cubic, a bisection for the station search. Every
sample is run through every route and method; the tool's written numbers must
agree with the reference to the fifth decimal.

Usage: reference_redistribute.py TOOL FILE.arf [FILE.arf ...]
"""
import bisect
import cmath
import math
import os
import subprocess
import sys
import tempfile

TOL = 1e-6


def read_arf(path):
    with open(path, encoding="utf-8-sig", newline="") as f:
        text = f.read()
    first, _, rest = text.replace("\r\n", "\n").replace("\r", "\n").partition("\n")
    title = first.split(",")[0].strip()
    fields = rest.replace(",", " ").split()
    n = int(fields[0])
    values = [float(v) for v in fields[1 : 1 + 3 * n]]
    x = values[1::3]
    y = values[2::3]
    ile, xmin, xmax = None, x[0], x[0]
    for i in range(1, n):
        if x[i] < x[i - 1]:
            ile, xmin = i, x[i]
        if x[i] > x[i - 1]:
            xmax = x[i]
    chord = xmax - xmin
    return title, [(v - xmin) / chord for v in x], y, ile  # ile is 0-based


def along_chord(x, y, ile, ni):
    u = []
    for i, xv in enumerate(x):
        angle = math.acos(max(-1.0, min(1.0, 2 * xv - 1)))
        u.append(2 * math.pi - angle if i >= ile else angle)
    ui = [2 * math.pi * j / (ni - 1) for j in range(ni)]
    xi = [(math.cos(t) + 1) / 2 for t in ui]
    return u, list(y), ui, xi


def circle_params():
    p = (0.1 / 1.1) ** 2
    a = 0.25 * (1 - p)
    return a, 2 * a


def chord_frame(x, y, ile):
    """Nose and trailing-edge midpoint, or None when they are (0, 0) and (1, 0)."""
    nose = complex(x[ile], y[ile])
    tail = complex((x[0] + x[-1]) / 2, (y[0] + y[-1]) / 2)
    if nose == 0 and tail == 1:
        return None
    return nose, tail


def into_frame(frame, x, y):
    if frame is None:
        return x, y
    nose, tail = frame
    points = [(complex(xv, yv) - nose) / (tail - nose) for xv, yv in zip(x, y)]
    return [p.real for p in points], [p.imag for p in points]


def out_of_frame(frame, x, y):
    if frame is None:
        return x, y
    nose, tail = frame
    points = [nose + complex(xv, yv) * (tail - nose) for xv, yv in zip(x, y)]
    return [p.real for p in points], [p.imag for p in points]


def to_circle(x, y, ile, ni):
    a, ka = circle_params()
    u, v = [], []
    for i, (xv, yv) in enumerate(zip(x, y)):
        z = complex(xv - (1 - ka), yv)
        ratio = (z - ka) / (z + ka)
        w = cmath.sqrt(ratio)  # principal root: the lower surface lies below the axis
        zeta = a * (1 + w) / (1 - w)
        angle = -math.atan2(zeta.imag, zeta.real)
        if i >= ile and angle <= 0:
            angle += 2 * math.pi
        u.append(angle)
        v.append(abs(zeta))
    m = (ni + 1) / 2
    d1 = (math.pi - u[0]) / (m - 1)
    d2 = (u[-1] - math.pi) / (m - 1)
    ui = [u[0] + d1 * j if j + 1 <= m else math.pi + d2 * (j + 1 - m) for j in range(ni)]
    return u, v, ui


def from_circle(ui, vi):
    a, ka = circle_params()
    xi, yi = [], []
    for t, r in zip(ui, vi):
        zeta = r * cmath.exp(-1j * t)
        z = zeta + a * a / zeta
        xi.append(z.real + (1 - ka))
        yi.append(z.imag)
    return xi, yi


def locate(u, t):
    """Index k (0-based interval k..k+1) holding t, or ('knot', index)."""
    k = bisect.bisect_left(u, t)
    for j in (k - 1, k):
        if 0 <= j < len(u) and abs(t - u[j]) <= TOL:
            return ("knot", j)
    if 0 < k < len(u):
        return ("interval", k - 1)
    raise ValueError("station %r outside the curve" % t)


def lagrange(u, v, ui, degree):
    n = len(u)
    out = []
    for t in ui:
        kind, k = locate(u, t)
        if kind == "knot":
            out.append(v[k])
            continue
        m = max(0, k - degree // 2)
        m = min(m, n - 1 - degree)
        xs, ys = u[m : m + degree + 1], v[m : m + degree + 1]
        total = 0.0
        for j, (xj, yj) in enumerate(zip(xs, ys)):
            basis = 1.0
            for p, xp in enumerate(xs):
                if p != j:
                    basis *= (t - xp) / (xj - xp)
            total += yj * basis
        out.append(total)
    return out


def pw_cubic(u, v, ui):
    n = len(u)
    slope = [0.0] * n
    for k in range(1, n - 1):
        a1 = math.atan2(v[k] - v[k - 1], u[k] - u[k - 1])
        a2 = math.atan2(v[k + 1] - v[k], u[k + 1] - u[k])
        slope[k] = math.tan((a1 + a2) / 2)  # the bisector of the two chords
    out = []
    for t in ui:
        kind, k = locate(u, t)
        if kind == "knot":
            out.append(v[k])
            continue
        h = u[k + 1] - u[k]
        s = (t - u[k]) / h
        h00 = 2 * s**3 - 3 * s**2 + 1
        h10 = s**3 - 2 * s**2 + s
        h01 = -2 * s**3 + 3 * s**2
        h11 = s**3 - s**2
        out.append(h00 * v[k] + h10 * h * slope[k] + h01 * v[k + 1] + h11 * h * slope[k + 1])
    return out


def camber(xi, yi):
    ni = len(xi)
    nc = (ni + 1) / 2
    points = []
    i = 1
    while i <= nc:
        a = round(nc - i + 1)
        b = round(nc + i - 1)
        points.append(((xi[a - 1] + xi[b - 1]) / 2, (yi[a - 1] + yi[b - 1]) / 2))
        i += 1
    return points


def reference(path, ni, mapping, method):
    _, x, y, ile = read_arf(path)
    if mapping:
        # The mapping is laid out for a contour in its chord frame: nose at
        # (0, 0), the middle of the trailing edge at (1, 0).
        frame = chord_frame(x, y, ile)
        fx, fy = into_frame(frame, x, y)
        u, v, ui = to_circle(fx, fy, ile, ni)
    else:
        u, v, ui, xi = along_chord(x, y, ile, ni)
    vi = pw_cubic(u, v, ui) if method == "pwcubic" else lagrange(u, v, ui, method)
    if mapping:
        xi, yi = out_of_frame(frame, *from_circle(ui, vi))
    else:
        yi = vi
    return list(zip(xi, yi)), camber(xi, yi)


def written_points(path):
    with open(path, encoding="utf-8", newline="") as f:
        lines = f.read().split("\r\n")
    return [(float(l.split()[1]), float(l.split()[2])) for l in lines[2:] if l.strip()]


def main():
    tool, files = sys.argv[1], sys.argv[2:]
    failures = checks = 0
    with tempfile.TemporaryDirectory() as folder:
        out = os.path.join(folder, "out.arf")
        for path in files:
            for ni in (51, 101, 50):
                for mapping in (False, True):
                    for method in (1, 3, "pwcubic"):
                        args = [tool, path, "-n", str(ni), "-o", out]
                        args += ["--mapping"] if mapping else []
                        args += ["--pwcubic"] if method == "pwcubic" else ["--lagrange", str(method)]
                        run = subprocess.run(args, capture_output=True, text=True)
                        name = "%s NI=%d %s %s" % (os.path.basename(path), ni,
                                                   "mapping" if mapping else "along-chord", method)
                        if run.returncode != 0:
                            print("FAIL %s: exit %d %s" % (name, run.returncode, run.stderr))
                            failures += 1
                            continue
                        points, camber_points = reference(path, ni, mapping, method)
                        got = written_points(out)
                        got_camber = written_points(os.path.join(folder, "Camber_out.arf"))
                        worst = max(abs(g - r) for gp, rp in zip(got + got_camber, points + camber_points)
                                    for g, r in zip(gp, rp))
                        checks += 1
                        if os.environ.get("VERBOSE"):
                            print("  %s worst %.2g" % (name, worst))
                        if len(got) != len(points) or len(got_camber) != len(camber_points) or worst > 1.01e-5:
                            print("FAIL %s: worst difference %.3g" % (name, worst))
                            failures += 1
    print("%d passed, %d failed" % (checks - failures if checks >= failures else 0, failures))
    return 1 if failures or checks == 0 else 0


if __name__ == "__main__":
    sys.exit(main())
