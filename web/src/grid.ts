// The channel grid: 128 rows of ten cells as an ARIA grid, the cell editors
// and the keyboard. Every value goes through the rules; the grid only shows
// the texts the rules hold and hands them what was typed or chosen.
import { type EditResult, type GridStep, type Rules, type RulesEnumValue } from './rules';
import { el, moveFocus } from './dom';
import { showNotices } from './messageBox';
import { t } from './texts';

const ROWS = 128;
const COLUMNS = 10;

export interface CellRange { top: number; left: number; bottom: number; right: number }

type Editor = HTMLInputElement | HTMLSelectElement;

// The commands the grid's keys run: the page runs them as its buttons do.
export type GridCommand = 'copy' | 'cut' | 'paste' | 'clearCells';

export interface GridHost {
  // Told what every edit of a cell did.
  edited(result: EditResult): void;
  // `text`: what a paste brings, when the grid has it already.
  command(command: GridCommand, text?: string): void;
  // A word about what was typed, shown in the status bar; never a box.
  notice(text: string): void;
}

export class ChannelGrid {
  readonly element: HTMLTableElement;
  private readonly cells: HTMLTableCellElement[][] = [];
  private readonly headers: HTMLTableCellElement[] = [];
  private row = 1;
  private col = 1;
  private anchor = { row: 1, col: 1 };
  private dragging = false;
  private pressed: { row: number; col: number } | null = null;
  private editor: Editor | null = null;
  private editing = { row: 0, col: 0 };
  private loaded = '';  // what the open editor held when it opened
  private readonly toneList: HTMLDataListElement;

