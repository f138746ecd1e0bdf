// The channel grid: 128 rows of ten cells as an ARIA grid, the cell editors
// and the keyboard. Every value goes through the rules; the grid only shows
// the texts the rules hold and hands them what was typed or chosen.
import { Buttons, type EditResult, type Rules } from './rules';
import { el } from './dom';
import { MessageIcon, showMessage } from './messageBox';
import { t } from './texts';

const ROWS = 128;
const COLUMNS = 10;
const SCAN = 6;
const BUSY = 10;

export interface CellRange { top: number; left: number; bottom: number; right: number }

type Editor = HTMLInputElement | HTMLSelectElement;

export class ChannelGrid {
  readonly element: HTMLTableElement;
  private readonly cells: HTMLTableCellElement[][] = [];
  private readonly headers: HTMLTableCellElement[] = [];
  private row = 1;
  private col = 1;
  private anchor = { row: 1, col: 1 };
  private dragging = false;
  private editor: Editor | null = null;
  private editing = { row: 0, col: 0 };
  private readonly toneList: HTMLDataListElement;

  constructor(
    private readonly rules: Rules,
    // Told what every edit of a cell did.
    private readonly edited: (result: EditResult) => void,
  ) {
    this.toneList = el('datalist', { id: 'tone-list' });
    for (const text of rules.toneTexts()) this.toneList.append(el('option', { value: text }));
    this.element = el('table', { role: 'grid', id: 'grid', 'aria-rowcount': String(ROWS + 1), 'aria-colcount': '11', 'aria-multiselectable': 'true' });
    const head = el('thead');
    const headRow = el('tr', { role: 'row', 'aria-rowindex': '1' });
    for (let c = 0; c <= COLUMNS; ++c) {
      const th = el('th', { role: 'columnheader', scope: 'col', 'aria-colindex': String(c + 1) });
      this.headers.push(th);
      headRow.append(th);
    }
    head.append(headRow);
    const body = el('tbody');
    for (let r = 1; r <= ROWS; ++r) {
      const tr = el('tr', { role: 'row', 'aria-rowindex': String(r + 1) });
      tr.append(el('th', { role: 'rowheader', scope: 'row', 'aria-colindex': '1' }, String(r)));
      const rowCells: HTMLTableCellElement[] = [];
      for (let c = 1; c <= COLUMNS; ++c) {
        const td = el('td', { role: 'gridcell', 'aria-colindex': String(c + 1), tabindex: '-1', 'data-row': String(r), 'data-col': String(c) });
        rowCells.push(td);
        tr.append(td);
      }
      this.cells[r] = rowCells;
      body.append(tr);
    }
    this.element.append(head, body);
    this.element.addEventListener('mousedown', (e) => this.onMouseDown(e));
    this.element.addEventListener('mouseover', (e) => this.onMouseOver(e));
    document.addEventListener('mouseup', () => {
      this.dragging = false;
    });
    this.element.addEventListener('dblclick', (e) => {
      if (this.cellOf(e.target)) void this.startEdit('');
    });
    this.element.addEventListener('keydown', (e) => this.onKeyDown(e));
    this.refreshCaptions();
    this.refresh();
    this.cell(1, 1).tabIndex = 0;
  }

  get dataList(): HTMLDataListElement {
    return this.toneList;
  }

  refreshCaptions(): void {
    for (let c = 0; c <= COLUMNS; ++c) this.headers[c].textContent = this.rules.columnCaption(c);
    this.element.setAttribute('aria-label', t('WebGridLabel'));
  }

  // Shows the texts the rules hold.
  refresh(): void {
    if (this.editor) this.closeEditor();
    this.refreshRows(1, ROWS);
    this.showSelection();
  }

  // Marks the cells a comparison found different; each one's tip says what
  // the other image holds.
  markDifferences(cells: { row: number; col: number; tip: string }[]): void {
    for (const td of this.element.querySelectorAll<HTMLTableCellElement>('td.differs')) {
      td.classList.remove('differs');
      td.removeAttribute('title');
    }
    for (const { row, col, tip } of cells) {
      const td = this.cell(row, col);
      td.classList.add('differs');
      td.title = tip;
    }
  }

