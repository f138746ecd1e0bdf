// The page's texts come from the program's one table of texts (in the rules
// module), by name, in Chinese or English.
import type { Rules } from './rules';

export type Language = 'zh' | 'en';

let table: Record<string, [string, string]> = {};
let current: Language = 'zh';
let rulesModule: Rules | null = null;

export function loadTexts(rules: Rules): void {
  rulesModule = rules;
  table = rules.textTable();
}

// Switches the page and the rules' own messages.
export function setLanguage(language: Language): void {
  current = language;
  rulesModule?.setLanguage(language === 'en');
}

export function language(): Language {
  return current;
}

// Text `name` of the table with %1, %2 … replaced by `args`, filled by the rules.
export function t(name: string, ...args: (string | number)[]): string {
  const entry = table[name];
  if (!entry) throw new Error(`no text ${name}`);
  const pattern = entry[current === 'en' ? 1 : 0];
  return args.length ? rulesModule!.formatText(pattern, args.map(String)) : pattern;
}

// A command's menu text as a button shows it: no access key, no shortcut.
export function commandText(name: string): string {
  return rulesModule!.commandLabel(t(name));
}

// The status-bar prompt of a command (the first line of its tip).
export function commandTip(name: string): string {
  return t(name).split('\n')[0];
}

// A menu text ("新建(&N)\tCtrl+N") as the menus show it: the access key
// underlined, "&&" as "&", and the part after the tab left to the shortcut
// column. `key` is the access key in lower case, or ''.
export function menuLabel(text: string): { label: (string | HTMLElement)[]; key: string; shortcut: string } {
  const [caption, shortcut = ''] = text.split('\t');
  const label: (string | HTMLElement)[] = [];
  let key = '';
  let plain = '';
  for (let i = 0; i < caption.length; ++i) {
    if (caption[i] !== '&' || i + 1 >= caption.length) {
      plain += caption[i];
      continue;
    }
    const next = caption[++i];
    if (next === '&' || key) {
      plain += next;
      continue;
    }
    key = next.toLowerCase();
    if (plain) label.push(plain);
    plain = '';
    const underlined = document.createElement('u');
    underlined.textContent = next;
    label.push(underlined);
  }
  if (plain) label.push(plain);
  return { label, key, shortcut };
}
