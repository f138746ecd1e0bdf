// The page behind another tab, in a browser that slows a hidden page's own
// timers as people's browsers do (the tests' other browsers do not).
import { test } from 'node:test';
import * as assert from 'node:assert/strict';
import * as fs from 'node:fs';
import * as path from 'node:path';
import { browserForTests, openPage } from './browser';
import { clickCommand, openFile, pageValue, progressClosed } from './pageHelpers';
import { repoRoot } from './simulator';
import { installSerialStandIn } from './standIn';
import { radioInPageSource } from './radioInPage';

const samplePath = path.join(repoRoot, 'docs/sample.sin');
const shared = browserForTests(true);

test('a write, with its backup read first, goes on at its pace while its page is hidden behind another tab', { timeout: 300_000 }, async () => {
  const radio = await openPage(shared.browser, shared.url, { before: [{ fn: installSerialStandIn, arg: radioInPageSource(fs.readFileSync(samplePath), false) }] });
  let other: Awaited<ReturnType<typeof shared.browser.newPage>> | null = null;
  try {
    await openFile(radio.page, samplePath);
    await radio.page.evaluate(() => {
      const timed = window as unknown as { writeMs?: number };
      let start = 0;
      document.getElementById('progress-start')!.addEventListener('click', () => { start = performance.now(); }, { once: true, capture: true });
      // A hidden page's dialog announces its closing only once it is drawn again.
      const progress = document.getElementById('progress') as HTMLDialogElement;
      new MutationObserver(() => {
        if (start && !progress.open) timed.writeMs ??= performance.now() - start;
      }).observe(progress, { attributes: true, attributeFilter: ['open'] });
    });
    await clickCommand(radio.page, 'write');
    await radio.page.waitForSelector('#progress[open]');
    await radio.page.click('#progress-backup');
    await radio.page.click('#progress-start');
    other = await shared.browser.newPage();
    await other.bringToFront();
    // The page is hidden now, and its own timers are held to the browser's
    // wake-ups, as behind any other tab.
    const hidden = await radio.page.evaluate(async () => {
      let slowest = 0;
      for (let i = 0; i < 10; ++i) {
        const start = performance.now();
        await new Promise((resolve) => setTimeout(resolve, 1));
        slowest = Math.max(slowest, performance.now() - start);
      }
      return { state: document.visibilityState, slowest };
    });
    assert.equal(hidden.state, 'hidden');
    assert.ok(hidden.slowest >= 100, `a hidden page's timer took at most ${hidden.slowest.toFixed(1)} ms`);
    await progressClosed(radio.page);
    // Its 528 blocks, each held to such a wake-up, would take minutes.
    const ms = await pageValue(radio.page, () => (window as unknown as { writeMs?: number }).writeMs, null, 'the progress window was not closed');
    assert.ok(ms < 40_000, `the write took ${ms.toFixed(0)} ms`);
  } finally {
    await other?.close();
    await radio.page.close();
  }
});