  current(): { row: number; col: number } {
    return { row: this.row, col: this.col };
  }

  selection(): CellRange {
    return {
      top: Math.min(this.anchor.row, this.row),
      bottom: Math.max(this.anchor.row, this.row),
      left: Math.min(this.anchor.col, this.col),
      right: Math.max(this.anchor.col, this.col),
    };
  }

  focus(): void {
    this.cell(this.row, this.col).focus();
  }

  isEditing(): boolean {
    return this.editor !== null;
  }

  // Writes an open editor's text, as leaving the cell does.
  commitEdit(): void {
    if (!this.editor) return;
    const { row, col } = this.editing;
    const editor = this.editor;
    this.closeEditor();
    void this.commit(row, col, editor, false);
  }

  moveTo(row: number, col: number, extend = false): void {
    if (this.editor) this.commitEdit();
    this.row = Math.min(ROWS, Math.max(1, row));
    this.col = Math.min(COLUMNS, Math.max(1, col));
    if (!extend) this.anchor = { row: this.row, col: this.col };
    this.showSelection();
    const td = this.cell(this.row, this.col);
    td.scrollIntoView({ block: 'nearest', inline: 'nearest' });
    td.focus();
  }

  private cell(row: number, col: number): HTMLTableCellElement {
    return this.cells[row][col - 1];
  }

  private cellOf(target: EventTarget | null): { row: number; col: number } | null {
    const td = (target as HTMLElement | null)?.closest?.('td[data-row]') as HTMLElement | null;
    if (!td) return null;
    return { row: Number(td.dataset.row), col: Number(td.dataset.col) };
  }

  private showSelection(): void {
    const range = this.selection();
    for (let r = 1; r <= ROWS; ++r)
      for (let c = 1; c <= COLUMNS; ++c) {
        const td = this.cell(r, c);
        const selected = r >= range.top && r <= range.bottom && c >= range.left && c <= range.right;
        if ((td.getAttribute('aria-selected') === 'true') !== selected) td.setAttribute('aria-selected', String(selected));
        const isCurrent = r === this.row && c === this.col;
        td.tabIndex = isCurrent ? 0 : -1;
        td.classList.toggle('current', isCurrent);
      }
  }

  private onMouseDown(e: MouseEvent): void {
    const at = this.cellOf(e.target);
    if (!at || (this.editor && this.editor.contains(e.target as Node))) return;
    e.preventDefault();
    this.moveTo(at.row, at.col, e.shiftKey);
    this.dragging = e.button === 0;
  }

  // Dragging with the left button held stretches the selection from where it began.
  private onMouseOver(e: MouseEvent): void {
    if (!this.dragging) return;
    if ((e.buttons & 1) === 0) {
      this.dragging = false;
      return;
    }
    const at = this.cellOf(e.target);
    if (at && (at.row !== this.row || at.col !== this.col)) this.moveTo(at.row, at.col, true);
  }

  private onKeyDown(e: KeyboardEvent): void {
    if (this.editor) return this.onEditorKey(e);
    const moves: Record<string, [number, number]> = {
      ArrowUp: [-1, 0], ArrowDown: [1, 0], ArrowLeft: [0, -1], ArrowRight: [0, 1],
      PageUp: [-20, 0], PageDown: [20, 0],
    };
    if (e.key in moves && !e.ctrlKey) {
      const [dr, dc] = moves[e.key];
      e.preventDefault();
      return this.moveTo(this.row + dr, this.col + dc, e.shiftKey);
    }
    if (e.key === 'Home' || e.key === 'End') {
      e.preventDefault();
      const end = e.key === 'End';
      return e.ctrlKey ? this.moveTo(end ? ROWS : 1, end ? COLUMNS : 1, e.shiftKey) : this.moveTo(this.row, end ? COLUMNS : 1, e.shiftKey);
    }
    if (e.key === 'Enter') {
      e.preventDefault();
      if (this.col === SCAN) return this.leaveGrid();
      if (this.col < BUSY) this.moveTo(this.row, this.col + 1);
      return;
    }
    if (e.key === 'F2') {
      e.preventDefault();
      void this.startEdit('');
      return;
    }
    if (e.key.length === 1 && !e.ctrlKey && !e.metaKey && !e.altKey && this.col !== SCAN) {
      e.preventDefault();
      void this.startEdit(e.key);
    }
  }

