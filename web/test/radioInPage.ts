// The simulated radio inside the browser: its WebAssembly module (built from
// the simulator's own protocol side) in a worker of the page, which the
// stand-in's port talks to with messages. A serial byte then never leaves the
// browser, so a transfer's time is the page's and the wire's alone. Paced, the
// radio takes in and sends out each byte at 9600 8N1, as the simulator's
// --baud-emulation does; unpaced, it answers at once.
import * as fs from 'node:fs';
import * as path from 'node:path';
import { siteDir } from './loadRules';

interface RadioModule {
  HEAPU8: Uint8Array;
  _malloc(size: number): number;
  _free(pointer: number): void;
  _radio_start(bytes: number, size: number): boolean;
  _radio_feed(byte: number): number;
  _radio_reply(): number;
}
declare const createRadioModule: () => Promise<RadioModule>;

// The worker's whole source, for the stand-in (installSerialStandIn's argument):
// the radio module, then the radio holding `image` (a .sin file's bytes).
export function radioInPageSource(image: Buffer, paced: boolean): string {
  const module = fs.readFileSync(path.join(siteDir, '../wasm/ostreltz-radio.js'), 'utf8');
  return `${module}\n(${radioWorker.toString()})(${JSON.stringify({ image: image.toString('base64'), paced })});\n`;
}

// Runs in the worker, sent as source text: refers to nothing outside itself.
function radioWorker(setup: { image: string; paced: boolean }): void {
  const byteMs = 10 / 9.6;
  const scope = self as unknown as { onmessage: (e: MessageEvent<Uint8Array>) => void; postMessage(bytes: Uint8Array): void };
  const ready = createRadioModule().then((radio) => {
    const image = Uint8Array.from(atob(setup.image), (c) => c.charCodeAt(0));
    const at = radio._malloc(image.length);
    radio.HEAPU8.set(image, at);
    if (!radio._radio_start(at, image.length)) throw new Error('no radio memory');
    radio._free(at);
    return radio;
  });
  // Waits without yielding: a byte time is shorter than a timer can be trusted for.
  const waitUntil = (t: number) => {
    while (performance.now() < t) {
      // the byte is on the wire
    }
  };
  // When the last byte taken in has fully arrived on the emulated wire.
  let wireFree = 0;
  scope.onmessage = async (e) => {
    const arrived = performance.now();
    const radio = await ready;
    for (const byte of e.data) {
      if (setup.paced) {
        wireFree = Math.max(arrived, wireFree) + byteMs;
        waitUntil(wireFree);
      }
      const count = radio._radio_feed(byte);
      if (count === 0) continue;
      const replyAt = radio._radio_reply();
      const reply = radio.HEAPU8.slice(replyAt, replyAt + count);
      if (!setup.paced) {
        scope.postMessage(reply);
        continue;
      }
      // The answer starts as the last byte in ends.
      for (const out of reply) {
        wireFree += byteMs;
        waitUntil(wireFree);
        scope.postMessage(Uint8Array.of(out));
      }
    }
  };
}
