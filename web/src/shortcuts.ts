// Key sequences as the command table writes them ("Ctrl+Shift+Up; Ctrl+Y"),
// matched against a key press.

const KEY_NAMES: Record<string, string> = { Up: 'ArrowUp', Down: 'ArrowDown', Left: 'ArrowLeft', Right: 'ArrowRight', Del: 'Delete', Ins: 'Insert' };

export function matchesShortcut(e: KeyboardEvent, sequences: string): boolean {
  if (!sequences) return false;
  return sequences.split('; ').some((sequence) => {
    const parts = sequence.split('+');
    const key = parts.pop()!;
    const ctrl = parts.includes('Ctrl');
    const shift = parts.includes('Shift');
    const alt = parts.includes('Alt');
    if ((e.ctrlKey || e.metaKey) !== ctrl || e.shiftKey !== shift || e.altKey !== alt) return false;
    const wanted = KEY_NAMES[key] ?? key;
    return wanted.length === 1 ? e.key.toLowerCase() === wanted.toLowerCase() : e.key === wanted;
  });
}
