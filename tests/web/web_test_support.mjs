// What the web tests share: the paths CTest hands them, the skip when
// something they need is missing, the core loaded in node, and the
// command-line tool run over a folder of inputs.
import { spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readdirSync, readFileSync, rmSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

export const env = {
  site: process.env.QUILANE_WEB_SITE,
  packages: process.env.QUILANE_WEB_PACKAGES,
  tool: process.env.QUILANE_REDISTRIBUTE,
  samples: process.env.QUILANE_SAMPLES_DIR,
  airfoils: process.env.QUILANE_SHARED_AIRFOILS_DIR,
  database: process.env.QUILANE_DATABASE_SAMPLE_DIR,
  failures: process.env.QUILANE_WEB_FAILURES,
};

// Ends the test as skipped (CTest's SKIP_RETURN_CODE) with the reason.
export function skip(reason) {
  console.log(`SKIPPED: ${reason}`);
  process.exit(77);
}

export function requireSite() {
  if (!env.site || !existsSync(join(env.site, 'quilane.js'))) {
    skip(`no web site at ${env.site}; build it with scripts/web.sh`);
  }
}

// A package from the page's npm folder (web/node_modules).
export function webPackage(name) {
  const require = createRequire(join(env.packages, 'package.json'));
  try {
    return require(name);
  } catch {
    skip(`npm package ${name} missing; run npm ci in web/ (scripts/web.sh does)`);
  }
}

export async function loadCore() {
  const require = createRequire(join(env.site, 'package.json'));
  const createQuilane = require(join(env.site, 'quilane.js'));
  // Handed the module's bytes, the loader does not fetch them (node's fetch
  // takes no file paths).
  return createQuilane({ wasmBinary: readFileSync(join(env.site, 'quilane.wasm')) });
}

// A scratch folder, removed when the test ends.
const scratch = [];
process.on('exit', () => scratch.forEach((dir) => rmSync(dir, { recursive: true, force: true })));
export function tempDir(tag) {
  scratch.push(mkdtempSync(join(tmpdir(), `quilane-web-${tag}-`)));
  return scratch.at(-1);
}

export const filesIn = (dir) =>
  readdirSync(dir, { withFileTypes: true }).filter((e) => e.isFile()).map((e) => e.name).sort();

// The tool over `names` in `dir` (run there, so its labels are the names),
// writing into `out`: {stdout, stderr, status}.
export function runTool(dir, names, args, out) {
  const run = spawnSync(env.tool, [...args, '-d', out, '--', ...names],
                        { cwd: dir, encoding: 'utf8', maxBuffer: 1 << 28 });
  return { stdout: run.stdout, stderr: run.stderr, status: run.status };
}
