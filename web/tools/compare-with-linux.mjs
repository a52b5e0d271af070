// Every hansen20 problem with every method of the WebAssembly core, run in
// Chromium and by this machine's velmora-run, with the literature's interval
// rule and with 1000 steps. A run whose trials differ is explained when both
// have a trial at the same point with F or f' differing there (the two maths
// libraries' last bits); any other difference is listed as unexplained.
// Then the test set's csv rows, as the Windows comparison counts them: the
// page's test-set run and velmora-run --suite, all but the seconds.
// Usage (after scripts/web.sh): node web/tools/compare-with-linux.mjs
import { readFileSync } from 'node:fs';
import { fileURLToPath } from 'node:url';
import { launch, serve, velmoraRun } from '../tests/browser.mjs';

const repo = fileURLToPath(new URL('../..', import.meta.url));
const problems = readFileSync(`${repo}/data/hansen20.tsv`, 'utf8').trim().split('\n').slice(1)
  .map((line) => line.split('\t')).map(([id, formula, a, b]) => ({ id, formula, a: Number(a), b: Number(b) }));
// The methods that take M only as given run with an M of 100, as the Windows comparison runs them.
const givenParam = { 'd-al': 100, 'd-al-li': 100 };

const server = await serve();
const browser = await launch();
const page = await browser.newPage();
await page.goto(server.url + 'velmora-core.mjs');
await page.evaluate(async () => {
  const { default: create } = await import('./velmora-core.mjs');
  window.core = await create();
});
const methods = await page.evaluate(() => window.core.methods().map((m) => m.id));

let runs = 0;
const libraryBits = [];
const unexplained = [];
for (const rule of ['interval', 'steps']) {
  for (const p of problems) {
    for (const method of methods) {
      const request = { formula: p.formula, xmin: p.a, xmax: p.b, method, param: givenParam[method] };
      const args = [p.formula, '--interval', String(p.a), String(p.b), '--method', method, '--trials', '--format', 'json'];
      if (request.param !== undefined) args.push('--param', String(request.param));
      if (rule === 'interval') {
        request.eps = 1e-4 * (p.b - p.a);
        args.push('--interval-eps', String(request.eps));
      } else {
        request.steps = 1000;
        args.push('--steps', '1000');
      }
      let native;
      try {
        native = JSON.parse(velmoraRun(args));
      } catch (failed) {
        native = JSON.parse(failed.stdout);  // a fault's status is 3, with the run's json
      }
      const web = await page.evaluate((r) => {
        const out = window.core.search(r);
        const text = (v) => (Number.isFinite(v) ? v : String(v).toLowerCase().replace('infinity', 'inf'));
        return { x: Array.from(out.trials.x, text), f: Array.from(out.trials.f, text),
          df: out.trials.df ? Array.from(out.trials.df, text) : null, fault: out.fault, count: out.trials.x.length };
      }, request);
      runs += 1;
      const value = (t, key) => t[key] ?? t[`${key}_hex`].replace('-nan', 'nan');
      const where = `${rule} problem ${p.id} ${method}`;
      if (native.fault || web.fault) {
        if (native.fault !== web.fault || native.trial_count !== web.count) unexplained.push(`${where}: the fault or its trials`);
        continue;
      }
      const nx = native.trials.map((t) => value(t, 'x'));
      const nf = native.trials.map((t) => value(t, 'f'));
      const same = web.x.length === nx.length && web.x.every((x, i) => Object.is(x, nx[i]) && Object.is(web.f[i], nf[i]));
      if (same) continue;
      // f' too, for the methods that use it.
      const ndf = native.trials.map((t) => (web.df ? value(t, 'df') : null));
      const nativeAt = new Map(nx.map((x, i) => [x, [nf[i], ndf[i]]]));
      const partsAtF = web.x.some((x, i) => nativeAt.has(x) &&
        (!Object.is(nativeAt.get(x)[0], web.f[i]) || (web.df && !Object.is(nativeAt.get(x)[1], web.df[i]))));
      (partsAtF ? libraryBits : unexplained).push(where);
    }
  }
}
console.log(`runs: ${runs}; trials differ where F or f' differs at a common point: ${libraryBits.length}`);
for (const rule of ['interval', 'steps']) {
  const rows = libraryBits.filter((w) => w.startsWith(rule));
  const problemsHit = [...new Set(rows.map((w) => w.split(' ')[2]))];
  console.log(`  ${rule}: ${rows.length} runs, problems ${problemsHit.join(', ')}`);
}
console.log(`unexplained: ${unexplained.length}`);
for (const w of unexplained) console.log(`  ${w}`);
const tsv = readFileSync(`${repo}/data/hansen20.tsv`, 'utf8');
for (const rule of [['--eps-rel', '1e-4'], ['--steps', '1000']]) {
  const args = ['--suite', `${repo}/data/hansen20.tsv`, '--methods', methods.join(','), '--format', 'csv', rule[0], rule[1]];
  for (const [method, value] of Object.entries(givenParam)) args.push(`--param-${method}`, String(value));
  const withoutSeconds = (line) => line.split(',').filter((_, i) => i !== 7).join(',');
  const native = velmoraRun(args).split('\n').filter((line) => line && !line.startsWith('mean,')).slice(1).map(withoutSeconds);
  const web = await page.evaluate((m, p, text, steps) => {
    window.core.addTestSet('hansen20', text);
    const request = { set: 'hansen20', methods: m, params: p };
    if (steps) request.steps = 1000;
    return window.core.testSetRun(request).csv;
  }, methods, givenParam, tsv, rule[0] === '--steps');
  const rows = web.split('\n').filter(Boolean).map(withoutSeconds);
  const moved = rows.filter((row, i) => row !== native[i]);
  console.log(`csv ${rule.join(' ')}: ${moved.length} of ${rows.length} rows differ` +
    (moved.length ? `: ${moved.map((row) => row.split(',').slice(0, 2).join(' ')).join('; ')}` : ''));
}

await browser.close();
await server.close();
