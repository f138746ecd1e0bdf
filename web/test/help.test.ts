// The page's help, About box, 已修改 pane, Esc on every window, and the
// menu markup nowhere in sight, in headless Chromium, by mouse and keyboard.
import { describe, test } from 'node:test';
import * as assert from 'node:assert/strict';
import * as path from 'node:path';
import type { Page } from 'puppeteer-core';
import { browserForTests, openPage } from './browser';
import { answerMessage, cellText, chooseLanguage, clickCell, clickCommand, docTitle, messageText, openFile, pageValue, pressWith, pressWithControl, statusText } from './pageHelpers';
import { repoRoot } from './simulator';
import { installSerialStandIn } from './standIn';

const samplePath = path.join(repoRoot, 'docs/sample.sin');
const shared = browserForTests();

function modifiedPane(page: Page): Promise<string> {
  return page.$eval('#pane-modified', (n) => n.textContent ?? '');
}

function focusInGrid(page: Page): Promise<boolean> {
  return page.evaluate(() => !!document.activeElement?.closest('[role=grid]'));
}

function openDialogs(page: Page): Promise<string[]> {
  return page.$$eval('dialog[open]', (nodes) => nodes.map((n) => n.id || n.className));
}

// The open guide: its first heading, and the heading shown at the top of its window.
async function shownGuide(page: Page): Promise<{ title: string; heading: string; top: string; pictures: boolean }> {
  await page.waitForFunction(() => document.querySelector('#guide h1'));
  return page.evaluate(() => {
    const guide = document.getElementById('guide')!;
    const frame = guide.getBoundingClientRect();
    const headings = Array.from(guide.querySelectorAll('h1, h2'));
    const top = headings.find((h) => h.getBoundingClientRect().bottom > frame.top + 1);
    const pictures = Array.from(guide.querySelectorAll('img'));
    return {
      title: document.getElementById('help-title')!.textContent ?? '',
      heading: headings[0].textContent ?? '',
      top: top?.textContent ?? '',
      pictures: pictures.length > 0 && pictures.every((n) => (n as HTMLImageElement).complete && (n as HTMLImageElement).naturalWidth > 0),
    };
  });
}

// Until the guide shown has pictures and every one of them is drawn: while the
// guide's text is being put in, it has none yet.
async function waitForPictures(page: Page): Promise<void> {
  await page.waitForFunction(() => {
    const pictures = Array.from(document.querySelectorAll('#guide img'));
    return pictures.length > 0 && pictures.every((n) => (n as HTMLImageElement).complete && (n as HTMLImageElement).naturalWidth > 0);
  });
}

// Menu markup ("&", a tab) in any text or accessible name of the page as it is now.
async function markup(page: Page, where: string): Promise<string[]> {
  const found: string[] = [];
  const snapshot = await page.accessibility.snapshot({ interestingOnly: false });
  const walk = (node: { name?: string; description?: string; children?: unknown[] } | null) => {
    if (!node) return;
    for (const text of [node.name, node.description]) if (text && /&|\t/.test(text)) found.push(`${where}: ${JSON.stringify(text)}`);
    for (const child of node.children ?? []) walk(child as typeof node);
  };
  walk(snapshot);
  const shown = await page.evaluate(() => {
    const texts: string[] = [];
    for (const n of Array.from(document.querySelectorAll('body *'))) {
      for (const name of ['title', 'aria-label', 'alt']) {
        const value = n.getAttribute(name);
        if (value) texts.push(value);
      }
      for (const child of Array.from(n.childNodes)) if (child.nodeType === Node.TEXT_NODE && child.textContent) texts.push(child.textContent);
    }
    return texts;
  });
  for (const text of shown) if (/&|\t/.test(text)) found.push(`${where}: ${JSON.stringify(text)}`);
  return found;
}

