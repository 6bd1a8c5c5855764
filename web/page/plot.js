// The airfoil plot in the page's <svg>: the input contour, the new points and
// the camber line, with the titles of the section and of the result. It is
// drawn again in screen pixels on every change of view, so lines stay thin
// and markers keep their size at any zoom; x and y share one scale so the
// section keeps its shape. Styles are inline so that the exported file is
// the same picture on its own.
const NS = 'http://www.w3.org/2000/svg';
const FONT = 'font-family:system-ui,-apple-system,"Segoe UI",Roboto,sans-serif;font-size:12px';
// Room kept free around the data when the view is fitted: titles and legend
// above, the scale's figures below and left.
const PAD = { top: 56, right: 16, bottom: 24, left: 44 };
const SERIES = [
  { key: 'camber', name: 'camber line', colour: '#b513b5', mark: null },
  { key: 'input', name: 'input', colour: '#d0161b', mark: 'square' },
  { key: 'points', name: 'new points', colour: '#1746c8', mark: 'circle' },
];
const MARKS = {
  square: (x, y) => `M${x - 2.5} ${y - 2.5}h5v5h-5z`,
  circle: (x, y) => `M${x - 2.5} ${y}a2.5 2.5 0 1 0 5 0a2.5 2.5 0 1 0-5 0`,
};
const HALO = 'paint-order:stroke;stroke:#fff;stroke-width:3px;stroke-linejoin:round';

const tenth = (v) => Math.round(v * 10) / 10;

function add(parent, name, style, attributes = {}) {
  const node = document.createElementNS(NS, name);
  if (style) node.setAttribute('style', style);
  for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
  parent.append(node);
  return node;
}

// The grid step: 1, 2 or 5 times a power of ten, at least `least`.
function niceStep(least) {
  const power = 10 ** Math.floor(Math.log10(least));
  return [1, 2, 5, 10].map((m) => m * power).find((step) => step >= least);
}

export class Plot {
  constructor(svg) {
    this.svg = svg;
    this.data = {};
    this.view = null; // {cx, cy, s}: the data point at the centre, pixels per unit; null: fitted
    this.back = add(svg, 'rect', 'fill:#fff');
    this.grid = add(svg, 'path', 'fill:none;stroke:#e4e7eb;stroke-width:1');
    this.figures = add(svg, 'g', `${FONT};fill:#5e666e`);
    this.series = SERIES.map((s) => ({
      ...s,
      line: add(svg, 'path', `fill:none;stroke:${s.colour};stroke-width:1.25;stroke-linejoin:round`),
      marks: s.mark && add(svg, 'path', s.mark === 'square'
        ? `fill:none;stroke:${s.colour};stroke-width:1` : `fill:${s.colour}`),
    }));
    const titles = add(svg, 'g', `${FONT};font-size:13px;font-weight:600;${HALO}`);
    this.titles = [0, 1].map((i) => add(titles, 'text', `fill:${SERIES[i + 1].colour}`,
      { x: 10, y: 20 + 18 * i }));
    this.legend = add(svg, 'g', FONT);
    this.series.forEach((s, i) => {
      s.entry = add(this.legend, 'g', '', { transform: `translate(0 ${14 + 16 * i})` });
      add(s.entry, 'path', `stroke:${s.colour};stroke-width:2`, { d: 'M0 -4h18' });
      add(s.entry, 'text', `fill:#333;${HALO}`, { x: 24 }).textContent = s.name;
    });
    this.listen();
    new ResizeObserver(() => this.schedule()).observe(svg);
  }

  // data: {title, resultTitle, input, points, camber}, each of the last three
  // {x, y} or absent.
  show(data) {
    this.data = data;
    this.view = null;
    const parts = [];
    if (data.input) parts.push(`input contour of ${data.input.x.length} points in red`);
    if (data.points) parts.push(`${data.points.x.length} new points in blue`);
    if (data.camber) parts.push('the camber line in magenta');
    this.svg.setAttribute('aria-label', parts.length
      ? `Airfoil plot of ${data.title || 'the section'}: ${parts.join(', ')}`
      : 'Airfoil plot: nothing opened yet');
    this.schedule();
  }

