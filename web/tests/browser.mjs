// What the page's tests share: the built page served on 127.0.0.1, Debian's
// Chromium driven through puppeteer-core, and velmora-run beside them.
import { execFileSync } from 'node:child_process';
import { createReadStream, existsSync, statSync } from 'node:fs';
import { createServer } from 'node:http';
import { extname, join, normalize } from 'node:path';
import { fileURLToPath } from 'node:url';
import puppeteer from 'puppeteer-core';

const repo = fileURLToPath(new URL('../..', import.meta.url));
export const site = join(repo, 'build/web');
export const velmoraRunPath = join(repo, 'build/cli/velmora-run');

const types = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
  '.css': 'text/css', '.wasm': 'application/wasm', '.tsv': 'text/tab-separated-values', '.png': 'image/png',
  '.json': 'application/json', '.svg': 'image/svg+xml',
};

// A static server of the built page on a free port of 127.0.0.1.
export async function serve(root = site) {
  const server = createServer((request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    let file = join(root, path);
    if (!file.startsWith(root) || !existsSync(file)) {
      response.writeHead(404).end();
      return;
    }
    if (statSync(file).isDirectory()) file = join(file, 'index.html');
    response.writeHead(200, { 'Content-Type': types[extname(file)] ?? 'application/octet-stream' });
    createReadStream(file).pipe(response);
  });
  await new Promise((done) => server.listen(0, '127.0.0.1', done));
  return { url: `http://127.0.0.1:${server.address().port}/`, close: () => new Promise((done) => server.close(done)) };
}

// Debian's Chromium, headless, with nothing that reaches out to the network.
export function launch() {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run', '--disable-quic'],
  });
}

// A page at the address, its core ready; every script error it meets is kept in errors.
export async function openPage(browser, url, { width = 1280, height = 860 } = {}) {
  const page = await browser.newPage();
  await page.setViewport({ width, height });
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  await page.goto(url);
  await page.waitForFunction(() => window.velmora !== undefined, { timeout: 20000 });
  await page.evaluate(() => window.velmora.ready);
  return { page, errors };
}

export function velmoraRun(args) {
  return execFileSync(velmoraRunPath, args, { encoding: 'utf8', maxBuffer: 1 << 28 });
}
