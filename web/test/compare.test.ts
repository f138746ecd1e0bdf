// Comparing on the page, in headless Chromium: the sample file against a
// copy with three channels and a setting changed, stepped through with F8;
// and the history of a read over the simulated radio, compared with.
import { describe, test } from 'node:test';
import * as assert from 'node:assert/strict';
import * as fs from 'node:fs';
import * as path from 'node:path';
import type { Page } from 'puppeteer-core';
import { browserForTests, openPage } from './browser';
import { startBridge } from './bridge';
import { answerMessage, cellText, chooseLanguage, clickCommand, menuEntry, messageText, openFile, pageValue, progressClosed, shownEntries, transfer } from './pageHelpers';
import { repoRoot, startSimulator } from './simulator';
import { installSerialStandIn } from './standIn';
import { scratchDir } from './scratch';

const samplePath = path.join(repoRoot, 'docs/sample.sin');
const shared = browserForTests();

// The sample with channel 2's receive tone 88.5, channel 4 narrow instead of
// wide or the other way, channel 6 on 150 MHz, and the squelch level raised.
function changedSample(): string {
  const bytes = Buffer.from(fs.readFileSync(samplePath));
  bytes[16 + 8] = 0x85;
  bytes[16 + 9] = 0x08;
  bytes[48 + 13] ^= 0x10;
  bytes.set([0x00, 0x00, 0x00, 0x15], 80);
  bytes[0x813] = (bytes[0x813] + 1) % 10;
  const dir = scratchDir('compare');
  const file = path.join(dir, 'other.sin');
  fs.writeFileSync(file, bytes);
  return file;
}

async function compareWith(page: Page, file: string): Promise<void> {
  const [chooser] = await Promise.all([page.waitForFileChooser(), clickCommand(page, 'compareFile')]);
  await chooser.accept([file]);
  await page.waitForSelector('#compare:not([hidden])');
}

function current(page: Page): Promise<[number, number]> {
  return page.$eval('td.current', (n) => [Number((n as HTMLElement).dataset.row), Number((n as HTMLElement).dataset.col)] as [number, number]);
}

function marked(page: Page): Promise<string[]> {
  return page.$$eval('td.differs', (cells) => cells.map((n) => `${(n as HTMLElement).dataset.row}:${(n as HTMLElement).dataset.col}`));
}

