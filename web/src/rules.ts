// The rules module (the shared C++ compiled to WebAssembly) and the page's
// side of its radio commands. Its enums and value types are generated from
// the module at build time (web/tools/gen-types.cjs).
import type { Answer, Buttons, CloneOutcome, FormBox, OptionsValues, RowsOp, TuningOutcome } from './generated/rulesTypes';

export { Answer, Buttons, CloneOutcome, FormBox, RowsOp, TuningOutcome, type OptionsValues } from './generated/rulesTypes';

export interface RulesHost {
  open(name: string): Promise<number>;
  purge(): void;
  write(bytes: Uint8Array): Promise<boolean>;
  read(count: number, totalMs: number, intervalMs: number): Promise<Uint8Array | null>;
  close(): Promise<void>;
  pause(ms: number): Promise<void>;
  status(text: string): void;
  progress(position: number): void;
  ask(text: string, buttons: Buttons): Promise<Answer>;
  cancelled(): boolean;
  watch(watch: boolean): void;
}

// What one operation of the editing session did.
export interface EditResult {
  changed: boolean;  // one undo step was recorded
  refused: boolean;
  messages: { text: string; warning: boolean }[];  // frequency messages, in order
  refusal: string;  // why another text was refused
  firstRow: number;  // the channels whose texts changed (0 when none)
  lastRow: number;
  selectionsChanged: boolean;
}
export interface SideValue { frequency: string; step: number; kind: number; listIndex: number }

export interface ReportLine { x: number; y: number; title: boolean; text: string }
export interface ReportPage {
  title: { height: number; width: number };
  body: { height: number; width: number };
  lines: ReportLine[];
  width: number;
  height: number;
}

export interface Rules {
  host: RulesHost;
  newDocument(): void;
  loadSin(name: string, bytes: Uint8Array): { ok: boolean; empty: boolean; error: string };
  sinBytes(): Uint8Array;
  cell(row: number, column: number): string;
  selection(box: FormBox): number;
  setSelection(box: FormBox, index: number): EditResult;
  boxTexts(box: FormBox): string[];
  columnCaption(column: number): string;
  listEntries(column: number): string[];
  toneTexts(): string[];
  entryStartingWith(column: number, text: string): number;
  // What an editor held when it was left, or confirmed with Enter.
  setCell(row: number, column: number, typed: string, enter: boolean): EditResult;
  copyCells(top: number, left: number, bottom: number, right: number): string;
  clearCells(top: number, left: number, bottom: number, right: number): EditResult;
  pasteCells(top: number, left: number, bottom: number, right: number, tsv: string): EditResult & { summary: string };
  setField(column: number, first: number, last: number, text: string): EditResult;
  channelRows(op: RowsOp, first: number, last: number): EditResult;
  undo(): EditResult;
  redo(): EditResult;
  canUndo(): boolean;
  canRedo(): boolean;
  isModified(): boolean;
  markSaved(): void;
  exportCsv(chirpLayout: boolean): Uint8Array;
  importCsv(csv: string, applyValidLines: boolean, renumber: boolean): EditResult & { problems: { line: number; reason: string }[]; refusedQuestion: string; channels: number; summary: string };
  tuningOpen(bandText: string): void;
  tuningSet(set: number): { rx: SideValue; tx: SideValue };
  tuningSetSide(set: number, rx: boolean, frequency: string, step: number, kind: number, listIndex: number): string;
  tuningRestoreSet(set: number): void;
  tuningItemValue(item: number): number;
  tuningSetItemValue(item: number, value: number): void;
  tuningDefaultValue(item: number): number;
  signallingList(kind: number): string[];
  options(): OptionsValues;
  typeCatalogue(): unknown;
  setOptions(values: OptionsValues): EditResult;
  optionLists(): { timer: string[]; squelch: string[]; voxGain: string[]; voxDelay: string[]; language: string[] };
  reportPages(): ReportPage[];
  textTable(): Record<string, [string, string]>;
  setLanguage(english: boolean): void;
  compareWithFile(name: string, bytes: Uint8Array): string;
  comparison(): { active: boolean; name: string; lines: { text: string; channel: number; column: number; was: string }[] };
  stepDifference(row: number, column: number, forward: boolean): { row: number; col: number } | null;
  endComparison(): void;
  historyList(): { name: string; line: string; time: string; write: boolean }[];
  useHistoryEntry(name: string, open: boolean): boolean;
  historyOn(): boolean;
  setHistoryOn(on: boolean): void;
  ccall(name: string, ret: string, types: string[], args: unknown[], options: { async: boolean }): Promise<number>;
}

export type RulesFactory = (options: Record<string, unknown>) => Promise<Rules>;

// Runs a read (0) or write (1) to its end; the outcome of the clone engine.
export function runClone(rules: Rules, direction: 0 | 1): Promise<CloneOutcome> {
  return rules.ccall('web_clone', 'number', ['number'], [direction], { async: true });
}

export function runTuning(rules: Rules, set: number, item: number): Promise<TuningOutcome> {
  return rules.ccall('web_tune', 'number', ['number', 'number'], [set, item], { async: true });
}
