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
