// Timers that keep time while the page is hidden. The browser wakes a hidden
// page's own timers at most once a second, which would stretch every pause
// of a write going on behind another tab to a second; a worker's timers it
// leaves alone. While the page is shown its own timers serve, one thread hop
// closer; the timers waiting when the page is hidden move to the worker.
// Under Node (the tests) there is no page to hide.

const WORKER_SOURCE = `const pending = new Map();
onmessage = (e) => {
  const [id, ms] = e.data;
  if (ms < 0) {
    clearTimeout(pending.get(id));
    pending.delete(id);
    return;
  }
  pending.set(id, setTimeout(() => {
    pending.delete(id);
    postMessage(id);
  }, ms));
};`;

interface Waiting {
  due: number;
  callback: () => void;
  // The page's own timer; none while the worker keeps the time.
  pageTimer?: ReturnType<typeof setTimeout>;
}

const waiting = new Map<number, Waiting>();
let nextId = 1;
let worker: Worker | null | undefined;

function remaining(entry: Waiting): number {
  return Math.max(0, entry.due - performance.now());
}

function onPage(id: number, entry: Waiting, ms = remaining(entry)): void {
  entry.pageTimer = setTimeout(() => fire(id), ms);
}

function fire(id: number): void {
  const entry = waiting.get(id);
  if (!entry) return; // cancelled meanwhile
  // A timer may end a little early (Node's counts from when its loop last
  // looked at the clock): it is set again for what is left.
  if (remaining(entry) > 0) {
    if (entry.pageTimer === undefined && worker) worker.postMessage([id, remaining(entry)]);
    else onPage(id, entry);
    return;
  }
  waiting.delete(id);
  entry.callback();
}

// A worker that cannot start or fails later leaves its timers to the page.
function dropWorker(): void {
  worker = null;
  for (const [id, entry] of waiting) if (entry.pageTimer === undefined) onPage(id, entry);
}

function timerWorker(): Worker | null {
  if (worker !== undefined) return worker;
  try {
    worker = new Worker(URL.createObjectURL(new Blob([WORKER_SOURCE], { type: 'text/javascript' })));
    worker.onmessage = (e: MessageEvent<number>) => fire(e.data);
    worker.onerror = dropWorker;
  } catch {
    worker = null;
  }
  return worker;
}

function toWorker(id: number, entry: Waiting): boolean {
  const w = timerWorker();
  if (!w) return false;
  clearTimeout(entry.pageTimer);
  entry.pageTimer = undefined;
  w.postMessage([id, remaining(entry)]);
  return true;
}

function pageHidden(): boolean {
  return typeof document !== 'undefined' && document.hidden;
}

if (typeof document !== 'undefined') {
  document.addEventListener('visibilitychange', () => {
    if (!document.hidden) return;
    for (const [id, entry] of waiting) if (entry.pageTimer !== undefined) toWorker(id, entry);
  });
}

// Calls `callback` once `ms` have passed, never before; the function
// returned cancels it.
export function after(ms: number, callback: () => void): () => void {
  const id = nextId++;
  const entry: Waiting = { due: performance.now() + ms, callback };
  waiting.set(id, entry);
  if (!pageHidden() || !toWorker(id, entry)) onPage(id, entry, ms);
  return () => {
    if (!waiting.delete(id)) return;
    if (entry.pageTimer !== undefined) clearTimeout(entry.pageTimer);
    else worker?.postMessage([id, -1]);
  };
}

export function sleep(ms: number): Promise<void> {
  return new Promise((resolve) => {
    after(ms, resolve);
  });
}
