// Carries a browser's serial bytes between a loopback WebSocket and the
// simulated radio's pseudo-terminal: one WebSocket connection is one open port.
import { WebSocketServer, type WebSocket } from 'ws';
import type { AddressInfo } from 'node:net';
import { openPty } from './ptyPort';

export interface Bridge {
  url: string;
  close(): Promise<void>;
}

export function startBridge(ptyPath: string): Promise<Bridge> {
  const server = new WebSocketServer({ host: '127.0.0.1', port: 0 });
  // A serial port is open to one program at a time: a new connection ends the
  // one before, so that no reader left over from it takes the radio's bytes.
  let endPrevious: (() => void) | null = null;
  server.on('connection', (socket: WebSocket) => {
    endPrevious?.();
    const pty = openPty(ptyPath);
    endPrevious = () => {
      pty.close();
      socket.terminate();
    };
    pty.onData((bytes) => socket.send(bytes));
    pty.onEnd(() => socket.close());
    // One write at a time: writes started together could reach the radio out of order.
    let writing = Promise.resolve();
    socket.on('message', (data: Buffer) => {
      writing = writing.then(() => pty.write(new Uint8Array(data))).catch(() => socket.close());
    });
    socket.on('close', () => pty.close());
  });
  return new Promise((resolve) => {
    server.on('listening', () => {
      const { port } = server.address() as AddressInfo;
      resolve({
        url: `ws://127.0.0.1:${port}`,
        close: () =>
          new Promise((done) => {
            for (const client of server.clients) client.terminate();
            server.close(() => done());
          }),
      });
    });
  });
}
