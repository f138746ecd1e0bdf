// Opening and saving files: the File System Access API where the browser has
// it, otherwise a file input and a download. The last files opened are kept
// in the browser's storage so they can be opened again.
import { t } from './texts';

export interface OpenedFile { name: string; bytes: Uint8Array; handle: FileSystemFileHandle | null }

interface PickerWindow {
  showOpenFilePicker?(options: object): Promise<FileSystemFileHandle[]>;
  showSaveFilePicker?(options: object): Promise<FileSystemFileHandle>;
}

const picker = window as unknown as PickerWindow;

function sinTypes(): object[] {
  return [{ description: t('FileFilter'), accept: { 'application/octet-stream': ['.sin'] } }];
}

function chooseWithInput(input: HTMLInputElement): Promise<File | null> {
  return new Promise((resolve) => {
    input.value = '';
    input.onchange = () => resolve(input.files?.[0] ?? null);
    input.oncancel = () => resolve(null);
    input.click();
  });
}

export async function openSinFile(input: HTMLInputElement): Promise<OpenedFile | null> {
  if (picker.showOpenFilePicker) {
    try {
      const [handle] = await picker.showOpenFilePicker({ types: sinTypes() });
      const file = await handle.getFile();
      return { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()), handle };
    } catch {
      return null;  // the user closed the chooser
    }
  }
  const file = await chooseWithInput(input);
  return file ? { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()), handle: null } : null;
}

// The bytes as the file holds them: the rules tell its encoding.
export async function readFileBytes(input: HTMLInputElement): Promise<{ name: string; bytes: Uint8Array } | null> {
  const file = await chooseWithInput(input);
  return file ? { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) } : null;
}

// Writes through `handle` when there is one: the browser replaces the file
// only when the whole write was closed successfully.
export async function writeToHandle(handle: FileSystemFileHandle, bytes: Uint8Array): Promise<void> {
  const writable = await (handle as unknown as { createWritable(): Promise<FileSystemWritableFileStream> }).createWritable();
  try {
    await writable.write(bytes);
    await writable.close();
  } catch (e) {
    await writable.abort().catch(() => {});
    throw e;
  }
}

// Asks where to save; null when the user cancelled. Without the API the file
// is downloaded under `suggestedName`.
export async function saveAs(suggestedName: string, bytes: Uint8Array): Promise<{ name: string; handle: FileSystemFileHandle | null } | null> {
  if (picker.showSaveFilePicker) {
    let handle: FileSystemFileHandle;
    try {
      handle = await picker.showSaveFilePicker({ suggestedName, types: sinTypes() });
    } catch {
      return null;
    }
    await writeToHandle(handle, bytes);
    return { name: handle.name, handle };
  }
  download(suggestedName, bytes, 'application/octet-stream');
  return { name: suggestedName, handle: null };
}

export function download(name: string, bytes: Uint8Array, type: string): void {
  const url = URL.createObjectURL(new Blob([bytes], { type }));
  const a = document.createElement('a');
  a.href = url;
  a.download = name;
  document.body.append(a);
  a.click();
  a.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10_000);
}

const RECENT_KEY = 'ostreltz.recent';
const RECENT_COUNT = 4;

interface RecentEntry { name: string; data: string }

export function recentFiles(): RecentEntry[] {
  try {
    const list = JSON.parse(localStorage.getItem(RECENT_KEY) ?? '[]') as RecentEntry[];
    return Array.isArray(list) ? list.filter((e) => typeof e.name === 'string' && typeof e.data === 'string') : [];
  } catch {
    return [];
  }
}

export function rememberFile(name: string, bytes: Uint8Array): void {
  const data = btoa(String.fromCharCode(...bytes));
  const list = [{ name, data }, ...recentFiles().filter((e) => e.name !== name)].slice(0, RECENT_COUNT);
  try {
    localStorage.setItem(RECENT_KEY, JSON.stringify(list));
  } catch {
    // Storage full or refused: the list is a convenience only.
  }
}

// The bytes kept for a recent file; null when the kept text was damaged.
export function recentBytes(entry: RecentEntry): Uint8Array | null {
  try {
    return Uint8Array.from(atob(entry.data), (c) => c.charCodeAt(0));
  } catch {
    return null;
  }
}
