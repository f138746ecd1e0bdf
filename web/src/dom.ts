// Small helpers for building the page's elements.

export function el<K extends keyof HTMLElementTagNameMap>(
  tag: K,
  attributes: Record<string, string> = {},
  ...children: (Node | string)[]
): HTMLElementTagNameMap[K] {
  const element = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) element.setAttribute(name, value);
  element.append(...children);
  return element;
}

export function byId<T extends HTMLElement>(id: string): T {
  const element = document.getElementById(id);
  if (!element) throw new Error(`#${id} missing`);
  return element as T;
}

// Moves the focus from `from` to the next control the keys can reach in page
// order (the one before it when not `forward`), round at the ends: shown, not
// disabled, and not one `passed` says the walk goes by.
export function moveFocus(from: HTMLElement, forward: boolean, passed: (n: HTMLElement) => boolean = () => false): void {
  const focusable = Array.from(document.querySelectorAll<HTMLElement>('button:not([tabindex="-1"]), select, input, [tabindex="0"]')).filter(
    (n) => n === from || (!passed(n) && !n.hidden && !(n as HTMLButtonElement).disabled && n.offsetParent !== null),
  );
  const here = focusable.indexOf(from);
  focusable[(here + (forward ? 1 : -1) + focusable.length) % focusable.length]?.focus();
}

// An entry of a list showing `text` as it is: a browser shows a run of blanks
// in an entry as one, so they are shown as no-break spaces; the entry's value
// is `value`, the text itself unless given.
export function exactOption(text: string, value = text): HTMLOptionElement {
  return new Option(text.replace(/ /g, '\u00a0'), value);
}

// Enter anywhere in `dialog` presses its default button `button`, as in the
// desktop's dialogs; a focused button takes the key itself.
export function pressOnEnter(dialog: HTMLDialogElement, button: HTMLButtonElement): void {
  dialog.addEventListener('keydown', (e) => {
    if (e.key !== 'Enter' || e.defaultPrevented || e.target instanceof HTMLButtonElement) return;
    e.preventDefault();
    button.click();
  });
}

// Shows `dialog` over the page with the focus on `first`, and resolves once,
// with what the dialog's own controls hand to `finish` (set up in `wire`),
// or with `dismissed` when Esc or the browser closes it. The dialog is gone
// from the page when the promise resolves.
export function showModalDialog<T>(
  dialog: HTMLDialogElement,
  first: HTMLElement,
  dismissed: T,
  wire: (finish: (value: T) => void) => void,
): Promise<T> {
  document.body.append(dialog);
  dialog.showModal();
  first.focus();
  return new Promise((resolve) => {
    let finished = false;
    const finish = (value: T) => {
      if (finished) return;
      finished = true;
      dialog.close();
      dialog.remove();
      resolve(value);
    };
    wire(finish);
    dialog.addEventListener('cancel', (e) => {
      e.preventDefault();
      finish(dismissed);
    });
    dialog.addEventListener('close', () => finish(dismissed));
  });
}
