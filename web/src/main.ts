// The page: the document, its commands and the form around the grid.
import { Answer, Buttons, CloneOutcome, FormBox, RowsOp, type EditResult, type Rules, type RulesFactory } from './rules';
import { byId } from './dom';
import { download, openSinFile, readTextFile, recentBytes, recentFiles, rememberFile, saveAs, writeToHandle } from './files';
import { ComparePanel } from './compare';
import { ChannelGrid } from './grid';
import { showHistory } from './historyDialog';
import { RadioLink, serialApi } from './link';
import { MessageIcon, showMessage } from './messageBox';
import { editOptions } from './optionsDialog';
import { showReport } from './report';
import { chooseField } from './setFieldDialog';
import { commandText, commandTip, language, loadTexts, setLanguage, t } from './texts';
import { openTuning } from './tuningDialog';

declare const createRulesModule: RulesFactory;

class Page {
  private name = t('Untitled');
  private handle: FileSystemFileHandle | null = null;
  private readonly grid: ChannelGrid;
  private readonly compare: ComparePanel;
  private readonly link: RadioLink;
  private readonly boxes: HTMLSelectElement[] = [];
  private clipboard = '';

  constructor(private readonly rules: Rules) {
    this.grid = new ChannelGrid(rules, (result) => this.edited(result));
    byId('grid-frame').append(this.grid.element, this.grid.dataList);
    this.compare = new ComparePanel(rules, this.grid);
    byId('grid-frame').after(this.compare.element);
    this.link = new RadioLink(rules);
    for (const box of [FormBox.Band, FormBox.Model, FormBox.Manual, FormBox.PowerLevel]) {
      const select = byId<HTMLSelectElement>(`box-${box}`);
      this.boxes[box] = select;
      select.addEventListener('change', () => this.edited(rules.setSelection(box, select.selectedIndex)));
      select.addEventListener('keydown', (e) => {
        if (e.key === 'Enter') {
          e.preventDefault();
          focusNext(select);
        }
      });
    }
    for (const button of document.querySelectorAll<HTMLButtonElement>('[data-command]')) {
      button.addEventListener('click', () => void this.run(button.dataset.command!));
    }
    byId<HTMLSelectElement>('recent').addEventListener('change', (e) => void this.openRecent(e.target as HTMLSelectElement));
    document.addEventListener('keydown', (e) => this.onShortcut(e));
    window.addEventListener('beforeunload', (e) => {
      if (this.rules.isModified()) e.preventDefault();
    });
    this.acceptDroppedFiles();
    if (!serialApi()) {
      const notice = byId('no-serial');
      notice.hidden = false;
    }
    this.applyLanguage();
    this.showDocument();
  }

  // Shows what an operation of the editing session changed.
  private edited(result: EditResult): void {
    if (result.firstRow > 0) this.grid.refreshRows(result.firstRow, result.lastRow);
    if (result.selectionsChanged) this.showBoxes();
    if (this.compare.active()) this.compare.refresh();
    this.showTitle();
  }

  // The document's name, whether it holds unsaved changes, and what undo and redo can do.
  private showTitle(): void {
    const title = `${this.name}${this.rules.isModified() ? ' *' : ''}`;
    byId('doc-title').textContent = title;
    document.title = `${title} - ${t('AppTitle')}`;
    document.querySelector<HTMLButtonElement>('[data-command=undo]')!.disabled = !this.rules.canUndo();
    document.querySelector<HTMLButtonElement>('[data-command=redo]')!.disabled = !this.rules.canRedo();
  }

  private showBoxes(): void {
    for (const box of [FormBox.Band, FormBox.Model, FormBox.Manual, FormBox.PowerLevel]) {
      const select = this.boxes[box];
      const texts = this.rules.boxTexts(box);
      const shown = Array.from(select.options, (option) => option.text);
      if (shown.join('\n') !== texts.join('\n')) select.replaceChildren(...texts.map((text) => new Option(text)));
      select.selectedIndex = this.rules.selection(box);
    }
  }

  private showDocument(): void {
    this.showBoxes();
    this.grid.refresh();
    this.compare.refresh();
    this.showTitle();
  }

  private applyLanguage(): void {
    document.documentElement.lang = language() === 'zh' ? 'zh-CN' : 'en';
    for (const [id, name] of Object.entries(elementTexts)) byId(id).textContent = t(name);
    for (const [id, name] of Object.entries(groupLabels)) byId(id).setAttribute('aria-label', commandText(name));
    for (const button of document.querySelectorAll<HTMLButtonElement>('[data-command]')) {
      const command = button.dataset.command!;
      if (command === 'language') {
        button.textContent = t(language() === 'zh' ? 'LanguageEnglish' : 'LanguageChinese');
        button.title = t('TipLanguage');
      } else {
        button.textContent = commandText(commandTexts[command][0]);
        button.title = commandTip(commandTexts[command][1]);
      }
    }
    byId<HTMLSelectElement>('recent').setAttribute('aria-label', t('RecentPlaceholder'));
    this.grid.refreshCaptions();
    this.compare.applyLanguage();
    this.showRecent();
    this.showTitle();
  }

