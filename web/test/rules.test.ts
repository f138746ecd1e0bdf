// The rules module under Node: a .sin file in and out, the grid texts, CSV,
// and a read and a write over the simulated radio's pty.
import { test } from 'node:test';
import * as assert from 'node:assert/strict';
import * as fs from 'node:fs';
import * as path from 'node:path';
import { AfterAsking, Answer, Buttons, CloneOutcome, FormBox, RowsOp, runClone, type Rules } from '../src/rules';
import { cli, cliBytes, dumpChannels } from './cliDump';
import { attach, loadRules } from './loadRules';
import { repoRoot, startSimulator } from './simulator';
import { scratchDir } from './scratch';

const samplePath = path.join(repoRoot, 'docs/sample.sin');
const sample = new Uint8Array(fs.readFileSync(samplePath));

function gridRow(rules: Rules, row: number): string[] {
  return Array.from({ length: 10 }, (_, i) => rules.cell(row, i + 1));
}

function assertGridMatchesDump(rules: Rules, sinPath: string): void {
  const dumped = dumpChannels(sinPath);
  assert.ok(dumped.size > 0);
  for (let row = 1; row <= 128; ++row) {
    assert.deepEqual(gridRow(rules, row), dumped.get(row) ?? Array(10).fill(''), `channel ${row}`);
  }
}

function tempDir(): string {
  return scratchDir('web');
}

test('a .sin file loads and shows the same channels as the command line', async () => {
  const rules = await loadRules();
  const loaded = rules.loadSin('sample.sin', sample);
  assert.deepEqual(loaded, { ok: true, empty: false, error: '', warning: '' });
  assert.equal(rules.title(), 'sample.sin');
  assert.equal(rules.saveQuestion(), null);
  assertGridMatchesDump(rules, samplePath);
  assert.equal(rules.boxTexts(FormBox.Band)[rules.selection(FormBox.Band)].replace(/\s+/g, ''), '136-174MHz');
});

test('a short file is refused with its reason and leaves the document as it was', async () => {
  const rules = await loadRules();
  rules.loadSin('sample.sin', sample);
  const before = rules.sinBytes();
  const refused = rules.loadSin('short.sin', sample.subarray(0, 100));
  assert.equal(refused.ok, false);
  // The file is named as the person chose it.
  assert.equal(refused.error, '文件“short.sin”不是有效的写频数据：只有 100 字节，需要 2112 字节。');
  assert.deepEqual(rules.sinBytes(), before);
  assert.equal(rules.title(), 'sample.sin');
  const longer = rules.loadSin('longer.sin', new Uint8Array([...sample, 1, 2]));
  assert.equal(longer.warning, '文件“longer.sin”比写频数据多出 2 字节：只读入了前 2112 字节，多出的部分被忽略。');
  assert.deepEqual(rules.loadSin('empty.sin', new Uint8Array()), { ok: true, empty: true, error: '', warning: '' });
  assert.deepEqual(rules.sinBytes(), before);
});

test('edits go through the editing session and save as the command line saves the same edits', async () => {
  const rules = await loadRules();
  rules.loadSin('sample.sin', sample);
  const asLoaded = rules.sinBytes();
  assert.equal(rules.isModified(), false);
  assert.equal(rules.setCell(2, 3, '88.5', true).changed, true);
  assert.equal(rules.cell(2, 3), '88.5');
  rules.setCell(2, 4, 'd023n', true);
  assert.equal(rules.cell(2, 4), 'D023N');
  const refused = rules.setCell(3, 1, '600', true);
  assert.equal(refused.changed, false);
  assert.ok(refused.messages.length > 0 && refused.messages.every((m) => m.warning));
  const added = rules.setCell(10, 1, '145.5', true);
  assert.deepEqual([added.changed, added.firstRow, added.lastRow], [true, 10, 10]);
  assert.deepEqual(gridRow(rules, 10), ['145.50000', '145.50000', 'OFF', 'OFF', '宽', '是', '高', 'DTMF', '开', '关闭']);
  assert.equal(rules.isModified(), true);

  const dir = tempDir();
  const cliSaved = path.join(dir, 'cli.sin');
  cli(['set', samplePath, '-o', cliSaved, '--channel', '2', '--column', rules.columnCaption(3), '--value', '88.5',
    '--column', rules.columnCaption(4), '--value', 'd023n', '--channel', '10', '--column', rules.columnCaption(1), '--value', '145.5']);
  const pageSaved = rules.sinBytes();
  assert.deepEqual(pageSaved, new Uint8Array(fs.readFileSync(cliSaved)));
  fs.writeFileSync(path.join(dir, 'page.sin'), pageSaved);
  assert.deepEqual(Buffer.from(rules.exportCsv(false)), cliBytes(['export-csv', path.join(dir, 'page.sin')]));

  // Undo walks back one edit at a time to the file as loaded; redo forward again.
  for (let steps = 0; steps < 3; ++steps) assert.equal(rules.undo().changed, true);
  assert.equal(rules.canUndo(), false);
  assert.equal(rules.isModified(), false);
  assert.deepEqual(rules.sinBytes(), asLoaded);
  for (let steps = 0; steps < 3; ++steps) rules.redo();
  assert.equal(rules.canRedo(), false);
  assert.deepEqual(rules.sinBytes(), pageSaved);
  rules.saved('sample.sin');
  assert.equal(rules.isModified(), false);
});

