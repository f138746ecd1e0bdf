// The progress window of a read or write: 开始, the bar, the status text and
// 取消. The engine's questions and its cancel checks reach the user here.
import { byId } from './dom';
import { Answer, Buttons } from './rules';
import { MessageIcon, showMessage } from './messageBox';
import { t } from './texts';

export class ProgressWindow {
  private readonly dialog = byId<HTMLDialogElement>('progress');
  private readonly title = byId<HTMLElement>('progress-title');
  private readonly startButton = byId<HTMLButtonElement>('progress-start');
  private readonly cancelButton = byId<HTMLButtonElement>('progress-cancel');
  private readonly bar = byId<HTMLProgressElement>('progress-bar');
  private readonly status = byId<HTMLElement>('progress-status');
  private readonly backupBox = byId<HTMLInputElement>('progress-backup');
  private readonly phase = byId<HTMLElement>('progress-phase');
  private write = false;
  private cancelFlag = false;
  private asking: AbortController | null = null;  // the stop question while it is shown
  private watching = true;
  private started = false;
  private onStart: (() => void) | null = null;

  constructor() {
    this.startButton.addEventListener('click', () => {
      if (this.started) return;
      this.started = true;
      this.startButton.disabled = true;
      this.backupBox.disabled = true;
      this.onStart?.();
    });
    this.cancelButton.addEventListener('click', () => void this.cancel());
    this.dialog.addEventListener('cancel', (e) => {
      e.preventDefault();
      void this.cancel();
    });
    // Leaving the page while a read runs stops it, as leaving the desktop
    // program's progress window does; a write goes on, so that a stray click
    // cannot leave the radio half written.
    document.addEventListener('visibilitychange', () => {
      if (document.hidden && this.started && !this.write && this.watching && !this.cancelFlag) this.interrupt();
    });
  }

  open(write: boolean, onStart: () => void): void {
    this.write = write;
    this.title.textContent = t(write ? 'ProgressWriteTitle' : 'ProgressReadTitle');
    this.bar.value = 0;
    this.status.textContent = t('ProgressNotStarted');
    this.cancelFlag = false;
    this.watching = true;
    this.started = false;
    this.startButton.disabled = false;
    // A write may read the radio first as a backup; off until chosen.
    byId('progress-backup-row').hidden = !write;
    this.backupBox.disabled = false;
    this.setPhase('');
    this.onStart = onStart;
    this.dialog.showModal();
    this.startButton.focus();
  }

  isOpen(): boolean {
    return this.dialog.open;
  }

  finish(): void {
    this.started = false;
    // A question about stopping the transfer no longer applies.
    this.asking?.abort();
    this.dialog.close();
  }

  backup(): boolean {
    return this.write && this.backupBox.checked;
  }

  setPhase(text: string): void {
    this.phase.textContent = text;
    this.phase.hidden = !text;
  }

  setStatus(text: string): void {
    this.status.textContent = text;
  }

  setProgress(position: number): void {
    this.bar.value = position;
  }

  cancelled(): boolean {
    return this.cancelFlag;
  }

  setWatch(watch: boolean): void {
    this.watching = watch;
  }

  private async cancel(): Promise<void> {
    if (this.cancelFlag || this.asking) return;
    // Stopping a write halfway leaves the radio with new data in its first
    // blocks and old data after them: only on a confirmed question.
    if (this.started && this.write) {
      this.asking = new AbortController();
      const answer = await showMessage(t('AskAbortWrite'), Buttons.OkCancel, MessageIcon.Question, undefined, true, this.asking.signal);
      this.asking = null;
      if (answer !== Answer.Ok || !this.started) return;
    }
    this.cancelFlag = true;
    // Before the start the window closes at once; afterwards the transfer
    // sees the flag at its next check and closes the window itself.
    if (!this.started) this.dialog.close();
  }

  private interrupt(): void {
    this.cancelFlag = true;
    void showMessage(t('ProgressInterrupted'));
  }
}
