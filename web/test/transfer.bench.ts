// Times a browser read and write against the simulated radio at 9600-baud
// wire speed, each against the protocol's floor (the bytes on the wire at
// 9600 8N1 plus the pauses the protocol requires), and the page's load time
// and the size of its WebAssembly. The same rules module and serial link run
// under Node straight on the pty and through the test bridge, which tells
// the browser's and the bridge's shares from the module's own; the command
// line runs the same transfers beside them. The page then runs them once
// more against the simulated radio inside the browser (radioInPage.ts), with
// no WebSocket, bridge or pty between: the page's own pace, without the
// stand-in's. Prints figures; asserts nothing but success.
import * as fs from 'node:fs';
import * as path from 'node:path';
import * as zlib from 'node:zlib';
import { launchBrowser, openPage, serveSite } from './browser';
import { startBridge, type Bridge, type Turns } from './bridge';
import { Answer, runClone } from '../src/rules';
import { attach, loadRules, siteDir } from './loadRules';
import { clickCommand, openFile } from './pageHelpers';
import type { Page } from 'puppeteer-core';
import { repoRoot, startSimulator } from './simulator';
import { installSerialStandIn } from './standIn';
import { radioInPageSource } from './radioInPage';
import { cliBytes } from './cliDump';
import { webSocketSerialPort } from './wsPort';
import { scratchDir } from './scratch';

const kByteMs = 10 / 9.6;
const kHandshakeMs = 20 * kByteMs + 16;
const kReadFloorMs = kHandshakeMs + 264 * (18 * kByteMs + 20);
const kWriteFloorMs = kHandshakeMs + 264 * (13 * kByteMs + 2);

function report(where: string, command: string, ms: number, floor: number, failed: boolean): void {
  console.log(`${where} ${command}: ${ms.toFixed(0)} ms, floor ${floor.toFixed(0)} ms, ratio ${(ms / floor).toFixed(3)}${failed ? ' (FAILED)' : ''}`);
}

// The stand-in's own share of a browser transfer: at each turn of the line,
// the time between the bridge handing the radio's bytes over and getting the
// page's answer back, less the time the page itself took from those bytes in
// to its answer out, is the WebSocket and the browser's plumbing, which a real
// serial port does not cross. Printed with the page's ratio without it.
function reportStandIn(command: string, ms: number, floor: number, atBridge: Turns, inPage: Turns): void {
  const share = atBridge.ms - inPage.ms;
  const matched = atBridge.count === inPage.count ? '' : ` (turns counted apart: bridge ${atBridge.count}, page ${inPage.count})`;
  console.log(`browser ${command}, the stand-in's own share: ${share.toFixed(0)} ms over ${atBridge.count} turns`
    + ` (${(share / Math.max(atBridge.count, 1)).toFixed(2)} ms a turn)${matched}; without it ${(ms - share).toFixed(0)} ms, ratio ${((ms - share) / floor).toFixed(3)}`);
}

// The turns the stand-in in the page counted since it was last asked.
function turnsInPage(page: Page): Promise<Turns> {
  return page.evaluate(() => (window as unknown as { standInTakeTurns: () => Turns }).standInTakeTurns());
}

// A transfer timed by the page's own clock, from the click on 开始 to its
// progress window closing (NaN when it stays open a minute, as after a
// failure). Nothing asks the page from outside while it runs: a probe every
// few milliseconds would take the page's time from the transfer.
async function timedInPage(page: Page): Promise<number> {
  await page.evaluate(() => {
    const timed = window as unknown as { benchTransfer: Promise<number> };
    timed.benchTransfer = new Promise((resolve) => {
      setTimeout(() => resolve(NaN), 60_000);
      let start = 0;
      document.getElementById('progress-start')!.addEventListener('click', () => { start = performance.now(); }, { once: true, capture: true });
      document.getElementById('progress')!.addEventListener('close', () => resolve(performance.now() - start), { once: true });
    });
  });
  await page.click('#progress-start');
  return page.evaluate(() => (window as unknown as { benchTransfer: Promise<number> }).benchTransfer);
}

// The module under Node, no browser: straight on the pty, or through the
// test bridge the browser's stand-in uses. The bridge then shares this
// process's event loop with the module, whose pauses hold it up, so that line
// tells the bridge's share only roughly; the browser's lines do not share it.
async function timeUnderNode(simArgs: string[], sample: Buffer, overBridge: boolean): Promise<boolean> {
  const sim = await startSimulator(simArgs);
  const bridge = overBridge ? await startBridge(sim.port) : null;
  let failed = false;
  try {
    const rules = await loadRules();
    rules.loadSin('sample.sin', sample);
    const asked: string[] = [];
    attach(rules, bridge ? webSocketSerialPort(bridge.url) : sim.port, Answer.Cancel, asked);
    for (const [command, direction, floor] of [['write', 1, kWriteFloorMs], ['read', 0, kReadFloorMs]] as const) {
      const start = performance.now();
      const outcome = await runClone(rules, direction);
      failed ||= outcome !== 0;
      report(bridge ? 'node over the stand-in\'s bridge' : 'node', command, performance.now() - start, floor, outcome !== 0);
    }
  } finally {
    await bridge?.close();
    await sim.stop();
  }
  return failed;
}

