// 关于: the program's icon, name and version, and 确定, as the desktop's
// About box shows them.
import { el, showModalDialog } from './dom';
import { t } from './texts';

// Resolves when the box is closed, by 确定, Enter or Esc.
export function showAbout(): Promise<void> {
  const ok = el('button', { type: 'button', id: 'about-ok' }, t('ButtonOk'));
  const dialog = el('dialog', { id: 'about', 'aria-labelledby': 'about-title', 'aria-describedby': 'about-version' },
    el('h2', { id: 'about-title' }, t('AboutTitle')),
    el('div', { class: 'about-body' },
      el('img', { src: 'icons/icon-192.png', alt: '', width: '48', height: '48' }),
      el('p', { id: 'about-version' }, t('AboutVersion'))),
    el('div', { class: 'buttons' }, ok));
  return showModalDialog<void>(dialog, ok, undefined, (finish) => ok.addEventListener('click', () => finish()));
}
