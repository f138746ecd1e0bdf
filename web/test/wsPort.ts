// A port with the SerialPort shape on the test bridge's WebSocket, under
// Node: the path the browser's stand-in takes, without the browser.
import WebSocket from 'ws';
import type { SerialPortLike } from '../src/serialLink';

export function webSocketSerialPort(url: string): SerialPortLike {
  let socket: WebSocket | null = null;
  let readable: ReadableStream<Uint8Array> | null = null;
  let writable: WritableStream<Uint8Array> | null = null;
  return {
    get readable() { return readable; },
    get writable() { return writable; },
    async open() {
      const s = new WebSocket(url);
      await new Promise<void>((resolve, reject) => {
        s.once('open', () => resolve());
        s.once('error', reject);
      });
      socket = s;
      readable = new ReadableStream<Uint8Array>({
        start(controller) {
          s.on('message', (data: Buffer) => controller.enqueue(new Uint8Array(data)));
          s.on('close', () => { try { controller.close(); } catch { /* closed already */ } });
        },
      });
      writable = new WritableStream<Uint8Array>({ write: (bytes) => { s.send(bytes); } });
    },
    async close() {
      const s = socket;
      socket = null;
      readable = null;
      writable = null;
      if (s && s.readyState !== WebSocket.CLOSED) await new Promise<void>((resolve) => { s.once('close', () => resolve()); s.close(); });
    },
  };
}