// The command line on the pty, for comparison: the whole program, started and ended.
async function timeCommandLine(simArgs: string[], dir: string): Promise<boolean> {
  const sim = await startSimulator(simArgs);
  let failed = false;
  try {
    for (const [command, args, floor] of [
      ['write', ['write', '--port', sim.port, '--in', path.join(repoRoot, 'docs/sample.sin')], kWriteFloorMs],
      ['read', ['read', '--port', sim.port, '--out', path.join(dir, 'cli-read.sin')], kReadFloorMs],
    ] as const) {
      const start = performance.now();
      let ok = true;
      try {
        cliBytes([...args]);
      } catch {
        ok = false;
      }
      failed ||= !ok;
      report('command line', command, performance.now() - start, floor, !ok);
    }
  } finally {
    await sim.stop();
  }
  return failed;
}

// The sample written to the radio and read back in the page, each timed,
// with the stand-in's share when its radio is behind the bridge.
async function timeInBrowser(page: Page, where: string, bridge?: Bridge): Promise<boolean> {
  let failed = false;
  await openFile(page, path.join(repoRoot, 'docs/sample.sin'));
  for (const [command, floor] of [['write', kWriteFloorMs], ['read', kReadFloorMs]] as const) {
    await clickCommand(page, command);
    await page.waitForSelector('#progress[open]');
    bridge?.takeTurns();
    await turnsInPage(page);
    const ms = await timedInPage(page);
    const transferFailed = (await page.$('dialog.message[open]')) !== null || Number.isNaN(ms);
    failed ||= transferFailed;
    report(where, command, ms, floor, transferFailed);
    if (transferFailed) console.log(`  the page shows: ${await page.evaluate(() => document.querySelector('dialog.message[open]')?.textContent ?? document.getElementById('progress-status')?.textContent)}`);
    if (bridge) reportStandIn(command, ms, floor, bridge.takeTurns(), await turnsInPage(page));
  }
  return failed;
}

async function main(): Promise<void> {
  const site = await serveSite();
  const browser = await launchBrowser();
  const dir = scratchDir('bench');
  const sample = fs.readFileSync(path.join(repoRoot, 'docs/sample.sin'));
  const simArgs = ['--baud-emulation', '--image', path.join(repoRoot, 'docs/sample.sin'), '--save', path.join(dir, 'radio.sin'), '--type', String(sample[0x81b])];
  let failed = false;
  if (!process.env.BROWSER_ONLY) {
    failed = await timeCommandLine(simArgs, dir);
    failed = (await timeUnderNode(simArgs, sample, false)) || failed;
    failed = (await timeUnderNode(simArgs, sample, true)) || failed;
  }
  const sim = await startSimulator([...simArgs, ...(process.env.SIMLOG ? ['--log', process.env.SIMLOG] : [])]);
  const bridge = await startBridge(sim.port);
  try {
    const loadStart = performance.now();
    const { page } = await openPage(browser, site.url, { before: [{ fn: installSerialStandIn, arg: bridge.url }] });
    const loadMs = performance.now() - loadStart;
    failed = (await timeInBrowser(page, 'browser', bridge)) || failed;
    await page.close();
    const inPage = await openPage(browser, site.url, { before: [{ fn: installSerialStandIn, arg: radioInPageSource(sample, true) }] });
    failed = (await timeInBrowser(inPage.page, 'browser, radio in the page')) || failed;
    console.log(`page load (to the rules ready): ${loadMs.toFixed(0)} ms`);
  } finally {
    await bridge.close();
    await sim.stop();
    await browser.close();
    await site.close();
  }
  const wasm = fs.readFileSync(path.join(siteDir, 'ostreltz-rules.wasm'));
  const gzip = zlib.gzipSync(wasm, { level: 9 }).length;
  const brotli = zlib.brotliCompressSync(wasm).length;
  console.log(`ostreltz-rules.wasm: ${wasm.length} bytes, gzip ${gzip}, brotli ${brotli}`);
  let total = 0;
  // Every file of the site, the guide's folder included.
  for (const name of fs.readdirSync(siteDir, { recursive: true }) as string[]) {
    const file = path.join(siteDir, name);
    if (!name.endsWith('.map') && fs.statSync(file).isFile()) total += zlib.gzipSync(fs.readFileSync(file), { level: 9 }).length;
  }
  console.log(`whole site without source maps, gzip: ${total} bytes`);
  if (failed) process.exitCode = 1;
}

main().catch((e) => {
  console.error(e);
  process.exitCode = 1;
});
