// 历史记录: every image read from or written to a radio on this page, newest
// first, kept in the browser's storage for this site. An entry opens as a new
// document or is compared with the current one.
import type { Rules } from './rules';
import { el, exactOption, showModalDialog } from './dom';
import { commandText, t } from './texts';

// Resolves with the entry chosen and what to do with it, or null.
export function showHistory(rules: Rules): Promise<{ name: string; open: boolean } | null> {
  const entries = rules.historyList();
  const list = el('select', { id: 'history-list', size: '12' });
  list.append(...entries.map((e) => exactOption(e.line, e.name)));
  list.selectedIndex = entries.length ? 0 : -1;
  const keep = el('input', { type: 'checkbox', id: 'history-keep' });
  keep.checked = rules.historyOn();
  keep.addEventListener('change', () => rules.setHistoryOn(keep.checked));
  const open = el('button', { type: 'button', id: 'history-open' }, commandText('HistoryOpen'));
  const compare = el('button', { type: 'button', id: 'history-compare' }, commandText('HistoryCompare'));
  const close = el('button', { type: 'button', id: 'history-close' }, t('PreviewClose'));
  open.disabled = compare.disabled = entries.length === 0;
  const dialog = el('dialog', { id: 'history', 'aria-labelledby': 'history-title' },
    el('h2', { id: 'history-title' }, t('HistoryTitle')),
    list,
    el('label', {}, keep, ' ', commandText('HistoryKeep')),
    el('div', { class: 'buttons' }, open, compare, close));
  return showModalDialog<{ name: string; open: boolean } | null>(dialog, list, null, (finish) => {
    open.addEventListener('click', () => finish(list.value ? { name: list.value, open: true } : null));
    compare.addEventListener('click', () => finish(list.value ? { name: list.value, open: false } : null));
    list.addEventListener('dblclick', () => finish(list.value ? { name: list.value, open: true } : null));
    // Enter on an entry opens it, as on the desktop.
    list.addEventListener('keydown', (e) => {
      if (e.key !== 'Enter' || !list.value) return;
      e.preventDefault();
      finish({ name: list.value, open: true });
    });
    close.addEventListener('click', () => finish(null));
  });
}