  private showRecent(): void {
    const select = byId<HTMLSelectElement>('recent');
    select.replaceChildren(new Option(t('RecentPlaceholder'), ''), ...recentFiles().map((e, i) => new Option(`${i + 1} ${e.name}`, String(i))));
  }

  async run(command: string): Promise<void> {
    this.grid.commitEdit();
    const range = this.grid.selection();
    switch (command) {
      case 'new': return this.newDocument();
      case 'open': return this.open();
      case 'save': return void (await this.save(false));
      case 'saveAs': return void (await this.save(true));
      case 'exportCsv': return download(`${baseName(this.name)}.csv`, this.rules.exportCsv(false), 'text/csv');
      case 'exportChirpCsv': return download(`${baseName(this.name)}-chirp.csv`, this.rules.exportCsv(true), 'text/csv');
      case 'importCsv': return this.importCsv();
      case 'undo': return this.edited(this.rules.undo());
      case 'redo': return this.edited(this.rules.redo());
      case 'copy': return this.copy();
      case 'cut':
        this.copy();
        return this.edited(this.rules.clearCells(range.top, range.left, range.bottom, range.right));
      case 'paste': return this.paste();
      case 'clearChannels': return this.rows(RowsOp.Clear);
      case 'insertChannel': return this.rows(RowsOp.Insert);
      case 'deleteChannel': return this.rows(RowsOp.Delete);
      case 'channelUp': return this.rows(RowsOp.MoveUp);
      case 'channelDown': return this.rows(RowsOp.MoveDown);
      case 'read': return this.link.transfer(false, (outcome) => this.transferred(false, outcome));
      case 'write': return this.link.transfer(true, (outcome) => this.transferred(true, outcome));
      case 'setField': return this.setField();
      case 'compareFile': return this.compareWithFile();
      case 'nextDifference': return this.compare.step(true);
      case 'previousDifference': return this.compare.step(false);
      case 'history': return this.history();
      case 'options': return this.options();
      case 'tuning': return this.tuning();
      case 'printPreview':
        showReport(this.rules, () => this.grid.focus());
        return;
      case 'print':
        showReport(this.rules, () => this.grid.focus());
        window.print();
        return;
      case 'language':
        setLanguage(language() === 'zh' ? 'en' : 'zh');
        this.applyLanguage();
        return this.showDocument();
    }
  }

  // A completed read replaced what the user had, as one undo step.
  private transferred(write: boolean, outcome: CloneOutcome): void {
    if (!write && outcome === CloneOutcome.Completed) this.showDocument();
  }

  private async askToSave(): Promise<boolean> {
    if (!this.rules.isModified()) return true;
    const answer = await showMessage(t('AskSave', this.name), Buttons.SaveDiscardCancel, MessageIcon.Question);
    if (answer === Answer.Cancel) return false;
    return answer === Answer.Discard || (await this.save(false));
  }

  private async newDocument(): Promise<void> {
    if (!(await this.askToSave())) return;
    this.rules.newDocument();
    this.opened(t('Untitled'), null);
  }

  private opened(name: string, handle: FileSystemFileHandle | null): void {
    this.name = name;
    this.handle = handle;
    this.showDocument();
  }

  private async open(): Promise<void> {
    if (!(await this.askToSave())) return;
    const file = await openSinFile(byId<HTMLInputElement>('file-input'));
    if (file) await this.load(file.name, file.bytes, file.handle);
  }

  private async load(name: string, bytes: Uint8Array, handle: FileSystemFileHandle | null): Promise<void> {
    const result = this.rules.loadSin(name, bytes);
    if (!result.ok) {
      await showMessage(result.error);
      return;
    }
    if (result.empty) return;
    rememberFile(name, bytes);
    this.showRecent();
    this.opened(name, handle);
  }

  private async openRecent(select: HTMLSelectElement): Promise<void> {
    const entry = recentFiles()[Number(select.value)];
    select.selectedIndex = 0;
    if (!entry || !(await this.askToSave())) return;
    await this.load(entry.name, recentBytes(entry), null);
  }