  reset() {
    this.view = null;
    this.schedule();
  }

  // The view that shows all data inside the free room.
  fit() {
    let [x0, x1, y0, y1] = [Infinity, -Infinity, Infinity, -Infinity];
    for (const s of SERIES) {
      const p = this.data[s.key];
      for (let i = 0; p && i < p.x.length; i++) {
        x0 = Math.min(x0, p.x[i]); x1 = Math.max(x1, p.x[i]);
        y0 = Math.min(y0, p.y[i]); y1 = Math.max(y1, p.y[i]);
      }
    }
    if (x0 > x1) [x0, x1, y0, y1] = [0, 1, -0.1, 0.1];
    const width = this.w - PAD.left - PAD.right, height = this.h - PAD.top - PAD.bottom;
    const s = Math.max(Math.min(width / Math.max(x1 - x0, 1e-9),
      height / Math.max(y1 - y0, 1e-9)), 1e-9);
    return {
      s,
      cx: (x0 + x1) / 2 - (PAD.left + width / 2 - this.w / 2) / s,
      cy: (y0 + y1) / 2 - (this.h / 2 - PAD.top - height / 2) / s,
    };
  }

  // Zooms by `factor` keeping the data under (px, py) where it is.
  zoom(factor, px = this.w / 2, py = this.h / 2) {
    const v = this.view ?? this.fit();
    const x = v.cx + (px - this.w / 2) / v.s, y = v.cy - (py - this.h / 2) / v.s;
    const fitted = this.fit().s;
    const s = Math.min(Math.max(v.s * factor, fitted / 20), fitted * 1e5);
    this.view = { s, cx: x - (px - this.w / 2) / s, cy: y + (py - this.h / 2) / s };
    this.schedule();
  }

  pan(dx, dy) {
    const v = this.view ?? this.fit();
    this.view = { s: v.s, cx: v.cx - dx / v.s, cy: v.cy + dy / v.s };
    this.schedule();
  }

  // One drawing per frame however many events arrive in it.
  schedule() {
    if (this.pending) return;
    this.pending = true;
    requestAnimationFrame(() => this.draw());
  }

  draw() {
    this.pending = false;
    const w = this.svg.clientWidth, h = this.svg.clientHeight;
    if (!w || !h) return;
    if (w !== this.w || h !== this.h) {
      [this.w, this.h] = [w, h];
      this.svg.setAttribute('viewBox', `0 0 ${w} ${h}`);
      this.back.setAttribute('width', w);
      this.back.setAttribute('height', h);
    }
    const v = this.view ?? this.fit();
    const X = (x) => tenth(w / 2 + (x - v.cx) * v.s), Y = (y) => tenth(h / 2 - (y - v.cy) * v.s);

    const step = niceStep(70 / v.s);
    const digits = Math.max(0, -Math.floor(Math.log10(step) + 1e-9));
    let grid = '';
    const figures = [];
    const figure = (text, attributes) => {
      const node = document.createElementNS(NS, 'text');
      for (const [key, value] of Object.entries(attributes)) node.setAttribute(key, value);
      node.textContent = text;
      figures.push(node);
    };
    for (let k = Math.ceil((v.cx - w / 2 / v.s) / step); k * step <= v.cx + w / 2 / v.s; k++) {
      grid += `M${X(k * step)} 0V${h}`;
      figure((k * step).toFixed(digits), { x: X(k * step), y: h - 6, 'text-anchor': 'middle' });
    }
    for (let k = Math.ceil((v.cy - h / 2 / v.s) / step); k * step <= v.cy + h / 2 / v.s; k++) {
      grid += `M0 ${Y(k * step)}H${w}`;
      // None under the titles or on the figures of x.
      if (Y(k * step) > 48 && Y(k * step) < h - 20) {
        figure((k * step).toFixed(digits), { x: 4, y: Y(k * step) - 3 });
      }
    }
    this.grid.setAttribute('d', grid);
    this.figures.replaceChildren(...figures);

    for (const s of this.series) {
      const p = this.data[s.key];
      let line = '', marks = '';
      for (let i = 0; p && i < p.x.length; i++) {
        const x = X(p.x[i]), y = Y(p.y[i]);
        line += `${i ? 'L' : 'M'}${x} ${y}`;
        // Markers off the screen would only cost time.
        if (s.mark && x > -5 && x < w + 5 && y > -5 && y < h + 5) marks += MARKS[s.mark](x, y);
      }
      s.line.setAttribute('d', line);
      if (s.marks) s.marks.setAttribute('d', marks);
      s.entry.setAttribute('display', p ? 'inline' : 'none');
    }
    this.titles[0].textContent = this.data.title ?? '';
    this.titles[1].textContent = this.data.resultTitle ?? '';
    this.legend.setAttribute('transform', `translate(${w - 110} 4)`);
  }

