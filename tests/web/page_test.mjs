// The page in Debian's chromium, driven through its element ids as anyone's
// script would: a file loaded, calculated and downloaded with the tool's
// bytes, a refusal in the tool's words, a NACA code, many files in one zip,
// the plot's pictures, a phone's width, and no request beyond the site.
// A failing test leaves a screenshot in QUILANE_WEB_FAILURES.
import assert from 'node:assert/strict';
import { spawnSync } from 'node:child_process';
import { existsSync, mkdirSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import test from 'node:test';

import { CHROMIUM, launchChromium, serveSite } from './site_server.mjs';
import { env, filesIn, requireSite, runTool, skip, tempDir, webPackage } from './web_test_support.mjs';

requireSite();
if (!existsSync(CHROMIUM)) skip(`${CHROMIUM} missing; scripts/install-deps.sh browser installs it`);
const { chromium } = webPackage('playwright-core');
const { unzipSync } = webPackage('fflate');

const server = await serveSite(env.site);
const site = server.url;
const browser = await launchChromium(chromium);
test.after(async () => {
  await browser.close();
  server.close();
});

const foreign = [];
// A page at `width` x `height`, loaded and ready; `body` runs with it and a
// failure leaves a screenshot named after the test.
async function withPage(name, body, width = 1280, height = 800) {
  const context = await browser.newContext({ acceptDownloads: true, viewport: { width, height } });
  const page = await context.newPage();
  page.on('request', (request) => {
    if (!request.url().startsWith(site) && !request.url().startsWith('blob:')
        && !request.url().startsWith('data:')) foreign.push(request.url());
  });
  try {
    await page.goto(site);
    await page.waitForSelector('body[data-ready="1"]');
    await body(page);
  } catch (error) {
    mkdirSync(env.failures, { recursive: true });
    await page.screenshot({ path: join(env.failures, `${name}.png`), fullPage: true });
    throw error;
  } finally {
    await context.close();
  }
}

async function calculate(page) {
  await page.click('#calculate');
  await page.waitForSelector('body:not([data-busy])');
}

async function download(page, selector) {
  const [file] = await Promise.all([page.waitForEvent('download'), page.click(selector)]);
  return { name: file.suggestedFilename(), bytes: readFileSync(await file.path()) };
}

const text = (page, selector) => page.locator(selector).textContent();
const tool = (args, cwd = env.samples) => spawnSync(env.tool, args, { cwd, encoding: 'utf8' });
const toolMessage = (stderr) => stderr.replaceAll('quilane-redistribute: ', '').trimEnd();

test('a file is loaded, calculated and downloaded as the tool writes it', () =>
  withPage('calculate', async (page) => {
    await page.setInputFiles('#file', join(env.samples, 'naca2412.arf'));
    const info = tool(['--info', 'naca2412.arf']).stdout.trim();
    await page.waitForFunction((line) => document.querySelector('#status').textContent
      .includes(line), info);

    await page.fill('#points', '101');
    await page.check('#method-pwcubic');
    await page.selectOption('#format', 'selig');
    await calculate(page);
    const out = tempDir('page');
    const run = runTool(env.samples, ['naca2412.arf'],
                        ['--report', '-n', '101', '--pwcubic', '-f', 'selig'], out);
    assert.ok((await text(page, '#status')).includes(run.stderr.trim()));
    const expected = readFileSync(join(out, 'naca2412.dat'));
    assert.equal(await text(page, '#result-text'), expected.toString('utf8'));
    assert.deepEqual(await download(page, '#download-result'),
                     { name: 'naca2412.dat', bytes: expected });
    assert.deepEqual(await download(page, '#download-camber'),
                     { name: 'Camber_naca2412.arf', bytes: readFileSync(join(out, 'Camber_naca2412.arf')) });

    const svg = await download(page, '#download-svg');
    assert.match(svg.bytes.toString('utf8'), /^(<\?xml[^>]*>\s*)?<svg[^>]*xmlns="http:\/\/www.w3.org\/2000\/svg"/);
    const png = await download(page, '#download-png');
    assert.deepEqual([...png.bytes.subarray(0, 4)], [0x89, 0x50, 0x4e, 0x47]);
  }));

test('bad settings and sections are refused in the tool\'s words, with nothing to download', () =>
  withPage('refuse', async (page) => {
    await page.setInputFiles('#file', join(env.samples, 'naca0012.arf'));
    const cases = [
      { fill: ['#npoly', 'abc'], args: ['--lagrange', 'abc', 'naca0012.arf'] },
      { fill: ['#points', '5000'], args: ['-n', '5000', 'naca0012.arf'] },
    ];
    for (const { fill, args } of cases) {
      await page.fill('#points', '51');
      await page.fill('#npoly', '1');
      await page.fill(...fill);
      await calculate(page);
      const refused = tool([...args, '-o', join(tempDir('refuse'), 'x.arf')]);
      assert.equal(refused.status, 1);
      assert.ok((await text(page, '#status')).includes(toolMessage(refused.stderr)), fill[1]);
      assert.equal(await text(page, '#result-text'), '');
      assert.equal(await page.getAttribute('#download-result', 'href'), null);
    }
  }));

test('a NACA code typed is the input', () =>
  withPage('naca', async (page) => {
    await page.fill('#naca', '23012');
    await page.press('#naca', 'Enter');
    await calculate(page);
    const out = tempDir('naca');
    tool(['--naca', '23012', '-d', out]);
    assert.equal(await text(page, '#result-text'),
                 readFileSync(join(out, 'naca23012.arf'), 'utf8'));
  }));

test('many files give one line each and one zip of the tool\'s files', () =>
  withPage('many', async (page) => {
    const dir = join(env.airfoils, 'selig');
    const names = filesIn(dir);
    const notes = { name: 'notes.txt', mimeType: 'text/plain', buffer: Buffer.from('no points\n') };
    const files = names.map((name) => ({ name, mimeType: 'text/plain',
                                         buffer: readFileSync(join(dir, name)) }));
    await page.setInputFiles('#file', [...files, notes]);
    await calculate(page);
    const rows = await page.locator('#batch tbody tr').allTextContents();
    assert.equal(rows.length, names.length + 1);
    assert.match(rows.at(-1), /notes\.txt.*refused/s);

    const out = tempDir('many');
    const run = runTool(dir, names, ['--report'], out);
    const zip = unzipSync((await download(page, '#download-zip')).bytes);
    const written = filesIn(out);
    assert.deepEqual(Object.keys(zip).filter((name) => name !== 'report.txt').sort(), written);
    for (const name of written) {
      assert.deepEqual(Buffer.from(zip[name]), readFileSync(join(out, name)), name);
    }
    const report = Buffer.from(zip['report.txt']).toString('utf8');
    const reportLines = run.stderr.split('\n').filter((line) => /^[^ ]+: /.test(line)
      && !line.startsWith('quilane-redistribute: '));
    for (const line of reportLines) assert.ok(report.includes(`${line}\n`), line);
    assert.ok(report.includes('notes.txt: refused'));
  }));

test('the page fits a phone\'s width', () =>
  withPage('phone', async (page) => {
    await page.setInputFiles('#file', join(env.samples, 'naca4412.arf'));
    await calculate(page);
    const width = await page.evaluate(() => document.documentElement.scrollWidth);
    assert.ok(width <= 360, `the page is ${width} px wide`);
    for (const id of ['#file', '#points', '#calculate', '#plot', '#download-result']) {
      assert.ok(await page.locator(id).isVisible(), id);
    }
  }, 360, 780));

test('the page asks for nothing but its own files', () => {
  assert.deepEqual(foreign, []);
});
