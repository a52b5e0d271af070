// The web page's speed in Debian's headless Chromium, on the page that
// scripts/web.sh builds: what it loads and how soon it is ready, a Strongin
// Search of 100000 steps from the press to the painted chart, the chart of
// 100000 trials redrawn, course steps of that run, and hill1000:0-999 with
// three methods at a budget of 1000 in the lab's workers.
// Usage: node bench/web/page-speed.mjs [rounds]  (median of rounds, default 5)
import { gzipSync } from 'node:zlib';
import { launch, openPage, serve } from '../../web/tests/browser.mjs';

const rounds = Number(process.argv[2] ?? 5);
const median = (values) => values.sort((a, b) => a - b)[Math.floor(values.length / 2)];
const ms = (value) => `${value.toFixed(1)} ms`;

const server = await serve();
const browser = await launch();

// Loaded: every file the page fetched before it was ready, as a server that
// compresses would send it (gzip -9).
async function load() {
  const page = await browser.newPage();
  const bodies = [];
  page.on('response', (response) => bodies.push(response.buffer().catch(() => Buffer.alloc(0))));
  await page.goto(server.url);
  const ready = await page.evaluate(async () => {
    await window.velmora.ready;
    return performance.now();
  });
  const compressed = (await Promise.all(bodies)).reduce((sum, body) => sum + gzipSync(body, { level: 9 }).length, 0);
  await page.close();
  return { ready, compressed };
}

// The work an action sets off (its handlers, and the charts' drawing, which
// uPlot does in a microtask), and the time until the frame after it is
// painted; frames are 16.7 ms apart, so the second figure is counted in them.
function timedAction(page, action) {
  return page.evaluate(async (code) => {
    const painted = () => new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)));
    await painted();
    const t0 = performance.now();
    new Function(code)();
    await new Promise((done) => queueMicrotask(done));
    const work = performance.now() - t0;
    await painted();
    return { work, painted: performance.now() - t0 };
  }, action);
}

// Medians of both.
const both = (times) => `${ms(median(times.map((t) => t.work)))}, painted after ${ms(median(times.map((t) => t.painted)))}`;

const set = (id, value) => `{const e = document.getElementById('${id}'); e.value = '${value}';
  e.dispatchEvent(new Event('input', {bubbles: true})); e.dispatchEvent(new Event('change', {bubbles: true}));}`;

const loads = [];
for (let i = 0; i < rounds; ++i) loads.push(await load());
console.log(`load: ${(median(loads.map((l) => l.compressed)) / 1024).toFixed(0)} KB compressed, ready after ${ms(median(loads.map((l) => l.ready)))}`);

const { page } = await openPage(browser, server.url);
await page.evaluate(new Function(`${set('formula', 'sin(x[0]) + sin( 10*x[0]/3 )')} ${set('xmin', '2,7')} ${set('xmax', '7,5')}
  ${set('method', 'strongin')} document.getElementById('stop-steps').click(); ${set('steps', '100000')} ${set('param', '2')}`));
const press = [];
for (let i = 0; i < rounds; ++i) press.push(await timedAction(page, "document.getElementById('search').click()"));
console.log(`Strongin, 100000 steps, press to chart: ${both(press)}`);
console.log(`  trials shown: ${await page.$eval('#trials-count', (e) => e.value)}`);

// The language switch redraws every chart at once, with the other decimal separator in its ticks.
const redraw = [];
for (let i = 0; i < rounds; ++i) redraw.push(await timedAction(page, set('lang', i % 2 ? 'ru' : 'en')));
if (rounds % 2) await timedAction(page, set('lang', 'ru'));
console.log(`the chart of 100000 trials redrawn (the language switched): ${both(redraw)}`);

await page.click('#tab-course');
await page.waitForFunction(() => document.getElementById('course-step').value === '100000');
const stepTo = (k) => `{const s = document.getElementById('course-slider'); s.value = '${k}'; s.dispatchEvent(new Event('input', {bubbles: true}));}`;
for (const k of [5, 50000, 99999]) {
  const times = [];
  for (let i = 0; i < rounds; ++i) {
    await timedAction(page, stepTo(k - 1));
    times.push(await timedAction(page, "document.getElementById('course-forward').click()"));
  }
  console.log(`course step to ${k} of 100000: ${both(times)}`);
}

await page.click('#tab-lab');
await page.evaluate(new Function(`document.getElementById('lab-source-class').click(); ${set('lab-class', 'hill1000')}
  ${set('lab-first', '0')} ${set('lab-last', '999')} ${set('lab-budget', '1000')}
  for (const box of document.querySelectorAll('[id^="lab-m-"]')) box.checked = ['piyavsky', 'strongin', 'inf-ltma'].includes(box.id.slice(6));`));
const cores = await page.evaluate(() => navigator.hardwareConcurrency);
const lab = await page.evaluate(async () => {
  const status = document.getElementById('lab-status');
  status.textContent = '';
  const t0 = performance.now();
  document.getElementById('lab-run').click();
  await new Promise((done) => {
    const check = () => (/Готово|Done/.test(status.textContent) ? done() : setTimeout(check, 10));
    check();
  });
  return performance.now() - t0;
});
console.log(`hill1000:0-999, piyavsky, strongin and inf-ltma at a budget of 1000, ${cores} workers: ${(lab / 1000).toFixed(1)} s`);
console.log(`  ${await page.$eval('#lab-status', (e) => e.textContent)}`);

await browser.close();
await server.close();