test('CSV in the CHIRP layout is what the command line writes, and reads back to the same frequencies and tones', async () => {
  const rules = await loadRules();
  rules.loadSin('sample.sin', sample);
  const chirp = rules.exportCsv(true);
  assert.deepEqual(Buffer.from(chirp), cliBytes(['export-csv', samplePath, '--layout', 'chirp']));
  const before = Array.from({ length: 128 }, (_, i) => gridRow(rules, i + 1).slice(0, 4));
  rules.newDocument();
  const result = rules.importCsv(chirp, false, []);
  assert.equal(result.question, '');
  assert.equal(result.applied, true);
  assert.deepEqual(Array.from({ length: 128 }, (_, i) => gridRow(rules, i + 1).slice(0, 4)), before);
});

test('a read over the simulated radio brings its memory into the grid', async () => {
  const sim = await startSimulator(['--image', samplePath]);
  try {
    const rules = await loadRules();
    const asked: string[] = [];
    attach(rules, sim.port, Answer.Cancel, asked);
    assert.equal(await runClone(rules, 0), CloneOutcome.Completed);
    assert.deepEqual(asked, []);
    assertGridMatchesDump(rules, samplePath);
  } finally {
    await sim.stop();
  }
});

test('a write leaves the image in the simulated radio', async () => {
  const dir = tempDir();
  const saved = path.join(dir, 'radio.sin');
  const sim = await startSimulator(['--save', saved, '--type', String(sample[0x81b])]);
  let written = new Uint8Array();
  try {
    const rules = await loadRules();
    rules.loadSin('sample.sin', sample);
    rules.setCell(1, 3, '88.5', false);
    written = rules.sinBytes();
    const asked: string[] = [];
    attach(rules, sim.port, Answer.Cancel, asked);
    assert.equal(await runClone(rules, 1), CloneOutcome.Completed);
    assert.deepEqual(asked, []);
  } finally {
    await sim.stop();
  }
  assert.deepEqual(new Uint8Array(fs.readFileSync(saved)), written);
});

test('a silent radio brings the communication error with retry, and Cancel ends the read', async () => {
  const sim = await startSimulator(['--silent']);
  try {
    const rules = await loadRules();
    const asked: string[] = [];
    attach(rules, sim.port, Answer.Cancel, asked);
    assert.equal(await runClone(rules, 0), CloneOutcome.NoLink);
    assert.deepEqual(asked, ['通讯错误，请检查连接线是否接触良好或对讲机电源是否开启']);
  } finally {
    await sim.stop();
  }
});

test('the page types the rules enums and value types only through the declarations generated from the module', async () => {
  const { generate } = require(path.join(repoRoot, 'web/tools/gen-types.cjs')) as { generate(modulePath: string): Promise<string> };
  const generatedPath = path.join(repoRoot, 'web/src/generated/rulesTypes.ts');
  const built = path.join(repoRoot, 'build-web/wasm/ostreltz-rules.js');
  assert.equal(fs.readFileSync(generatedPath, 'utf8'), await generate(built), 'generated declarations out of date');
  const rules = (await loadRules()) as unknown as Record<string, Record<string, { value: number }>>;
  assert.equal(rules.Buttons.OverwriteCancel.value, Buttons.OverwriteCancel);
  assert.equal(rules.RowsOp.Clear.value, RowsOp.Clear);
  const generated = fs.readFileSync(generatedPath, 'utf8');
  const names = [...generated.matchAll(/export (?:const enum|interface) (\w+)/g)].map((m) => m[1]);
  assert.ok(names.includes('Buttons') && names.includes('OptionsValues'));
  for (const file of fs.readdirSync(path.join(repoRoot, 'web/src'))) {
    if (!file.endsWith('.ts')) continue;
    const source = fs.readFileSync(path.join(repoRoot, 'web/src', file), 'utf8');
    for (const name of names) {
      assert.doesNotMatch(source, new RegExp(`\\b(enum|interface)\\s+${name}\\b|\\btype\\s+${name}\\s*=`), `${file} declares ${name} by hand`);
    }
  }
});

test('the document asks before unsaved changes are lost, and the answer means what it means on the desktop', async () => {
  const rules = await loadRules();
  rules.newDocument();
  assert.equal(rules.title(), '无标题');
  assert.equal(rules.saveQuestion(), null);
  rules.setCell(1, 1, '145.125', true);
  assert.deepEqual(rules.saveQuestion(), { text: '是否保存对“无标题”的更改？', buttons: Buttons.SaveDiscardCancel, warning: false });
  assert.equal(rules.afterAsking(Answer.Save), AfterAsking.SaveFirst);
  assert.equal(rules.afterAsking(Answer.Discard), AfterAsking.Go);
  assert.equal(rules.afterAsking(Answer.Cancel), AfterAsking.Stop);
  rules.saved('kept.sin');
  assert.equal(rules.title(), 'kept.sin');
  assert.equal(rules.saveQuestion(), null);
});
