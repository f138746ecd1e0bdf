// The rules module (the shared C++ compiled to WebAssembly) and the page's
// side of its radio commands. Its enums and value types are generated from
// the module at build time (web/tools/gen-types.cjs).
import type { CellRange } from './grid';
import type { AfterAsking, Answer, Buttons, CellEditorKindName, CloneOutcome, EditorOpeningName, FormBox, GridActionName, HelpWindow, OptionsText, OptionsTextEdit, OptionsValues, RowsOp, TuningOutcome, TuningPage } from './generated/rulesTypes';

export { AfterAsking, Answer, Buttons, CloneOutcome, FormBox, HelpWindow, OptionsText, RowsOp, TuningOutcome, TuningPage, type OptionsValues } from './generated/rulesTypes';

export interface RulesHost {
  open(name: string): Promise<number>;
  purge(): void;
  write(bytes: Uint8Array): Promise<boolean>;
  read(count: number, totalMs: number, intervalMs: number): Promise<Uint8Array | null>;
  close(): Promise<void>;
  pause(ms: number): Promise<void>;
  status(text: string): void;
  phase(text: string): void;  // the step of a write with backup
  // `stopAsks`: whether stopping a write now asks first (blocks have gone through).
  progress(position: number, stopAsks: boolean): void;
  ask(text: string, buttons: Buttons): Promise<Answer>;
  // A report that needs no decision, such as a success.
  inform(text: string): Promise<void>;
  cancelled(): boolean;
  watch(watch: boolean): void;
}

// What one operation of the editing session did.
export interface EditResult {
  changed: boolean;  // one undo step was recorded
  refused: boolean;
  messages: { text: string; caption: string; warning: boolean }[];  // as the grid shows them, in order
  refusal: string;  // why another text was refused (also among the messages)
  firstRow: number;  // the channels whose texts changed (0 when none)
  lastRow: number;
  selected: { first: number; last: number } | null;  // where the selection follows moved channels to
  selectionsChanged: boolean;
}
// A value of an enum the rules module exports; the module's own objects are
// compared, never numbers written here.
export interface RulesEnumValue { readonly value: number }
type RulesEnum<Names extends string> = Readonly<Record<Names, RulesEnumValue>>;

// What a key or gesture on the grid does, as the rules answer.
export interface GridStep { action: RulesEnumValue; row: number; column: number; forward: boolean; opening: RulesEnumValue }
export interface EditorStart { text: string; selectAll: boolean; notice: string }

export interface SideValue { frequency: string; step: number; kind: number; listIndex: number }

export interface ReportLine { x: number; y: number; title: boolean; text: string }
export interface ReportPage {
  title: { height: number; width: number };
  body: { height: number; width: number };
  lines: ReportLine[];
  width: number;
  height: number;
}

// The program's commands as the desktop's menus list them; texts by their
// names in the text table, "-" for a line between groups.
export interface CommandInfo { id: number; text: string; shortcut: string; prompt: string }
export interface CommandTable {
  commands: Record<string, CommandInfo>;
  menus: { title: string; items: string[] }[];
  toolbar: string[];
}

