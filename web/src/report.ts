// 打印预览 and 打印: the rules' five report pages as HTML pages; the browser
// prints them with the print style sheet.
import type { Rules } from './rules';
import { byId, el } from './dom';
import { t } from './texts';

const TWIPS_PER_PX = 15;  // 1440 twips an inch, 96 CSS pixels an inch

export function showReport(rules: Rules, onClose: () => void): HTMLElement {
  const report = byId('report');
  const close = el('button', { type: 'button', id: 'report-close' }, t('PreviewClose'));
  const print = el('button', { type: 'button', id: 'report-print' }, t('CmdFilePrint'));
  close.addEventListener('click', () => {
    report.hidden = true;
    report.replaceChildren();
    onClose();
  });
  print.addEventListener('click', () => window.print());
  const bar = el('div', { class: 'report-bar', role: 'toolbar', 'aria-label': t('CmdFilePrintPreview') }, print, close);
  report.replaceChildren(bar);
  rules.reportPages().forEach((page, index) => {
    const sheet = el('section', { class: 'page', 'aria-label': t('WebPageN', index + 1) });
    sheet.style.width = `${page.width}px`;
    sheet.style.height = `${page.height}px`;
    for (const line of page.lines) {
      const font = line.title ? page.title : page.body;
      const node = el('div', { class: line.title ? 'line title' : 'line' }, line.text);
      node.style.left = `${line.x / TWIPS_PER_PX}px`;
      node.style.top = `${-line.y / TWIPS_PER_PX}px`;
      node.style.fontSize = `${font.height / TWIPS_PER_PX}px`;
      sheet.append(node);
    }
    report.append(sheet);
  });
  report.hidden = false;
  close.focus();
  return report;
}
