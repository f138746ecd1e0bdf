// The page: the document, its commands and the form around the grid.
import { AfterAsking, Answer, Buttons, CloneOutcome, FormBox, HelpWindow, RowsOp, radioCommandRuns, type CommandTable, type EditResult, type Rules, type RulesFactory } from './rules';
import { byId, exactOption, moveFocus } from './dom';
import { download, openSinFile, readFileBytes, recentBytes, recentFiles, rememberFile, saveAs, writeToHandle } from './files';
import { ComparePanel } from './compare';
import { ChannelGrid } from './grid';
import { showHistory } from './historyDialog';
import { RadioLink, serialApi } from './link';
import { MessageIcon, showMessage, showNotices, useRulesForBoxes } from './messageBox';
import { editOptions } from './optionsDialog';
import { showReport } from './report';
import { showAbout } from './aboutDialog';
import { showGuide } from './helpWindow';
import { ContextHelpMode } from './contextHelp';
import { chooseField } from './setFieldDialog';
import { language, loadTexts, setLanguage, t, type Language } from './texts';
import { openTuning } from './tuningDialog';
import { MenuBar, type MenuEntry } from './menuBar';
import { Toolbar } from './toolbar';
import { StatusBar } from './statusBar';
import { matchesShortcut } from './shortcuts';

declare const createRulesModule: RulesFactory;

class Page {
  private handle: FileSystemFileHandle | null = null;
  private readonly grid: ChannelGrid;
  private readonly compare: ComparePanel;
  private readonly link: RadioLink;
  private readonly boxes: HTMLSelectElement[] = [];
  private readonly helpSections = new Map<HelpWindow, string>();
  private readonly commandSections = new Map<string, string>();
  private clipboard = '';
  private renumberCsv = false;
  // Takes away the report drawn for a print that is running.
  private closePrintedReport: (() => void) | null = null;
  private readonly table: CommandTable;
  private readonly menuBar: MenuBar;
  private readonly toolbar: Toolbar;
  private readonly statusBar: StatusBar;
  private readonly contextHelp = new ContextHelpMode((text) => this.statusBar.hold(text), (target) => void this.helpOn(target));

  constructor(private readonly rules: Rules) {
    this.statusBar = new StatusBar(rules.statusFeedbackMs);
    this.grid = new ChannelGrid(rules, {
      edited: (result) => this.edited(result),
      command: (command, text) => void this.run(command, text),
      notice: (text) => this.notice(text),
    });
    byId('grid-frame').append(this.grid.element, this.grid.dataList);
    this.compare = new ComparePanel(rules, this.grid);
    byId('grid-frame').after(this.compare.element);
    this.link = new RadioLink(rules, (text) => this.statusBar.say(text));
    this.table = rules.commandTable();
    const prompt = (text: string | null) => this.statusBar.show(text);
    this.menuBar = new MenuBar(this.table.menus.map((menu) => ({ title: menu.title, entries: () => this.menuEntries(menu.items) })), (command) => void this.run(command), prompt, () => this.grid.focus());
    byId('menus').append(this.menuBar.element);
    this.toolbar = new Toolbar(this.table.toolbar.filter((name) => name === '-' || this.handles(name)).map((name) => (name === '-' ? null : { name, ...this.table.commands[name] })), (command) => void this.run(command), (text, button) => this.statusBar.show(text, button));
    // Pointer help: what the thing under the pointer is for, in the status bar.
    const pointerHelp = (element: HTMLElement, text: string) => {
      element.addEventListener('mouseenter', () => this.statusBar.pointAt(text));
      element.addEventListener('mouseleave', () => this.statusBar.pointAt(null));
    };
    pointerHelp(this.grid.element, 'PointerGrid');
    for (const box of [FormBox.Band, FormBox.Model, FormBox.Manual, FormBox.PowerLevel]) {
      const select = byId<HTMLSelectElement>(`box-${box}`);
      pointerHelp(select, 'PointerCombo');
      this.boxes[box] = select;
      select.addEventListener('change', () => this.edited(rules.setSelection(box, select.selectedIndex)));
      select.addEventListener('keydown', (e) => {
        if (rules.keyOnFormBox(e.key, e.ctrlKey || e.metaKey, e.shiftKey, e.altKey).action === rules.GridAction.LeaveGrid) {
          e.preventDefault();
          // On to the next box, and from the last one to the grid, as on the desktop.
          if (select === Array.from(byId('settings').querySelectorAll('select')).pop()) this.grid.focus();
          else moveFocus(select, true);
        }
      });
    }
    document.addEventListener('keydown', (e) => this.onShortcut(e));
    window.addEventListener('beforeunload', (e) => {
      // Leaving cuts a read or a write off halfway.
      if (radioCommandRuns()) return e.preventDefault();
      // A cell being typed into counts: its text is written first, and a
      // text refused would be lost.
      if (!this.grid.commitForCommand() || this.rules.isModified()) e.preventDefault();
    });
    // Whatever starts a print (the Print command, or the browser's own menu
    // or keys while a box is open), the report is what is printed: drawn
    // as the print starts unless the preview shows it already, and taken
    // away after, the focus back where it was.
    window.addEventListener('beforeprint', () => {
      if (!byId('report').hidden) return;
      const returnTo = document.activeElement instanceof HTMLElement && document.activeElement !== document.body ? document.activeElement : null;
      const closeReport = showReport(this.rules, () => (returnTo ?? this.grid).focus());
      this.closePrintedReport = () => {
        this.closePrintedReport = null;
        closeReport();
      };
    });
    window.addEventListener('afterprint', () => this.closePrintedReport?.());
    this.acceptDroppedFiles();
    if (!serialApi()) {
      const notice = byId('no-serial');
      notice.hidden = false;
    }
    this.applyLanguage();
    this.showDocument();
    // Typing goes into the current cell from the start, as on the desktop.
    this.grid.focus();
  }

