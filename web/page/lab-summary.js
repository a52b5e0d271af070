// The lab's summary table, as velmora-run writes it: for a class, each
// method's solved runs with the mean and median first hit; for a test set,
// its successes, mean trials, mean error and mean first hit.
import { shortestText } from './numbers.js';
import { words } from './texts.js';

function number(value, decimals) {
  if (value === null || value === undefined || !Number.isFinite(value)) return '—';
  return shortestText(decimals === undefined ? value : Number(value.toFixed(decimals)));
}

function significant(value, digits) {
  return Number.isFinite(value) ? number(Number(value.toPrecision(digits))) : '—';
}

const Rows = {
  class: (m) => [m.runs, m.solved, number(m.meanFirstHit, 1), number(m.medianFirstHit)],
  set: (m) => [m.runs, m.successes, number(m.trials, 1), significant(m.meanError, 3), number(m.firstHit, 1)],
};

// kind: 'class' or 'set'; methods: the core's summary of each.
export function showSummary(table, kind, methods) {
  const titles = kind === 'class' ? words().lab.classColumns : words().lab.setColumns;
  const row = (cells, tag) => {
    const tr = document.createElement('tr');
    for (const text of cells) {
      const cell = document.createElement(tag);
      if (tag === 'th') cell.scope = 'col';
      cell.textContent = String(text);
      tr.append(cell);
    }
    return tr;
  };
  const thead = document.createElement('thead');
  thead.append(row(titles, 'th'));
  const tbody = document.createElement('tbody');
  const param = (m) => (m.paramOfProblem ? words().lab.paramOfProblem[kind] : number(m.param));
  tbody.append(...methods.map((m) => row([m.id, param(m), ...Rows[kind](m)], 'td')));
  table.replaceChildren(thead, tbody);
}
