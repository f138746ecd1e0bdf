// Loads the rules module under Node, the way the page loads it.
import * as fs from 'node:fs';
import * as path from 'node:path';
import type { Rules, RulesFactory } from '../src/rules';
import { repoRoot } from './simulator';

export const siteDir = process.env.OSTRELTZ_SITE ?? path.join(repoRoot, 'build-web/site');

export async function loadRules(): Promise<Rules> {
  // eslint-disable-next-line @typescript-eslint/no-var-requires
  const factory = require(path.join(siteDir, 'ostreltz-rules.js')) as RulesFactory;
  return factory({ wasmBinary: fs.readFileSync(path.join(siteDir, 'ostreltz-rules.wasm')) });
}
