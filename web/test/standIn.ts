// The tests' navigator.serial: one port with the SerialPort shape whose bytes
// travel to a radio: over a WebSocket to the bridge and the simulated radio's
// pty (`arg` the bridge's ws:// address), or to a radio in a worker of the
// page itself (`arg` the worker's source, see radioInPage.ts), which a serial
// byte reaches without leaving the browser. Injected before the page's scripts
// by the tests only; the page itself never contains it. The function is sent
// to the browser as source text, so it refers to nothing outside itself.
// `standInPull()` pulls the cable (the port's streams fail, the browser
// announces `disconnect`), `standInPlug()` plugs in a new one (a new port,
// announced with `connect`). `standInTakeTurns()` gives the time the page held
// the line, from the radio's bytes in to the page's next bytes out, summed over
// every such turn since the last call (the bridge times the same turns from
// its side).
export function installSerialStandIn(arg: string): void {
  // The way to the radio while a port is open.
  interface Line {
    send(bytes: Uint8Array): void;
    readonly open: boolean;
    close(): Promise<void>;
  }
  interface LineEvents {
    bytes(bytes: Uint8Array): void;
    end(): void;
  }
  async function socketLine(events: LineEvents): Promise<Line> {
    const socket = new WebSocket(arg);
    socket.binaryType = 'arraybuffer';
    await new Promise<void>((resolve, reject) => {
      socket.onopen = () => resolve();
      socket.onerror = () => reject(new DOMException('Failed to open serial port.', 'NetworkError'));
    });
    socket.onmessage = (e) => events.bytes(new Uint8Array(e.data as ArrayBuffer));
    socket.onclose = () => events.end();
    return {
      send: (bytes) => socket.send(bytes),
      get open() {
        return socket.readyState === WebSocket.OPEN;
      },
      close: () => new Promise<void>((resolve) => {
        if (socket.readyState === WebSocket.CLOSED) return resolve();
        socket.addEventListener('close', () => resolve());
        socket.close();
      }),
    };
  }
  // One radio for the page's whole life, as a radio outlives the cable's
  // ports: what was written to it is read back.
  let radio: Worker | null = null;
  function workerLine(events: LineEvents): Line {
    radio ??= new Worker(URL.createObjectURL(new Blob([arg], { type: 'text/javascript' })));
    let open = true;
    radio.onmessage = (e) => {
      if (open) events.bytes(e.data as Uint8Array);
    };
    return {
      send: (bytes) => radio!.postMessage(bytes),
      get open() {
        return open;
      },
      close: async () => {
        open = false;
        events.end();
      },
    };
  }
  let turns = { count: 0, ms: 0 };
  let arrived: number | null = null;
  class StandInPort {
    readable: ReadableStream<Uint8Array> | null = null;
    writable: WritableStream<Uint8Array> | null = null;
    private line: Line | null = null;
    private failReading: ((error: Error) => void) | null = null;
    private pulled = false;

    pull(): void {
      this.pulled = true;
      this.failReading?.(new DOMException('The device has been lost.', 'NetworkError'));
      void this.line?.close();
    }

    async open(options: { baudRate: number }): Promise<void> {
      if (this.pulled) throw new DOMException('The device has been lost.', 'NetworkError');
      if (this.line) throw new DOMException('The port is already open.', 'InvalidStateError');
      (window as unknown as { standInBaudRate: number }).standInBaudRate = options.baudRate;
      let controller!: ReadableStreamDefaultController<Uint8Array>;
      const events: LineEvents = {
        bytes: (bytes) => {
          arrived = performance.now();
          controller.enqueue(bytes);
        },
        end: () => {
          try {
            controller.close();
          } catch {
            // already closed by the reader
          }
        },
      };
      const line = arg.startsWith('ws:') ? await socketLine(events) : workerLine(events);
      this.line = line;
      // Made at once, before any byte can come in.
      this.readable = new ReadableStream<Uint8Array>({
        start: (c) => {
          controller = c;
          this.failReading = (error) => c.error(error);
        },
      });
      this.writable = new WritableStream<Uint8Array>({
        write(chunk) {
          if (!line.open) throw new DOMException('The device has been lost.', 'NetworkError');
          if (arrived !== null) {
            turns.count += 1;
            turns.ms += performance.now() - arrived;
            arrived = null;
          }
          line.send(chunk);
        },
      });
    }

    // Resolves once the port is closed, as a real port's close() does.
    async close(): Promise<void> {
      await this.line?.close();
      this.line = null;
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