  // The picture as a file of its own: the current view, `scale` times larger.
  svgText(scale = 1) {
    this.draw();
    const copy = this.svg.cloneNode(true);
    for (const name of ['id', 'tabindex', 'class', 'style']) copy.removeAttribute(name);
    copy.setAttribute('xmlns', NS);
    copy.setAttribute('width', this.w * scale);
    copy.setAttribute('height', this.h * scale);
    return new XMLSerializer().serializeToString(copy);
  }

  // The current view as a PNG at twice its size on the screen.
  async png() {
    const image = new Image();
    image.src = `data:image/svg+xml;charset=utf-8,${encodeURIComponent(this.svgText(2))}`;
    await image.decode();
    const canvas = document.createElement('canvas');
    [canvas.width, canvas.height] = [this.w * 2, this.h * 2];
    canvas.getContext('2d').drawImage(image, 0, 0);
    return new Promise((resolve) => canvas.toBlob(resolve, 'image/png'));
  }

  // Wheel and two-finger pinch zoom about the pointer, drag pans, and the
  // keys do both for those without a pointer.
  listen() {
    const svg = this.svg;
    const at = (e) => {
      const box = svg.getBoundingClientRect();
      return { x: e.clientX - box.left, y: e.clientY - box.top };
    };
    svg.addEventListener('wheel', (e) => {
      e.preventDefault();
      const unit = e.deltaMode === 1 ? 16 : e.deltaMode === 2 ? this.h : 1;
      const p = at(e);
      this.zoom(Math.exp(-e.deltaY * unit * 0.002), p.x, p.y);
    }, { passive: false });

    const down = new Map();
    svg.addEventListener('pointerdown', (e) => {
      down.set(e.pointerId, at(e));
      // Moves outside the plot still drag it; a scripted pointer has nothing to capture.
      try { svg.setPointerCapture(e.pointerId); } catch { /* nothing to capture */ }
    });
    svg.addEventListener('pointermove', (e) => {
      if (!down.has(e.pointerId)) return;
      const [a, b] = down.values();
      down.set(e.pointerId, at(e));
      const [c, d] = down.values();
      if (!b) return this.pan(c.x - a.x, c.y - a.y);
      // Two pointers: their midpoint pans, their spread zooms about it.
      const mid = { x: (c.x + d.x) / 2, y: (c.y + d.y) / 2 };
      this.pan(mid.x - (a.x + b.x) / 2, mid.y - (a.y + b.y) / 2);
      this.zoom(Math.hypot(c.x - d.x, c.y - d.y) / Math.max(Math.hypot(a.x - b.x, a.y - b.y), 1),
        mid.x, mid.y);
    });
    for (const type of ['pointerup', 'pointercancel']) {
      svg.addEventListener(type, (e) => down.delete(e.pointerId));
    }

    const step = 40;
    const keys = {
      '+': () => this.zoom(1.25), '=': () => this.zoom(1.25), '-': () => this.zoom(0.8),
      '0': () => this.reset(),
      ArrowLeft: () => this.pan(step, 0), ArrowRight: () => this.pan(-step, 0),
      ArrowUp: () => this.pan(0, step), ArrowDown: () => this.pan(0, -step),
    };
    svg.addEventListener('keydown', (e) => {
      if (!keys[e.key] || e.ctrlKey || e.metaKey || e.altKey) return;
      e.preventDefault();
      keys[e.key]();
    });
  }
}
