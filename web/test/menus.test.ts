// The menu bar, the toolbar and the status bar in headless Chromium, driven
// by mouse and keyboard as a person drives them.
import { describe, test } from 'node:test';
import * as assert from 'node:assert/strict';
import type { Page } from 'puppeteer-core';
import { browserForTests, downloaded, openPage } from './browser';
import * as path from 'node:path';
import { answerMessage, cellText, chooseLanguage, clickCell, clickCommand, docTitle, menuEntry, messageText, openFile, pressWith, pressWithControl, runCommand, statusText } from './pageHelpers';
import { repoRoot } from './simulator';
import { installSerialStandIn } from './standIn';

const shared = browserForTests();
const samplePath = path.join(repoRoot, 'docs/sample.sin');

// Every command a person can choose on the page, menu by menu.
const MENUS = [
  ['new', 'open', 'save', 'saveAs', 'exportCsv', 'importCsv', 'exportChirpCsv', 'renumberCsv', 'compareFile', 'print', 'printPreview', 'recent'],
  ['undo', 'redo', 'cut', 'copy', 'paste', 'clearChannels', 'insertChannel', 'deleteChannel', 'channelUp', 'channelDown', 'setField'],
  ['read', 'compareRadio', 'write', 'tuning', 'editChannels', 'options'],
  ['choosePort'],
  ['toolbar', 'statusBar', 'history', 'nextDifference', 'previousDifference', 'endCompare', 'languageZh', 'languageEn'],
  ['help', 'about'],
];

function focused(page: Page): Promise<string> {
  return page.evaluate(() => {
    const n = document.activeElement as HTMLElement | null;
    if (!n) return '';
    if (n.dataset.command) return n.dataset.command;
    if (n.closest('[role=grid]')) return 'grid';
    return n.getAttribute('role') === 'menuitem' ? `title:${n.textContent}` : n.tagName;
  });
}

function openMenuCommands(page: Page): Promise<string[]> {
  return page.$$eval('[role=menu]:not([hidden]) [data-command]', (items) => items.map((n) => (n as HTMLElement).dataset.command!));
}

// Where the next typed key goes: "row,column:text" of the cell editor a
// digit opens, or the element that has the focus. The editor is closed again.
async function typingGoesTo(page: Page): Promise<string> {
  await page.keyboard.press('7');
  const at = await page.evaluate(() => {
    const n = document.activeElement as HTMLInputElement | null;
    const td = n?.closest<HTMLElement>('td[data-row]');
    return td && n?.classList.contains('cell-editor') ? `${td.dataset.row},${td.dataset.col}:${n.value}` : n?.tagName ?? '';
  });
  await page.keyboard.press('Escape');
  return at;
}

