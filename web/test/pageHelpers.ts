// What a person does on the page, for the browser tests.
import type { Page } from 'puppeteer-core';

export async function clickCommand(page: Page, command: string): Promise<void> {
  await page.click(`[data-command=${command}]`);
}

export async function openFile(page: Page, file: string): Promise<void> {
  const [chooser] = await Promise.all([page.waitForFileChooser(), clickCommand(page, 'open')]);
  await chooser.accept([file]);
  await page.waitForFunction((name) => document.getElementById('doc-title')?.textContent === name, {}, file.split('/').pop());
}

export async function clickCell(page: Page, row: number, col: number): Promise<void> {
  await page.click(`td[data-row="${row}"][data-col="${col}"]`);
}

export function gridTexts(page: Page): Promise<string[][]> {
  return page.evaluate(() => {
    const rows: string[][] = [];
    for (let r = 1; r <= 128; ++r) {
      const row: string[] = [];
      for (let c = 1; c <= 10; ++c) row.push(document.querySelector(`td[data-row="${r}"][data-col="${c}"]`)!.textContent ?? '');
      rows.push(row);
    }
    return rows;
  });
}

// The open message box's text, once one is shown. Looked for from here: while
// a transfer runs, the page's own timers, and with them any waiting done
// inside the page, may be held back by the transfer's message-channel turns.
export async function messageText(page: Page): Promise<string> {
  const until = Date.now() + 30_000;
  for (;;) {
    const text = await page.evaluate(() => document.querySelector('dialog.message[open] .message-text')?.textContent);
    if (text != null) return text;
    if (Date.now() > until) throw new Error('no message box was shown');
    await new Promise((r) => setTimeout(r, 20));
  }
}

export async function answerMessage(page: Page, label: string): Promise<void> {
  const buttons = await page.$$('dialog.message[open] button');
  for (const button of buttons) {
    if ((await button.evaluate((n) => n.textContent)) === label) {
      await button.click();
      await page.waitForFunction(() => !document.querySelector('dialog.message[open]'));
      return;
    }
  }
  throw new Error(`no button ${label}`);
}

// Starts a read or write in the progress window and waits until it closes.
export async function transfer(page: Page, command: 'read' | 'write'): Promise<void> {
  await clickCommand(page, command);
  await page.waitForSelector('#progress[open]');
  await page.click('#progress-start');
}

export async function progressClosed(page: Page): Promise<void> {
  try {
    await page.waitForFunction(() => !(document.getElementById('progress') as HTMLDialogElement).open, { timeout: 60_000 });
  } catch (e) {
    const shown = await page.evaluate(() => [document.getElementById('progress-status')?.textContent, document.querySelector('dialog.message[open]')?.textContent]);
    throw new Error(`the progress window stayed open: ${JSON.stringify(shown)}`);
  }
}

export async function cellText(page: Page, row: number, col: number): Promise<string> {
  return page.$eval(`td[data-row="${row}"][data-col="${col}"]`, (n) => n.textContent ?? '');
}

export async function docTitle(page: Page): Promise<string> {
  return page.$eval('#doc-title', (n) => n.textContent ?? '');
}

export async function pressWithControl(page: Page, key: string): Promise<void> {
  await page.keyboard.down('Control');
  await page.keyboard.press(key as Parameters<Page['keyboard']['press']>[0]);
  await page.keyboard.up('Control');
}