export interface Rules {
  host: RulesHost;
  // The document: its file's name ("无标题" while untitled), opening, saving,
  // and the question before unsaved changes are lost (null when nothing would be).
  newDocument(): void;
  loadSin(name: string, bytes: Uint8Array): { ok: boolean; empty: boolean; error: string; warning: string };
  sinBytes(): Uint8Array;
  // The message for a kept file whose data was damaged.
  damagedFileText(name: string): string;
  // Whether a file's name calls it radio data, and the name a save gives it.
  isSinName(name: string): boolean;
  withSinExtension(name: string): string;
  saved(name: string): void;
  title(): string;
  saveQuestion(): { text: string; buttons: Buttons; warning: boolean } | null;
  afterAsking(answer: Answer): AfterAsking;
  // The button a message box's Enter chooses.
  defaultAnswer(buttons: Buttons, cancelIsDefault: boolean): Answer;
  cell(row: number, column: number): string;
  selection(box: FormBox): number;
  setSelection(box: FormBox, index: number): EditResult;
  boxTexts(box: FormBox): string[];
  columnCaption(column: number): string;
  listEntries(column: number): string[];
  toneTexts(): string[];
  entryStartingWith(column: number, text: string): number;
  GridAction: RulesEnum<GridActionName>;
  EditorOpening: RulesEnum<EditorOpeningName>;
  CellEditorKind: RulesEnum<CellEditorKindName>;
  keyOnCell(row: number, column: number, key: string, ctrl: boolean, shift: boolean, alt: boolean): GridStep;
  keyOnFormBox(key: string, ctrl: boolean, shift: boolean, alt: boolean): GridStep;
  keyInEditor(row: number, column: number, key: string, ctrl: boolean, shift: boolean, alt: boolean, dropDownOpen: boolean): GridStep;
  afterEditorKey(step: GridStep, row: number, column: number, refused: boolean): GridStep;
  undoKeysAreTheEditors(column: number, typedSinceOpened: boolean): boolean;
  pasteKeysAreTheEditors(column: number, typedSinceOpened: boolean, text: string): boolean;
  afterRefusedCommit(row: number, column: number): GridStep;
  startEditor(column: number, opening: RulesEnumValue, typed: string, cellText: string): EditorStart;
  editorForColumn(column: number): RulesEnumValue;
  // What an editor held when it was left, or confirmed with Enter.
  setCell(row: number, column: number, typed: string, enter: boolean): EditResult;
  // As the command line sets a cell: the text must be one the column takes as
  // it stands; the column by its caption in either language (-1 for none).
  setCellExact(row: number, column: number, text: string): EditResult;
  columnOfCaption(caption: string): number;
  copyCells(top: number, left: number, bottom: number, right: number): string;
  clearCells(top: number, left: number, bottom: number, right: number): EditResult;
  pasteCells(top: number, left: number, bottom: number, right: number, text: string): EditResult & { block: CellRange };
  setField(column: number, first: number, last: number, text: string): EditResult;
  channelRows(op: RowsOp, first: number, last: number): EditResult;
  undo(): EditResult;
  redo(): EditResult;
  canUndo(): boolean;
  canRedo(): boolean;
  isModified(): boolean;
  // The word for the status bar once a transfer ended; empty for none.
  transferStatusText(write: boolean, outcome: CloneOutcome, elapsedMs: number): string;
  // How long the status bar shows such feedback, in milliseconds.
  statusFeedbackMs: number;
  exportCsv(chirpLayout: boolean): Uint8Array;
  // The import of the file's bytes as far as `answers` take it: the next
  // question (with its buttons) or, when `question` is empty, the import
  // decided and what to say.
  importCsv(csv: Uint8Array, renumber: boolean, answers: Answer[]): EditResult & { question: string; buttons: Buttons; applied: boolean; message: string };
  tuningOpen(bandText: string): void;
  tuningSet(set: number): { rx: SideValue; tx: SideValue };
  tuningSetSide(set: number, rx: boolean, frequency: string, step: number, kind: number, listIndex: number): string;
  // "恢复默认值" on the page shown: the warning to show, empty when done.
  tuningRestoreDefaults(shown: TuningPage, set: number, item: number): string;
  tuningWillSend(set: number): string;
  tuningItemValue(item: number): number;
  tuningSetItemValue(item: number, value: number): void;
  signallingList(kind: number): string[];
  options(): OptionsValues;
  // Whether typing puts character `c` into the ANI, or into the radio name.
  optionsTextTakes(field: OptionsText, c: string): boolean;
  // What the field keeps of an edit (typed, pasted or dropped) that turned
  // `before` into `after`.
  keepTaken(field: OptionsText, loadedLength: number, before: string, after: string): OptionsTextEdit;
  typeCatalogue(): unknown;
  setOptions(values: OptionsValues): EditResult;
  optionLists(): { timer: string[]; squelch: string[]; voxGain: string[]; voxDelay: string[]; language: string[] };
  reportPages(): ReportPage[];
  textTable(): Record<string, [string, string]>;
  formatText(pattern: string, args: string[]): string;
  commandTable(): CommandTable;
  commandLabel(menuText: string): string;
  helpSection(window: HelpWindow): string;
  commandHelpSection(id: number): string;
  setLanguage(english: boolean): void;
  // The language of a code ("zh", "en_US", "zh-CN" ...), '' for none; the
  // language of a locale: Chinese for zh*, English for any other.
  parseLanguage(code: string): 'zh' | 'en' | '';
  languageOfLocale(locale: string): 'zh' | 'en';
  compareWithFile(name: string, bytes: Uint8Array): { error: string; warning: string };
  comparison(): { active: boolean; name: string; lines: { text: string; channel: number; column: number; tip: string }[] };
  stepDifference(row: number, column: number, forward: boolean): { row: number; col: number } | null;
  endComparison(): void;
  historyList(): { name: string; line: string; time: string; write: boolean }[];
  useHistoryEntry(name: string, open: boolean): boolean;
  historyOn(): boolean;
  setHistoryOn(on: boolean): void;
  clearWriteLog(): void;
  writeLogLines(): { text: string; written: boolean }[];
  writeLogCount(): string;
  writeLogCsv(): Uint8Array;
  ccall(name: string, ret: string, types: string[], args: unknown[], options: { async: boolean }): Promise<number>;
}

export type RulesFactory = (options: Record<string, unknown>) => Promise<Rules>;

// While a radio command runs, the module is inside a call that awaits the
// port: calling the module again before that call ends would break it, and
// the transfer would never end. What the page may want meanwhile it asks
// for beforehand, or not at all while this is true.
let radioCommandRunning = false;

export function radioCommandRuns(): boolean {
  return radioCommandRunning;
}

async function runRadioCommand(rules: Rules, name: string, types: string[], args: number[]): Promise<number> {
  radioCommandRunning = true;
  try {
    return await rules.ccall(name, 'number', types, args, { async: true });
  } finally {
    radioCommandRunning = false;
  }
}

// Runs a read (0), a write (1), a write after a backup read (2) or a read
// for comparing (3) to its end; the outcome of the clone engine.
export function runClone(rules: Rules, direction: 0 | 1 | 2 | 3): Promise<CloneOutcome> {
  return runRadioCommand(rules, 'web_clone', ['number'], [direction]);
}

export function runTuning(rules: Rules, set: number, item: number): Promise<TuningOutcome> {
  return runRadioCommand(rules, 'web_tune', ['number', 'number'], [set, item]);
}