describe('the menu bar', { timeout: 120_000 }, () => {
  test('the grid has the focus from the start; Alt+F, the arrows, Enter and Esc walk every menu', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      assert.equal(await focused(page), 'grid');

      await page.keyboard.down('Alt');
      await page.keyboard.press('f');
      await page.keyboard.up('Alt');
      assert.equal(await focused(page), 'new');
      assert.equal(await page.$eval('[role=menubar] [aria-expanded=true]', (n) => n.textContent), '文件(F)');
      // Each menu in turn with the right arrow: its entries reached with the down arrow.
      for (const [index, commands] of MENUS.entries()) {
        assert.deepEqual(await openMenuCommands(page), commands, `menu ${index + 1}`);
        const reached: string[] = [];
        for (let i = 0; i < commands.length; ++i) {
          reached.push(await focused(page));
          await page.keyboard.press('ArrowDown');
        }
        assert.deepEqual(reached, commands);
        assert.equal(await focused(page), commands[0], 'the down arrow wraps round');
        await page.keyboard.press('ArrowRight');
      }
      assert.equal(await focused(page), 'new', 'the right arrow wraps round to the first menu');

      // Esc closes the menu and leaves the focus on its title; Esc again goes back to the grid.
      await page.keyboard.press('Escape');
      assert.equal(await page.$('[role=menu]:not([hidden])'), null);
      assert.equal(await focused(page), 'title:文件(F)');
      await page.keyboard.press('ArrowRight');
      await page.keyboard.press('ArrowDown');
      assert.equal(await focused(page), 'undo');
      await page.keyboard.press('Escape');
      await page.keyboard.press('Escape');
      assert.equal(await focused(page), 'grid');

      // Enter carries out the focused entry: 编程 > 可选功能 opens its dialog.
      await page.keyboard.down('Alt');
      await page.keyboard.press('e');
      await page.keyboard.up('Alt');
      await page.keyboard.press('ArrowUp');
      assert.equal(await focused(page), 'options');
      await page.keyboard.press('Enter');
      await page.waitForSelector('dialog[open]');
      await page.keyboard.press('Escape');
    } finally {
      await page.close();
    }
  });

  test('the grid keeps the keys: at the start, and after a command run while a cell is being edited', async () => {
    const { page, downloads } = await openPage(shared.browser, shared.url);
    try {
      // At the start typing goes into the current cell.
      await page.keyboard.type('145.125');
      assert.equal(await page.$eval('td[data-row="1"][data-col="1"] .cell-editor', (n) => (n as HTMLInputElement).value), '145.125');
      await page.keyboard.press('Escape');
      assert.equal(await typingGoesTo(page), '1,1:7');

      // A shortcut writes the open editor's text, runs, and the grid keeps the focus.
      await clickCell(page, 2, 1);
      await page.keyboard.type('250.025');
      await pressWithControl(page, 's');
      await downloaded(downloads, '无标题.sin');
      await page.waitForFunction(() => document.getElementById('doc-title')?.textContent === '无标题.sin');
      assert.equal(await cellText(page, 2, 1), '250.02500');
      assert.equal(await typingGoesTo(page), '2,1:7');
      // Ctrl+Z in a frequency being typed undoes the typing there, as a text field does.
      await clickCell(page, 3, 1);
      await page.keyboard.type('250.05');
      await pressWithControl(page, 'z');
      assert.equal(await page.$eval('td[data-row="3"][data-col="1"] .cell-editor', (n) => (n as HTMLInputElement).value), '');
      assert.equal(await cellText(page, 3, 1), '');
      assert.equal(await typingGoesTo(page), '3,1:7');

      // The menus, opened from the keyboard and left with Esc, give the keys
      // back to the cell's editor, its text as it was (as on the desktop).
      // Alt+F opens a menu: one Esc closes it, the next leaves the bar; F10 only goes to the bar.
      for (const [opening, escapes] of [[['Alt', 'f'], 2], [['F10'], 1]] as const) {
        await clickCell(page, 4, 1);
        await page.keyboard.type('250.1');
        await pressWith(page, opening.slice(0, -1) as 'Alt'[], opening[opening.length - 1]);
        for (let i = 0; i < escapes; ++i) await page.keyboard.press('Escape');
        assert.equal(await page.$('[role=menu]:not([hidden])'), null);
        assert.equal(await typingGoesTo(page), '4,1:250.17', opening.join('+'));
      }

      // So does a toolbar button.
      await clickCell(page, 6, 1);
      await page.keyboard.type('250.15');
      await page.click('#toolbar [data-command=save]');
      await page.waitForFunction(() => document.getElementById('doc-title')?.textContent === '无标题.sin');
      assert.equal(await cellText(page, 6, 1), '250.15000');
      assert.equal(await typingGoesTo(page), '6,1:7');

      // A dialog chosen from the menu and closed with Esc does too.
      await clickCell(page, 5, 1);
      await page.keyboard.type('250.125');
      await clickCommand(page, 'options');
      await page.waitForSelector('#options[open]');
      await page.keyboard.press('Escape');
      assert.equal(await page.$('dialog[open]'), null);
      assert.equal(await typingGoesTo(page), '5,1:7');
      assert.equal(await cellText(page, 5, 1), '250.12500');
    } finally {
      await page.close();
    }
  });

  test('a menu opened from the keyboard highlights its first entry, whatever rests under the pointer; the pointer highlights an entry by moving', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      await clickCell(page, 2, 1);
      await page.keyboard.type('250.5');
      await page.keyboard.press('Enter');
      await page.keyboard.press('Escape');
      // The pointer comes to rest where the edit menu's 删除信道 drops.
      await pressWith(page, ['Alt'], 'b');
      const box = (await (await page.$('[role=menu]:not([hidden]) [data-command=deleteChannel]'))!.boundingBox())!;
      await page.keyboard.press('Escape');
      await page.keyboard.press('Escape');
      await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);

      await pressWith(page, ['Alt'], 'b');
      assert.equal(await focused(page), 'undo');
      assert.equal(await statusText(page), '撤销上一步修改');
      await page.keyboard.press('Enter');
      assert.equal(await cellText(page, 2, 1), '');
      assert.equal((await menuEntry(page, 'redo')).disabled, false);

      await pressWith(page, ['Alt'], 'b');
      assert.equal(await focused(page), 'undo');
      await page.mouse.move(box.x + box.width / 2 + 4, box.y + box.height / 2);
      assert.equal(await focused(page), 'deleteChannel');
      assert.equal(await statusText(page), '删除所选频道，其后的频道上移');
      await page.keyboard.press('Escape');
      await page.keyboard.press('Escape');

      // The file menu drops over the toolbar's 新建 under a resting pointer:
      // its first entry's prompt stays in the status bar.
      await page.keyboard.press('F10');
      await page.keyboard.press('ArrowDown');
      const prompt = await statusText(page);
      await page.keyboard.press('Escape');
      await page.keyboard.press('Escape');
      await page.hover('#toolbar [data-command=new]');
      await page.keyboard.press('F10');
      await page.keyboard.press('ArrowDown');
      assert.equal(await focused(page), 'new');
      assert.equal(await statusText(page), prompt);
    } finally {
      await page.close();
    }
  });

  test('the mouse opens a menu, moves along the bar, shows the prompts and chooses', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      const titles = await page.$$('[role=menubar] [aria-haspopup=menu]');
      await titles[0].click();
      assert.deepEqual(await openMenuCommands(page), MENUS[0]);
      // Another title under the pointer opens its menu while one is open.
      await titles[2].hover();
      assert.deepEqual(await openMenuCommands(page), MENUS[2]);
      await page.hover('[role=menu]:not([hidden]) [data-command=read]');
      assert.equal(await statusText(page), '读取对讲机频率');
      // A click outside closes it without choosing; the status bar tells what the grid under the pointer is for.
      await page.mouse.click(600, 500);
      assert.equal(await page.$('[role=menu]:not([hidden])'), null);
      assert.equal(await statusText(page), '请双击格子进入编辑状态或直接输入数字,如需帮助，请按F1键');

      await titles[4].click();
      await page.click('[role=menu]:not([hidden]) [data-command=toolbar]');
      assert.equal(await page.$eval('#toolbar', (n) => (n as HTMLElement).hidden), true);
      await titles[4].click();
      assert.equal(await page.$eval('[data-command=toolbar]', (n) => n.getAttribute('aria-checked')), 'false');
      await page.click('[role=menu]:not([hidden]) [data-command=languageEn]');
      assert.equal(await page.$eval('[role=menubar] [aria-haspopup=menu]', (n) => n.textContent), 'File');
      assert.equal((await menuEntry(page, 'channelUp')).text, 'Move channels up');
    } finally {
      await page.close();
    }
  });

  test('on a phone\'s narrow screen every menu stays inside the window, its titles on one line and its shortcuts whole', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      await page.setViewport({ width: 390, height: 844 });
      for (const language of ['zh', 'en']) {
        if (language === 'en') await clickCommand(page, 'languageEn');
        const titles = await page.$$('[role=menubar] [aria-haspopup=menu]');
        for (let i = 0; i < titles.length; ++i) {
          await titles[i].click();
          const shown = await page.$eval('[role=menu]:not([hidden])', (menu) => {
            const box = menu.getBoundingClientRect();
            const line = parseFloat(getComputedStyle(document.querySelector('.menu-title')!).lineHeight);
            return {
              left: box.left, right: box.right,
              room: document.documentElement.clientWidth, scroll: document.documentElement.scrollWidth,
              tallTitles: [...document.querySelectorAll('.menu-title')].filter((t) => t.getBoundingClientRect().height > 2 * line).length,
              cutShortcuts: [...menu.querySelectorAll('.menu-shortcut')].filter((k) => {
                const r = k.getBoundingClientRect();
                return k.scrollWidth > k.clientWidth || r.right > box.right || r.height > 2 * line;
              }).length,
            };
          });
          const where = `${language} menu ${i + 1}`;
          assert.ok(shown.left >= 0 && shown.right <= shown.room, `${where}: ${JSON.stringify(shown)}`);
          assert.equal(shown.scroll, shown.room, where);
          assert.equal(shown.tallTitles, 0, where);
          assert.equal(shown.cutShortcuts, 0, where);
          await page.keyboard.press('Escape');
        }
      }
    } finally {
      await page.close();
    }
  });

  test('on a phone\'s narrow screen the write and history windows fit the screen, and the print preview can be seen whole, from its first page each time', async () => {
    const { page } = await openPage(shared.browser, shared.url, { before: [{ fn: installSerialStandIn, arg: 'ws://127.0.0.1:9/' }] });
    try {
      await page.setViewport({ width: 390, height: 844 });
      await openFile(page, samplePath);
      const fits = (selector: string) => page.$eval(selector, (n) => {
        const box = n.getBoundingClientRect();
        return box.left >= 0 && box.right <= document.documentElement.clientWidth && n.scrollWidth <= n.clientWidth;
      });
      for (const language of ['zh', 'en'] as const) {
        await chooseLanguage(page, language);
        await clickCommand(page, 'write');
        await page.waitForSelector('#progress[open]');
        await page.click('#continuous-write');
        assert.equal(await fits('#progress'), true, `${language} write window`);
        await page.keyboard.press('Escape');
        await clickCommand(page, 'history');
        await page.waitForSelector('#history[open]');
        assert.equal(await fits('#history'), true, `${language} history window`);
        await page.click('#history-close');
      }
      await runCommand(page, 'printPreview');
      await page.waitForSelector('#report .page');
      // The first page's left edge is in reach: at the left, or scrolled to.
      const firstPage = () => page.$eval('#report', (report) => ({
        left: report.querySelector('.page')!.getBoundingClientRect().left + report.scrollLeft,
        top: report.scrollTop,
      }));
      assert.ok((await firstPage()).left >= 0, JSON.stringify(await firstPage()));
      await page.$eval('#report', (report) => report.scrollTo(0, report.scrollHeight));
      await page.click('#report-close');
      await runCommand(page, 'printPreview');
      await page.waitForSelector('#report .page');
      assert.equal((await firstPage()).top, 0);
      await page.click('#report-close');
    } finally {
      await page.close();
    }
  });

  test('编辑信道, from its shortcut, the toolbar or the menu, says where channels are edited and goes to the first cell', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      const ways: [string, () => Promise<void>][] = [
        ['Ctrl+G', () => pressWithControl(page, 'g')],
        ['toolbar', () => page.click('#toolbar [data-command=editChannels]')],
        ['menu', () => clickCommand(page, 'editChannels')],
      ];
      for (const [way, choose] of ways) {
        await clickCell(page, 5, 3);
        await page.keyboard.press('Escape');
        await choose();
        assert.equal(await messageText(page), '请直接在右边的表格双击', way);
        const box = await page.$eval('dialog.message[open]', (n) => ({ caption: n.querySelector('h2')?.textContent, warning: n.classList.contains('warning') }));
        assert.deepEqual(box, { caption: 'OstrelTZ写频软件', warning: true }, way);
        await answerMessage(page, '确定');
        assert.equal(await page.$eval('td.current', (n) => `${(n as HTMLElement).dataset.row},${(n as HTMLElement).dataset.col}`), '1,1', way);
        assert.equal(await typingGoesTo(page), '1,1:7', way);
      }
    } finally {
      await page.close();
    }
  });

  test('the toolbar shows the desktop\'s buttons with their tips, and its 新建 starts a new document', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      const buttons = await page.$$eval('#toolbar button', (nodes) => nodes.map((n) => [(n as HTMLElement).dataset.command, (n as HTMLElement).title]));
      assert.deepEqual(buttons.map(([command]) => command), ['new', 'open', 'save', 'read', 'write', 'tuning', 'editChannels', 'print', 'contextHelp', 'about']);
      assert.deepEqual(buttons[0], ['new', '新建']);
      // The pictures load beside the page: each is drawn at 36 pixels once it has come.
      await page.waitForFunction(() => {
        const images = Array.from(document.querySelectorAll('#toolbar img'));
        return images.length === 10 && images.every((n) => (n as HTMLImageElement).naturalWidth === 36);
      });
      await page.click('#toolbar [data-command=new]');
      assert.equal(await docTitle(page), '无标题');
    } finally {
      await page.close();
    }
  });
});
