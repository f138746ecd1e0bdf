// The tests' navigator.serial: one port with the SerialPort shape whose bytes
// travel over a WebSocket to the bridge. Injected before the page's scripts
// by the tests only; the page itself never contains it. The function is sent
// to the browser as source text, so it refers to nothing outside itself.
export function installSerialStandIn(bridgeUrl: string): void {
  class StandInPort {
    readable: ReadableStream<Uint8Array> | null = null;
    writable: WritableStream<Uint8Array> | null = null;
    private socket: WebSocket | null = null;

    async open(options: { baudRate: number }): Promise<void> {
      if (this.socket) throw new DOMException('The port is already open.', 'InvalidStateError');
      (window as unknown as { standInBaudRate: number }).standInBaudRate = options.baudRate;
      const socket = new WebSocket(bridgeUrl);
      socket.binaryType = 'arraybuffer';
      await new Promise<void>((resolve, reject) => {
        socket.onopen = () => resolve();
        socket.onerror = () => reject(new DOMException('Failed to open serial port.', 'NetworkError'));
      });
      this.socket = socket;
      this.readable = new ReadableStream<Uint8Array>({
        start(controller) {
          socket.onmessage = (e) => controller.enqueue(new Uint8Array(e.data as ArrayBuffer));
          socket.onclose = () => {
            try {
              controller.close();
            } catch {
              // already closed by the reader
            }
          };
        },
      });
      this.writable = new WritableStream<Uint8Array>({
        write(chunk) {
          if (socket.readyState !== WebSocket.OPEN) throw new DOMException('The device has been lost.', 'NetworkError');
          socket.send(chunk);
        },
      });
    }

    // Resolves once the port is closed, as a real port's close() does.
    async close(): Promise<void> {
      const socket = this.socket;
      if (socket && socket.readyState !== WebSocket.CLOSED) {
        await new Promise<void>((resolve) => {
          socket.addEventListener('close', () => resolve());
          socket.close();
        });
      }
      this.socket = null;
      this.readable = null;
      this.writable = null;
    }

    getInfo(): object {
      return {};
    }
  }
  const port = new StandInPort();
  const serial = {
    getPorts: async () => [port],
    requestPort: async () => port,
    addEventListener: () => {},
    removeEventListener: () => {},
  };
  Object.defineProperty(navigator, 'serial', { value: serial, configurable: true });
}
