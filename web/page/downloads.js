// Download links whose file is made when clicked: a run's trials or rows can
// be 100000 lines, which no one should pay for until asked.

const made = new WeakMap();

// make() gives the file as a Blob, or null while there is nothing to save.
export function offerDownload(link, make) {
  link.addEventListener('click', (event) => {
    const blob = link.getAttribute('aria-disabled') === 'true' ? null : make();
    if (!blob) {
      event.preventDefault();
      return;
    }
    if (made.has(link)) URL.revokeObjectURL(made.get(link));
    const url = URL.createObjectURL(blob);
    made.set(link, url);
    link.href = url;
  });
}

export function enableDownload(link, enabled) {
  link.setAttribute('aria-disabled', String(!enabled));
}

export function csvBlob(text) {
  return new Blob([text], { type: 'text/csv' });
}
