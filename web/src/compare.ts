// The comparison below the grid: the differences in the user's words, the
// marked cells, and the buttons that step through them. The rules compare;
// this only shows their answer.
import type { Rules } from './rules';
import { el } from './dom';
import type { ChannelGrid } from './grid';
import { commandText, t } from './texts';

export class ComparePanel {
  readonly element: HTMLElement;
  private readonly summary = el('span', { id: 'compare-summary' });
  // A list the keys walk too: Up and Down choose a line, Enter goes to its cell.
  private readonly list = el('ul', { id: 'compare-list', role: 'listbox', tabindex: '0', 'aria-labelledby': 'compare-title' });
  private lines: { channel: number; column: number }[] = [];
  private chosen = -1;
  private readonly previous = el('button', { type: 'button', id: 'compare-previous' });
  private readonly next = el('button', { type: 'button', id: 'compare-next' });
  private readonly end = el('button', { type: 'button', id: 'compare-end' });
  private readonly title = el('h2', { id: 'compare-title' });

  constructor(private readonly rules: Rules, private readonly grid: ChannelGrid) {
    this.element = el('section', { id: 'compare', 'aria-labelledby': 'compare-title' },
      this.title, el('div', { class: 'buttons' }, this.summary, this.previous, this.next, this.end), this.list);
    this.element.hidden = true;
    this.previous.addEventListener('click', () => this.step(false));
    this.next.addEventListener('click', () => this.step(true));
    this.end.addEventListener('click', () => this.endComparison());
    this.list.addEventListener('keydown', (e) => this.onListKey(e));
    this.applyLanguage();
  }

  applyLanguage(): void {
    this.previous.textContent = t('ButtonPrevious');
    this.next.textContent = t('ButtonNext');
    this.end.textContent = commandText('CmdEndCompare');
    this.refresh();
  }

  active(): boolean {
    return !this.element.hidden;
  }

  // Shows the rules' comparison against the working copy as it now stands.
  refresh(): void {
    const c = this.rules.comparison();
    this.element.hidden = !c.active;
    const cells = c.lines.filter((l) => l.channel > 0).map((l) => ({ row: l.channel, col: l.column, tip: l.tip }));
    this.grid.markDifferences(c.active ? cells : []);
    if (!c.active) return;
    this.title.textContent = t('CompareTitle', c.name);
    this.summary.textContent = c.lines.length ? t('CompareCount', c.lines.length) : t('CompareSame');
    this.lines = c.lines.map((l) => ({ channel: l.channel, column: l.column }));
    this.list.replaceChildren(...c.lines.map((l, i) => {
      const item = el('li', { id: `compare-line-${i}`, role: 'option' }, l.text);
      item.addEventListener('click', () => {
        this.choose(i);
        this.goToChosen();
      });
      return item;
    }));
    this.choose(Math.min(this.chosen, this.lines.length - 1));
    this.previous.disabled = this.next.disabled = cells.length === 0;
  }

  private onListKey(e: KeyboardEvent): void {
    const step = e.key === 'ArrowDown' ? 1 : e.key === 'ArrowUp' ? -1 : 0;
    if (step !== 0) this.choose(Math.max(0, Math.min(this.lines.length - 1, this.chosen + step)));
    else if (e.key === 'Enter' || e.key === ' ') this.goToChosen();
    else return;
    e.preventDefault();
  }

  // Marks line `index` of the list as chosen (-1: none) and shows it.
  private choose(index: number): void {
    this.chosen = index;
    [...this.list.children].forEach((item, i) => item.setAttribute('aria-selected', String(i === index)));
    const item = this.list.children[index];
    if (item) this.list.setAttribute('aria-activedescendant', item.id);
    else this.list.removeAttribute('aria-activedescendant');
    item?.scrollIntoView({ block: 'nearest' });
  }

  // A line of a channel's field goes to its cell.
  private goToChosen(): void {
    const line = this.lines[this.chosen];
    if (line && line.channel > 0) this.grid.moveTo(line.channel, line.column);
  }

  // 结束比较: the marks go, the grid has the focus.
  endComparison(): void {
    this.rules.endComparison();
    this.refresh();
    this.grid.focus();
  }

  // Moves the grid's current cell to the next (previous) cell that differs.
  step(forward: boolean): void {
    const at = this.grid.current();
    const to = this.rules.stepDifference(at.row, at.col, forward);
    if (to) this.grid.moveTo(to.row, to.col);
  }

  // Moves the grid's current cell to the first cell that differs.
  first(): void {
    const to = this.rules.stepDifference(0, 0, true);
    if (to) this.grid.moveTo(to.row, to.col);
  }
}