  constructor(
    private readonly rules: Rules,
    private readonly host: GridHost,
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
    // A click, pressed and released on the same cell, opens its editor; a drag selects.
    document.addEventListener('mouseup', (e) => {
      const at = this.cellOf(e.target);
      const click = e.button === 0 && this.pressed && at && at.row === this.pressed.row && at.col === this.pressed.col;
      this.dragging = false;
      this.pressed = null;
      if (click && !this.editor) this.startEdit(this.rules.EditorOpening.Click, '');
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

  // Whether Undo and Redo are the open editor's own, for what was typed into it.
  undoKeysAreTheEditors(): boolean {
    return this.editor !== null && this.rules.undoKeysAreTheEditors(this.editing.col, this.editorText(this.editor) !== this.loaded);
  }

  // Writes an open editor's text, as leaving the cell does.
  commitEdit(): void {
    if (!this.editor) return;
    const { row, col } = this.editing;
    const editor = this.editor;
    this.closeEditor();
    void this.commit(row, col, editor, false);
  }

  // Writes an open editor's text before a command. False when the text was
  // refused: the command is not to run, and the cell opens again with what
  // was typed once the refusal is read.
  commitForCommand(): boolean {
    if (!this.editor) return true;
    const { row, col } = this.editing;
    const editor = this.editor;
    this.closeEditor();
    const result = this.write(row, col, editor, false);
    const shown = showNotices(result?.messages ?? []);
    if (!result?.refused) return true;
    void shown.then(() => this.perform(this.rules.afterRefusedCommit(row, col), this.editorText(editor)));
    return false;
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
    if (this.onHeaderDown(e)) return;
    const at = this.cellOf(e.target);
    if (!at || (this.editor && this.editor.contains(e.target as Node))) return;
    e.preventDefault();
    this.moveTo(at.row, at.col, e.shiftKey);
    this.dragging = e.button === 0;
    this.pressed = e.button === 0 && !e.shiftKey && !e.ctrlKey ? at : null;
  }

  // A press on a channel number selects that channel's row, on a caption its
  // column, as the desktop's headers do; the grid keeps the focus either way.
  private onHeaderDown(e: MouseEvent): boolean {
    const header = (e.target as HTMLElement | null)?.closest?.('th');
    if (!header || !this.element.contains(header)) return false;
    e.preventDefault();
    const row = header.getAttribute('role') === 'rowheader' ? Number(header.parentElement?.getAttribute('aria-rowindex')) - 1 : 0;
    const col = this.headers.indexOf(header as HTMLTableCellElement);
    if (row > 0) {
      this.moveTo(row, COLUMNS);
      this.moveTo(row, 1, true);
    } else if (col > 0) {
      this.moveTo(ROWS, col);
      this.moveTo(1, col, true);
    } else {
      this.focus();
    }
    return true;
  }

  // Dragging with the left button held stretches the selection from where it began.
  private onMouseOver(e: MouseEvent): void {
    if (!this.dragging) return;
    if ((e.buttons & 1) === 0) {
      this.dragging = false;
      return;
    }
    const at = this.cellOf(e.target);
    if (at && (at.row !== this.row || at.col !== this.col)) {
      this.pressed = null;
      this.moveTo(at.row, at.col, true);
    }
  }

  private onKeyDown(e: KeyboardEvent): void {
    if (this.editor) return this.onEditorKey(e);
    const step = this.rules.keyOnCell(this.row, this.col, e.key, e.ctrlKey || e.metaKey, e.shiftKey, e.altKey);
    if (step.action !== this.rules.GridAction.None) {
      e.preventDefault();
      e.stopPropagation();
      return this.perform(step, e.key);
    }
    const moves: Record<string, [number, number]> = {
      ArrowUp: [-1, 0], ArrowDown: [1, 0], ArrowLeft: [0, -1], ArrowRight: [0, 1],
      PageUp: [-this.rowsPerPage(), 0], PageDown: [this.rowsPerPage(), 0],
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
  }

  // The rows the grid's frame shows at once: Page Up and Page Down move by
  // them, as the desktop's grid does.
  private rowsPerPage(): number {
    const frame = this.element.parentElement;
    const row = this.cell(1, 1).offsetHeight;
    const head = this.element.tHead?.offsetHeight ?? 0;
    return frame && row ? Math.max(1, Math.floor((frame.clientHeight - head) / row)) : 1;
  }

  // Goes where a key's step says.
  private perform(step: GridStep, typed = ''): void {
    const action = this.rules.GridAction;
    switch (step.action) {
      case action.Move:
        return this.moveTo(step.row, step.column);
      case action.OpenEditor:
        this.moveTo(step.row, step.column);
        return this.startEdit(step.opening, typed);
      case action.LeaveGrid:
        return this.leaveGrid(step.forward);
      case action.Copy: return this.host.command('copy');
      case action.Cut: return this.host.command('cut');
      case action.Paste: return this.host.command('paste');
      case action.ClearCells: return this.host.command('clearCells');
    }
  }

  // The focus moves on to the control after the grid (or before it).
  private leaveGrid(forward: boolean): void {
    moveFocus(this.cell(this.row, this.col), forward, (n) => this.element.contains(n));
  }

  private startEdit(opening: RulesEnumValue, typed: string): void {
    const row = this.row;
    const col = this.col;
    const td = this.cell(row, col);
    const cellText = this.rules.cell(row, col);
    const start = this.rules.startEditor(col, opening, typed, cellText);
    if (start.notice) this.host.notice(start.notice);
    const kind = this.rules.editorForColumn(col);
    const label = this.rules.columnCaption(col);
    let editor: Editor;
    if (kind === this.rules.CellEditorKind.List) {
      const select = el('select', { class: 'cell-editor', 'aria-label': label });
      for (const entry of this.rules.listEntries(col)) select.append(el('option', {}, entry));
      // An empty cell opens with no entry chosen: any entry chosen, the first
      // too (无 for a channel whose signalling shows no text), is written.
      select.selectedIndex = start.text ? this.rules.entryStartingWith(col, start.text) : -1;
      editor = select;
    } else {
      const tone = kind === this.rules.CellEditorKind.Tone;
      const input = el('input', tone ? { type: 'text', list: 'tone-list', class: 'cell-editor', 'aria-label': label } : { type: 'text', inputmode: 'decimal', class: 'cell-editor', 'aria-label': label });
      input.value = start.text;
      // Several cells pasted into an editor nothing was typed into go into
      // the grid from its cell, as the grid's Paste puts them.
      input.addEventListener('paste', (e) => {
        const text = e.clipboardData?.getData('text/plain') ?? '';
        if (this.rules.pasteKeysAreTheEditors(col, input.value !== this.loaded, text)) return;
        e.preventDefault();
        this.host.command('paste', text);
      });
      editor = input;
    }
    this.editor = editor;
    this.editing = { row, col };
    this.loaded = editor instanceof HTMLSelectElement ? this.editorText(editor) : cellText;
    // The editor lies over the cell, which keeps its text underneath: the
    // column keeps its width, and the editor is as wide as the cell.
    td.classList.add('editing');
    td.append(editor);
    // Leaving the cell writes its text. The window losing the focus to
    // another tab or program does not, nor do the menus taking it: the editor
    // stays open with its text, and has the focus again when the window or
    // the menus give it back; a command chosen in the menus writes it first.
    editor.addEventListener('blur', (e) => {
      const to = (e as FocusEvent).relatedTarget;
      const toMenus = to instanceof Element && to.closest('[role=menubar]') !== null;
      if (this.editor === editor && document.hasFocus() && !toMenus) this.commitEdit();
    });
    editor.focus();
    if (editor instanceof HTMLInputElement) {
      if (start.selectAll) editor.select();
      else editor.setSelectionRange(editor.value.length, editor.value.length);
    }
  }

  // Closes the open editor; the focus it held goes back to the current cell,
  // so typing goes on in the grid.
  private closeEditor(): void {
    const editor = this.editor;
    if (!editor) return;
    this.editor = null;
    const { row, col } = this.editing;
    const focused = document.activeElement === editor;
    editor.remove();
    const td = this.cell(row, col);
    td.classList.remove('editing');
    td.textContent = this.rules.cell(row, col);
    if (focused) this.focus();
  }

  private onEditorKey(e: KeyboardEvent): void {
    const editor = this.editor!;
    const { row, col } = this.editing;
    // A select's open list takes its keys itself: none arrive here while it is open.
    const step = this.rules.keyInEditor(row, col, e.key, e.ctrlKey || e.metaKey, e.shiftKey, e.altKey, false);
    if (step.action === this.rules.GridAction.None) return;
    e.preventDefault();
    e.stopPropagation();
    if (step.action === this.rules.GridAction.Ignore) return;
    this.closeEditor();
    if (step.action === this.rules.GridAction.CancelEdit) return;
    // A refused text opens again for another try, with what was typed, whichever key wrote it.
    void this.commit(row, col, editor, e.key === 'Enter').then((refused) =>
      this.perform(this.rules.afterEditorKey(step, row, col, refused), refused ? this.editorText(editor) : ''));
  }

  private editorText(editor: Editor): string {
    return editor instanceof HTMLSelectElement ? editor.options[editor.selectedIndex]?.text ?? '' : editor.value;
  }

  // Writes what an editor held; true when the text was refused. An editor
  // still holding what it opened with changes nothing, so a look at a cell
  // never rewrites it (nor warns about it again).
  private async commit(row: number, col: number, editor: Editor, enter: boolean): Promise<boolean> {
    const result = this.write(row, col, editor, enter);
    if (!result) return false;
    await showNotices(result.messages);
    return result.refused;
  }

  // The part of a commit that changes the session; null when nothing changed.
  private write(row: number, col: number, editor: Editor, enter: boolean): EditResult | null {
    const typed = this.editorText(editor);
    if (typed === this.loaded) return null;
    const result = this.rules.setCell(row, col, typed, enter);
    this.host.edited(result);
    return result;
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