describe('help and the window', { timeout: 120_000 }, () => {
  test('the 已修改 pane shows while the document differs from its file', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      await openFile(page, samplePath);
      assert.equal(await modifiedPane(page), '');
      await clickCell(page, 2, 3);
      await page.keyboard.type('88.5');
      await page.keyboard.press('Enter');
      await page.keyboard.press('Escape');
      assert.equal(await modifiedPane(page), '已修改');
      // Undone back to the file's state: the document no longer differs.
      await pressWithControl(page, 'z');
      assert.equal(await cellText(page, 2, 3), 'OFF');
      assert.equal(await modifiedPane(page), '');
      await pressWithControl(page, 'y');
      assert.equal(await modifiedPane(page), '已修改');
      await chooseLanguage(page, 'en');
      assert.equal(await modifiedPane(page), 'Modified');
      // Saved: the file holds what the document holds.
      await pressWithControl(page, 's');
      await page.waitForFunction(() => document.getElementById('doc-title')?.textContent === 'sample.sin');
      assert.equal(await modifiedPane(page), '');
    } finally {
      await page.close();
    }
  });

  test('F1 opens the guide at the section of the window in front, 帮助主题 at its top, in the chosen language; Esc goes back', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      await clickCell(page, 1, 1);
      await page.keyboard.press('Escape');
      await page.keyboard.press('F1');
      await page.waitForSelector('#help[open]');
      await waitForPictures(page);
      let guide = await shownGuide(page);
      assert.deepEqual(guide, { title: '帮助主题 - OstrelTZ写频软件', heading: 'OstrelTZ 写频软件 用户指南', top: '编辑频道', pictures: true });
      // A sentence reads on without a stray blank where the guide's source breaks its line.
      assert.ok((await page.$eval('#help', (n) => (n as HTMLElement).innerText)).includes('所选单元格以制表符分隔的文字放入剪贴板'));
      await page.keyboard.press('Escape');
      assert.deepEqual(await openDialogs(page), []);
      assert.equal(await focusInGrid(page), true);

      // Over the options dialog, F1 opens its section and Esc goes back to the dialog.
      await clickCommand(page, 'options');
      await page.waitForSelector('#options[open]');
      await page.keyboard.press('F1');
      await page.waitForSelector('#help[open]');
      assert.equal((await shownGuide(page)).top, '可选功能');
      await page.keyboard.press('Escape');
      assert.deepEqual(await openDialogs(page), ['options']);
      assert.equal(await page.evaluate(() => !!document.activeElement?.closest('#options')), true);
      await page.keyboard.press('Escape');
      assert.deepEqual(await openDialogs(page), []);

      // Over the history and the print preview, their sections; Esc twice closes the guide, then the window.
      for (const [command, shown, section] of [['history', '#history[open]', '历史记录'], ['printPreview', '#report:not([hidden])', '打印']]) {
        await clickCommand(page, command);
        await page.waitForSelector(shown);
        await page.keyboard.press('F1');
        await page.waitForSelector('#help[open]');
        assert.equal((await shownGuide(page)).top, section);
        await page.keyboard.press('Escape');
        await page.keyboard.press('Escape');
        assert.deepEqual(await openDialogs(page), []);
        assert.equal(await page.$eval('#report', (n) => (n as HTMLElement).hidden), true);
      }

      await chooseLanguage(page, 'en');
      await clickCommand(page, 'help');
      await page.waitForSelector('#help[open]');
      await waitForPictures(page);
      guide = await shownGuide(page);
      assert.deepEqual(guide, { title: 'Help topics - OstrelTZ Programmer', heading: 'OstrelTZ Programmer user guide', top: 'OstrelTZ Programmer user guide', pictures: true });
      assert.equal(await page.$eval('#help-close', (n) => n.textContent), 'Close');
      await page.click('#help-close');
      assert.deepEqual(await openDialogs(page), []);
      assert.equal(await focusInGrid(page), true);
    } finally {
      await page.close();
    }
  });

  test('pointer help follows the pointer: the grid, a box of the settings, and elsewhere', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      await page.hover('td[data-row="3"][data-col="2"]');
      assert.equal(await statusText(page), '请双击格子进入编辑状态或直接输入数字,如需帮助，请按F1键');
      await page.hover('#box-1');
      assert.equal(await statusText(page), '请点击组合框右边的箭头按钮以进行选择');
      await page.hover('#settings-legend');
      assert.equal(await statusText(page), '如需帮助，请按F1键');
      await chooseLanguage(page, 'en');
      await page.hover('td[data-row="3"][data-col="2"]');
      assert.equal(await statusText(page), 'Double-click a cell to edit it or just type a number. For Help, press F1');
    } finally {
      await page.close();
    }
  });

  test('a word about what was typed shows for eight seconds over the pointer help, which then follows the pointer again; a language switch takes the word away', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      await clickCell(page, 1, 1);
      await page.keyboard.press('Escape');
      const typed = Date.now();
      await page.keyboard.type('x');
      assert.equal(await statusText(page), '请输入数字');
      await page.keyboard.press('Escape');
      await page.hover('#box-1');
      assert.equal(await statusText(page), '请输入数字');
      await pageValue(page, () => (document.getElementById('status-message')!.textContent === '请输入数字' ? null : true), null, 'the word stayed', 60_000);
      assert.ok(Date.now() - typed >= 8000, `the word went after ${Date.now() - typed} ms`);
      assert.equal(await statusText(page), '请点击组合框右边的箭头按钮以进行选择');
      await page.hover('td[data-row="3"][data-col="2"]');
      assert.equal(await statusText(page), '请双击格子进入编辑状态或直接输入数字,如需帮助，请按F1键');

      await page.keyboard.type('x');
      await page.keyboard.press('Escape');
      assert.equal(await statusText(page), '请输入数字');
      await chooseLanguage(page, 'en');
      await page.hover('td[data-row="3"][data-col="2"]');
      assert.equal(await statusText(page), 'Double-click a cell to edit it or just type a number. For Help, press F1');
    } finally {
      await page.close();
    }
  });

  test('Shift+F1 and the toolbar\'s question mark ask for an object; the next click opens the guide at its section and does nothing else; Esc leaves the mode', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      await clickCell(page, 1, 1);
      await page.keyboard.type('145.5');
      await page.keyboard.press('Enter');
      await page.keyboard.press('Escape');
      await pressWith(page, ['Shift'], 'F1');
      assert.equal(await statusText(page), '选定一个要得到帮助的对象');
      assert.equal(await page.$eval('#toolbar button', (n) => getComputedStyle(n).cursor), 'help');
      // The pointer moving over the grid or the settings does not take the prompt away.
      await page.hover('#settings-legend');
      await page.hover('td[data-row="3"][data-col="2"]');
      assert.equal(await statusText(page), '选定一个要得到帮助的对象');
      // The click on 新建 opens the guide at its section: no question about the changes, the document stays.
      await page.click('#toolbar [data-command=new]');
      await page.waitForSelector('#help[open]');
      assert.equal((await shownGuide(page)).top, '文件');
      await page.keyboard.press('Escape');
      assert.deepEqual(await openDialogs(page), []);
      assert.equal(await docTitle(page), '无标题 *');
      // 写频 at its section, and no write starts; anything else at the window's section.
      await page.click('#toolbar [data-command=contextHelp]');
      await page.click('#toolbar [data-command=write]');
      await page.waitForSelector('#help[open]');
      assert.equal((await shownGuide(page)).top, '写频');
      await page.keyboard.press('Escape');
      assert.deepEqual(await openDialogs(page), []);
      await page.click('#toolbar [data-command=contextHelp]');
      await clickCell(page, 3, 2);
      await page.waitForSelector('#help[open]');
      assert.equal((await shownGuide(page)).top, '编辑频道');
      await page.keyboard.press('Escape');
      assert.equal(await page.$('td[data-row="3"][data-col="2"] .cell-editor'), null);
      assert.equal(await page.$eval('#toolbar button', (n) => getComputedStyle(n).cursor), 'default');
      assert.notEqual(await statusText(page), '选定一个要得到帮助的对象');
      // Out of the mode, the next click acts again.
      await page.click('#toolbar [data-command=about]');
      await page.waitForSelector('#about[open]');
      await page.keyboard.press('Escape');

      await page.click('#toolbar [data-command=contextHelp]');
      assert.equal(await statusText(page), '选定一个要得到帮助的对象');
      await page.keyboard.press('Escape');
      await page.hover('#settings-legend');
      assert.equal(await statusText(page), '如需帮助，请按F1键');
      await clickCell(page, 2, 1);
      assert.notEqual(await page.$('td[data-row="2"][data-col="1"] .cell-editor'), null);
    } finally {
      await page.close();
    }
  });

  test('关于 shows the About box with the program\'s icon; Esc and 确定 close it', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      await clickCommand(page, 'about');
      await page.waitForSelector('#about[open]');
      await page.waitForFunction(() => (document.querySelector('#about img') as HTMLImageElement).complete);
      const about = await page.$eval('#about', (n) => ({
        title: n.querySelector('h2')!.textContent,
        text: n.querySelector('p')!.textContent,
        icon: (n.querySelector('img') as HTMLImageElement).naturalWidth,
        buttons: Array.from(n.querySelectorAll('button'), (b) => b.textContent),
        focused: document.activeElement?.textContent,
      }));
      assert.deepEqual(about, { title: '关于 OstrelTZ写频软件', text: 'OstrelTZ系列写频软件11.1 版', icon: 192, buttons: ['确定'], focused: '确定' });
      await page.keyboard.press('Escape');
      assert.deepEqual(await openDialogs(page), []);
      assert.equal(await focusInGrid(page), true);

      await chooseLanguage(page, 'en');
      await page.click('#toolbar [data-command=about]');
      await page.waitForSelector('#about[open]');
      assert.equal(await page.$eval('#about h2', (n) => n.textContent), 'About OstrelTZ Programmer');
      assert.equal(await page.$eval('#about p', (n) => n.textContent), 'OstrelTZ Programmer version 11.1');
      await page.click('#about-ok');
      assert.deepEqual(await openDialogs(page), []);
    } finally {
      await page.close();
    }
  });

  test('Esc closes the print preview and every dialog, and changes nothing', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      await openFile(page, samplePath);
      await clickCommand(page, 'printPreview');
      await page.waitForSelector('#report .page');
      await page.keyboard.press('Escape');
      assert.equal(await page.$eval('#report', (n) => (n as HTMLElement).hidden), true);
      assert.equal(await focusInGrid(page), true);

      for (const [command, id] of [['setField', 'set-field'], ['history', 'history'], ['options', 'options']]) {
        await clickCommand(page, command);
        await page.waitForSelector(`dialog#${id}[open]`);
        await page.keyboard.press('Escape');
        assert.deepEqual(await openDialogs(page), [], `Esc closes ${command}`);
      }

      // A question: Esc answers 取消.
      await clickCell(page, 2, 3);
      await page.keyboard.type('88.5');
      await page.keyboard.press('Enter');
      await page.keyboard.press('Escape');
      await clickCommand(page, 'new');
      assert.equal(await messageText(page), '是否保存对“sample.sin”的更改？');
      await page.keyboard.press('Escape');
      assert.deepEqual(await openDialogs(page), []);
      assert.equal(await docTitle(page), 'sample.sin *');
      assert.equal(await cellText(page, 2, 3), '88.5');
      // The box comes again after it, and answers as before.
      await clickCommand(page, 'new');
      assert.equal(await messageText(page), '是否保存对“sample.sin”的更改？');
      await answerMessage(page, '放弃');
      assert.equal(await docTitle(page), '无标题');
    } finally {
      await page.close();
    }
  });

  test('with a port chosen, Esc closes the tuning window and the progress window before the start', async () => {
    // The windows open without a word to the radio: the stand-in's cable leads nowhere.
    const { page } = await openPage(shared.browser, shared.url, { before: [{ fn: installSerialStandIn, arg: 'ws://127.0.0.1:9/' }] });
    try {
      for (const language of ['zh', 'en'] as const) {
        await chooseLanguage(page, language);
        await clickCommand(page, 'tuning');
        await page.waitForSelector('#tuning[open]');
        assert.deepEqual(await markup(page, `${language} tuning`), []);
        await page.keyboard.press('Escape');
        assert.deepEqual(await openDialogs(page), []);
        assert.equal(await focusInGrid(page), true);
        for (const command of ['read', 'write', 'compareRadio']) {
          await clickCommand(page, command);
          await page.waitForSelector('#progress[open]');
          assert.deepEqual(await markup(page, `${language} ${command}`), []);
          // F1 there: the guide's section on reading or writing, and back.
          await page.keyboard.press('F1');
          await page.waitForSelector('#help[open]');
          const section = { zh: { read: '读频', write: '写频' }, en: { read: 'Reading', write: 'Writing' } }[language][command === 'write' ? 'write' : 'read'];
          assert.equal((await shownGuide(page)).top, section);
          await page.keyboard.press('Escape');
          assert.deepEqual(await openDialogs(page), ['progress']);
          await page.keyboard.press('Escape');
          assert.deepEqual(await openDialogs(page), [], `Esc closes the progress window of ${command}`);
        }
      }
    } finally {
      await page.close();
    }
  });

  test('no menu markup ("&", a tab, a shortcut glued to a text) shows anywhere, accessible names included', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      const found: string[] = [];
      for (const language of ['zh', 'en'] as const) {
        await chooseLanguage(page, language);
        const titles = await page.$$('[role=menubar] [aria-haspopup=menu]');
        for (const [i, title] of titles.entries()) {
          await title.click();
          found.push(...(await markup(page, `${language} menu ${i + 1}`)));
          await title.click();
        }
        for (const [command, selector] of [['printPreview', '#report .page'], ['about', '#about[open]'], ['help', '#guide h1'], ['options', '#options[open]'], ['setField', '#set-field[open]'], ['history', '#history[open]']]) {
          await clickCommand(page, command);
          await page.waitForSelector(selector);
          found.push(...(await markup(page, `${language} ${command}`)));
          await page.keyboard.press('Escape');
        }
      }
      assert.deepEqual(found, []);
    } finally {
      await page.close();
    }
  });
});
