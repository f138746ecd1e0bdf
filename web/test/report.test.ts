// The print preview and the printed report in headless Chromium: every text
// of a page stands clear of the others, on screen and in the PDF.
import { describe, test } from 'node:test';
import * as assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import * as fs from 'node:fs';
import * as path from 'node:path';
import type { Page } from 'puppeteer-core';
import { browserForTests, openPage } from './browser';
import { chooseLanguage, openFile, runCommand } from './pageHelpers';
import { repoRoot } from './simulator';
import { scratchDir } from './scratch';

const samplePath = path.join(repoRoot, 'docs/sample.sin');
const shared = browserForTests();

// Pairs of texts of one preview page whose drawn boxes cross.
function overlappingTexts(page: Page): Promise<string[]> {
  return page.$$eval('#report .page', (sheets) => {
    const found: string[] = [];
    sheets.forEach((sheet, index) => {
      const boxes = Array.from(sheet.querySelectorAll('.line'))
        .filter((n) => (n.textContent ?? '').trim() !== '')
        .map((n) => ({ text: n.textContent ?? '', box: n.getBoundingClientRect() }));
      for (let i = 0; i < boxes.length; ++i) {
        for (let j = i + 1; j < boxes.length; ++j) {
          const a = boxes[i].box;
          const b = boxes[j].box;
          const across = Math.min(a.right, b.right) - Math.max(a.left, b.left);
          const down = Math.min(a.bottom, b.bottom) - Math.max(a.top, b.top);
          if (across > 0.5 && down > 0.5) found.push(`page ${index + 1}: "${boxes[i].text}" / "${boxes[j].text}"`);
        }
      }
    });
    return found;
  });
}

async function previewOverlaps(page: Page): Promise<string[]> {
  await runCommand(page, 'printPreview');
  await page.waitForSelector('#report .page');
  const found = await overlappingTexts(page);
  await page.click('#report-close');
  return found;
}

describe('the report', { timeout: 120_000 }, () => {
  test('no two texts of a preview page overlap, for the sample and a new document, in Chinese and English', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    try {
      for (const language of ['zh', 'en'] as const) {
        await chooseLanguage(page, language);
        assert.deepEqual(await previewOverlaps(page), [], `new document, ${language}`);
        await openFile(page, samplePath);
        assert.deepEqual(await previewOverlaps(page), [], `sample, ${language}`);
        await runCommand(page, 'new');
      }
    } finally {
      await page.close();
    }
  });

  test('the printed sample keeps each column\'s texts inside that column', async () => {
    const { page } = await openPage(shared.browser, shared.url);
    const dir = scratchDir('report');
    try {
      await openFile(page, samplePath);
      await runCommand(page, 'printPreview');
      await page.waitForSelector('#report .page');
      // The columns' left edges, and where each page's table starts: its rows are the lines of eleven texts.
      const tables = await page.$$eval('#report .page', (sheets) => sheets.map((sheet) => {
        const rows = new Map<string, number[]>();
        for (const line of sheet.querySelectorAll<HTMLElement>('.line')) rows.set(line.style.top, [...(rows.get(line.style.top) ?? []), parseFloat(line.style.left)]);
        const table = [...rows.entries()].filter(([, xs]) => xs.length === 11);
        return { lefts: table[0][1], top: Math.min(...table.map(([top]) => parseFloat(top))) };
      }));
      const pdf = path.join(dir, 'report.pdf');
      fs.writeFileSync(pdf, await page.pdf({ preferCSSPageSize: true }));
      const bbox = execFileSync('pdftotext', ['-bbox', pdf, '-']).toString('utf8');
      const pages = bbox.split('<page ').slice(1);
      assert.equal(pages.length, 5);
      // CSS pixels to points on a sheet with 12.7 mm (36 pt) margins.
      const toPoints = (px: number) => 36 + px * 0.75;
      const starts = tables[0].lefts.map(toPoints);
      const used = new Set<number>();
      let words = 0;
      pages.forEach((text, index) => {
        // The captions' glyphs reach a little above their line's top; the table's title is a line higher.
        const tableTop = toPoints(tables[index].top) - 8;
        for (const m of text.matchAll(/<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="[\d.]+">([^<]*)<\/word>/g)) {
          const [xMin, yMin, xMax] = [Number(m[1]), Number(m[2]), Number(m[3])];
          if (yMin < tableTop) continue;
          const column = starts.reduce((found, start, i) => (start <= xMin + 1 ? i : found), -1);
          assert.ok(column >= 0, `"${m[4]}" left of the table`);
          used.add(column);
          ++words;
          if (column < starts.length - 1) assert.ok(xMax <= starts[column + 1] + 0.5, `page ${index + 1}: "${m[4]}" of column ${column + 1} ends at ${xMax}, the next column starts at ${starts[column + 1]}`);
        }
      });
      // Every page's captions, the 128 channel numbers and the ten texts of each of the sample's six channels.
      assert.equal(words, 5 * 11 + 128 + 6 * 10);
      assert.equal(used.size, 11);
      // In English, "Off" is printed as its three letters, no ligature a search or a copy would miss.
      await page.click('#report-close');
      await chooseLanguage(page, 'en');
      await runCommand(page, 'printPreview');
      await page.waitForSelector('#report .page');
      fs.writeFileSync(pdf, await page.pdf({ preferCSSPageSize: true }));
      const english = execFileSync('pdftotext', [pdf, '-']).toString('utf8');
      assert.match(english, /\bOff\b/);
      assert.doesNotMatch(english, /\uFB00/);
    } finally {
      await page.close();
    }
  });
});