describe('comparing', { timeout: 300_000 }, () => {
  test('the differing cells of two sample files are marked and F8 steps through them', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    await openFile(page, samplePath);
    await compareWith(page, changedSample());
    assert.deepEqual(await marked(page), ['2:3', '4:5', '6:1']);
    const lines = await page.$$eval('#compare-list li', (items) => items.map((n) => n.textContent));
    assert.equal(lines.length, 4, lines.join('\n'));
    assert.ok(lines.includes('频道 2 接收信令: 88.5 → OFF'), lines.join('\n'));
    assert.match(lines[3] ?? '', /^静噪等级\(SQ\): /);
    assert.equal(await page.$eval('td[data-row="2"][data-col="3"]', (n) => (n as HTMLElement).title), 'other.sin 中为：88.5');

    assert.deepEqual(await current(page), [2, 3]);
    await page.keyboard.press('F8');
    assert.deepEqual(await current(page), [4, 5]);
    await page.keyboard.press('F8');
    assert.deepEqual(await current(page), [6, 1]);
    await page.keyboard.press('F8');
    assert.deepEqual(await current(page), [2, 3]);
    await page.keyboard.down('Shift');
    await page.keyboard.press('F8');
    await page.keyboard.up('Shift');
    assert.deepEqual(await current(page), [6, 1]);
    await page.click('#compare-previous');
    assert.deepEqual(await current(page), [4, 5]);
    // The list from the keys: Tab from the end button reaches it, Down
    // chooses a line, Enter goes to its cell.
    await page.focus('#compare-end');
    await page.keyboard.press('Tab');
    assert.equal(await page.evaluate(() => document.activeElement?.id), 'compare-list');
    for (let i = 0; i < 3; ++i) await page.keyboard.press('ArrowDown');
    await page.keyboard.press('Enter');
    assert.deepEqual(await current(page), [6, 1]);

    // Typing the other file's frequency takes that cell's mark away.
    await page.click('td[data-row="6"][data-col="1"]', { count: 2 });
    await page.keyboard.type('150.00000');
    await page.keyboard.press('Enter');
    await pageValue(page, () => (document.querySelectorAll('td.differs').length === 2 ? true : null), null, 'the typed cell stayed marked');
    assert.deepEqual(await marked(page), ['2:3', '4:5']);

    await page.click('#compare-end');
    assert.deepEqual(await marked(page), []);
    assert.equal(await page.$eval('#compare', (n) => (n as HTMLElement).hidden), true);
    await page.close();
  });

  test('a file longer than radio data is compared by its first 2112 bytes, and says so as opening it says', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    await openFile(page, samplePath);
    const longer = path.join(scratchDir('compare'), 'longer.sin');
    fs.writeFileSync(longer, Buffer.concat([fs.readFileSync(samplePath), Buffer.from('xyz')]));
    await compareWith(page, longer);
    assert.equal(await messageText(page), '文件“longer.sin”比写频数据多出 3 字节：只读入了前 2112 字节，多出的部分被忽略。');
    await answerMessage(page, '确定');
    assert.deepEqual(await marked(page), []);
    await page.close();
  });

  test('a read is kept in the history and compared with the document', async () => {
    const sim = await startSimulator(['--image', samplePath, '--type', '0x0A']);
    const bridge = await startBridge(sim.port);
    const { page } = await openPage(shared.browser, shared.url, { before: [{ fn: installSerialStandIn, arg: bridge.url }] });
    try {
      await page.evaluate(() => localStorage.clear());
      await transfer(page, 'read');
      await progressClosed(page);
      // The read is the document now; a channel typed away from it differs.
      await page.click('td[data-row="1"][data-col="1"]', { count: 2 });
      await page.keyboard.type('146.00000');
      await page.keyboard.press('Enter');
      await page.keyboard.press('Escape');
      await clickCommand(page, 'history');
      await page.waitForSelector('#history[open]');
      const entries = await shownEntries(page, '#history-list');
      assert.equal(entries.length, 1, entries.join('\n'));
      assert.match(entries[0], /^1 {2}\d{4}-\d\d-\d\d \d\d:\d\d:\d\d {2}读频 {2}web-serial {2}识别码 0x0A {2}6 个频道$/);
      await page.click('#history-compare');
      await page.waitForSelector('#compare:not([hidden])');
      assert.deepEqual(await marked(page), ['1:1']);
      // Enter on an entry opens it as the document, as on the desktop.
      await clickCommand(page, 'history');
      await page.waitForSelector('#history[open]');
      await page.keyboard.press('Enter');
      await answerMessage(page, '放弃');
      await pageValue(page, () => (document.querySelector('#history[open]') ? null : true), null, 'the history stayed open');
      assert.equal(await cellText(page, 1, 1), '145.52000');
    } finally {
      await page.close();
      await bridge.close();
      await sim.stop();
    }
  });

  test('与对讲机比较 reads the radio, marks what differs and leaves the document as it was; 结束比较 ends it', async () => {
    const sim = await startSimulator(['--image', changedSample()]);
    const bridge = await startBridge(sim.port);
    const { page } = await openPage(shared.browser, shared.url, { before: [{ fn: installSerialStandIn, arg: bridge.url }] });
    try {
      await openFile(page, samplePath);
      assert.equal((await menuEntry(page, 'endCompare')).disabled, true);
      await clickCommand(page, 'compareRadio');
      await page.waitForSelector('#progress[open]');
      assert.equal(await page.$eval('#progress-title', (n) => n.textContent), '读频进度');
      await page.click('#progress-start');
      await progressClosed(page);
      await page.waitForSelector('#compare:not([hidden])');
      assert.equal(await page.$eval('#compare-title', (n) => n.textContent), '比较：对讲机 → 当前文档');
      assert.deepEqual(await marked(page), ['2:3', '4:5', '6:1']);
      assert.deepEqual(await current(page), [2, 3]);
      // The document is still the file: nothing to undo, nothing to save.
      assert.equal(await page.$eval('#doc-title', (n) => n.textContent), 'sample.sin');
      assert.equal(await page.$eval('td[data-row="2"][data-col="3"]', (n) => n.textContent), 'OFF');
      assert.equal(await page.$eval('td[data-row="2"][data-col="3"]', (n) => n.getAttribute('title')), '对讲机中为：88.5');
      assert.equal((await menuEntry(page, 'undo')).disabled, true);
      // The comparison follows a switch of language, its name and lines too.
      await chooseLanguage(page, 'en');
      assert.equal(await page.$eval('#compare-title', (n) => n.textContent), 'Compare: the radio → this document');
      const lines = await page.$$eval('#compare-list li', (items) => items.map((n) => n.textContent ?? ''));
      assert.ok(lines.some((l) => l.startsWith('Channel 4 W/N: ')), lines.join('\n'));
      assert.equal(await page.$eval('td[data-row="2"][data-col="3"]', (n) => n.getAttribute('title')), 'In the radio: 88.5');
      await chooseLanguage(page, 'zh');
      assert.equal(await page.$eval('#compare-title', (n) => n.textContent), '比较：对讲机 → 当前文档');

      // Written to the radio, the document and the radio agree, and the comparison says so.
      await transfer(page, 'write');
      await progressClosed(page);
      assert.deepEqual(await marked(page), []);
      assert.equal(await page.$eval('#compare-summary', (n) => n.textContent), '没有不同之处');

      await clickCommand(page, 'endCompare');
      assert.deepEqual(await marked(page), []);
      assert.equal(await page.$eval('#compare', (n) => (n as HTMLElement).hidden), true);
      assert.equal((await menuEntry(page, 'endCompare')).disabled, true);
    } finally {
      await page.close();
      await bridge.close();
      await sim.stop();
    }
  });

  test('a write with a backup reads the radio first and keeps it in the history, switched off as it is', async () => {
    const dir = scratchDir('backup');
    const saved = path.join(dir, 'radio-after.sin');
    const sim = await startSimulator(['--image', samplePath, '--save', saved, '--type', '0xFF']);
    const bridge = await startBridge(sim.port);
    const { page } = await openPage(shared.browser, shared.url, { before: [{ fn: installSerialStandIn, arg: bridge.url }] });
    try {
      await page.evaluate(() => localStorage.clear());
      // The history switched off: the backup was asked for, and is kept all the same.
      await clickCommand(page, 'history');
      await page.waitForSelector('#history[open]');
      await page.click('#history-keep');
      await page.click('#history-close');
      await clickCommand(page, 'write');
      await page.waitForSelector('#progress[open]');
      assert.equal(await page.$eval('#progress-backup-label', (n) => n.textContent), '写频前先读出对讲机数据备份');
      assert.equal(await page.$eval('#progress-backup', (n) => (n as HTMLInputElement).checked), false);
      await page.click('#progress-backup');
      // The line of the steps has its place before the first step shows.
      const height = () => page.$eval('#progress', (n) => n.getBoundingClientRect().height);
      const before = await height();
      await page.click('#progress-start');
      await page.waitForFunction(() => document.getElementById('progress-phase')!.textContent !== '');
      assert.equal(await height(), before);
      await progressClosed(page);
      await clickCommand(page, 'history');
      await page.waitForSelector('#history[open]');
      const entries = await shownEntries(page, '#history-list');
      assert.equal(entries.length, 1, entries.join('\n'));
      assert.match(entries[0], /  读频  web-serial  识别码 0xFF  6 个频道$/);
      assert.equal(await page.$eval('#history-keep', (n) => (n as HTMLInputElement).checked), false);
      await page.click('#history-close');
    } finally {
      await page.close();
      await bridge.close();
      await sim.stop();
    }
    // The radio now holds the new document.
    assert.equal(fs.readFileSync(saved).length, 2112);
    assert.equal(fs.readFileSync(saved)[0], 0xff);
  });
});
