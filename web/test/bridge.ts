// Carries a browser's serial bytes between a loopback WebSocket and the
// simulated radio's pseudo-terminal: one WebSocket connection is one open port.
import { WebSocketServer, type WebSocket } from 'ws';
import type { AddressInfo } from 'node:net';
import { openPty } from './ptyPort';

// Time the browser's side held the line: from the moment the radio's bytes
// were handed to the WebSocket until the browser's next bytes came back, summed
// over every such turn. Timed the same way in the stand-in, the difference is
// what the stand-in's path (WebSocket and browser) adds to the page's own time.
export interface Turns {
  count: number;
  ms: number;
}

export interface Bridge {
  url: string;
  // The turns since the last call.
  takeTurns(): Turns;
  close(): Promise<void>;
}

export function startBridge(ptyPath: string): Promise<Bridge> {
  const server = new WebSocketServer({ host: '127.0.0.1', port: 0 });
  // A serial port is open to one program at a time: a new connection ends the
  // one before, so that no reader left over from it takes the radio's bytes.
  let endPrevious: (() => void) | null = null;
  let turns: Turns = { count: 0, ms: 0 };
  server.on('connection', (socket: WebSocket) => {
    endPrevious?.();
    const pty = openPty(ptyPath);
    endPrevious = () => {
      pty.close();
      socket.terminate();
    };
    let handedOver: number | null = null;
    pty.onData((bytes) => {
      handedOver = performance.now();
      socket.send(bytes);
    });
    pty.onEnd(() => socket.close());
    // One write at a time: writes started together could reach the radio out of order.
    let writing = Promise.resolve();
    socket.on('message', (data: Buffer) => {
      if (handedOver !== null) {
        turns.count += 1;
        turns.ms += performance.now() - handedOver;
        handedOver = null;
      }
      writing = writing.then(() => pty.write(new Uint8Array(data))).catch(() => socket.close());
    });
    socket.on('close', () => pty.close());
  });
  return new Promise((resolve) => {
    server.on('listening', () => {
      const { port } = server.address() as AddressInfo;
      resolve({
        url: `ws://127.0.0.1:${port}`,
        takeTurns: () => {
          const taken = turns;
          turns = { count: 0, ms: 0 };
          return taken;
        },
        close: () =>
          new Promise((done) => {
            for (const client of server.clients) client.terminate();
            server.close(() => done());
          }),
      });
    });
  });
}
