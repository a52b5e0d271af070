// The pictures of docs/web.md and the README, taken in Chromium from the
// built page (scripts/web.sh first): node web/tools/pictures.mjs
import { fileURLToPath } from 'node:url';
import { launch, openPage, serve } from '../tests/browser.mjs';

const pictures = fileURLToPath(new URL('../../docs/pictures/', import.meta.url));
const search = '#formula=sin(x%5B0%5D)+%2B+sin(+10*x%5B0%5D%2F3+)&xmin=2.7&xmax=7.5&method=strongin&stop=steps&value=30&param=2';

const server = await serve();
const browser = await launch();
const { page } = await openPage(browser, server.url + search, { width: 1280, height: 800 });
await page.waitForFunction(() => document.getElementById('best-x').value !== '');
await page.screenshot({ path: `${pictures}web-search.png` });

await page.click('#tab-course');
await page.$eval('#course-slider', (slider) => {
  slider.value = '5';
  slider.dispatchEvent(new Event('input', { bubbles: true }));
});
await page.waitForFunction(() => document.getElementById('course-step').value === '5');
await page.screenshot({ path: `${pictures}web-course.png`, fullPage: true });

await page.click('#tab-lab');
await page.$eval('#lab-last', (field) => {
  field.value = '99';
  field.dispatchEvent(new Event('change', { bubbles: true }));
});
await page.$$eval('[id^="lab-m-"]', (boxes) => {
  for (const box of boxes) box.checked = ['piyavsky', 'strongin', 'inf-ltma', 'd-lt-li'].includes(box.id.slice(6));
});
await page.click('#lab-run');
await page.waitForFunction(() => document.getElementById('lab-summary').textContent.includes('d-lt-li'), { timeout: 120000 });
await page.screenshot({ path: `${pictures}web-lab.png`, fullPage: true });

await browser.close();
await server.close();
