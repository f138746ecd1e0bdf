// Each scenario's edits, made through the rules module as the page holds it,
// save the bytes kept beside the scenario: the bytes the editing session and
// the command line make (tests/scenario/ScenarioTest.cpp). A refused text
// changes nothing.
import { test } from 'node:test';
import * as assert from 'node:assert/strict';
import * as fs from 'node:fs';
import * as path from 'node:path';
import { Answer, Buttons, type Rules } from '../src/rules';
import { loadRules } from './loadRules';
import { readScenario, scenarioFiles, type Scenario, type ScenarioStep } from './scenarioFile';
import { repoRoot } from './simulator';

// Where `made` first differs from `expected`; empty when they are the same.
function difference(made: Uint8Array, expected: Uint8Array): string {
  const length = Math.min(made.length, expected.length);
  let offset = 0;
  while (offset < length && made[offset] === expected[offset]) ++offset;
  if (offset === length && made.length === expected.length) return '';
  return `first difference at offset ${offset} (0x${offset.toString(16)}): made ${made[offset] ?? 'nothing'}, ` +
    `expected ${expected[offset] ?? 'nothing'} (sizes ${made.length}, ${expected.length})`;
}

// The answer a window gives to the import's question for the options the
// command line was given.
function importAnswer(buttons: Buttons, step: ScenarioStep & { kind: 'import-csv' }): Answer {
  if (buttons === Buttons.EmptyKeepCancel) return step.merge ? Answer.Keep : Answer.Ok;
  return step.applyValid ? Answer.Ok : Answer.Cancel;
}

function run(rules: Rules, scenario: Scenario): Uint8Array {
  if (scenario.openPath === '') {
    rules.newDocument();
  } else {
    const loaded = rules.loadSin(path.basename(scenario.openPath), new Uint8Array(fs.readFileSync(path.join(repoRoot, scenario.openPath))));
    assert.ok(loaded.ok && !loaded.empty, loaded.error);
  }
  for (const step of scenario.steps) {
    if (step.kind === 'language') {
      rules.setLanguage(step.english);
      continue;
    }
    if (step.kind === 'import-csv') {
      const csv = new Uint8Array(fs.readFileSync(step.file));
      const answers: Answer[] = [];
      for (let r = rules.importCsv(csv, step.renumber, answers); r.question !== ''; r = rules.importCsv(csv, step.renumber, answers)) {
        answers.push(importAnswer(r.buttons, step));
      }
      continue;
    }
    const described = `${step.channel} ${step.caption} "${step.text}"`;
    const before = rules.sinBytes();
    const result = rules.setCellExact(step.channel, rules.columnOfCaption(step.caption), step.text);
    assert.equal(result.refused, step.kind === 'refuse', `${described} ${result.refusal}`);
    if (step.kind === 'refuse') assert.deepEqual(rules.sinBytes(), before, described);
  }
  return rules.sinBytes();
}

for (const file of scenarioFiles()) {
  const scenario = readScenario(file);
  test(`scenario ${scenario.name} saves the same bytes through the rules module`, async () => {
    const expected = new Uint8Array(fs.readFileSync(file.replace(/\.scenario$/, '.sin')));
    assert.equal(difference(run(await loadRules(), scenario), expected), '', scenario.name);
  });
}

test('the scenario folder holds the scenarios', () => {
  assert.ok(scenarioFiles().length >= 5);
});
