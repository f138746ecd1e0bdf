// A port with the SerialPort shape whose streams are made as it opens: the
// tests' ports on the pty, on the bridge's WebSocket and on bytes handed in.
import type { SerialPortLike } from '../src/serialLink';

export interface OpenStreams {
  readable: ReadableStream<Uint8Array>;
  writable: WritableStream<Uint8Array>;
  close(): Promise<void> | void;
}

export function streamPort(open: () => Promise<OpenStreams> | OpenStreams): SerialPortLike {
  let streams: OpenStreams | null = null;
  return {
    get readable() { return streams?.readable ?? null; },
    get writable() { return streams?.writable ?? null; },
    async open() {
      streams = await open();
    },
    async close() {
      const closing = streams;
      streams = null;
      await closing?.close();
    },
  };
}
