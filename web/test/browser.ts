// The page in headless Chromium (Debian's), served from build-web/site on a
// loopback port, with downloads landing in a temporary folder.
import * as fs from 'node:fs';
import * as http from 'node:http';
import * as path from 'node:path';
import type { AddressInfo } from 'node:net';
import { after, before } from 'node:test';
import puppeteer, { type Browser, type Page } from 'puppeteer-core';
import { siteDir } from './loadRules';
import { scratchDir } from './scratch';

const types: Record<string, string> = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.webmanifest': 'application/manifest+json', '.map': 'application/json',
};

export function serveSite(): Promise<{ url: string; close(): Promise<void> }> {
  const server = http.createServer((request, response) => {
    const name = new URL(request.url ?? '/', 'http://localhost').pathname.replace(/^\/$/, '/index.html');
    const file = path.join(siteDir, path.normalize(name));
    if (!file.startsWith(siteDir) || !fs.existsSync(file) || fs.statSync(file).isDirectory()) {
      response.writeHead(404).end();
      return;
    }
    response.writeHead(200, { 'Content-Type': types[path.extname(file)] ?? 'application/octet-stream' });
    fs.createReadStream(file).pipe(response);
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      const { port } = server.address() as AddressInfo;
      resolve({ url: `http://127.0.0.1:${port}/`, close: () => new Promise((done) => {
        server.close(() => done());
        server.closeAllConnections();
      }) });
    });
  });
}

// `asForPeople`: a hidden page's timers are slowed as in a person's browser;
// otherwise the test driver's defaults keep them going. The browser's own
// files (its crash reports, its downloads folder) go into a scratch home, not
// into the user's.
export function launchBrowser(asForPeople = false): Promise<Browser> {
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM ?? '/usr/bin/chromium',
    headless: true,
    env: { ...process.env, HOME: scratchDir('browser-home') },
    // A browser set to Chinese, the language the page speaks first.
    args: ['--no-sandbox', '--disable-gpu', '--disable-dev-shm-usage', '--accept-lang=zh-CN'],
    ignoreDefaultArgs: asForPeople
      ? ['--disable-background-timer-throttling', '--disable-backgrounding-occluded-windows', '--disable-renderer-backgrounding']
      : [],
  });
}

// The site and a browser shared by the tests of one file: started before
// them and closed after them.
export function browserForTests(asForPeople = false): { browser: Browser; url: string } {
  const shared = { browser: undefined as unknown as Browser, url: '' };
  let site: { url: string; close(): Promise<void> } | undefined;
  before(async () => {
    site = await serveSite();
    shared.url = site.url;
    shared.browser = await launchBrowser(asForPeople);
  });
  after(async () => {
    await shared.browser?.close();
    await site?.close();
  });
  return shared;
}

export interface PageSetup {
  // Runs before the page's own scripts.
  before?: { fn: (arg: string) => void; arg: string }[];
  // The browser's language, if not the tests' browser's Chinese ("en-US").
  browserLanguage?: string;
}

// Opens the page and waits for the rules to be loaded. Each page is a first
// visit: what an earlier test left in the site's storage (recent files, the
// language chosen) is gone. File pickers are taken away so opening and saving
// use the file input and downloads, which the tests can drive.
export async function openPage(browser: Browser, url: string, setup: PageSetup = {}): Promise<{ page: Page; downloads: string }> {
  const page = await browser.newPage();
  const downloads = scratchDir('downloads');
  const cdp = await page.createCDPSession();
  await cdp.send('Browser.setDownloadBehavior', { behavior: 'allow', downloadPath: downloads });
  await cdp.send('Storage.clearDataForOrigin', { origin: new URL(url).origin, storageTypes: 'local_storage' });
  if (setup.browserLanguage) await cdp.send('Emulation.setUserAgentOverride', { userAgent: await browser.userAgent(), acceptLanguage: setup.browserLanguage });
  await page.evaluateOnNewDocument(() => {
    delete (window as unknown as Record<string, unknown>).showOpenFilePicker;
    delete (window as unknown as Record<string, unknown>).showSaveFilePicker;
  });
  for (const { fn, arg } of setup.before ?? []) await page.evaluateOnNewDocument(fn, arg);
  await page.goto(url);
  await page.waitForSelector('body[data-ready=true]');
  return { page, downloads };
}

// Waits for a finished download in `folder` and returns its bytes.
export async function downloaded(folder: string, name: string): Promise<Buffer> {
  const file = path.join(folder, name);
  for (let i = 0; i < 200; ++i) {
    if (fs.existsSync(file)) return fs.readFileSync(file);
    await new Promise((r) => setTimeout(r, 50));
  }
  throw new Error(`no download ${name}; have ${fs.readdirSync(folder).join(', ')}`);
}
