// The radio link the engines read and write through, on a port with the
// Web Serial `SerialPort` shape. Bytes are gathered as they arrive; a read
// waits for its count, its total time-out or the gap between two bytes, the
// way the desktop program's port does.

import { after, sleep } from './steadyTimers';

export interface SerialPortLike {
  open(options: { baudRate: number; dataBits?: number; stopBits?: number; parity?: string }): Promise<void>;
  close(): Promise<void>;
  readonly readable: ReadableStream<Uint8Array> | null;
  readonly writable: WritableStream<Uint8Array> | null;
}

// OpenError of the rules: None, NotFound, PermissionDenied, InUse, Other.
export const enum OpenError { None = 0, NotFound = 1, PermissionDenied = 2, InUse = 3, Other = 4 }

export class SerialLink {
  private port: SerialPortLike | null = null;
  private reader: ReadableStreamDefaultReader<Uint8Array> | null = null;
  private writer: WritableStreamDefaultWriter<Uint8Array> | null = null;
  private received: number[] = [];
  private failed = false;
  private wake: (() => void) | null = null;
  private readLoop: Promise<void> | null = null;
  private closing = false;
  // When the bytes handed to the port will all have left it, at 9600 8N1.
  private sentBy = 0;

  // `lost` hears of a port that failed while open: the device went away.
  constructor(private readonly choosePort: () => Promise<SerialPortLike | null>, private readonly lost: (port: SerialPortLike) => void) {}

  async open(): Promise<OpenError> {
    const port = await this.choosePort();
    if (!port) return OpenError.NotFound;
    try {
      await port.open({ baudRate: 9600, dataBits: 8, stopBits: 1, parity: 'none' });
    } catch (e) {
      const name = (e as { name?: string }).name;
      if (name === 'InvalidStateError') return OpenError.InUse;
      if (name === 'SecurityError' || name === 'NotAllowedError') return OpenError.PermissionDenied;
      return OpenError.Other;
    }
    this.port = port;
    this.received = [];
    this.sentBy = 0;
    this.failed = false;
    this.closing = false;
    this.writer = port.writable!.getWriter();
    this.reader = port.readable!.getReader();
    this.readLoop = this.gather(port, this.reader);
    return OpenError.None;
  }

  // The one reader of the whole time the port is open: bytes are kept here
  // until the engine asks for them.
  private async gather(port: SerialPortLike, reader: ReadableStreamDefaultReader<Uint8Array>): Promise<void> {
    try {
      for (;;) {
        const { value, done } = await reader.read();
        if (done) break;
        for (const b of value) this.received.push(b);
        // The radio answers what it has heard: what was sent has left.
        this.sentBy = Math.min(this.sentBy, performance.now());
        this.notify();
      }
    } catch {
      // The port went away (the cable was pulled).
    }
    this.fail(port);
  }

  // Reads and writes fail from now on; a port that ended without being
  // closed here is gone.
  private fail(port: SerialPortLike): void {
    if (this.failed) return;
    this.failed = true;
    this.notify();
    if (!this.closing) this.lost(port);
  }

  private notify(): void {
    const wake = this.wake;
    this.wake = null;
    if (wake) wake();
  }

  purge(): void {
    this.received = [];
  }

  async write(bytes: Uint8Array): Promise<boolean> {
    if (!this.writer || this.failed) return false;
    try {
      await this.writer.write(bytes);
      this.sentBy = Math.max(performance.now(), this.sentBy) + bytes.length * BYTE_MS;
      return true;
    } catch {
      if (this.port) this.fail(this.port);
      return false;
    }
  }

