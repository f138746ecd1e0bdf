// A port with the SerialPort shape on the test bridge's WebSocket, under
// Node: the path the browser's stand-in takes, without the browser.
import WebSocket from 'ws';
import type { SerialPortLike } from '../src/serialLink';
import { streamPort } from './streamPort';

export function webSocketSerialPort(url: string): SerialPortLike {
  return streamPort(async () => {
    const s = new WebSocket(url);
    await new Promise<void>((resolve, reject) => {
      s.once('open', () => resolve());
      s.once('error', reject);
    });
    return {
      readable: new ReadableStream<Uint8Array>({
        start(controller) {
          s.on('message', (data: Buffer) => controller.enqueue(new Uint8Array(data)));
          s.on('close', () => { try { controller.close(); } catch { /* closed already */ } });
        },
      }),
      writable: new WritableStream<Uint8Array>({ write: (bytes) => { s.send(bytes); } }),
      close: () => {
        if (s.readyState === WebSocket.CLOSED) return;
        return new Promise<void>((resolve) => { s.once('close', () => resolve()); s.close(); });
      },
    };
  });
}
