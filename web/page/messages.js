// The message area: what the window says in its boxes, the page says here,
// where it neither blocks the page nor hides behind it.
import { words } from './texts.js';

function area() {
  return document.getElementById('message');
}

export function clearMessages() {
  area().replaceChildren();
}

// kind: 'input' for a word about the user's input, 'fault' for a run's fault
// or the page's own trouble.
export function showMessage(text, kind = 'input') {
  const item = document.createElement('div');
  item.className = `message message-${kind}`;
  const body = document.createElement('span');
  body.textContent = text;
  const close = document.createElement('button');
  close.type = 'button';
  close.className = 'message-close';
  close.textContent = '×';
  close.setAttribute('aria-label', words().close);
  close.addEventListener('click', () => item.remove());
  item.append(body, close);
  area().append(item);
}