  private async save(askName: boolean): Promise<boolean> {
    const bytes = this.rules.sinBytes();
    try {
      if (this.handle && !askName) {
        await writeToHandle(this.handle, bytes);
      } else {
        const name = this.name === t('Untitled') ? `${t('Untitled')}.sin` : this.name;
        const saved = await saveAs(name.endsWith('.sin') ? name : `${name}.sin`, bytes);
        if (!saved) return false;
        this.name = saved.name;
        this.handle = saved.handle;
      }
    } catch {
      await showMessage(t('FileCannotSave', this.name));
      return false;
    }
    this.rules.markSaved();
    rememberFile(this.name, bytes);
    this.showRecent();
    this.showTitle();
    return true;
  }

  private async importCsv(): Promise<void> {
    const file = await readTextFile(byId<HTMLInputElement>('csv-input'));
    if (!file) return;
    const renumber = byId<HTMLInputElement>('csv-renumber').checked;
    let result = this.rules.importCsv(file.text, false, renumber);
    if (result.refusedQuestion) {
      if ((await showMessage(result.refusedQuestion, Buttons.OkCancel, MessageIcon.Warning)) !== Answer.Ok) return;
      result = this.rules.importCsv(file.text, true, renumber);
    }
    this.edited(result);
    if (result.summary) await showMessage(result.summary, Buttons.Ok, MessageIcon.Information);
  }

  private copy(): void {
    const r = this.grid.selection();
    this.clipboard = this.rules.copyCells(r.top, r.left, r.bottom, r.right);
    navigator.clipboard?.writeText(this.clipboard).catch(() => {});
  }

  private async paste(): Promise<void> {
    let text = this.clipboard;
    try {
      text = (await navigator.clipboard.readText()) || text;
    } catch {
      // No permission to read the system clipboard: the page's own copy serves.
    }
    const r = this.grid.selection();
    const result = this.rules.pasteCells(r.top, r.left, r.bottom, r.right, text);
    this.edited(result);
    if (result.summary) await showMessage(result.summary);
  }

  private async rows(op: RowsOp): Promise<void> {
    const r = this.grid.selection();
    const result = this.rules.channelRows(op, r.top, r.bottom);
    this.edited(result);
    if (result.refusal) await showMessage(result.refusal);
    if (result.refused) return;
    const delta = op === RowsOp.MoveUp ? -1 : op === RowsOp.MoveDown ? 1 : 0;
    if (delta !== 0) {
      // The selection moves with the channels.
      this.grid.moveTo(r.top + delta, r.left);
      this.grid.moveTo(r.bottom + delta, r.right, true);
    }
  }

  private async setField(): Promise<void> {
    const r = this.grid.selection();
    const chosen = await chooseField(this.rules);
    if (!chosen) return;
    const result = this.rules.setField(chosen.column, r.top, r.bottom, chosen.value);
    this.edited(result);
    if (result.refusal) await showMessage(result.refusal);
  }

  private async compareWithFile(): Promise<void> {
    const file = await openSinFile(byId<HTMLInputElement>('file-input'));
    if (!file) return;
    const error = this.rules.compareWithFile(file.name, file.bytes);
    if (error) return void (await showMessage(error));
    this.compare.refresh();
    this.compare.step(true);
  }

  private async history(): Promise<void> {
    const chosen = await showHistory(this.rules);
    if (!chosen) return this.grid.focus();
    if (chosen.open && !(await this.askToSave())) return;
    if (!this.rules.useHistoryEntry(chosen.name, chosen.open)) return void (await showMessage(t('SinDamaged')));
    if (chosen.open) return this.opened(t('Untitled'), null);
    this.compare.refresh();
    this.compare.step(true);
  }

  private async options(): Promise<void> {
    const result = await editOptions(this.rules);
    if (result) this.edited(result);
  }

  private async tuning(): Promise<void> {
    if (!(await this.link.choosePort())) return;
    const band = this.rules.boxTexts(FormBox.Band)[this.rules.selection(FormBox.Band)] ?? '';
    await openTuning(this.rules, band, (set, item) => this.link.tune(set, item));
    this.grid.focus();
  }

  private acceptDroppedFiles(): void {
    document.addEventListener('dragover', (e) => {
      e.preventDefault();
      document.body.classList.add('dragging');
    });
    document.addEventListener('dragleave', () => document.body.classList.remove('dragging'));
    document.addEventListener('drop', async (e) => {
      e.preventDefault();
      document.body.classList.remove('dragging');
      const file = e.dataTransfer?.files[0];
      if (!file || !file.name.toLowerCase().endsWith('.sin') || !(await this.askToSave())) return;
      await this.load(file.name, new Uint8Array(await file.arrayBuffer()), null);
    });
  }

