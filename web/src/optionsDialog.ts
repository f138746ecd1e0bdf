// 可选功能: the radio-wide settings, read from and stored into the image by the rules.
import { OptionsText, type EditResult, type Rules } from './rules';
import { el, pressOnEnter, showModalDialog } from './dom';
import { commandText, t } from './texts';

function labelled(text: string, control: HTMLElement): HTMLLabelElement {
  return el('label', {}, el('span', {}, text), control);
}

function list(id: string, entries: string[], index: number): HTMLSelectElement {
  const select = el('select', { id });
  for (const entry of entries) select.append(new Option(entry));
  select.selectedIndex = index;
  return select;
}

// Whatever an edit puts into `input` (keys, a paste, a dropped text), the
// field keeps only what it takes, in upper case, as the radio shows it; a
// typed character it does not take leaves the text and its selection alone.
function keepTaken(input: HTMLInputElement, rules: Rules, field: OptionsText): void {
  let shown = input.value;
  const loaded = new TextEncoder().encode(shown).length;
  input.addEventListener('beforeinput', (e) => {
    if (e.inputType === 'insertText' && e.data && ![...e.data].every((c) => rules.optionsTextTakes(field, c))) e.preventDefault();
  });
  input.addEventListener('input', () => {
    const kept = rules.keepTaken(field, loaded, shown, input.value);
    shown = kept.text;
    if (input.value === shown) return;
    input.value = shown;
    input.setSelectionRange(kept.caret, kept.caret);
  });
}

// The transmit timer steps as the desktop's spin box does: Up to the next
// longer time, Down to the shorter one; typed keys do not change it.
function stepLikeASpin(select: HTMLSelectElement): void {
  select.addEventListener('keydown', (e) => {
    const step = e.key === 'ArrowUp' ? 1 : e.key === 'ArrowDown' ? -1 : 0;
    if (step !== 0 && !e.altKey) {
      e.preventDefault();
      select.selectedIndex = Math.min(select.options.length - 1, Math.max(0, select.selectedIndex + step));
    } else if (e.key.length === 1 && !e.ctrlKey && !e.metaKey && !e.altKey) {
      e.preventDefault();
    }
  });
}

function check(id: string, on: boolean): HTMLInputElement {
  const box = el('input', { type: 'checkbox', id });
  box.checked = on;
  return box;
}

// Shows the dialog; resolves with what storing the values did when the user
// pressed 确定, or null.
export function editOptions(rules: Rules): Promise<EditResult | null> {
  const v = rules.options();
  const lists = rules.optionLists();
  const timer = list('opt-timer', lists.timer, v.timerPosition);
  stepLikeASpin(timer);
  const squelch = list('opt-squelch', lists.squelch, v.squelch);
  const languageBox = list('opt-language', lists.language, v.language);
  const alarm = check('opt-alarm', v.alarmTone);
  const battery = check('opt-battery', v.batterySave);
  const scrambler = check('opt-scrambler', v.scrambler);
  const voxGain = list('opt-vox-gain', lists.voxGain, v.voxGain);
  const voxDelay = list('opt-vox-delay', lists.voxDelay, v.voxDelay);
  const bot = check('opt-bot', v.bot);
  const eot = check('opt-eot', v.eot);
  // No maxlength: a paste would be cut before what the field does not take is
  // left out; the rules keep the lengths.
  const ani = el('input', { type: 'text', id: 'opt-ani', inputmode: 'numeric' });
  ani.value = v.ani;
  keepTaken(ani, rules, OptionsText.Ani);
  const name = el('input', { type: 'text', id: 'opt-name' });
  name.value = v.radioName;
  keepTaken(name, rules, OptionsText.RadioName);
  const ok = el('button', { type: 'button', id: 'opt-ok' }, t('ButtonOk'));
  const cancel = el('button', { type: 'button', id: 'opt-cancel' }, t('ButtonCancel'));

  const dialog = el('dialog', { id: 'options', 'aria-labelledby': 'options-title', class: 'options' },
    el('h2', { id: 'options-title' }, commandText('CmdOptions')),
    el('div', { class: 'option-groups' },
      el('fieldset', {}, el('legend', {}, t('OptRadioGroup')),
        labelled(t('LabelTimer'), timer), labelled(t('LabelSquelch'), squelch), labelled(t('LabelVoice'), languageBox),
        labelled(t('LabelAlarm'), alarm), labelled(t('LabelBattery'), battery), labelled(t('LabelScrambler'), scrambler)),
      el('fieldset', {}, el('legend', {}, t('OptVoxGroup')),
        labelled(t('LabelVoxGain'), voxGain), labelled(t('LabelVoxDelay'), voxDelay)),
      el('fieldset', {}, el('legend', {}, 'PTT ID'),
        labelled(t('OptBot'), bot), labelled(t('OptEot'), eot), labelled('ANI', ani), labelled(t('LabelRadioName'), name))),
    el('div', { class: 'buttons' }, ok, cancel));
  pressOnEnter(dialog, ok);
  return showModalDialog<EditResult | null>(dialog, timer, null, (finish) => {
    ok.addEventListener('click', () =>
      finish(rules.setOptions({
        ...v,
        timerPosition: timer.selectedIndex, squelch: squelch.selectedIndex, voxGain: voxGain.selectedIndex,
        voxDelay: voxDelay.selectedIndex, language: languageBox.selectedIndex, alarmTone: alarm.checked,
        scrambler: scrambler.checked, batterySave: battery.checked, bot: bot.checked, eot: eot.checked,
        ani: ani.value, radioName: name.value,
      })));
    cancel.addEventListener('click', () => finish(null));
  });
}