  // Shows what an operation of the editing session changed.
  private edited(result: EditResult): void {
    if (result.firstRow > 0) this.grid.refreshRows(result.firstRow, result.lastRow);
    if (result.selectionsChanged) this.showBoxes();
    if (this.compare.active()) this.compare.refresh();
    this.showTitle();
  }

  // A word in the status bar about what was just typed or done.
  private notice(text: string): void {
    this.statusBar.say(text);
  }

  // The document's name, whether it holds unsaved changes, and what undo and redo can do.
  private showTitle(): void {
    const modified = this.rules.isModified();
    const title = `${this.rules.title()}${modified ? ' *' : ''}`;
    byId('doc-title').textContent = title;
    document.title = `${title} - ${t('AppTitle')}`;
    this.statusBar.showModified(modified);
  }

  // The entries of a menu as they stand now: the page's own commands beside
  // the table's, the recent files, the languages; commands a browser cannot
  // carry out (the desktop's ports, printer set-up, exit) left out.
  private menuEntries(items: string[]): MenuEntry[] {
    const entries: MenuEntry[] = [];
    const line = () => {
      if (entries.length > 0 && entries[entries.length - 1].kind !== 'line') entries.push({ kind: 'line' });
    };
    for (const item of items) {
      if (item === '-') line();
      else if (item === 'recent') entries.push(...this.recentEntries());
      else if (item === 'languages') entries.push(...this.languageEntries());
      else if (this.handles(item)) entries.push(this.commandEntry(item));
      for (const extra of pageCommands[item] ?? []) entries.push(extra === 'renumberCsv' ? this.renumberEntry() : this.commandEntry(extra));
    }
    if (entries[entries.length - 1]?.kind === 'line') entries.pop();
    return entries;
  }

  private commandEntry(name: string): MenuEntry {
    const own = pageCommandTexts[name];
    const info = own ? { text: own[0], prompt: own[1], shortcut: '' } : this.table.commands[name];
    const text = t(info.text);
    const entry: MenuEntry = { kind: 'command', command: name, text: text.split('\t')[0], shortcut: text.split('\t')[1] ?? '', prompt: info.prompt };
    if (name === 'undo') entry.disabled = !this.rules.canUndo();
    if (name === 'redo') entry.disabled = !this.rules.canRedo();
    if (comparingCommands.has(name)) entry.disabled = !this.compare.active();
    if (name === 'toolbar') entry.checked = !this.toolbar.element.hidden;
    if (name === 'statusBar') entry.checked = !this.statusBar.element.hidden;
    return entry;
  }

  private renumberEntry(): MenuEntry {
    return { kind: 'command', command: 'renumberCsv', text: t('CsvRenumber'), shortcut: '', prompt: 'CsvRenumber', checked: this.renumberCsv };
  }

