// The status bar: the message pane (a mode's prompt while it lasts, else a
// command's prompt while the pointer or the focus is on the command, else the
// last feedback for as long as the rules show feedback, the pointer help or
// the idle text), the pane that says whether the document differs from its
// file, and the panes of the lock keys, grey while the key is off.
import { byId } from './dom';
import { t } from './texts';

const LOCK_KEYS: [string, string, string][] = [
  ['pane-caps', 'IndicatorCaps', 'CapsLock'], ['pane-num', 'IndicatorNum', 'NumLock'], ['pane-scroll', 'IndicatorScroll', 'ScrollLock'],
];

export class StatusBar {
  readonly element = byId('statusbar');
  private readonly message = byId('status-message');
  private readonly modifiedPane = byId('pane-modified');
  private feedback: string | null = null;
  private feedbackTimer: ReturnType<typeof setTimeout> | undefined;
  private aboutFile = false;
  private modified = false;
  private pointer: string | null = null;
  private prompt: string | null = null;
  private promptOwner: object | null = null;
  private held: string | null = null;

  constructor(private readonly feedbackMs: number) {
    for (const type of ['keydown', 'keyup'] as const) {
      document.addEventListener(type, (e) => {
        for (const [id, , key] of LOCK_KEYS) byId(id).classList.toggle('off', !e.getModifierState(key));
      }, true);
    }
    for (const [id] of LOCK_KEYS) byId(id).classList.add('off');
  }

  relabel(): void {
    for (const [id, text] of LOCK_KEYS) byId(id).textContent = t(text);
    // Feedback is in the words of the language it was given in: it goes, as
    // on the desktop, where the prompts of the menu the language was chosen
    // from take it away.
    this.say(null);
    this.showModified(this.modified);
  }

  // "已修改" while the rules say the document differs from its file.
  showModified(modified: boolean): void {
    this.modified = modified;
    // Feedback about the file ("已保存…") goes with the first change after it.
    if (modified && this.aboutFile) this.say(null);
    this.modifiedPane.textContent = modified ? t('ModifiedPane') : '';
  }

  // Another document took the place of the one feedback about a file ("已保存…") spoke of.
  forgetFileFeedback(): void {
    if (this.aboutFile) this.say(null);
  }

  // A command's prompt (a text name) while the pointer or the focus is on
  // the command, or null for what the pane says otherwise. With an `owner`
  // (a toolbar button), null takes away only a prompt that owner showed: a
  // menu opening over the button keeps its entry's prompt.
  show(prompt: string | null, owner: object | null = null): void {
    if (prompt === null && owner !== null && owner !== this.promptOwner) return;
    this.prompt = prompt;
    this.promptOwner = owner;
    this.draw();
  }

  // A mode's prompt (a text name) that stays over the prompts, feedback and
  // pointer help until the mode ends (null).
  hold(prompt: string | null): void {
    this.held = prompt;
    this.draw();
  }

  // Pointer help (a text name) for what the pointer is over, or null; a
  // command's prompt and the feedback of the last command go before it.
  pointAt(help: string | null): void {
    this.pointer = help;
    this.draw();
  }

  // Feedback, shown until its time is up or the next comes; null takes it
  // away. Feedback `aboutFile` goes also when the document changes.
  say(text: string | null, aboutFile = false): void {
    clearTimeout(this.feedbackTimer);
    this.feedback = text;
    this.aboutFile = text !== null && aboutFile;
    if (text !== null) this.feedbackTimer = setTimeout(() => this.say(null), this.feedbackMs);
    this.draw();
  }

  private draw(): void {
    const shown = this.held ?? this.prompt;
    this.message.textContent = shown ? t(shown).split('\n')[0] : this.feedback ?? t(this.pointer ?? 'Idle');
  }
}
