// Loads the rules module under Node, the way the page loads it, and gives it
// the simulated radio's pty as its port.
import * as fs from 'node:fs';
import * as path from 'node:path';
import type { Answer, Rules, RulesFactory } from '../src/rules';
import { SerialLink, type SerialPortLike } from '../src/serialLink';
import { ptySerialPort } from './ptyPort';
import { repoRoot } from './simulator';

export const siteDir = process.env.OSTRELTZ_SITE ?? path.join(repoRoot, 'build-web/site');

export async function loadRules(): Promise<Rules> {
  // eslint-disable-next-line @typescript-eslint/no-var-requires
  const factory = require(path.join(siteDir, 'ostreltz-rules.js')) as RulesFactory;
  // Node has no origin storage: the history keeps nothing, as in a browser
  // that keeps the site from storing data.
  return factory({ wasmBinary: fs.readFileSync(path.join(siteDir, 'ostreltz-rules.wasm')), siteStorage: () => null, storeItem: () => false });
}

// The module's host on the simulator's port (its pty's path, or a port
// object); answers every question with `answer`.
export function attach(rules: Rules, port: string | SerialPortLike, answer: Answer, asked: string[]): void {
  const link = new SerialLink(async () => (typeof port === 'string' ? ptySerialPort(port) : port), () => {});
  rules.host = {
    open: () => link.open(),
    purge: () => link.purge(),
    write: (bytes) => link.write(bytes),
    read: (count, totalMs, intervalMs) => link.read(count, totalMs, intervalMs),
    close: () => link.close(),
    pause: (ms) => link.pause(ms),
    status: () => {},
    phase: () => {},
    progress: () => {},
    ask: async (text) => {
      asked.push(text);
      return answer;
    },
    inform: async (text) => {
      asked.push(text);
    },
    cancelled: () => false,
    watch: () => {},
  };
}
