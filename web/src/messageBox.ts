// The page's modal boxes: a text and the buttons the rules ask for; the
// answer comes back as the rules' Answer.
import { Answer, Buttons, type EditResult, type Rules } from './rules';
import { el, showModalDialog } from './dom';
import { t } from './texts';

export const enum MessageIcon { Information = 'information', Warning = 'warning', Question = 'question' }

const buttonsOf: Record<Buttons, [Answer, () => string][]> = {
  [Buttons.Ok]: [[Answer.Ok, () => t('ButtonOk')]],
  [Buttons.OkCancel]: [[Answer.Ok, () => t('ButtonOk')], [Answer.Cancel, () => t('ButtonCancel')]],
  [Buttons.RetryCancel]: [[Answer.Retry, () => t('ButtonRetry')], [Answer.Cancel, () => t('ButtonCancel')]],
  [Buttons.SaveDiscardCancel]: [
    [Answer.Save, () => t('ButtonSave')],
    [Answer.Discard, () => t('ButtonDiscard')],
    [Answer.Cancel, () => t('ButtonCancel')],
  ],
  [Buttons.OverwriteCancel]: [[Answer.Ok, () => t('BoxOverwrite')], [Answer.Cancel, () => t('ButtonCancel')]],
  [Buttons.EmptyKeepCancel]: [
    [Answer.Ok, () => t('ButtonEmptyChannels')],
    [Answer.Keep, () => t('ButtonKeepChannels')],
    [Answer.Cancel, () => t('ButtonCancel')],
  ],
};

// The button Enter chooses, for each set of buttons, without and with
// cancel as the default: asked of the rules once, at the start, as the
// module cannot be called while a transfer waits on a box.
const defaultAnswers = new Map<Buttons, [Answer, Answer]>();

export function useRulesForBoxes(rules: Rules): void {
  for (const key of Object.keys(buttonsOf)) {
    const buttons = Number(key) as Buttons;
    defaultAnswers.set(buttons, [rules.defaultAnswer(buttons, false), rules.defaultAnswer(buttons, true)]);
  }
}

// Boxes come one at a time, in the order they were asked.
let queue: Promise<unknown> = Promise.resolve();

export function showMessage(
  text: string,
  buttons: Buttons = Buttons.Ok,
  icon: MessageIcon = MessageIcon.Warning,
  caption: string = t('AppTitle'),
  cancelIsDefault = false,
  // Aborted when the question no longer applies: the box closes as if cancelled.
  withdrawn?: AbortSignal,
): Promise<Answer> {
  const shown = queue.then(() => (withdrawn?.aborted ? Answer.Cancel : openBox(text, buttons, icon, caption, cancelIsDefault, withdrawn)));
  queue = shown;
  return shown;
}

// The messages an edit gives, one box after the other, as the grid shows them.
export async function showNotices(messages: EditResult['messages']): Promise<void> {
  for (const message of messages)
    await showMessage(message.text, Buttons.Ok, message.warning ? MessageIcon.Warning : MessageIcon.Information, message.caption || undefined);
}

function openBox(text: string, buttons: Buttons, icon: MessageIcon, caption: string, cancelIsDefault: boolean, withdrawn?: AbortSignal): Promise<Answer> {
  const returnFocus = document.activeElement as HTMLElement | null;
  const title = el('h2', { id: 'message-title' }, caption);
  const body = el('p', { id: 'message-text', class: 'message-text' }, text);
  const row = el('div', { class: 'buttons' });
  const dialog = el('dialog', {
    class: `message ${icon}`,
    role: 'alertdialog',
    'aria-labelledby': 'message-title',
    'aria-describedby': 'message-text',
  }, title, body, row);
  const answers = buttonsOf[buttons].map(([answer, label]) => {
    const button = el('button', { type: 'button', 'data-answer': String(answer) }, label());
    row.append(button);
    return [button, answer] as const;
  });
  const chosen = defaultAnswers.get(buttons)![cancelIsDefault ? 1 : 0];
  const first = answers.find(([, answer]) => answer === chosen)![0];
  // Esc, or the browser closing the box, cancels it.
  const cancelAnswer = buttons === Buttons.Ok ? Answer.Ok : Answer.Cancel;
  return showModalDialog<Answer>(dialog, first, cancelAnswer, (finish) => {
    for (const [button, answer] of answers) button.addEventListener('click', () => finish(answer));
    withdrawn?.addEventListener('abort', () => finish(Answer.Cancel), { once: true });
  }).then((answer) => {
    returnFocus?.focus();
    return answer;
  });
}
