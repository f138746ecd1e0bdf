// The radio commands of the page: the port chosen through Web Serial, the
// progress window, and the rules' engines run over them.
import { type Rules, type RulesHost, runClone, runTuning, Buttons, CloneOutcome } from './rules';
import { SerialLink, type SerialPortLike } from './serialLink';
import { MessageIcon, showMessage } from './messageBox';
import { ProgressWindow } from './progress';
import { t } from './texts';

interface SerialApi extends EventTarget {
  getPorts(): Promise<SerialPortLike[]>;
  requestPort(options?: object): Promise<SerialPortLike>;
}

export function serialApi(): SerialApi | null {
  return 'serial' in navigator ? (navigator as unknown as { serial: SerialApi }).serial : null;
}

export class RadioLink {
  private port: SerialPortLike | null = null;
  // Ports whose device went away: the browser never brings one back to life.
  private readonly dead = new WeakSet<SerialPortLike>();
  private readonly link = new SerialLink(async () => this.port, (port) => this.forget(port));
  readonly progress: ProgressWindow;
  private busy = false;

  // `say` puts a line in the status bar, or takes it away (null).
  constructor(private readonly rules: Rules, private readonly say: (text: string | null) => void) {
    this.progress = new ProgressWindow(rules);
    const serial = serialApi();
    serial?.addEventListener('disconnect', (e) => this.forget(e.target as unknown as SerialPortLike));
    // The cable plugged back in: a port granted before is used again.
    serial?.addEventListener('connect', (e) => {
      const port = e.target as unknown as SerialPortLike;
      if (!this.port && !this.dead.has(port)) this.port = port;
    });
  }

  // The chosen port failed or its device was unplugged: it is closed by the
  // engine that had it open, and the next command asks for a port again.
  private forget(port: SerialPortLike): void {
    this.dead.add(port);
    if (port !== this.port) return;
    this.port = null;
    this.say(t('LinkCableLost'));
  }

  // A port granted before, or the browser's chooser. False when there is none.
  async choosePort(askAgain = false): Promise<boolean> {
    const serial = serialApi();
    if (!serial) {
      await showMessage(t('WebNoSerial'));
      return false;
    }
    if (askAgain) this.port = null;
    if (!this.port && !askAgain) {
      const granted = (await serial.getPorts()).filter((port) => !this.dead.has(port));
      if (granted.length === 1) this.port = granted[0];
    }
    if (!this.port) {
      try {
        this.port = await serial.requestPort();
      } catch {
        return false;  // the user closed the chooser
      }
    }
    return true;
  }

  // Opens the progress window; the transfer runs when the user presses 开始.
  // A read `forComparison` leaves the document as it is and compares it with
  // what the radio holds.
  async transfer(write: boolean, finished: (outcome: CloneOutcome, elapsedMs: number) => void, forComparison = false): Promise<void> {
    if (this.busy || this.progress.isOpen() || !(await this.choosePort())) return;
    this.progress.open(write, async () => {
      this.busy = true;
      this.say(null);  // what the status bar said of the last transfer
      this.rules.host = this.host(true);
      try {
        const start = performance.now();
        const outcome = await runClone(this.rules, write ? (this.progress.backup() ? 2 : 1) : forComparison ? 3 : 0);
        const elapsedMs = performance.now() - start;
        this.progress.finish();
        finished(outcome, elapsedMs);
      } finally {
        this.busy = false;
      }
    });
  }

  async tune(set: number, item: number): Promise<void> {
    if (this.busy || !(await this.choosePort())) return;
    this.busy = true;
    this.say(null);
    this.rules.host = this.host(false);
    try {
      await runTuning(this.rules, set, item);
    } finally {
      this.busy = false;
    }
  }

  isBusy(): boolean {
    return this.busy;
  }

  private host(withProgress: boolean): RulesHost {
    const progress = this.progress;
    return {
      open: () => this.link.open(),
      purge: () => this.link.purge(),
      write: (bytes) => this.link.write(bytes),
      read: (count, totalMs, intervalMs) => this.link.read(count, totalMs, intervalMs),
      close: () => this.link.close(),
      pause: (ms) => this.link.pause(ms),
      status: (text) => withProgress && progress.setStatus(text),
      phase: (text) => withProgress && progress.setPhase(text),
      progress: (position, stopAsks) => withProgress && progress.setProgress(position, stopAsks),
      ask: (text, buttons) => showMessage(text, buttons),
      inform: async (text) => void (await showMessage(text, Buttons.Ok, MessageIcon.Information)),
      cancelled: () => withProgress && progress.cancelled(),
      watch: (watch) => withProgress && progress.setWatch(watch),
    };
  }
}