  // The focus moves on to the control after the grid, as Tab would.
  private leaveGrid(): void {
    const next = document.querySelector<HTMLElement>('[data-after-grid]');
    next?.focus();
  }

  private async startEdit(typed: string): Promise<void> {
    const row = this.row;
    const col = this.col;
    if (typed && !/[0-9]/.test(typed)) await showMessage(t('TypeDigits'));
    const td = this.cell(row, col);
    const text = this.rules.cell(row, col);
    let editor: Editor;
    if (col <= 2) {
      const input = el('input', { type: 'text', inputmode: 'decimal', class: 'cell-editor', 'aria-label': this.rules.columnCaption(col) });
      input.value = text === '' ? (/[0-9]/.test(typed) ? typed : '') : typed || text;
      editor = input;
    } else if (col <= 4) {
      const input = el('input', { type: 'text', list: 'tone-list', class: 'cell-editor', 'aria-label': this.rules.columnCaption(col) });
      input.value = typed || text;
      editor = input;
    } else {
      const select = el('select', { class: 'cell-editor', 'aria-label': this.rules.columnCaption(col) });
      const entries = this.rules.listEntries(col);
      for (const entry of entries) select.append(el('option', {}, entry));
      select.selectedIndex = this.rules.entryStartingWith(col, text);
      editor = select;
    }
    this.editor = editor;
    this.editing = { row, col };
    td.textContent = '';
    td.append(editor);
    editor.addEventListener('blur', () => {
      if (this.editor === editor) this.commitEdit();
    });
    editor.focus();
    if (editor instanceof HTMLInputElement) {
      if (typed) editor.setSelectionRange(editor.value.length, editor.value.length);
      else editor.select();
    }
  }

  private closeEditor(): void {
    const editor = this.editor;
    if (!editor) return;
    this.editor = null;
    const { row, col } = this.editing;
    editor.remove();
    this.cell(row, col).textContent = this.rules.cell(row, col);
  }

  private onEditorKey(e: KeyboardEvent): void {
    const editor = this.editor!;
    const { row, col } = this.editing;
    if (e.key === 'Escape') {
      e.preventDefault();
      e.stopPropagation();
      this.closeEditor();
      this.focus();
      return;
    }
    if (e.key !== 'Enter') return;
    e.preventDefault();
    this.closeEditor();
    void this.commit(row, col, editor, true).then(() => this.walkAfterEnter(row, col));
  }

  // Where Enter in an editor goes next: the next cell of the row, opened;
  // from the last list of a row to the first cell of the next row.
  private walkAfterEnter(row: number, col: number): void {
    if (col < 5) {
      this.moveTo(row, col + 1);
      void this.startEdit('');
    } else if (row >= ROWS) {
      this.leaveGrid();
    } else if (col === BUSY) {
      this.moveTo(row + 1, 1);
      void this.startEdit('');
    } else {
      this.moveTo(row, col + 1);
      void this.startEdit('');
    }
  }

  private async commit(row: number, col: number, editor: Editor, enter: boolean): Promise<void> {
    const typed = editor instanceof HTMLSelectElement ? editor.options[editor.selectedIndex]?.text ?? '' : editor.value;
    const result = this.rules.setCell(row, col, typed, enter);
    this.edited(result);
    for (const message of result.messages) {
      if (message.warning) await showMessage(message.text, Buttons.Ok, MessageIcon.Warning);
      else await showMessage(message.text, Buttons.Ok, MessageIcon.Information, t('OutOfBandCaption'));
    }
    if (result.refusal) await showMessage(result.refusal, Buttons.Ok, MessageIcon.Warning);
  }

  // Shows the texts the rules hold for channels first..last.
  refreshRows(first: number, last: number): void {
    for (let r = Math.max(1, first); r <= Math.min(ROWS, last); ++r)
      for (let c = 1; c <= COLUMNS; ++c) {
        if (this.editor && this.editing.row === r && this.editing.col === c) continue;
        const text = this.rules.cell(r, c);
        const td = this.cell(r, c);
        if (td.textContent !== text) td.textContent = text;
      }
  }
}
