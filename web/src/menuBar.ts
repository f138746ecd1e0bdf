// The menu bar, drawn from the program's command table: the desktop's menus,
// texts, access keys and shortcuts. Opened by mouse, by Alt and a menu's
// letter, by F10, and walked with the arrow keys as a menu bar is.
import { el } from './dom';
import { menuLabel, t } from './texts';

// One entry of a menu as the page shows it.
export type MenuEntry =
  | { kind: 'command'; command: string; text: string; shortcut: string; prompt: string; checked?: boolean; radio?: boolean; disabled?: boolean }
  | { kind: 'line' };

export interface MenuSource {
  title: string;  // a text name, e.g. MenuFile
  entries: () => MenuEntry[];  // read each time the menu opens
}

export class MenuBar {
  readonly element = el('div', { role: 'menubar', id: 'menubar' });
  private readonly titles: HTMLElement[] = [];
  private readonly popups: HTMLElement[] = [];
  private open = -1;
  private returnFocus: HTMLElement | null = null;

  // `run` carries out a chosen command; `prompt` shows an entry's status-bar
  // text, or the idle text for null; `home` takes the focus when what had it
  // before the menus is gone (a cell's editor, closed as the focus left it).
  constructor(
    private readonly menus: MenuSource[],
    private readonly run: (command: string) => void,
    private readonly prompt: (text: string | null) => void,
    private readonly home: () => void,
  ) {
    menus.forEach((_, index) => {
      const title = el('div', { role: 'menuitem', 'aria-haspopup': 'menu', 'aria-expanded': 'false', tabindex: '-1', class: 'menu-title' });
      const popup = el('div', { role: 'menu', class: 'menu', hidden: '' });
      title.addEventListener('mousedown', (e) => {
        e.preventDefault();
        if (this.open === index) this.close(true);
        else this.show(index, false);
      });
      title.addEventListener('mouseenter', () => {
        if (this.open >= 0 && this.open !== index) this.show(index, false);
      });
      title.addEventListener('keydown', (e) => this.onTitleKey(e, index));
      popup.addEventListener('keydown', (e) => this.onMenuKey(e, index));
      const wrap = el('div', { class: 'menu-wrap' }, title, popup);
      this.titles.push(title);
      this.popups.push(popup);
      this.element.append(wrap);
    });
    document.addEventListener('mousedown', (e) => {
      if (this.open >= 0 && !this.element.contains(e.target as Node)) this.close(false);
    });
    // A menu opened with the mouse, the focus still outside it (in a cell's
    // editor, say): its keys are the menu's before anything else sees them,
    // so that Escape closes the menu and leaves the editor as it was.
    document.addEventListener('keydown', (e) => {
      if (this.open < 0 || this.element.contains(document.activeElement) || document.querySelector('dialog[open]')) return;
      const items = this.items(this.open);
      if (e.key === 'Escape') this.close(true);
      else if (e.key === 'ArrowDown') items[0]?.focus();
      else if (e.key === 'ArrowUp') items[items.length - 1]?.focus();
      else return;
      e.preventDefault();
      e.stopPropagation();
    }, true);
    // Alt and a menu's letter, or F10, from anywhere but a dialog.
    document.addEventListener('keydown', (e) => {
      if (document.querySelector('dialog[open]') || e.defaultPrevented) return;
      if (e.key === 'F10' && !e.shiftKey && !e.ctrlKey && !e.altKey) {
        e.preventDefault();
        this.focusTitle(0);
        return;
      }
      if (!e.altKey || e.ctrlKey || e.metaKey || e.key.length !== 1) return;
      const index = this.titles.findIndex((title) => title.dataset.key === e.key.toLowerCase());
      if (index < 0) return;
      e.preventDefault();
      this.show(index, true);
    });
    this.relabel();
  }

  // The menu titles in the current language.
  relabel(): void {
    this.menus.forEach((menu, index) => {
      const { label, key } = menuLabel(t(menu.title));
      this.titles[index].replaceChildren(...label);
      this.titles[index].dataset.key = key;
    });
    this.element.setAttribute('aria-label', t('WebCommands'));
  }

  isOpen(): boolean {
    return this.open >= 0;
  }

  private remember(): void {
    const active = document.activeElement as HTMLElement | null;
    if (this.returnFocus === null && active && !this.element.contains(active)) this.returnFocus = active;
  }

  private focusTitle(index: number): void {
    this.remember();
    if (this.open >= 0) this.close(false, false);
    this.titles.forEach((title, i) => title.setAttribute('tabindex', i === index ? '0' : '-1'));
    this.titles[index].focus();
  }

  private show(index: number, focusFirst: boolean, last = false): void {
    this.remember();
    if (this.open >= 0 && this.open !== index) this.hide(this.open);
    this.open = index;
    const popup = this.popups[index];
    popup.replaceChildren(...this.menus[index].entries().map((entry) => this.drawEntry(entry)));
    popup.hidden = false;
    keepInWindow(popup);
    this.titles[index].setAttribute('aria-expanded', 'true');
    this.titles[index].classList.add('open');
    const items = this.items(index);
    if (focusFirst || document.activeElement === this.titles[this.open] || this.element.contains(document.activeElement)) {
      (last ? items[items.length - 1] : items[0])?.focus();
    }
  }

