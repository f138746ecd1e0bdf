// 帮助主题: the user guide that ships with the page, in the language the page
// speaks, in a window of its own, opened at a section or at its top.
import { el, showModalDialog } from './dom';
import { language, t } from './texts';

// `section` is a heading of the guide, or null for its top. Resolves when
// the window is closed, by 关闭 or Esc.
export async function showGuide(section: string | null): Promise<void> {
  const guide = el('div', { id: 'guide', class: 'guide', tabindex: '0', role: 'document', 'aria-labelledby': 'help-title' });
  const close = el('button', { type: 'button', id: 'help-close' }, t('PreviewClose'));
  const dialog = el('dialog', { id: 'help', class: 'help', 'aria-labelledby': 'help-title' },
    el('h2', { id: 'help-title' }, t('HelpTitle')), guide, el('div', { class: 'buttons' }, close));
  const closed = showModalDialog<void>(dialog, guide, undefined, (finish) => close.addEventListener('click', () => finish()));
  guide.innerHTML = await guideHtml();
  const heading = Array.from(guide.querySelectorAll<HTMLElement>('h1, h2, h3')).find((h) => h.textContent === section);
  if (heading) guide.scrollTop = heading.offsetTop - guide.offsetTop;
  return closed;
}

// The guide in the page's language; the service worker keeps it for offline use.
async function guideHtml(): Promise<string> {
  const response = await fetch(language() === 'en' ? 'guide/guide-en.html' : 'guide/guide.html');
  return response.text();
}
