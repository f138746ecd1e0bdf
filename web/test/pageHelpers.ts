// What a person does on the page, for the browser tests.
import type { ElementHandle, Page } from 'puppeteer-core';

// Opens, with the mouse, the menu that lists `command`; returns its entry.
export async function openMenuWith(page: Page, command: string): Promise<ElementHandle<Element>> {
  for (const title of await page.$$('[role=menubar] [aria-haspopup=menu]')) {
    await title.click();
    const item = await page.$(`[role=menu]:not([hidden]) [data-command="${command}"]`);
    if (item) return item;
    await title.click();
  }
  throw new Error(`no menu lists ${command}`);
}

// Chooses a command from its menu with the mouse.
export async function clickCommand(page: Page, command: string): Promise<void> {
  await (await openMenuWith(page, command)).click();
}

export const runCommand = clickCommand;

export async function chooseLanguage(page: Page, language: 'zh' | 'en'): Promise<void> {
  await clickCommand(page, language === 'zh' ? 'languageZh' : 'languageEn');
}

// A menu entry's text and whether it can be chosen; the menu is closed again.
export async function menuEntry(page: Page, command: string): Promise<{ text: string; disabled: boolean }> {
  const item = await openMenuWith(page, command);
  const entry = await item.evaluate((n) => ({ text: n.querySelector('.menu-text')?.textContent ?? '', disabled: n.getAttribute('aria-disabled') === 'true' }));
  await page.keyboard.press('Escape');
  return entry;
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

// Asks the page for `probe` until it gives a value other than null or
// undefined. The asking is done from here: while a transfer runs, the page's
// frames, and with them any waiting done inside the page, may be held back.
export async function pageValue<T>(page: Page, probe: (arg: number | null) => T | null | undefined, arg: number | null, what: string, ms = 30_000): Promise<T> {
  const until = Date.now() + ms;
  for (;;) {
    const value = (await page.evaluate(probe, arg)) as T | null | undefined;
    if (value != null) return value;
    if (Date.now() > until) {
      const shown = await page.evaluate(() => [document.getElementById('progress-status')?.textContent, document.querySelector('dialog.message[open]')?.textContent]);
      throw new Error(`${what}; the page shows ${JSON.stringify(shown)}`);
    }
    await new Promise((r) => setTimeout(r, 20));
  }
}

// The open message box's text, once one is shown.
export function messageText(page: Page): Promise<string> {
  return pageValue(page, () => document.querySelector('dialog.message[open] .message-text')?.textContent, null, 'no message box was shown');
}

export async function answerMessage(page: Page, label: string): Promise<void> {
  const buttons = await page.$$('dialog.message[open] button');
  for (const button of buttons) {
    if ((await button.evaluate((n) => n.textContent)) === label) {
      // The box answered is marked: the next one may open at once.
      await button.evaluate((n) => n.closest('dialog')!.setAttribute('data-answered', ''));
      await button.click();
      await pageValue(page, () => document.querySelector('dialog.message[data-answered]') ? null : true, null, 'the message box stayed open');
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
  await pageValue(page, () => (document.getElementById('progress') as HTMLDialogElement).open ? null : true, null, 'the progress window stayed open', 60_000);
}

// Waits until a started transfer has done `blocks` blocks or more.
export async function progressPast(page: Page, blocks: number): Promise<void> {
  await pageValue(page, (n) => (document.getElementById('progress-bar') as HTMLProgressElement).value > (n ?? 0) ? true : null, blocks, `the transfer did not pass block ${blocks}`);
}

export async function cellText(page: Page, row: number, col: number): Promise<string> {
  return page.$eval(`td[data-row="${row}"][data-col="${col}"]`, (n) => n.textContent ?? '');
}

export async function docTitle(page: Page): Promise<string> {
  return page.$eval('#doc-title', (n) => n.textContent ?? '');
}

export async function pressWithControl(page: Page, key: string): Promise<void> {
  await pressWith(page, ['Control'], key);
}

// `key` pressed while `modifiers` are held down.
export async function pressWith(page: Page, modifiers: ('Control' | 'Shift' | 'Alt')[], key: string): Promise<void> {
  for (const modifier of modifiers) await page.keyboard.down(modifier);
  await page.keyboard.press(key as Parameters<Page['keyboard']['press']>[0]);
  for (const modifier of [...modifiers].reverse()) await page.keyboard.up(modifier);
}

// What the status bar's message pane says.
export async function statusText(page: Page): Promise<string> {
  return page.$eval('#status-message', (n) => n.textContent ?? '');
}

// The entries of a list as it shows them, a no-break space read as a blank.
export function shownEntries(page: Page, select: string): Promise<string[]> {
  return page.$eval(select, (n) => Array.from((n as HTMLSelectElement).options, (o) => o.text.replace(/\u00a0/g, ' ')));
}