  private hide(index: number): void {
    this.popups[index].hidden = true;
    this.popups[index].replaceChildren();
    this.titles[index].setAttribute('aria-expanded', 'false');
    this.titles[index].classList.remove('open');
  }

  // Closes the open menu; `back` returns the focus to where it was before.
  private close(back: boolean, toPrevious = true): void {
    if (this.open >= 0) this.hide(this.open);
    this.open = -1;
    this.prompt(null);
    if (back && toPrevious) {
      const target = this.returnFocus;
      this.returnFocus = null;
      if (target?.isConnected) target.focus();
      else this.home();
    }
  }

  private items(index: number): HTMLElement[] {
    return Array.from(this.popups[index].querySelectorAll<HTMLElement>('[role^=menuitem]'));
  }

  private drawEntry(entry: MenuEntry): HTMLElement {
    if (entry.kind === 'line') return el('div', { role: 'separator', class: 'menu-line' });
    const role = entry.checked === undefined ? 'menuitem' : entry.radio ? 'menuitemradio' : 'menuitemcheckbox';
    const { label, key } = menuLabel(entry.text);
    const item = el('div', { role, tabindex: '-1', class: 'menu-item', 'data-command': entry.command, 'data-key': key },
      el('span', { class: 'menu-check', 'aria-hidden': 'true' }, entry.checked ? (entry.radio ? '●' : '✓') : ''),
      el('span', { class: 'menu-text' }, ...label),
      el('span', { class: 'menu-shortcut' }, entry.shortcut));
    if (entry.checked !== undefined) item.setAttribute('aria-checked', String(entry.checked));
    if (entry.disabled) item.setAttribute('aria-disabled', 'true');
    if (entry.shortcut) item.setAttribute('aria-keyshortcuts', entry.shortcut.replace('Ctrl', 'Control'));
    // The pointer highlights an entry only by moving onto it: a menu opened
    // from the keyboard under a resting pointer keeps its first entry, also
    // in browsers that send a still pointer's move when the page changes under it.
    item.addEventListener('mousemove', (e) => {
      if (e.movementX !== 0 || e.movementY !== 0) item.focus();
    });
    item.addEventListener('focus', () => this.prompt(entry.prompt));
    item.addEventListener('click', () => this.choose(item));
    return item;
  }

  private choose(item: HTMLElement): void {
    if (item.getAttribute('aria-disabled') === 'true') return;
    const command = item.dataset.command!;
    this.close(true);
    this.run(command);
  }

  private onTitleKey(e: KeyboardEvent, index: number): void {
    const count = this.titles.length;
    switch (e.key) {
      case 'ArrowRight': this.focusTitle((index + 1) % count); break;
      case 'ArrowLeft': this.focusTitle((index + count - 1) % count); break;
      case 'Home': this.focusTitle(0); break;
      case 'End': this.focusTitle(count - 1); break;
      case 'ArrowDown': case 'Enter': case ' ': this.show(index, true); break;
      case 'ArrowUp': this.show(index, true, true); break;
      case 'Escape': case 'Tab': this.leave(); if (e.key === 'Tab') return; break;
      default: {
        const target = this.titles.findIndex((title) => title.dataset.key === e.key.toLowerCase());
        if (target < 0) return;
        this.show(target, true);
      }
    }
    e.preventDefault();
  }

  // Leaves the menu bar for where the focus was before it.
  private leave(): void {
    this.titles.forEach((title) => title.setAttribute('tabindex', '-1'));
    this.close(true);
  }

  private onMenuKey(e: KeyboardEvent, index: number): void {
    const items = this.items(index);
    const at = items.indexOf(document.activeElement as HTMLElement);
    const count = this.titles.length;
    switch (e.key) {
      case 'ArrowDown': items[(at + 1) % items.length]?.focus(); break;
      case 'ArrowUp': items[(at + items.length - 1) % items.length]?.focus(); break;
      case 'Home': items[0]?.focus(); break;
      case 'End': items[items.length - 1]?.focus(); break;
      case 'ArrowRight': this.show((index + 1) % count, true); break;
      case 'ArrowLeft': this.show((index + count - 1) % count, true); break;
      case 'Enter': case ' ': if (at >= 0) this.choose(items[at]); break;
      case 'Escape':
        this.close(false);
        this.focusTitle(index);
        break;
      case 'Tab': this.leave(); return;
      default: {
        if (e.key.length !== 1 || e.ctrlKey || e.metaKey) return;
        const item = items.find((n) => n.dataset.key === e.key.toLowerCase());
        if (!item) return;
        this.choose(item);
      }
    }
    e.preventDefault();
    e.stopPropagation();
  }
}

// A menu stays inside the window, as a desktop menu stays on the screen: it
// moves left as far as it must, and in a window narrower than the menu its
// entries' names wrap so that their shortcuts still show whole.
function keepInWindow(popup: HTMLElement): void {
  const margin = 4;
  popup.classList.remove('narrow');
  popup.style.left = '';
  const room = document.documentElement.clientWidth;
  if (popup.getBoundingClientRect().width > room - 2 * margin) popup.classList.add('narrow');
  const box = popup.getBoundingClientRect();
  if (box.right > room - margin) popup.style.left = `${Math.max(room - margin - box.right, margin - box.left)}px`;
}
