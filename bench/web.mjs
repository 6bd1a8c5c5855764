// The web page's speed goals, on the built site (scripts/web.sh) and the
// native tool, in one run on one machine load; prints each figure as the
// median of five and its ratio to the goal.
//
//   node bench/web.mjs [SITE [TOOL]]   (build-web/site, build-bench/src/app/quilane-redistribute)
//
// - start: from navigation to the page ready (calculate enabled) in a warm
//   headless chromium (the site in its cache, the second load of a context);
// - one calculation of 1000 new points (Lagrange along the chord and PW cubic
//   on the mapping route) of NACA 4412 with 1000 points, by the core in node's
//   V8, chromium's engine;
// - the 223 database-sample files in the page's many-files mode, from the
//   click to the table filled, beside one run of the tool over them with
//   --report and --output-dir into a new folder of the system's temporary
//   folder (TMPDIR=/dev/shm puts it in memory; on the disk the tool's safe
//   writes cost more);
// - the bytes of the site's JS and wasm, gzipped.
import { spawnSync } from 'node:child_process';
import { mkdtempSync, readdirSync, readFileSync, rmSync, statSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { gzipSync } from 'node:zlib';

import { launchChromium, serveSite } from '../tests/web/site_server.mjs';

const top = resolve(new URL('..', import.meta.url).pathname);
const site = resolve(process.argv[2] ?? join(top, 'build-web/site'));
const tool = resolve(process.argv[3] ?? join(top, 'build-bench/src/app/quilane-redistribute'));
const database = join(top, '../shared/airfoil-database-sample');
const require = createRequire(join(top, 'web/package.json'));
const { chromium } = require('playwright-core');

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const runs = 5;
const row = (what, value, goal, unit) =>
  console.log(`${what.padEnd(44)} ${value.toFixed(1).padStart(9)} ${unit.padEnd(3)}` +
              ` goal ${goal} ${unit}: ${value <= goal ? 'met' : 'MISSED'} (${(value / goal).toFixed(2)} of it)`);

// Size.
let gzipped = 0;
for (const name of readdirSync(site, { recursive: true })) {
  if (/\.(m?js|wasm)$/.test(name)) gzipped += gzipSync(readFileSync(join(site, name)), { level: 9 }).length;
}
row('JS and wasm of the site, gzipped', gzipped / 1024, 200, 'KB');

// One calculation in the core.
const core = await require(join(site, 'quilane.js'))({
  wasmBinary: readFileSync(join(site, 'quilane.wasm')),
});
const generated = spawnSync(join(tool, '../quilane-naca'), ['4412', '-n', '1000'], { encoding: 'utf8' });
if (generated.status !== 0) throw new Error(`quilane-naca beside ${tool} failed`);
const input = { name: 'naca4412.arf', bytes: Buffer.from(generated.stdout) };
for (const [name, settings] of [
  ['1000 new points, Lagrange along the chord', { points: '1000', mapping: false, method: 'lagrange', npoly: '1' }],
  ['1000 new points, PW cubic, mapping', { points: '1000', mapping: true, method: 'pwcubic', npoly: '1' }],
]) {
  const full = { ...settings, onSpline: false, format: 'arf' };
  for (let i = 0; i < 20; ++i) core.calculate(input, full);  // warm up
  const times = [];
  for (let i = 0; i < 25; ++i) {
    const start = performance.now();
    const answer = core.calculate(input, full);
    times.push(performance.now() - start);
    if (!answer.ok) throw new Error(answer.message);
  }
  row(name, median(times), 50, 'ms');
}

// The page: start and many files.
const server = await serveSite(site);
const url = server.url;
const browser = await launchChromium(chromium);
const context = await browser.newContext();
const page = await context.newPage();
await page.goto(url);
await page.waitForSelector('body[data-ready="1"]');
const starts = [];
for (let i = 0; i < runs; ++i) {
  const start = performance.now();
  await page.goto(url);
  await page.waitForSelector('body[data-ready="1"]');
  starts.push(performance.now() - start);
}
row('page ready, warm', median(starts), 1000, 'ms');

const names = readdirSync(database).filter((name) => statSync(join(database, name)).isFile());
const pageTimes = [];
const toolTimes = [];
for (let i = 0; i < runs; ++i) {
  await page.setInputFiles('#file', names.map((name) => join(database, name)));
  // Timed in the page, from the click to the run's end, without the
  // driver's round trips.
  pageTimes.push(await page.evaluate(() => new Promise((resolve) => {
    const start = performance.now();
    new MutationObserver((changes, observer) => {
      if (document.body.dataset.busy) return;
      observer.disconnect();
      resolve(performance.now() - start);
    }).observe(document.body, { attributes: true, attributeFilter: ['data-busy'] });
    document.getElementById('calculate').click();
  })));

  const out = mkdtempSync(join(tmpdir(), 'quilane-web-bench-'));
  const toolStart = performance.now();
  spawnSync(tool, ['--report', '-d', out, '--', ...names], { cwd: database });
  toolTimes.push(performance.now() - toolStart);
  rmSync(out, { recursive: true });
}
const ratio = median(pageTimes) / median(toolTimes);
console.log(`${names.length} files: page ${median(pageTimes).toFixed(0)} ms, tool ${median(toolTimes).toFixed(0)} ms`);
row('many files, page / tool', ratio, 3, 'x');
await browser.close();
server.close();
