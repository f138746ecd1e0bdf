// The tests' navigator.serial: one port with the SerialPort shape whose bytes
// travel over a WebSocket to the bridge. Injected before the page's scripts
// by the tests only; the page itself never contains it. The function is sent
// to the browser as source text, so it refers to nothing outside itself.
// `standInPull()` pulls the cable (the port's streams fail, the browser
// announces `disconnect`), `standInPlug()` plugs in a new one (a new port,
// announced with `connect`). `standInTakeTurns()` gives the time the page held
// the line, from the radio's bytes in to the page's next bytes out, summed over
// every such turn since the last call (the bridge times the same turns from
// its side).
export function installSerialStandIn(bridgeUrl: string): void {
  let turns = { count: 0, ms: 0 };
  let arrived: number | null = null;
  class StandInPort {
    readable: ReadableStream<Uint8Array> | null = null;
    writable: WritableStream<Uint8Array> | null = null;
    private socket: WebSocket | null = null;
    private failReading: ((error: Error) => void) | null = null;
    private pulled = false;

    pull(): void {
      this.pulled = true;
      this.failReading?.(new DOMException('The device has been lost.', 'NetworkError'));
      this.socket?.close();
    }

    async open(options: { baudRate: number }): Promise<void> {
      if (this.pulled) throw new DOMException('The device has been lost.', 'NetworkError');
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
        start: (controller) => {
          this.failReading = (error) => controller.error(error);
          socket.onmessage = (e) => {
            arrived = performance.now();
            controller.enqueue(new Uint8Array(e.data as ArrayBuffer));
          };
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
          if (arrived !== null) {
            turns.count += 1;
            turns.ms += performance.now() - arrived;
            arrived = null;
          }
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
  let port: StandInPort | null = new StandInPort();
  const serial = Object.assign(new EventTarget(), {
    getPorts: async () => (port ? [port] : []),
    requestPort: async () => {
      if (!port) throw new DOMException('No port selected by the user.', 'NotFoundError');
      return port;
    },
  });
  const announce = (type: string, target: StandInPort) => {
    const event = new Event(type);
    Object.defineProperty(event, 'target', { value: target });
    serial.dispatchEvent(event);
  };
  const w = window as unknown as { standInPull: () => void; standInPlug: () => void; standInTakeTurns: () => object };
  w.standInTakeTurns = () => {
    const taken = turns;
    turns = { count: 0, ms: 0 };
    return taken;
  };
  w.standInPull = () => {
    const pulled = port!;
    port = null;
    pulled.pull();
    announce('disconnect', pulled);
  };
  w.standInPlug = () => {
    port = new StandInPort();
    announce('connect', port);
  };
  Object.defineProperty(navigator, 'serial', { value: serial, configurable: true });
}
