// The progress window of a read or write: 开始, the bar, the status text and
// 取消. The engine's questions and its cancel checks reach the user here. A
// write can go on radio after radio ("连续写频"): the window stays open, counts
// the radios written and lists each one's result, which can be saved as CSV.
import { byId } from './dom';
import { download } from './files';
import { Answer, Buttons, type Rules } from './rules';
import { MessageIcon, showMessage } from './messageBox';
import { t } from './texts';

const DRAW_EVERY_MS = 100;

export class ProgressWindow {
  private readonly dialog = byId<HTMLDialogElement>('progress');
  private readonly title = byId<HTMLElement>('progress-title');
  private readonly startButton = byId<HTMLButtonElement>('progress-start');
  private readonly cancelButton = byId<HTMLButtonElement>('progress-cancel');
  private readonly bar = byId<HTMLProgressElement>('progress-bar');
  private readonly status = byId<HTMLElement>('progress-status');
  private readonly backupBox = byId<HTMLInputElement>('progress-backup');
  private readonly phase = byId<HTMLElement>('progress-phase');
  private readonly session = byId<HTMLElement>('write-session');
  private readonly continuous = byId<HTMLInputElement>('continuous-write');
  private readonly count = byId<HTMLElement>('written-count');
  private readonly log = byId<HTMLUListElement>('write-log');
  private readonly saveLog = byId<HTMLButtonElement>('save-write-log');
  private write = false;
  private cancelFlag = false;
  private stopAsks = false;  // stopping the write asks first: blocks have gone through
  private asking: AbortController | null = null;  // the stop question while it is shown
  private watching = true;
  private started = false;
  private onStart: (() => void) | null = null;
  private reported: { status?: string; position?: number } = {};
  private drawTimer = 0;

  constructor(private readonly rules: Rules) {
    this.startButton.addEventListener('click', () => {
      if (this.started) return;
      this.started = true;
      // The keys go to 取消 while 开始 is greyed, as on the desktop.
      this.cancelButton.focus();
      this.startButton.disabled = true;
      this.backupBox.disabled = true;
      this.continuous.disabled = true;
      this.saveLog.disabled = true;
      this.onStart?.();
    });
    this.backupBox.addEventListener('change', () => this.setPhase(this.phase.textContent ?? ''));
    this.continuous.addEventListener('change', () => this.showSession());
    this.saveLog.addEventListener('click', () =>
      download(t('WriteLogFileName'), this.rules.writeLogCsv(), 'text/csv'));
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

  isWrite(): boolean {
    return this.write;
  }

  open(write: boolean, onStart: () => void): void {
    this.write = write;
    this.title.textContent = t(write ? 'ProgressWriteTitle' : 'ProgressReadTitle');
    // A write may read the radio first as a backup; off until chosen.
    byId('progress-backup-row').hidden = !write;
    // Every opening of the write window starts a new session.
    this.session.hidden = !write;
    this.rules.clearWriteLog();
    this.onStart = onStart;
    this.ready(t('ProgressNotStarted'));
    this.dialog.showModal();
    this.startButton.focus();
  }

  isOpen(): boolean {
    return this.dialog.open;
  }

  // The transfer ended. The window closes, unless a write goes on with the
  // next radio: then it is ready for 开始 (or Enter) again, with the last
  // radio's result in the status line.
  finish(): void {
    // A question about stopping the transfer no longer applies.
    this.asking?.abort();
    if (!this.write || !this.continuous.checked) {
      this.dropReports();
      this.started = false;
      this.dialog.close();
      return;
    }
    const lines = this.rules.writeLogLines();
    this.ready(lines.length ? lines[lines.length - 1].text : '');
    this.startButton.focus();
  }

  // Waiting for 开始, with `status` in the status line.
  private ready(status: string): void {
    this.dropReports();
    this.status.textContent = status;
    this.bar.value = 0;
    this.setPhase('');
    this.cancelFlag = false;
    this.stopAsks = false;
    this.watching = true;
    this.started = false;
    this.startButton.disabled = false;
    this.backupBox.disabled = false;
    this.continuous.disabled = false;
    this.showSession();
  }

  private showSession(): void {
    const on = this.continuous.checked;
    const lines = this.rules.writeLogLines();
    this.count.textContent = this.rules.writeLogCount();
    this.count.hidden = !on;
    this.log.hidden = !on;
    this.saveLog.hidden = !on;
    this.saveLog.disabled = lines.length === 0;
    this.log.replaceChildren(...lines.map((line) => {
      const item = document.createElement('li');
      item.textContent = line.text;
      if (!line.written) item.className = 'failed';
      return item;
    }));
    this.log.lastElementChild?.scrollIntoView({ block: 'nearest' });
  }

  backup(): boolean {
    return this.write && this.backupBox.checked;
  }

  // While a backup is asked for, the line of the steps keeps its place
  // empty, so that the window does not grow when the first step shows.
  setPhase(text: string): void {
    this.phase.textContent = text;
    this.phase.hidden = !text && !this.backup();
  }

  setStatus(text: string): void {
    this.reported.status = text;
    this.drawSoon();
  }

  setProgress(position: number, stopAsks: boolean): void {
    this.stopAsks = stopAsks;
    this.reported.position = position;
    this.drawSoon();
  }

  // The engine reports every block, more often than anyone can follow: what
  // it reported last is drawn ten times a second, so that drawing never holds
  // up the next exchange with the radio.
  private drawSoon(): void {
    this.drawTimer ||= window.setTimeout(() => {
      this.drawTimer = 0;
      const { status, position } = this.reported;
      this.reported = {};
      if (status !== undefined) this.status.textContent = status;
      if (position !== undefined) this.bar.value = position;
    }, DRAW_EVERY_MS);
  }

  // Reports not yet drawn are dropped: the window shows something newer.
  private dropReports(): void {
    clearTimeout(this.drawTimer);
    this.drawTimer = 0;
    this.reported = {};
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
    if (this.started && this.write && this.stopAsks) {
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