  private recentEntries(): MenuEntry[] {
    const files = recentFiles();
    if (files.length === 0) return [{ kind: 'command', command: 'recent', text: t('RecentPlaceholder'), shortcut: '', prompt: 'RecentPrompt', disabled: true }];
    return files.map((file, i) => ({ kind: 'command', command: `recent${i}`, text: `&${i + 1} ${file.name.replace(/&/g, '&&')}`, shortcut: '', prompt: 'RecentPrompt' }));
  }

  private languageEntries(): MenuEntry[] {
    return (['zh', 'en'] as Language[]).map((lang) => ({
      kind: 'command', command: lang === 'zh' ? 'languageZh' : 'languageEn', text: t(lang === 'zh' ? 'LanguageChinese' : 'LanguageEnglish'),
      shortcut: '', prompt: 'TipLanguage', checked: language() === lang, radio: true,
    }));
  }

  // Whether the page carries out command `name` of the table.
  private handles(name: string): boolean {
    return !unavailable.has(name) && name in this.table.commands;
  }

  private showBoxes(): void {
    for (const box of [FormBox.Band, FormBox.Model, FormBox.Manual, FormBox.PowerLevel]) {
      const select = this.boxes[box];
      const texts = this.rules.boxTexts(box);
      const shown = Array.from(select.options, (option) => option.value);
      if (shown.join('\n') !== texts.join('\n')) select.replaceChildren(...texts.map((text) => exactOption(text)));
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
    this.menuBar.relabel();
    this.toolbar.relabel();
    this.statusBar.relabel();
    this.grid.refreshCaptions();
    this.compare.applyLanguage();
    this.showTitle();
    // Asked for now: F1 may come while a radio command runs.
    for (const kind of [HelpWindow.Main, HelpWindow.ReadProgress, HelpWindow.WriteProgress, HelpWindow.Options, HelpWindow.Tuning,
      HelpWindow.History, HelpWindow.PrintPreview])
      this.helpSections.set(kind, this.rules.helpSection(kind));
    for (const [name, command] of Object.entries(this.table.commands)) this.commandSections.set(name, this.rules.commandHelpSection(command.id));
  }

  // `input`: the file dropped for 'open', the text pasted for 'paste'.
  async run(command: string, input?: File | string): Promise<void> {
    // A refused cell text stops the command: its cell is open again with it.
    if (!this.grid.commitForCommand()) return;
    const range = this.grid.selection();
    switch (command) {
      case 'new': return this.newDocument();
      case 'open': return this.open(input instanceof File ? input : undefined);
      case 'save': return void (await this.save(false));
      case 'saveAs': return void (await this.save(true));
      case 'exportCsv': return download(`${baseName(this.rules.title())}.csv`, this.rules.exportCsv(false), 'text/csv');
      case 'exportChirpCsv': return download(`${baseName(this.rules.title())}-chirp.csv`, this.rules.exportCsv(true), 'text/csv');
      case 'importCsv': return this.importCsv();
      case 'undo': return this.edited(this.rules.undo());
      case 'redo': return this.edited(this.rules.redo());
      case 'copy': return this.copy();
      case 'cut':
        this.copy();
        return this.edited(this.rules.clearCells(range.top, range.left, range.bottom, range.right));
      case 'paste': return this.paste(typeof input === 'string' ? input : undefined);
      case 'clearCells': return this.edited(this.rules.clearCells(range.top, range.left, range.bottom, range.right));
      case 'clearChannels': return this.rows(RowsOp.Clear);
      case 'insertChannel': return this.rows(RowsOp.Insert);
      case 'deleteChannel': return this.rows(RowsOp.Delete);
      case 'channelUp': return this.rows(RowsOp.MoveUp);
      case 'channelDown': return this.rows(RowsOp.MoveDown);
      case 'read': return this.link.transfer(false, (outcome, ms) => this.transferred(false, outcome, ms));
      case 'write': return this.link.transfer(true, (outcome, ms) => this.transferred(true, outcome, ms));
      case 'compareRadio': return this.link.transfer(false, (outcome, ms) => this.comparedWithRadio(outcome, ms), true);
      case 'setField': return this.setField();
      case 'compareFile': return this.compareWithFile();
      case 'nextDifference': return this.compare.step(true);
      case 'previousDifference': return this.compare.step(false);
      case 'endCompare': return this.compare.endComparison();
      case 'history': return this.history();
      case 'options': return this.options();
      case 'tuning': return this.tuning();
      case 'printPreview':
        showReport(this.rules, () => this.grid.focus());
        return;
      case 'print':
        // The report is drawn as the print starts (above); print() returns
        // once the browser's print dialog is closed.
        window.print();
        return this.closePrintedReport?.();
      case 'renumberCsv':
        this.renumberCsv = !this.renumberCsv;
        return;
      case 'choosePort':
        if (!this.link.isBusy()) await this.link.choosePort(true);
        return;
      case 'editChannels':
        await showMessage(t('EditChannelsHint'));
        return this.grid.moveTo(1, 1);
      case 'about':
        await showAbout();
        return this.grid.focus();
      case 'help':
        await showGuide(null);
        return this.grid.focus();
      case 'helpKey': return this.helpOn(null);
      case 'contextHelp': return this.contextHelp.enter();
      case 'toolbar':
        this.toolbar.element.hidden = !this.toolbar.element.hidden;
        return;
      case 'statusBar':
        this.statusBar.element.hidden = !this.statusBar.element.hidden;
        return;
      case 'languageZh':
      case 'languageEn': {
        const chosen = command === 'languageZh' ? 'zh' : 'en';
        storeItem(LANGUAGE_KEY, chosen);  // the language of the next visit
        setLanguage(chosen);
        this.applyLanguage();
        return this.showDocument();
      }
    }
    if (command.startsWith('recent')) return this.openRecent(Number(command.slice('recent'.length)));
  }

  // A completed read replaced what the user had, as one undo step; a
  // comparison with the radio now compares with what the radio holds.
  private transferred(write: boolean, outcome: CloneOutcome, elapsedMs: number): void {
    if (!write && outcome === CloneOutcome.Completed) {
      this.showDocument();
      this.grid.focus();
    } else if (this.compare.active()) {
      this.compare.refresh();
    }
    const notice = this.rules.transferStatusText(write, outcome, elapsedMs);
    if (notice) this.notice(notice);
  }

  // A read for comparing: the document stays as it is, its differences from
  // what the radio holds are marked.
  private comparedWithRadio(outcome: CloneOutcome, elapsedMs: number): void {
    const notice = this.rules.transferStatusText(false, outcome, elapsedMs);
    if (notice) this.notice(notice);
    if (outcome !== CloneOutcome.Completed) return;
    this.compare.refresh();
    this.compare.first();
  }

  // The guide at the section about a command's button or menu entry (pointer
  // help), or else about the window in front (F1 too), as on the desktop.
  private async helpOn(target: Element | null): Promise<void> {
    if (document.getElementById('help')) return;
    const front = Array.from(document.querySelectorAll<HTMLDialogElement>('dialog[open]')).pop();
    const returnFocus = document.activeElement as HTMLElement | null;
    const kind = front?.id === 'progress' ? (this.link.progress.isWrite() ? HelpWindow.WriteProgress : HelpWindow.ReadProgress)
      : front?.id === 'options' ? HelpWindow.Options : front?.id === 'tuning' ? HelpWindow.Tuning
      : front?.id === 'history' ? HelpWindow.History : front ? HelpWindow.Main
      : !document.getElementById('report')!.hidden ? HelpWindow.PrintPreview : HelpWindow.Main;
    const command = target?.closest('[data-command]')?.getAttribute('data-command');
    await showGuide((command && this.commandSections.get(command)) || (this.helpSections.get(kind) ?? null));
    if (front) returnFocus?.focus();
    else this.grid.focus();
  }

  // The rules' question before unsaved changes are lost; true to go on.
  private async askToSave(): Promise<boolean> {
    const question = this.rules.saveQuestion();
    if (!question) return true;
    const answer = await showMessage(question.text, question.buttons, question.warning ? MessageIcon.Warning : MessageIcon.Question);
    switch (this.rules.afterAsking(answer)) {
      case AfterAsking.SaveFirst: return this.save(false);
      case AfterAsking.Go: return true;
      default: return false;
    }
  }

  private async newDocument(): Promise<void> {
    if (!(await this.askToSave())) return;
    this.rules.newDocument();
    this.opened(null);
  }

  private opened(handle: FileSystemFileHandle | null): void {
    this.handle = handle;
    this.statusBar.forgetFileFeedback();
    this.showDocument();
    this.grid.focus();
  }

  // The file dropped on the page, or the one the person chooses; then, as on
  // the desktop, the question about unsaved changes.
  private async open(dropped?: File): Promise<void> {
    const file = dropped
      ? { name: dropped.name, bytes: new Uint8Array(await dropped.arrayBuffer()), handle: null }
      : await openSinFile(byId<HTMLInputElement>('file-input'));
    if (!file || !(await this.askToSave())) return;
    await this.load(file.name, file.bytes, file.handle);
  }

  private async load(name: string, bytes: Uint8Array, handle: FileSystemFileHandle | null): Promise<void> {
    const result = this.rules.loadSin(name, bytes);
    if (!result.ok) {
      await showMessage(result.error);
      return;
    }
    if (result.empty) return;
    rememberFile(name, bytes);
    this.opened(handle);
    if (result.warning) await showMessage(result.warning, Buttons.Ok, MessageIcon.Warning);
  }

  private async openRecent(index: number): Promise<void> {
    const entry = recentFiles()[index];
    if (!entry || !(await this.askToSave())) return;
    const bytes = recentBytes(entry);
    if (!bytes) return void (await showMessage(this.rules.damagedFileText(entry.name)));
    await this.load(entry.name, bytes, null);
  }

  private async save(askName: boolean): Promise<boolean> {
    const bytes = this.rules.sinBytes();
    let name = this.rules.title();
    try {
      if (this.handle && !askName) {
        await writeToHandle(this.handle, bytes);
      } else {
        const saved = await saveAs(this.rules.withSinExtension(name), bytes);
        if (!saved) return false;
        this.handle = saved.handle;
        name = saved.name;
      }
    } catch {
      await showMessage(t('FileCannotSave', name));
      return false;
    }
    this.rules.saved(name);
    rememberFile(name, bytes);
    this.showTitle();
    this.statusBar.say(t('Saved', name), true);
    return true;
  }

  private async importCsv(): Promise<void> {
    const file = await readFileBytes(byId<HTMLInputElement>('csv-input'));
    if (!file) return;
    const renumber = this.renumberCsv;
    const answers: Answer[] = [];
    let result = this.rules.importCsv(file.bytes, renumber, answers);
    while (result.question) {
      answers.push(await showMessage(result.question, result.buttons, MessageIcon.Warning));
      result = this.rules.importCsv(file.bytes, renumber, answers);
    }
    this.edited(result);
    if (result.message) await showMessage(result.message, Buttons.Ok, result.applied ? MessageIcon.Information : MessageIcon.Warning);
  }

  private copy(): void {
    const r = this.grid.selection();
    this.clipboard = this.rules.copyCells(r.top, r.left, r.bottom, r.right);
    navigator.clipboard?.writeText(this.clipboard).catch(() => {});
  }

  private async paste(pasted?: string): Promise<void> {
    let text = pasted ?? this.clipboard;
    if (pasted === undefined) {
      try {
        text = (await navigator.clipboard.readText()) || text;
      } catch {
        // No permission to read the system clipboard: the page's own copy serves.
      }
    }
    const r = this.grid.selection();
    const result = this.rules.pasteCells(r.top, r.left, r.bottom, r.right, text);
    this.edited(result);
    this.grid.moveTo(result.block.bottom, result.block.right);
    this.grid.moveTo(result.block.top, result.block.left, true);
    await showNotices(result.messages);
  }

  private async rows(op: RowsOp): Promise<void> {
    const r = this.grid.selection();
    const result = this.rules.channelRows(op, r.top, r.bottom);
    this.edited(result);
    if (result.refusal) await showMessage(result.refusal);
    // The block stays selected, its first channel current, as on the desktop.
    if (result.selected) {
      this.grid.moveTo(result.selected.last, r.right);
      this.grid.moveTo(result.selected.first, r.left, true);
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
    const { error, warning } = this.rules.compareWithFile(file.name, file.bytes);
    if (error) return void (await showMessage(error));
    this.compare.refresh();
    this.compare.first();
    if (warning) await showMessage(warning, Buttons.Ok, MessageIcon.Warning);
  }

  private async history(): Promise<void> {
    const chosen = await showHistory(this.rules);
    if (!chosen) return this.grid.focus();
    if (chosen.open && !(await this.askToSave())) return;
    if (!this.rules.useHistoryEntry(chosen.name, chosen.open)) return void (await showMessage(this.rules.damagedFileText(`${chosen.name}.sin`)));
    if (chosen.open) return this.opened(null);
    this.compare.refresh();
    this.compare.first();
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
      // Over an open window, as a transfer's, the main window takes nothing, as on the desktop.
      if (document.querySelector('dialog[open]')) return;
      const file = [...(e.dataTransfer?.files ?? [])].find((f) => this.rules.isSinName(f.name));
      if (file) await this.run('open', file);
    });
  }

