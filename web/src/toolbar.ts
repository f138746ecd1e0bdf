// The toolbar: the desktop's buttons and pictures, in the command table's
// order. A mouse's shortcut, as on the desktop: every command is also in
// the menus, so the buttons stay out of the Tab order.
import { byId, el } from './dom';
import { commandText, t } from './texts';

export interface ToolbarCommand {
  name: string;
  id: number;
  text: string;  // text names of the command table
  prompt: string;
}

export class Toolbar {
  readonly element = byId('toolbar');
  private readonly buttons: { button: HTMLButtonElement; command: ToolbarCommand }[] = [];

  // `prompt` shows a button's status-bar text, or takes it away (null).
  constructor(entries: (ToolbarCommand | null)[], run: (command: string) => void, prompt: (text: string | null, button: HTMLButtonElement) => void) {
    for (const command of entries) {
      if (!command) {
        this.element.append(el('span', { class: 'tool-line', role: 'separator' }));
        continue;
      }
      const button = el('button', { type: 'button', tabindex: '-1', 'data-command': command.name },
        el('img', { src: `icons/tool-${command.id}.png`, alt: '', width: '18', height: '18' }));
      // Like the desktop's, a button takes no focus: the keys stay where they were.
      button.addEventListener('mousedown', (e) => e.preventDefault());
      button.addEventListener('click', () => run(command.name));
      button.addEventListener('mouseenter', () => prompt(command.prompt, button));
      button.addEventListener('mouseleave', () => prompt(null, button));
      this.buttons.push({ button, command });
      this.element.append(button);
    }
    this.relabel();
  }

  relabel(): void {
    this.element.setAttribute('aria-label', t('ToolbarTitle'));
    for (const { button, command } of this.buttons) {
      const tip = t(command.prompt).split('\n')[1] ?? '';
      button.title = tip;
      button.setAttribute('aria-label', command.text ? commandText(command.text) : tip);
    }
  }

  setEnabled(name: string, enabled: boolean): void {
    for (const { button, command } of this.buttons) if (command.name === name) button.disabled = !enabled;
  }
}
