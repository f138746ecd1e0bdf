// Pointer help mode (Shift+F1, the toolbar's question mark), as the desktop
// has it: the status bar asks for an object, the pointer shows a question
// mark, and the next click chooses what to have help on, without doing
// anything else; Esc leaves the mode.
export class ContextHelpMode {
  private active = false;

  // `hold` keeps a status-bar text (a text name) shown while the mode lasts;
  // null gives the pane back.
  // `chosen` is given what the click chose.
  constructor(private readonly hold: (text: string | null) => void, private readonly chosen: (target: Element) => void) {}

  enter(): void {
    if (this.active) return;
    this.active = true;
    document.body.classList.add('help-mode');
    this.hold('HelpMode');
    const swallow = (e: Event) => {
      e.preventDefault();
      e.stopPropagation();
    };
    const leave = (e: Event) => {
      swallow(e);
      const clicked = e.type === 'mouseup' && e.target instanceof Element ? e.target : null;
      this.active = false;
      document.body.classList.remove('help-mode');
      for (const type of ['mousedown', 'mouseup', 'dblclick', 'contextmenu']) window.removeEventListener(type, swallow, true);
      window.removeEventListener('mouseup', leave, true);
      window.removeEventListener('keydown', onKey, true);
      // The click that follows the button's release is the mode's too.
      setTimeout(() => window.removeEventListener('click', swallow, true));
      this.hold(null);
      if (clicked) this.chosen(clicked);
    };
    const onKey = (e: KeyboardEvent) => {
      if (e.key === 'Escape') leave(e);
    };
    for (const type of ['mousedown', 'click', 'dblclick', 'contextmenu']) window.addEventListener(type, swallow, true);
    window.addEventListener('mouseup', leave, true);
    window.addEventListener('keydown', onKey, true);
  }
}
