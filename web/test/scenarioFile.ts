// The scenario files of tests/fixtures/scenarios, read line by line; their
// form is described in tests/scenario/ScenarioFile.h. Only the lines are
// read here: every check belongs to the rules module.
import * as fs from 'node:fs';
import * as path from 'node:path';
import { repoRoot } from './simulator';

export const scenarioDir = path.join(repoRoot, 'tests/fixtures/scenarios');

export type ScenarioStep =
  | { kind: 'set' | 'refuse'; channel: number; caption: string; text: string }
  | { kind: 'import-csv'; file: string; applyValid: boolean; merge: boolean; renumber: boolean }
  | { kind: 'language'; english: boolean };

export interface Scenario { name: string; openPath: string; steps: ScenarioStep[] }

// The words of `line` up to `count` of them, then the rest of the line.
function words(line: string, count: number): string[] {
  const all = line.split(' ');
  return all.length <= count ? all : [...all.slice(0, count), all.slice(count).join(' ')];
}

function readStep(line: string): ScenarioStep {
  const [verb, channel, caption, text] = words(line, 3);
  if ((verb === 'set' || verb === 'refuse') && caption !== undefined && /^-?\d+$/.test(channel)) {
    return { kind: verb, channel: Number(channel), caption, text: text ?? '' };
  }
  if (line === 'language en' || line === 'language zh') return { kind: 'language', english: line === 'language en' };
  const [importVerb, file, ...options] = line.split(' ');
  const known = ['apply-valid', 'merge', 'renumber'];
  if (importVerb !== 'import-csv' || !file || options.some((o) => !known.includes(o))) {
    throw new Error(`not understood: ${line}`);
  }
  return {
    kind: 'import-csv', file: path.join(scenarioDir, file),
    applyValid: options.includes('apply-valid'), merge: options.includes('merge'), renumber: options.includes('renumber'),
  };
}

export function readScenario(file: string): Scenario {
  const lines = fs.readFileSync(file, 'utf8').split('\n').filter((l) => l !== '' && !l.startsWith('#'));
  const start = lines.shift() ?? '';
  if (start !== 'new' && !start.startsWith('open ')) throw new Error(`${file}: no "new" or "open" line`);
  return { name: path.basename(file, '.scenario'), openPath: start === 'new' ? '' : start.slice(5), steps: lines.map(readStep) };
}

export function scenarioFiles(): string[] {
  return fs.readdirSync(scenarioDir).filter((f) => f.endsWith('.scenario')).sort().map((f) => path.join(scenarioDir, f));
}
