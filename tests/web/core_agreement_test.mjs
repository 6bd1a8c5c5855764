// The page's core, loaded in node as the page loads it, gives what the
// command-line tool gives on every published and shipped section: the same
// load lines as --info, the same report lines as --report, the same refusals
// (their way out in the page's words) and result files equal byte for byte.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, readFileSync, realpathSync } from 'node:fs';
import { join } from 'node:path';
import test from 'node:test';

import { env, filesIn, loadCore, requireSite, runTool, tempDir } from './web_test_support.mjs';

requireSite();
const core = await loadCore();

const page = (points, mapping, method, npoly, onSpline, format) =>
  ({ points, mapping, method, npoly, onSpline, format });
const runs = [
  { name: 'defaults', settings: page('51', false, 'lagrange', '1', false, 'arf'), args: [] },
  { name: 'mapping, PW cubic, Selig',
    settings: page('101', true, 'pwcubic', '1', false, 'selig'),
    args: ['-n', '101', '--mapping', '--pwcubic', '-f', 'selig'] },
  { name: 'on a spline, Lagrange 3, even count',
    settings: page('160', false, 'lagrange', '3', true, 'arf'),
    args: ['-n', '160', '--lagrange', '3', '--on-spline'] },
];
const folders = [env.database, join(env.airfoils, 'selig'), join(env.airfoils, 'lednicer'),
                 env.samples].filter((dir) => dir && existsSync(dir));

const PREFIX = 'quilane-redistribute: ';

// The tool's refusals by input: the message lines before "NAME: refused",
// in the page's words (files named as given, the page's way out).
function toolRefusals(stderr, dir) {
  const refusals = new Map();
  let pending = [];
  for (const line of stderr.split('\n')) {
    if (!line.startsWith(PREFIX)) continue;
    const text = line.slice(PREFIX.length);
    const refused = /^(.*): refused$/.exec(text);
    if (refused && pending.length > 0) {
      refusals.set(refused[1], pending.join('\n'));
      pending = [];
    } else {
      pending.push(text.replaceAll(`${realpathSync(dir)}/`, '')
        .replaceAll('use --mapping', 'tick Conformal mapping and calculate again'));
    }
  }
  return refusals;
}

for (const dir of folders) {
  const names = filesIn(dir);
  const inputs = names.map((name) => ({ name, bytes: readFileSync(join(dir, name)) }));

  test(`--info lines in ${dir}`, () => {
    const info = spawnSync(env.tool, ['--info', '--', ...names], { cwd: dir, encoding: 'utf8' });
    const lines = info.stdout.split('\n').filter((line) => line);
    const read = inputs.map((input) => core.describe(input)).filter((answer) => answer.ok);
    assert.deepEqual(read.map((answer) => answer.summary), lines);
  });

  for (const run of runs) {
    test(`${run.name} in ${dir}`, () => {
      const out = tempDir('agree');
      const tool = runTool(dir, names, ['--report', ...run.args], out);
      const refusals = toolRefusals(tool.stderr, dir);
      let done = 0;
      for (const input of inputs) {
        const web = core.calculate(input, run.settings);
        if (!web.ok) {
          assert.equal(web.message, refusals.get(input.name), `${input.name} refused otherwise`);
          continue;
        }
        ++done;
        const report = tool.stderr.replaceAll(
          'use --on-spline', 'tick Place new points on a spline through the input');
        assert.ok(report.includes(web.report), `${input.name}: report ${web.report}`);
        assert.deepEqual(Buffer.from(web.resultBytes), readFileSync(join(out, web.resultName)),
                         `${input.name}: ${web.resultName}`);
        assert.deepEqual(Buffer.from(web.camberBytes), readFileSync(join(out, web.camberName)),
                         `${input.name}: ${web.camberName}`);
      }
      assert.equal(done + refusals.size, inputs.length, 'every input done or refused by both');
    });
  }
}
