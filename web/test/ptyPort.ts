// The simulated radio's pseudo-terminal, opened raw, with the SerialPort shape.
import * as fs from 'node:fs';
import * as tty from 'node:tty';
import type { SerialPortLike } from '../src/serialLink';
import { streamPort } from './streamPort';

export interface PtyChannel {
  onData(handler: (bytes: Uint8Array) => void): void;
  onEnd(handler: () => void): void;
  write(bytes: Uint8Array): Promise<void>;
  close(): void;
}

export function openPty(path: string): PtyChannel {
  const fd = fs.openSync(path, fs.constants.O_RDWR | fs.constants.O_NOCTTY);
  const stream = new tty.ReadStream(fd);
  stream.setRawMode(true);
  let closed = false;
  return {
    onData: (handler) => stream.on('data', (chunk: Buffer) => handler(new Uint8Array(chunk))),
    onEnd: (handler) => {
      stream.on('end', handler);
      stream.on('error', handler);
      stream.on('close', handler);
    },
    // Written at once, not through the thread pool: a radio's reply waits on
    // every byte, and a few bytes never fill the terminal's buffer for long.
    write: async (bytes) => {
      let done = 0;
      while (done < bytes.length) {
        try {
          done += fs.writeSync(fd, bytes, done);
        } catch (error) {
          if ((error as NodeJS.ErrnoException).code !== 'EAGAIN') throw error;
          await new Promise((resolve) => setTimeout(resolve, 1));
        }
      }
    },
    close: () => {
      if (closed) return;
      closed = true;
      stream.destroy();
    },
  };
}

export function ptySerialPort(path: string): SerialPortLike {
  return streamPort(() => {
    const ch = openPty(path);
    return {
      readable: new ReadableStream<Uint8Array>({
        start(controller) {
          ch.onData((bytes) => controller.enqueue(bytes));
          ch.onEnd(() => { try { controller.close(); } catch { /* closed already */ } });
        },
      }),
      writable: new WritableStream<Uint8Array>({ write: (bytes) => ch.write(bytes) }),
      close: () => ch.close(),
    };
  });
}
