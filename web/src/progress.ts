// The progress window of a read or write: 开始, the bar, the status text and
// 取消. The engine's questions and its cancel checks reach the user here.
import { byId } from './dom';
import { showMessage } from './messageBox';
import { t } from './texts';

export class ProgressWindow {
  private readonly dialog = byId<HTMLDialogElement>('progress');
  private readonly title = byId<HTMLElement>('progress-title');
  private readonly startButton = byId<HTMLButtonElement>('progress-start');
  private readonly cancelButton = byId<HTMLButtonElement>('progress-cancel');
  private readonly bar = byId<HTMLProgressElement>('progress-bar');
  private readonly status = byId<HTMLElement>('progress-status');
  private cancelFlag = false;
  private watching = true;
  private started = false;
  private onStart: (() => void) | null = null;

  constructor() {
    this.startButton.addEventListener('click', () => {
      if (this.started) return;
      this.started = true;
      this.startButton.disabled = true;
      this.onStart?.();
    });
    this.cancelButton.addEventListener('click', () => this.cancel());
    this.dialog.addEventListener('cancel', (e) => {
      e.preventDefault();
      this.cancel();
    });
    // Leaving the page while a transfer runs stops it, as leaving the desktop
    // program's progress window does.
    document.addEventListener('visibilitychange', () => {
      if (document.hidden && this.started && this.watching && !this.cancelFlag) this.interrupt();
    });
  }

  open(write: boolean, onStart: () => void): void {
    this.title.textContent = t(write ? 'WebWriteProgress' : 'WebReadProgress');
    this.bar.value = 0;
    this.status.textContent = t('WebNotStarted');
    this.cancelFlag = false;
    this.watching = true;
    this.started = false;
    this.startButton.disabled = false;
    this.onStart = onStart;
    this.dialog.showModal();
    this.startButton.focus();
  }

  isOpen(): boolean {
    return this.dialog.open;
  }

  finish(): void {
    this.started = false;
    this.dialog.close();
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

  private cancel(): void {
    this.cancelFlag = true;
    // Before the start the window closes at once; afterwards the transfer
    // sees the flag at its next check and closes the window itself.
    if (!this.started) this.dialog.close();
  }

  private interrupt(): void {
    this.cancelFlag = true;
    void showMessage(t('WebInterrupted'));
  }
}
