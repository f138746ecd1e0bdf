// Folders the tests write into: fresh ones in the system's temporary folder,
// removed with everything in them when the test process ends.
import * as fs from 'node:fs';
import * as os from 'node:os';
import * as path from 'node:path';

const made: string[] = [];
process.on('exit', () => {
  for (const dir of made) fs.rmSync(dir, { recursive: true, force: true });
});

export function scratchDir(prefix: string): string {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), `ostreltz-${prefix}-`));
  made.push(dir);
  return dir;
}
