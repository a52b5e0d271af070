// The course's table of steps: one row per step, all of them, but only the
// rows in view are in the page, so 100000 steps cost what 20 do.
import { shortestText } from './numbers.js';
import { words } from './texts.js';

const RowHeight = 22;
const Fields = ['step', 'interval', 'left', 'right', 'charact', 'constant', 'x', 'f', 'precision'];
const Whole = new Set(['step', 'interval']);

export class StepTable {
  constructor(container, onPick) {
    this.container = container;
    this.onPick = onPick;
    this.steps = null;
    this.current = 0;
    this.head = document.createElement('div');
    this.head.className = 'step-row step-head';
    this.head.setAttribute('role', 'row');
    this.scroller = document.createElement('div');
    this.scroller.className = 'step-scroller';
    this.space = document.createElement('div');
    this.space.className = 'step-space';
    this.rows = document.createElement('div');
    this.rows.className = 'step-rows';
    this.space.append(this.rows);
    this.scroller.append(this.space);
    container.append(this.head, this.scroller);
    this.scroller.addEventListener('scroll', () => this.render());
    new ResizeObserver(() => this.render()).observe(this.scroller);
    this.rows.addEventListener('click', (event) => {
      const row = event.target.closest('[data-step]');
      if (row) this.onPick(Number(row.dataset.step));
    });
    this.writeHead();
  }

  writeHead() {
    this.head.replaceChildren(
      ...words().course.columns.map((title) => {
        const cell = document.createElement('span');
        cell.setAttribute('role', 'columnheader');
        cell.textContent = title;
        return cell;
      }),
    );
  }

  setSteps(steps) {
    this.steps = steps;
    this.space.style.height = `${(steps ? steps.step.length : 0) * RowHeight}px`;
    this.scroller.scrollTop = 0;
    this.render();
  }

  // Step k's row comes into view and is marked; step 0 has no row.
  show(k) {
    this.current = k;
    if (k > 0) {
      const top = (k - 1) * RowHeight;
      const height = this.scroller.clientHeight;
      if (top < this.scroller.scrollTop) this.scroller.scrollTop = top;
      else if (top + RowHeight > this.scroller.scrollTop + height) this.scroller.scrollTop = top + RowHeight - height;
    } else {
      this.scroller.scrollTop = 0;
    }
    this.render();
  }

  refresh() {
    this.writeHead();
    this.render();
  }

  render() {
    if (!this.steps) {
      this.rows.replaceChildren();
      return;
    }
    const count = this.steps.step.length;
    const first = Math.max(0, Math.floor(this.scroller.scrollTop / RowHeight) - 2);
    const last = Math.min(count, first + Math.ceil(this.scroller.clientHeight / RowHeight) + 5);
    this.rows.style.transform = `translateY(${first * RowHeight}px)`;
    const rows = [];
    for (let i = first; i < last; ++i) {
      const row = document.createElement('div');
      row.className = 'step-row';
      row.setAttribute('role', 'row');
      row.dataset.step = String(i + 1);
      if (i + 1 === this.current) {
        row.classList.add('current');
        row.setAttribute('aria-selected', 'true');
      }
      for (const field of Fields) {
        const cell = document.createElement('span');
        cell.setAttribute('role', 'cell');
        const value = this.steps[field][i];
        cell.textContent = Whole.has(field) ? String(value) : shortestText(value);
        row.append(cell);
      }
      rows.push(row);
    }
    this.rows.replaceChildren(...rows);
  }
}
