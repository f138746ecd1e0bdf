// 打印预览 and 打印: the rules' five report pages as HTML pages; the browser
// prints them with the print style sheet.
import type { ReportPage, Rules } from './rules';
import { byId, el } from './dom';
import { commandText, t } from './texts';

const TWIPS_PER_PX = 15;  // 1440 twips an inch, 96 CSS pixels an inch

// Letters and digits whose mean advance stands for a font's average character width.
const AVERAGE_SAMPLE = 'abcdefghijklmnopqrstuvwxyz0123456789';

// The key listener of the preview shown, while one is.
let escapeListener: ((e: KeyboardEvent) => void) | null = null;

// Shows the report over the page; returns what closes it, as 关闭 does.
export function showReport(rules: Rules, onClose: () => void): () => void {
  const report = byId('report');
  const close = el('button', { type: 'button', id: 'report-close', title: t('PreviewCloseToolTip') }, t('PreviewClose'));
  const print = el('button', { type: 'button', id: 'report-print' }, commandText('CmdFilePrint'));
  if (escapeListener) document.removeEventListener('keydown', escapeListener);
  const finish = () => {
    if (escapeListener) document.removeEventListener('keydown', escapeListener);
    escapeListener = null;
    report.hidden = true;
    report.replaceChildren();
    onClose();
  };
  // Esc closes the preview, as 关闭 does, unless a box in front of it takes the key.
  escapeListener = (e: KeyboardEvent) => {
    if (e.key !== 'Escape' || e.defaultPrevented || document.querySelector('dialog[open]')) return;
    e.preventDefault();
    finish();
  };
  document.addEventListener('keydown', escapeListener);
  close.addEventListener('click', finish);
  print.addEventListener('click', () => window.print());
  const bar = el('div', { class: 'report-bar', role: 'toolbar', 'aria-label': commandText('CmdFilePrintPreview') }, print, close);
  const sheets = el('div', { class: 'sheets' });
  report.replaceChildren(bar, sheets);
  report.hidden = false;
  // Each preview opens at the first page, at its left edge.
  report.scrollTo(0, 0);
  rules.reportPages().forEach((page, index) => sheets.append(drawPage(page, index + 1)));
  fitLines(sheets);
  close.focus();
  return finish;
}

function drawPage(page: ReportPage, number: number): HTMLElement {
  const sheet = el('section', { class: 'page', 'aria-label': t('WebPageN', number) });
  sheet.style.width = `${page.width}px`;
  sheet.style.height = `${page.height}px`;
  for (const line of page.lines) {
    const font = line.title ? page.title : page.body;
    const node = el('div', { class: line.title ? 'line title' : 'line' }, line.text.trimEnd());
    node.style.left = `${line.x / TWIPS_PER_PX}px`;
    node.style.top = `${-line.y / TWIPS_PER_PX}px`;
    node.style.fontSize = `${font.height / TWIPS_PER_PX}px`;
    node.dataset.width = String(font.width / TWIPS_PER_PX);
    sheet.append(node);
  }
  return sheet;
}

// Draws each line at the character width the layout asks for, as the
// desktop's report font does: the browser's font squeezed or stretched so its
// average character takes that width, and no text wider than its characters
// allow (a Chinese character two widths), so no text runs into the next
// column whatever font the system supplies. All widths are read before any
// is set: one layout for the whole report.
function fitLines(sheets: HTMLElement): void {
  const lines = Array.from(sheets.querySelectorAll<HTMLElement>('.line'));
  const averages = new Map<string, number>();
  const averageOf = (line: HTMLElement): number => {
    const key = `${line.className} ${line.style.fontSize}`;
    let average = averages.get(key);
    if (average === undefined) {
      const probe = el('div', { class: line.className }, AVERAGE_SAMPLE);
      probe.style.fontSize = line.style.fontSize;
      line.parentElement!.append(probe);
      average = probe.getBoundingClientRect().width / AVERAGE_SAMPLE.length;
      probe.remove();
      averages.set(key, average);
    }
    return average;
  };
  const natural = lines.map((line) => ({ width: line.getBoundingClientRect().width, average: averageOf(line) }));
  lines.forEach((line, i) => {
    const wanted = Number(line.dataset.width);
    const { width, average } = natural[i];
    if (width <= 0 || average <= 0) return;
    const scale = Math.min(wanted / average, (characterCells(line.textContent ?? '') * wanted) / width);
    line.style.transform = `scaleX(${scale.toFixed(4)})`;
  });
}

// Character widths a text may take: two for a wide (Chinese) character.
function characterCells(text: string): number {
  let cells = 0;
  for (const c of text) cells += /[\u1100-\u115f\u2e80-\ua4cf\uac00-\ud7a3\uf900-\ufaff\ufe30-\ufe4f\uff00-\uff60\uffe0-\uffe6]/.test(c) ? 2 : 1;
  return cells;
}
