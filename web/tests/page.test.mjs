// The page as a user drives it: bad input and faults leave it usable, the
// course follows its slider, the lab's workers give velmora-run's rows and
// stop when asked, an address redoes its Search, and the language switches.
import assert from 'node:assert/strict';
import { mkdtempSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { after, before, test } from 'node:test';
import { launch, openPage, serve, velmoraRun } from './browser.mjs';

const repo = fileURLToPath(new URL('../..', import.meta.url));
let server, browser, page, errors;
before(async () => {
  server = await serve();
  browser = await launch();
  ({ page, errors } = await openPage(browser, server.url));
});
after(async () => {
  await browser?.close();
  await server?.close();
});

// Types into a field as a user does: its input and change events follow.
async function fill(selector, text) {
  await page.$eval(selector, (field, value) => {
    field.value = value;
    field.dispatchEvent(new Event('input', { bubbles: true }));
    field.dispatchEvent(new Event('change', { bubbles: true }));
  }, text);
}
const text = (selector) => page.$eval(selector, (e) => e.textContent.trim());
const value = (selector) => page.$eval(selector, (e) => e.value);

async function searchFor({ formula, xmin, xmax, method, steps }) {
  await fill('#formula', formula);
  await fill('#xmin', xmin);
  await fill('#xmax', xmax);
  await fill('#method', method);
  await page.click('#stop-steps');
  await fill('#steps', String(steps));
  await page.click('#search');
}

test('a formula error shows its position, and a correct formula makes Search usable again', async () => {
  await fill('#formula', 'sin(x[0]');
  assert.equal(await value('#formula-errors'), "')' or ']' expected at position 8");
  assert.equal(await page.$eval('#search', (b) => b.disabled), true);
  await fill('#formula', 'sin(x[0])');
  assert.equal(await value('#formula-errors'), 'Expression is Entered correctly');
  assert.equal(await page.$eval('#search', (b) => b.disabled), false);
});

test('an unreadable number gets the window message, and the next Search runs', async () => {
  await searchFor({ formula: 'x[0]^2 - 5', xmin: '1,2,3', xmax: '10', method: 'strongin', steps: 20 });
  assert.match(await text('#message'), /Неверно введён интервал поиска значения/);
  await fill('#xmin', '-10');
  await page.click('#search');
  assert.equal(await text('#message'), '');
  assert.equal(await value('#trials-count'), '22');
});

test('nothing typed breaks the page: each bad input gets a message, and the next Search runs', async () => {
  const deep = `${'('.repeat(1001)}x[0]${')'.repeat(1001)}`;
  const cases = [
    { formula: 'x[0]^2', xmin: '5', xmax: '-5', method: 'geom-gl', shows: /A must be less than B|интервал/ },
    { formula: 'x[0]^2', xmin: 'inf', xmax: '1', method: 'strongin', shows: /Неверно введён интервал поиска значения/ },
    { formula: deep, xmin: '0', xmax: '1', method: 'strongin', errorLine: /Expression is too deeply nested at position 1000/ },
    { formula: 'x[0]^2', xmin: '0', xmax: '1', method: 'strongin', param: '0,5', shows: /Множитель константы Липшица/ },
    { formula: 'x[0]^2', xmin: '0', xmax: '1', method: 'd-al', param: '', shows: /.+/ },
  ];
  for (const c of cases) {
    await fill('#formula', c.formula);
    await fill('#xmin', c.xmin);
    await fill('#xmax', c.xmax);
    await fill('#method', c.method);
    if (c.param !== undefined) await fill('#param', c.param);
    await page.click('#stop-steps');
    await fill('#steps', '20');
    if (c.errorLine) {
      assert.match(await value('#formula-errors'), c.errorLine);
      continue;
    }
    await page.click('#search');
    assert.match(await text('#message'), c.shows, `${c.method} on ${c.xmin}..${c.xmax}`);
  }
  await searchFor({ formula: 'x[0]^2 - 5', xmin: '-10', xmax: '10', method: 'strongin', steps: 20 });
  await fill('#param', '2');
  await page.click('#search');
  assert.equal(await text('#message'), '');
  assert.equal(await value('#trials-count'), '22');
  assert.deepEqual(errors, []);
});

test('a fault shows its text and the trials up to it', async () => {
  await searchFor({ formula: '1/(x[0]-3)', xmin: '0', xmax: '6', method: 'scan', steps: 5 });
  assert.match(await text('#message'), /Floating point division by zero/);
  assert.equal(await value('#trials-count'), '3');
  const csv = await page.evaluate(async () => {
    const link = document.getElementById('save-trials');
    link.addEventListener('click', (event) => event.preventDefault(), { once: true });
    link.click();
    return (await fetch(link.href)).text();
  });
  assert.equal(csv, 'order,x,f\n1,0,-0.3333333333333333\n2,6,0.3333333333333333\n3,3,nan\n');
});

test('the course shows the step its slider is on', async () => {
  await searchFor({ formula: 'sin(x[0]) + sin( 10*x[0]/3 )', xmin: '2,7', xmax: '7,5', method: 'strongin', steps: 30 });
  await page.click('#tab-course');
  await page.$eval('#course-slider', (slider) => {
    slider.value = '5';
    slider.dispatchEvent(new Event('input', { bubbles: true }));
  });
  await page.waitForFunction(() => document.getElementById('course-step').value === '5');
  assert.match(await text('#course-summary'), /^Шаг 5: из 5 интервалов выбран \d+-й/);
  assert.equal(await page.$eval('#course-table .current', (row) => row.dataset.step), '5');
  await page.click('#course-forward');
  assert.equal(await value('#course-step'), '6');
  await page.click('#tab-search');
});

test("the course saves its table of steps and finds the first step outside the interval", async () => {
  await searchFor({ formula: 'x[0]^2 + 6 * sin( 2*pi *x[0] )', xmin: '-10', xmax: '10', method: 'piyavsky', steps: 60 });
  await page.click('#tab-course');
  const outside = await page.$eval('#course-outside', (b) => ({ hidden: b.hidden, text: b.textContent }));
  assert.equal(outside.hidden, false);
  const first = Number(outside.text.match(/\d+$/)[0]);
  await page.click('#course-outside');
  assert.equal(await value('#course-step'), String(first));
  const csv = await page.evaluate(async () => {
    const link = document.getElementById('course-save-steps');
    link.addEventListener('click', (event) => event.preventDefault(), { once: true });
    link.click();
    return (await fetch(link.href)).text();
  });
  const lines = csv.trim().split('\n');
  assert.equal(lines[0], 'Шаг,Интервал,Левый конец,Правый конец,Характеристика,Константа,Новая точка,Значение,Точность');
  assert.equal(lines.length, 61);
  assert.match(lines[first], new RegExp(`^${first},`));
  await page.click('#tab-search');
});

test('an address redoes its Search with the same numbers', async () => {
  await searchFor({ formula: 'x[1]*x[0]^2 + sin(3*x[0])', xmin: '-4', xmax: '4', method: 'piyavsky', steps: 40 });
  const address = await page.evaluate(() => location.href);
  const shown = await value('#best-x');
  const other = await openPage(browser, address);
  await other.page.waitForFunction((x) => document.getElementById('best-x').value === x, { timeout: 10000 }, shown);
  assert.equal(await other.page.$eval('#formula', (f) => f.value), 'x[1]*x[0]^2 + sin(3*x[0])');
  assert.deepEqual(other.errors, []);
  await other.page.close();
});

test('an address with a bad method or an extra field gets messages, and the page goes on', async () => {
  const other = await openPage(browser, `${server.url}#formula=x%5B0%5D&xmin=0&xmax=1&method=newton&stop=steps&value=5&colour=red`);
  const message = await other.page.$eval('#message', (e) => e.textContent);
  assert.match(message, /newton/);
  assert.match(message, /colour/);
  assert.deepEqual(other.errors, []);
  await other.page.close();
});

test('the language switch changes the words and the decimal separator', async () => {
  await searchFor({ formula: 'x[0]^2 - 5', xmin: '-10', xmax: '10', method: 'strongin', steps: 10 });
  assert.match(await value('#best-x'), /,/);
  await fill('#lang', 'en');
  assert.equal(await text('#made-label'), 'Precision reached:');
  assert.match(await value('#best-x'), /^-?\d+\.\d+$/);
  await fill('#lang', 'ru');
  assert.equal(await text('#made-label'), 'Достигнутая точность:');
});

test('the controls carry the window captions as their accessible names', async () => {
  for (const name of ['Search', 'Update', 'Random', 'X min:', 'X max:']) {
    assert.ok(await page.$(`::-p-aria(${name})`), name);
  }
});

async function labRun(first, last, methods) {
  await page.click('#tab-lab');
  await page.click('#lab-source-class');
  await fill('#lab-class', 'hill');
  await fill('#lab-first', String(first));
  await fill('#lab-last', String(last));
  await page.$$eval('[id^="lab-m-"]', (boxes, chosen) => {
    for (const box of boxes) box.checked = chosen.includes(box.id.slice('lab-m-'.length));
  }, methods);
  await page.click('#lab-run');
}

test('a class run in workers gives velmora-run --class its rows', async () => {
  // The page runs the methods in the catalogue's order.
  const methods = ['piyavsky', 'strongin', 'inf-ltma'];
  await labRun(0, 19, methods);
  await page.waitForFunction(() => document.getElementById('lab-summary').textContent.includes('strongin'), { timeout: 60000 });
  assert.equal(await page.$eval('#lab-progress', (p) => p.value), 1);
  const csv = await page.evaluate(async () => {
    const link = document.getElementById('lab-csv');
    link.addEventListener('click', (event) => event.preventDefault(), { once: true });
    link.click();
    return (await fetch(link.href)).text();
  });
  const expected = velmoraRun(['--class', 'hill:0-19', '--methods', methods.join(','), '--format', 'csv']);
  assert.equal(csv.trim(), expected.trim());
});

test("a test set's rows are velmora-run --suite's, and --from-csv reads them back", async () => {
  await page.click('#tab-lab');
  await page.click('#lab-source-set');
  await fill('#lab-set', 'hansen20');
  await fill('#lab-set-first', '0');
  await fill('#lab-set-count', '20');
  await page.click('#lab-rule-eps');
  await page.$$eval('[id^="lab-m-"]', (boxes) => {
    for (const box of boxes) box.checked = ['piyavsky', 'strongin', 'd-lt'].includes(box.id.slice('lab-m-'.length));
  });
  await page.$eval('#lab-summary', (table) => table.replaceChildren());
  await page.click('#lab-run');
  await page.waitForFunction(() => document.getElementById('lab-summary').textContent.includes('d-lt'), { timeout: 60000 });
  const csv = await page.evaluate(async () => {
    const link = document.getElementById('lab-csv');
    link.addEventListener('click', (event) => event.preventDefault(), { once: true });
    link.click();
    return (await fetch(link.href)).text();
  });
  // All but the seconds, which are each run's own; velmora-run adds a mean row per method.
  const rows = (text) => text.trim().split('\n').filter((line) => !line.startsWith('mean,'))
    .map((line) => line.split(',').filter((_, i) => i !== 7).join(','));
  const expected = velmoraRun(['--suite', `${repo}/data/hansen20.tsv`, '--methods', 'piyavsky,strongin,d-lt', '--format', 'csv']);
  assert.deepEqual(rows(csv), rows(expected));
  const folder = mkdtempSync(join(tmpdir(), 'velmora-page-'));
  try {
    writeFileSync(join(folder, 'hansen20.csv'), csv);
    assert.match(velmoraRun(['--from-csv', join(folder, 'hansen20.csv')]), /\| d-lt \|/);
  } finally {
    rmSync(folder, { recursive: true });
  }
});

test('Stop ends a class run and the lab can run again', async () => {
  await labRun(0, 999, ['strongin', 'piyavsky', 'scan']);
  await page.waitForFunction(() => document.getElementById('lab-progress').value > 0, { timeout: 30000 });
  await page.click('#lab-stop');
  await page.waitForFunction(() => !document.getElementById('lab-run').disabled);
  assert.match(await text('#lab-status'), /остановлен|Остановлен|stopped/i);
  await page.click('#tab-search');
  assert.deepEqual(errors, []);
});