  // Up to `count` bytes; null when the port failed. A deadline that has
  // passed counts only once the page, awake to hear it, has heard nothing for
  // one more gap: a page or a machine busy for a while wakes late, and bytes
  // the radio sent meanwhile may still be on their way through the browser.
  async read(count: number, totalMs: number, intervalMs: number): Promise<Uint8Array | null> {
    const start = performance.now();
    let lastArrival = start;
    let had = this.received.length;
    let checks = 0;
    while (this.received.length < count) {
      if (this.failed) return null;
      const now = performance.now();
      if (had !== this.received.length) {
        had = this.received.length;
        lastArrival = now;
      }
      let deadline = start + totalMs;
      if (had > 0) deadline = Math.min(deadline, lastArrival + intervalMs);
      if (now < deadline) {
        await this.arrival(deadline - now);
        continue;
      }
      const check = Math.max(QUIET_CHECK_MS, intervalMs);
      const checkStart = performance.now();
      await this.arrival(check);
      const onTime = performance.now() - checkStart < check + LATE_MS;
      if (this.received.length === had && (onTime || ++checks >= QUIET_CHECKS)) break;
    }
    // Short because the port failed meanwhile: the failure is the answer.
    if (this.failed && this.received.length < count) return null;
    return Uint8Array.from(this.received.splice(0, Math.min(count, this.received.length)));
  }

  // A pause at least `ms` long. One that ends well before the port has sent
  // what was written needs no precision: the engines pause there only to
  // write again (a block's address, then its data), and the next bytes wait
  // behind those; a timer a little late only leaves the line idle a moment.
  // A timer then does, and leaves the processor to carry the bytes on their
  // way; a spin would take it.
  async pause(ms: number): Promise<void> {
    if (performance.now() + ms + TIMER_LATE_MS > this.sentBy) return pauseExactly(ms);
    await sleep(ms);
  }

  // Resolves when bytes arrive, the port fails or `ms` have passed.
  private arrival(ms: number): Promise<void> {
    return new Promise<void>((resolve) => {
      const cancel = after(ms, () => {
        this.wake = null;
        resolve();
      });
      this.wake = () => {
        cancel();
        resolve();
      };
    });
  }

  async close(): Promise<void> {
    const port = this.port;
    this.port = null;
    if (!port) return;
    this.closing = true;
    try {
      await this.reader?.cancel();
    } catch { /* already gone */ }
    this.reader?.releaseLock();
    await this.readLoop;
    try {
      this.writer?.releaseLock();
    } catch { /* already gone */ }
    this.reader = null;
    this.writer = null;
    try {
      await port.close();
    } catch { /* closing a failed port */ }
  }
}

// One turn of the event loop: a message-channel task, which no browser
// clamps or throttles the way it does timers.
const channel = new MessageChannel();
const waiting: (() => void)[] = [];
channel.port1.onmessage = () => waiting.shift()?.();
// Under Node (the tests) the channel must not keep the process alive.
(channel.port1 as unknown as { unref?: () => void }).unref?.();

function tick(): Promise<void> {
  return new Promise((resolve) => {
    waiting.push(resolve);
    channel.port2.postMessage(0);
  });
}

// The least quiet that confirms a passed deadline, how late a wake may be
// and still count as the page having listened, and how many late wakes are
// waited out before a busy page takes the radio for silent all the same.
const QUIET_CHECK_MS = 5;
const LATE_MS = 10;
const QUIET_CHECKS = 20;

// A byte's time on the wire at 9600 8N1, and how late a short timer usually
// fires at most.
const BYTE_MS = 10 / 9.6;
const TIMER_LATE_MS = 2;

// How early a timer is set to end before a pause does: timers may be clamped
// to 4 ms and fire a little late.
const TIMER_SLACK_MS = 5;
// The last stretch of a pause is waited out without yielding: a turn of the
// event loop may take longer than that when the page draws.
const SPIN_MS = 1.5;

// Gives the browser a moment: the bytes just handed to the port leave while
// the page waits, not after a spin that holds the processor they need.
const scheduler = (globalThis as { scheduler?: { yield?: () => Promise<void> } }).scheduler;
const yieldToBrowser: () => Promise<void> = scheduler?.yield ? () => scheduler.yield!() : tick;

// A pause at least `ms` long and hardly longer: a yield to the browser, a timer
// for all but its last few milliseconds, then turns of the event loop, then a
// short spin. A pause spent in turns alone would keep the page busy and hold
// back its drawing.
async function pauseExactly(ms: number): Promise<void> {
  const end = performance.now() + ms;
  if (ms > TIMER_SLACK_MS) await sleep(ms - TIMER_SLACK_MS);
  else await yieldToBrowser();
  while (end - performance.now() > SPIN_MS) await tick();
  while (performance.now() < end) {
    // spin
  }
}
