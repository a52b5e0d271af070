// The three tabs: Search, the course of the search, the lab. A panel that
// comes into view hears "shown", so that it can draw what it put off while hidden.

export function setUpTabs() {
  const tabs = [...document.querySelectorAll('[role="tab"]')];
  const choose = (chosen) => {
    for (const tab of tabs) {
      const selected = tab === chosen;
      tab.setAttribute('aria-selected', String(selected));
      tab.tabIndex = selected ? 0 : -1;
      const panel = document.getElementById(tab.getAttribute('aria-controls'));
      const appears = selected && panel.hidden;
      panel.hidden = !selected;
      if (appears) panel.dispatchEvent(new Event('shown'));
    }
  };
  for (const tab of tabs) {
    tab.addEventListener('click', () => choose(tab));
    tab.addEventListener('keydown', (event) => {
      const step = { ArrowRight: 1, ArrowLeft: -1 }[event.key];
      if (!step) return;
      const next = tabs[(tabs.indexOf(tab) + step + tabs.length) % tabs.length];
      next.focus();
      choose(next);
    });
  }
  choose(tabs[0]);
}
