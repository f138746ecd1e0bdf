// What `ostreltz-cli` says about a .sin file: its dump's channel rows.
import { execFileSync } from 'node:child_process';
import * as path from 'node:path';
import { buildDir } from './simulator';
import { scratchDir } from './scratch';

// The command line's settings and files (the history of its transfers) go
// into a folder of this process, not into the user's own.
let home: string | null = null;
function cliEnvironment(): NodeJS.ProcessEnv {
  home ??= scratchDir('cli-home');
  return { ...process.env, XDG_DATA_HOME: path.join(home, 'data'), XDG_CONFIG_HOME: path.join(home, 'config') };
}

// In Chinese, as the page starts, whatever the machine's locale.
export function cliBytes(args: string[]): Buffer {
  return execFileSync(path.join(buildDir, 'bin/ostreltz-cli'), [...args, '--lang', 'zh'], { env: cliEnvironment() });
}

export function cli(args: string[]): string {
  return cliBytes(args).toString('utf8');
}

// Channel number -> its ten cell texts, for the channels in use.
export function dumpChannels(sinPath: string): Map<number, string[]> {
  const rows = new Map<number, string[]>();
  for (const line of cli(['dump', sinPath]).split('\n')) {
    const fields = line.trim().split(/\s+/);
    if (fields.length === 11 && /^\d+$/.test(fields[0])) rows.set(Number(fields[0]), fields.slice(1));
  }
  return rows;
}