  private onShortcut(e: KeyboardEvent): void {
    if (document.querySelector('dialog[open]')) return;
    const key = e.key.length === 1 ? e.key.toLowerCase() : e.key;
    const ctrl = e.ctrlKey || e.metaKey;
    const inGrid = this.grid.element.contains(document.activeElement) && !this.grid.isEditing();
    let command = '';
    if (ctrl && !e.shiftKey) command = ({ o: 'open', s: 'save', p: 'printPreview', r: 'read', z: 'undo', y: 'redo' } as Record<string, string>)[key] ?? '';
    if (ctrl && e.shiftKey) command = ({ z: 'redo', ArrowUp: 'channelUp', ArrowDown: 'channelDown' } as Record<string, string>)[key] ?? '';
    if (inGrid && ctrl && !e.shiftKey) command ||= ({ c: 'copy', x: 'cut', v: 'paste', Insert: 'copy' } as Record<string, string>)[key] ?? '';
    if (inGrid && !ctrl && e.shiftKey) command ||= ({ Delete: 'cut', Insert: 'paste' } as Record<string, string>)[key] ?? '';
    if (inGrid && !ctrl && !e.shiftKey && key === 'Delete') command = 'clearChannels';
    if (!ctrl && key === 'F8') command = e.shiftKey ? 'previousDifference' : 'nextDifference';
    if (!command) return;
    e.preventDefault();
    void this.run(command);
  }
}

// The texts of the page's fixed elements, by element id.
const elementTexts: Record<string, string> = {
  'window-title': 'WindowTitle', 'no-serial': 'WebNoSerial', 'settings-legend': 'FormGroup',
  'label-model': 'LabelModel', 'label-band': 'LabelBand', 'label-power': 'LabelPowerLevel', 'label-manual': 'LabelManual',
  'csv-renumber-label': 'CsvRenumber', 'progress-start': 'ButtonStart', 'progress-done': 'ProgressDone', 'progress-cancel': 'ButtonCancel', status: 'Idle',
};

const groupLabels: Record<string, string> = { commands: 'WebCommands', 'menu-file': 'MenuFile', 'menu-edit': 'MenuEdit', 'menu-program': 'MenuProgram' };

// Each command's button text and tip.
const commandTexts: Record<string, [string, string]> = {
  new: ['CmdFileNew', 'TipFileNew'], open: ['CmdFileOpen', 'TipFileOpen'], save: ['CmdFileSave', 'TipFileSave'],
  saveAs: ['CmdFileSaveAs', 'TipFileSaveAs'], importCsv: ['CmdImportCsv', 'TipImportCsv'], exportCsv: ['CmdExportCsv', 'TipExportCsv'],
  exportChirpCsv: ['WebExportChirpCsv', 'CsvChirpFilter'],
  printPreview: ['CmdFilePrintPreview', 'TipFilePrintPreview'], print: ['CmdFilePrint', 'TipFilePrint'],
  undo: ['CmdEditUndo', 'TipEditUndo'], redo: ['CmdEditRedo', 'TipEditRedo'], cut: ['CmdEditCut', 'TipEditCut'],
  copy: ['CmdEditCopy', 'TipEditCopy'], paste: ['CmdEditPaste', 'TipEditPaste'], clearChannels: ['CmdEditClear', 'TipEditClear'],
  insertChannel: ['CmdChannelInsert', 'TipChannelInsert'], deleteChannel: ['CmdChannelDelete', 'TipChannelDelete'],
  channelUp: ['CmdChannelUp', 'TipChannelUp'], channelDown: ['CmdChannelDown', 'TipChannelDown'], setField: ['CmdSetField', 'TipSetField'],
  compareFile: ['CmdCompareFile', 'TipCompareFile'], history: ['CmdHistory', 'TipHistory'],
  read: ['CmdRead', 'TipRead'], write: ['CmdWrite', 'TipWrite'], tuning: ['CmdTuning', 'TipTuning'], options: ['CmdOptions', 'TipOptions'],
};

function focusNext(from: HTMLElement): void {
  const focusable = Array.from(document.querySelectorAll<HTMLElement>('button, select, input, [tabindex="0"]')).filter((n) => !n.hidden && !(n as HTMLButtonElement).disabled);
  const i = focusable.indexOf(from);
  focusable[(i + 1) % focusable.length]?.focus();
}

function baseName(name: string): string {
  return name.replace(/\.sin$/i, '');
}

if ('serviceWorker' in navigator) navigator.serviceWorker.register('sw.js').catch(() => {});

// The history's one way into the origin storage: an item is stored whole, or
// not at all when the storage is full.
function storeItem(key: string, value: string): boolean {
  try {
    localStorage.setItem(key, value);
    return true;
  } catch {
    return false;
  }
}

createRulesModule({ storeItem }).then((rules) => {
  loadTexts(rules);
  (window as unknown as { ostreltzPage: Page }).ostreltzPage = new Page(rules);
  document.body.dataset.ready = 'true';
});