  // The command table's shortcuts; the edit menu's act on the grid only,
  // and not while a cell is being edited.
  private onShortcut(e: KeyboardEvent): void {
    if (e.defaultPrevented) return;
    // F1 also over a dialog, for help on that dialog.
    if (matchesShortcut(e, this.table.commands.helpKey.shortcut)) {
      e.preventDefault();
      void this.run('helpKey');
      return;
    }
    if (document.querySelector('dialog[open]') || this.menuBar.isOpen()) return;
    const inGrid = this.grid.element.contains(document.activeElement) && !this.grid.isEditing();
    let command = Object.keys(this.table.commands).find((name) => this.handles(name) && matchesShortcut(e, this.table.commands[name].shortcut)) ?? '';
    if (command && editCommands.has(command) && !inGrid) command = '';
    // A cell's editor undoes its own typing, as a text field does.
    if ((command === 'undo' || command === 'redo') && this.grid.undoKeysAreTheEditors()) return;
    // The grid also copies with Ctrl+C, as grids do.
    if (!command && inGrid && (e.ctrlKey || e.metaKey) && !e.shiftKey && e.key.toLowerCase() === 'c') command = 'copy';
    if (!command) return;
    e.preventDefault();
    void this.run(command);
  }
}

// The texts of the page's fixed elements, by element id.
const elementTexts: Record<string, string> = {
  'window-title': 'WindowTitle', 'no-serial': 'WebNoSerial', 'settings-legend': 'FormGroup',
  'label-model': 'LabelModel', 'label-band': 'LabelBand', 'label-power': 'LabelPowerLevel', 'label-manual': 'LabelManual',
  'progress-start': 'ButtonStart', 'progress-done': 'ProgressDone', 'progress-cancel': 'ButtonCancel',
  'progress-backup-label': 'BackupOption', 'continuous-write-label': 'ContinuousWrite', 'save-write-log': 'SaveWriteLog',
};

