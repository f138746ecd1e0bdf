// Starts `ostreltz-radio-sim` with the given options and waits for its port.
import { spawn, ChildProcess } from 'node:child_process';
import * as path from 'node:path';

// The tests run from build-web/test/.
export const repoRoot = path.resolve(__dirname, '../..');
export const buildDir = process.env.OSTRELTZ_BUILD ?? path.join(repoRoot, 'build');

export interface Simulator {
  port: string;
  process: ChildProcess;
  output(): string;
  stop(): Promise<void>;
}

export function startSimulator(args: string[]): Promise<Simulator> {
  const child = spawn(path.join(buildDir, 'bin/ostreltz-radio-sim'), args, { stdio: ['ignore', 'pipe', 'inherit'] });
  let output = '';
  let started = false;
  return new Promise((resolve, reject) => {
    child.on('error', reject);
    child.stdout!.setEncoding('utf8');
    child.stdout!.on('data', (text: string) => {
      output += text;
      const m = /^PORT (\S+)/m.exec(output);
      if (!started && m) {
        started = true;
        resolve({
          port: m[1],
          process: child,
          output: () => output,
          stop: () =>
            new Promise((done) => {
              if (child.exitCode !== null) return done();
              child.on('exit', () => done());
              child.kill('SIGTERM');
            }),
        });
      }
    });
    child.on('exit', (code) => reject(new Error(`simulator exited with ${code}: ${output}`)));
  });
}
