// Timers that keep time while the page is hidden. The browser wakes a hidden
// page's own timers at most once a second, which would stretch every pause
// of a write going on behind another tab to a second; a worker's timers it
// leaves alone. While the page is shown its own timers serve, one thread hop
// closer. Under Node (the tests) there is no page to hide.

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

let worker: Worker | null | undefined;
const callbacks = new Map<number, () => void>();
let nextId = 1;

function timerWorker(): Worker | null {
  if (worker !== undefined) return worker;
  try {
    worker = new Worker(URL.createObjectURL(new Blob([WORKER_SOURCE], { type: 'text/javascript' })));
    worker.onmessage = (e: MessageEvent<number>) => {
      const callback = callbacks.get(e.data);
      callbacks.delete(e.data);
      callback?.();
    };
  } catch {
    worker = null; // a page that may not start workers keeps its own timers
  }
  return worker;
}

function pageHidden(): boolean {
  return typeof document !== 'undefined' && document.hidden;
}

// Calls `callback` once `ms` have passed; the function returned cancels it.
export function after(ms: number, callback: () => void): () => void {
  const w = pageHidden() ? timerWorker() : null;
  if (!w) {
    const timer = setTimeout(callback, ms);
    return () => clearTimeout(timer);
  }
  const id = nextId++;
  callbacks.set(id, callback);
  w.postMessage([id, ms]);
  return () => {
    if (callbacks.delete(id)) w.postMessage([id, -1]);
  };
}

export function sleep(ms: number): Promise<void> {
  return new Promise((resolve) => {
    after(ms, resolve);
  });
}
