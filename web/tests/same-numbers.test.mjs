// The page's Search and velmora-run give the same best point, value, counts
// and trials, bit for bit, on formulas whose functions agree between the
// WebAssembly maths library and the native one: a method of each family.
import assert from 'node:assert/strict';
import { after, before, test } from 'node:test';
import { launch, openPage, serve, velmoraRun } from './browser.mjs';

const requests = [
  { formula: 'x[0]^2 - 5', xmin: -10, xmax: 10, method: 'scan', steps: 200 },
  { formula: '(1.4 - 3*x[0]) * sin( 18*x[0] )', xmin: 0, xmax: 1.2, method: 'piyavsky', param: 40, precision: 1e-4 },
  { formula: 'x[0]^4 - 4*x[0]^2 + x[0] + ln(2 + x[0])', xmin: -1.5, xmax: 2.5, method: 'strongin', param: 2, eps: 1e-4 },
  { formula: 'x[0]^2 + 6 * sin( 2*pi *x[0] )', xmin: -3, xmax: 3, method: 'geom-ltma', steps: 300 },
  { formula: 'x[1]*x[0]^2 + sin(x[2]*x[0])', params: [0.5, 3], xmin: -4, xmax: 4, method: 'inf-ltimao', steps: 150 },
  { formula: 'x[0]^6/6 - 2*x[0]^4 + x[0]', xmin: -3, xmax: 3, method: 'inf-al', param: 300, steps: 120 },
  { formula: 'cos(x[0]) + 2*cos(2*x[0]) + x[0]/3', xmin: 0, xmax: 10, method: 'd-lt-li', precision: 1e-6 },
  { formula: '(x[0]-1.5)^4 - x[0]^2', xmin: -2, xmax: 3, method: 'd-gl', param: 3, steps: 100 },
];

function commandLine(r) {
  const args = [r.formula, '--interval', String(r.xmin), String(r.xmax), '--method', r.method, '--trials',
    '--format', 'json'];
  if (r.param !== undefined) args.push('--param', String(r.param));
  if (r.params) args.push('--params', r.params.join(','));
  if (r.steps !== undefined) args.push('--steps', String(r.steps));
  if (r.precision !== undefined) args.push('--eps', String(r.precision));
  if (r.eps !== undefined) args.push('--interval-eps', String(r.eps));
  return args;
}

let server, browser, page;
before(async () => {
  server = await serve();
  browser = await launch();
  ({ page } = await openPage(browser, server.url));
});
after(async () => {
  await browser?.close();
  await server?.close();
});

for (const request of requests) {
  test(`${request.method} on ${request.formula}`, async () => {
    const expected = JSON.parse(velmoraRun(commandLine(request)));
    const got = await page.evaluate((r) => {
      const result = window.velmora.search(r);
      return { ...result, trials: { x: Array.from(result.trials.x), f: Array.from(result.trials.f) } };
    }, request);
    assert.equal(got.error ?? null, null);
    assert.equal(got.x, expected.best_x);
    assert.equal(got.fun, expected.f_best);
    assert.equal(got.nit, expected.step_count);
    assert.equal(got.nfev, expected.evaluations);
    assert.equal(got.stop, expected.stop);
    assert.deepEqual(got.trials.x, expected.trials.map((t) => t.x));
    assert.deepEqual(got.trials.f, expected.trials.map((t) => t.f));
  });
}
