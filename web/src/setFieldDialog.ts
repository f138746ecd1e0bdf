// 批量设置: one value for a column of every selected channel in use.
import type { Rules } from './rules';
import { el, pressOnEnter, showModalDialog } from './dom';
import { commandText, t } from './texts';

// Resolves with the column and value chosen, or null when cancelled.
export function chooseField(rules: Rules): Promise<{ column: number; value: string } | null> {
  const column = el('select', { id: 'field-column' });
  for (let c = 3; c <= 10; ++c) column.append(new Option(rules.columnCaption(c), String(c)));
  const value = el('select', { id: 'field-value' });
  const fill = () => {
    const c = Number(column.value);
    const entries = c <= 4 ? rules.toneTexts() : rules.listEntries(c);
    value.replaceChildren(...entries.map((e) => new Option(e)));
  };
  column.addEventListener('change', fill);
  fill();
  const ok = el('button', { type: 'button', id: 'field-ok' }, t('ButtonOk'));
  const cancel = el('button', { type: 'button', id: 'field-cancel' }, t('ButtonCancel'));
  const dialog = el('dialog', { id: 'set-field', 'aria-labelledby': 'set-field-title' },
    el('h2', { id: 'set-field-title' }, t('SetFieldTitle')),
    el('label', {}, el('span', {}, commandText('SetFieldColumn')), column),
    el('label', {}, el('span', {}, commandText('SetFieldValue')), value),
    el('div', { class: 'buttons' }, ok, cancel));
  pressOnEnter(dialog, ok);
  return showModalDialog<{ column: number; value: string } | null>(dialog, column, null, (finish) => {
    ok.addEventListener('click', () =>
      finish({ column: Number(column.value), value: value.options[value.selectedIndex]?.text ?? '' }));
    cancel.addEventListener('click', () => finish(null));
  });
}
