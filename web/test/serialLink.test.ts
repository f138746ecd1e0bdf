// The page's serial link under Node, on a port whose bytes the test hands in:
// when a read takes the radio for silent.
import { test } from 'node:test';
import * as assert from 'node:assert/strict';
import { SerialLink, type SerialPortLike } from '../src/serialLink';
import { streamPort } from './streamPort';

type HandPort = SerialPortLike & { hand(bytes: number[]): void };

function handPort(): HandPort {
  let controller: ReadableStreamDefaultController<Uint8Array> | null = null;
  const port = streamPort(() => ({
    readable: new ReadableStream<Uint8Array>({ start: (c) => { controller = c; } }),
    writable: new WritableStream<Uint8Array>(),
    close: () => {},
  }));
  return Object.assign(port, { hand: (bytes: number[]) => controller!.enqueue(Uint8Array.from(bytes)) });
}

async function openLink(port: HandPort): Promise<SerialLink> {
  const link = new SerialLink(async () => port, () => {});
  assert.equal(await link.open(), 0);
  return link;
}

function busyFor(ms: number): void {
  const end = performance.now() + ms;
  while (performance.now() < end) {
    // the page is busy drawing, or the machine is loaded
  }
}

test('bytes still on their way when a busy page wakes past the gap are read, not taken for silence', async () => {
  const port = handPort();
  const link = await openLink(port);
  port.hand([1, 2, 3, 4, 5, 6]);
  const reading = link.read(12, 6090, 30);
  // The page is held up past the 30 ms gap; the radio's next bytes were sent
  // in time, and the browser hands them over a moment after the page wakes.
  setTimeout(() => {
    busyFor(80);
    setTimeout(() => port.hand([7, 8, 9, 10, 11, 12]), 3);
  }, 5);
  assert.deepEqual(await reading, Uint8Array.from([1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12]));
  await link.close();
});

test('a radio that stops sending ends the read with what it sent, and a silent one with nothing', async () => {
  const port = handPort();
  const link = await openLink(port);
  port.hand([6, 6]);
  assert.deepEqual(await link.read(12, 6090, 30), Uint8Array.from([6, 6]));
  assert.deepEqual(await link.read(1, 40, 30), new Uint8Array());
  await link.close();
});

test('a pause while the port is still sending leaves the page free meanwhile; every pause lasts its time', async () => {
  const port = handPort();
  const link = await openLink(port);
  // The pause's turns of the event loop do not keep Node running; a radio's pty would.
  const alive = setInterval(() => {}, 1000);
  const timedPause = async (ms: number, otherWorkAt: number) => {
    const order: string[] = [];
    setTimeout(() => order.push('other work'), otherWorkAt);
    const start = performance.now();
    await link.pause(ms);
    assert.ok(performance.now() - start >= ms, 'a pause lasts its time');
    order.push('pause over');
    await new Promise((resolve) => setTimeout(resolve, otherWorkAt));
    return order;
  };
  assert.equal(await link.write(new Uint8Array(480)), true); // half a second on the wire
  // A spin through the pause's last milliseconds would hold the other work
  // up until the pause is over. (A busy machine can only make a spin look free.)
  assert.deepEqual(await timedPause(20, 19), ['other work', 'pause over']);
  port.hand([6]); // the radio's answer: what was sent has left, the line is idle
  assert.deepEqual(await link.read(1, 1000, 30), Uint8Array.from([6]));
  await timedPause(20, 1);
  clearInterval(alive);
  await link.close();
});
