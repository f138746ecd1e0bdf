// Undo and redo as whole images: each step keeps the image before it.
import type { Rules } from './rules';

const LIMIT = 500;

export class History {
  private undoSteps: Uint8Array[] = [];
  private redoSteps: Uint8Array[] = [];

  constructor(private readonly rules: Rules, private readonly shown: () => void) {}

  record(before: Uint8Array): void {
    this.undoSteps.push(before);
    if (this.undoSteps.length > LIMIT) this.undoSteps.shift();
    this.redoSteps = [];
  }

  clear(): void {
    this.undoSteps = [];
    this.redoSteps = [];
  }

  canUndo(): boolean {
    return this.undoSteps.length > 0;
  }

  canRedo(): boolean {
    return this.redoSteps.length > 0;
  }

  undo(): void {
    this.step(this.undoSteps, this.redoSteps);
  }

  redo(): void {
    this.step(this.redoSteps, this.undoSteps);
  }

  private step(from: Uint8Array[], to: Uint8Array[]): void {
    const image = from.pop();
    if (!image) return;
    to.push(this.rules.sinBytes());
    this.rules.loadSin('step.sin', image);
    this.shown();
  }
}