// The page's commands beyond the table's, listed after the table's command named.
const pageCommands: Record<string, string[]> = { importCsv: ['exportChirpCsv', 'renumberCsv'], port4: ['choosePort'] };
// Their menu texts and prompts.
const pageCommandTexts: Record<string, [string, string]> = {
  exportChirpCsv: ['WebExportChirpCsv', 'CsvChirpFilter'], choosePort: ['WebChoosePort', 'WebTipChoosePort'],
};
// The table's commands a browser cannot carry out: the desktop's ports, printer
// set-up, printing without the print dialog, exit.
const unavailable = new Set([
  'exit', 'printSetup', 'port1', 'port2', 'port3', 'port4', 'printDirect',
]);
// The commands of an open comparison.
const comparingCommands = new Set(['nextDifference', 'previousDifference', 'endCompare']);
// The edit menu's commands, which act on the grid.
const editCommands = new Set(['cut', 'copy', 'paste', 'clearChannels']);

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

// The origin's storage, or null where the browser keeps the site from storing data.
function siteStorage(): Storage | null {
  try {
    return localStorage;
  } catch {
    return null;
  }
}

// Where the page keeps the language the user chose.
const LANGUAGE_KEY = 'ostreltz.language';

// The language the page starts in, picked as the desktop picks it: the one
// chosen last, else the browser's.
function startLanguage(rules: Rules): Language {
  const chosen = siteStorage()?.getItem(LANGUAGE_KEY) ?? '';
  return rules.parseLanguage(chosen) || rules.languageOfLocale(navigator.language);
}

createRulesModule({ storeItem, siteStorage }).then((rules) => {
  loadTexts(rules);
  useRulesForBoxes(rules);
  setLanguage(startLanguage(rules));
  (window as unknown as { ostreltzPage: Page }).ostreltzPage = new Page(rules);
  document.body.dataset.ready = 'true';
});
