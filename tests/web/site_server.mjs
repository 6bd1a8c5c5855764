// The built site served from loopback as any static host serves it, and
// Debian's chromium started headless for it: shared by the page's test and
// its benchmark (bench/web.mjs).
import { existsSync, readFileSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize } from 'node:path';

export const CHROMIUM = '/usr/bin/chromium';

const TYPES = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
                '.wasm': 'application/wasm', '.png': 'image/png', '.svg': 'image/svg+xml' };

// Serves `site` on a free port of 127.0.0.1; gives {url, close}.
export async function serveSite(site) {
  const server = createServer((request, response) => {
    const path = decodeURIComponent(new URL(request.url, 'http://site').pathname);
    const file = join(site, normalize(path.endsWith('/') ? `${path}index.html` : path));
    if (!file.startsWith(site) || !existsSync(file) || !statSync(file).isFile()) {
      response.writeHead(404).end();
      return;
    }
    const type = TYPES[extname(file)] ?? 'application/octet-stream';
    response.writeHead(200, { 'Content-Type': type, 'Cache-Control': 'max-age=3600' })
      .end(readFileSync(file));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => server.close() };
}

// playwright-core's `chromium` started on Debian's browser, headless, with no
// background connections (the machines' network refuses them).
export function launchChromium(chromium) {
  return chromium.launch({
    executablePath: CHROMIUM,
    args: ['--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
           '--disable-component-update', '--disable-sync'],
  });
}
