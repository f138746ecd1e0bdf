// 在线调试: three test-frequency sets and four items; 开始 sends the chosen
// item with the chosen set over the radio link. The model is the rules'.
import { TuningPage, type Rules, type SideValue } from './rules';
import { el, moveFocus } from './dom';
import { MessageIcon, showMessage } from './messageBox';
import { commandText, t } from './texts';

const SETS: [number, string][] = [[2, 'TuningSetHigh'], [3, 'TuningSetMiddle'], [4, 'TuningSetLow']];
const ITEMS: [number, string][] = [[2, 'TuningItemTxFreq'], [3, 'TuningItemBattery'], [4, 'TuningItemSquelch'], [5, 'TuningItemPower']];

interface SideControls { frequency: HTMLInputElement; list: HTMLSelectElement; kind: HTMLInputElement[]; step: HTMLInputElement[] }

function radios(name: string, labels: string[]): { inputs: HTMLInputElement[]; group: HTMLElement } {
  const inputs = labels.map((_, i) => el('input', { type: 'radio', name, value: String(i), id: `${name}-${i}` }));
  const group = el('div', { role: 'radiogroup' }, ...inputs.flatMap((input, i) => [input, el('label', { for: input.id }, labels[i])]));
  return { inputs, group };
}

export function openTuning(rules: Rules, bandText: string, send: (set: number, item: number) => Promise<void>): Promise<void> {
  rules.tuningOpen(bandText);
  let shownSet = 0;
  let item = 0;

  const side = (rx: boolean): { controls: SideControls; box: HTMLElement } => {
    const prefix = rx ? 'rx' : 'tx';
    const frequency = el('input', { type: 'text', id: `tune-${prefix}-frequency`, inputmode: 'decimal' });
    const list = el('select', { id: `tune-${prefix}-list` });
    const kind = radios(`tune-${prefix}-kind`, [t('TuningAnalogue'), t('TuningDigital')]);
    const step = radios(`tune-${prefix}-step`, [t('TuningStep5'), t('TuningStep625')]);
    for (const input of kind.inputs) input.addEventListener('change', () => fillList(list, Number(input.value), 0));
    frequency.addEventListener('keydown', (e) => {
      if (e.key === 'Enter') {
        e.preventDefault();
        store();
        moveFocus(frequency, true);
      }
    });
    const box = el('fieldset', {}, el('legend', {}, t(rx ? 'TuningReceive' : 'TuningTransmit')),
      el('label', { for: frequency.id }, t('TuningFrequency')), frequency,
      el('label', { for: list.id }, t('TuningTone')), list,
      el('span', {}, t('TuningToneType')), kind.group,
      el('span', {}, t('TuningStep')), step.group);
    return { controls: { frequency, list, kind: kind.inputs, step: step.inputs }, box };
  };
  const fillList = (list: HTMLSelectElement, kind: number, index: number) => {
    list.replaceChildren(...rules.signallingList(kind).map((text) => new Option(text)));
    list.selectedIndex = index;
  };
  const rx = side(true);
  const tx = side(false);
  const showSide = (c: SideControls, v: SideValue) => {
    c.frequency.value = v.frequency;
    c.kind[v.kind].checked = true;
    c.step[v.step].checked = true;
    fillList(c.list, v.kind, v.listIndex);
  };
  const storeSide = (c: SideControls, isRx: boolean) => {
    const kind = c.kind.findIndex((r) => r.checked);
    const step = c.step.findIndex((r) => r.checked);
    c.frequency.value = rules.tuningSetSide(shownSet, isRx, c.frequency.value, step, kind, c.list.selectedIndex);
  };
  const store = () => {
    if (!shownSet) return;
    storeSide(rx.controls, true);
    storeSide(tx.controls, false);
  };

  const frequencyPage = el('div', { id: 'tune-frequency-page', hidden: '' }, rx.box, tx.box);
  const choose = radios('tune-set', SETS.map(([, key]) => t(key === 'TuningSetMiddle' ? 'TuningChooseMiddle' : key)));
  choose.inputs[0].checked = true;
  const slider = el('input', { type: 'range', id: 'tune-slider', min: '0', max: '255', 'aria-label': t('TuningParams') });
  const position = el('span', { id: 'tune-position', 'aria-live': 'polite' });
  const start = el('button', { type: 'button', id: 'tune-start' }, t('ButtonStart'));
  // The set 开始 sends, named beside it with its values.
  const willSend = el('p', { id: 'tune-will-send', 'aria-live': 'polite' });
  const chosenSet = () => SETS[Math.max(0, choose.inputs.findIndex((r) => r.checked))][0];
  const showWillSend = () => {
    willSend.textContent = rules.tuningWillSend(chosenSet());
  };
  for (const input of choose.inputs) input.addEventListener('change', showWillSend);
  slider.addEventListener('input', () => {
    position.textContent = t('TuningPosition', slider.value);
    rules.tuningSetItemValue(item, Number(slider.value));
  });
  const itemPage = el('div', { id: 'tune-item-page', hidden: '' },
    el('fieldset', {}, el('legend', {}, t('TuningChoose')), choose.group),
    el('fieldset', {}, el('legend', {}, t('TuningParams')), el('span', {}, t('TuningMin')), slider, el('span', {}, t('TuningMax')), position, start, willSend));
  const note = el('h3', { id: 'tune-note' }, t('TuningNote'));
  const restore = el('button', { type: 'button', id: 'tune-restore', hidden: '' }, t('TuningRestore'));

  const nav = el('div', { class: 'tune-nav', role: 'group', 'aria-label': commandText('CmdTuning') });
  const dialog = el('dialog', { id: 'tuning', class: 'tuning', tabindex: '-1', 'aria-labelledby': 'tuning-title' },
    el('h2', { id: 'tuning-title' }, t('TuningTitle')),
    el('div', { class: 'tune-body' }, nav, el('div', { class: 'tune-page' }, note, frequencyPage, itemPage, restore)));
  const showSet = (set: number, label: string) => {
    store();
    shownSet = set;
    note.textContent = label;
    frequencyPage.hidden = false;
    itemPage.hidden = true;
    restore.hidden = false;
    const v = rules.tuningSet(set);
    showSide(rx.controls, v.rx);
    showSide(tx.controls, v.tx);
  };
  const showItem = (value: number, label: string) => {
    store();
    shownSet = 0;
    item = value;
    note.textContent = label;
    frequencyPage.hidden = true;
    itemPage.hidden = false;
    restore.hidden = false;
    slider.value = String(rules.tuningItemValue(item));
    position.textContent = t('TuningPosition', slider.value);
    showWillSend();
  };
  nav.append(el('h3', {}, t('TuningFrequencies')));
  for (const [set, key] of SETS) {
    const b = el('button', { type: 'button', 'data-set': String(set) }, t(key));
    b.addEventListener('click', () => showSet(set, t(key)));
    nav.append(b);
  }
  nav.append(el('h3', {}, t('TuningItems')));
  for (const [value, key] of ITEMS) {
    const b = el('button', { type: 'button', 'data-item': String(value) }, t(key));
    b.addEventListener('click', () => showItem(value, t(key)));
    nav.append(b);
  }
  const exit = el('button', { type: 'button', id: 'tune-exit' }, t('TuningQuit'));
  nav.append(exit);

  restore.addEventListener('click', () => {
    const shown = !itemPage.hidden ? TuningPage.Item : !frequencyPage.hidden ? TuningPage.FrequencySet : TuningPage.None;
    const warning = rules.tuningRestoreDefaults(shown, shownSet, item);
    if (warning) return void showMessage(warning, undefined, MessageIcon.Warning);
    if (shown === TuningPage.Item) {
      slider.value = String(rules.tuningItemValue(item));
      position.textContent = t('TuningPosition', slider.value);
    } else {
      showSet(shownSet, note.textContent ?? '');
    }
  });
  let running = false;
  start.addEventListener('click', async () => {
    if (running) return;
    running = true;
    // The keys stay in the window while 开始 is greyed, and come back to it.
    dialog.focus();
    start.disabled = true;
    const set = chosenSet();
    try {
      await send(set, item);
    } finally {
      running = false;
      start.disabled = false;
      start.focus();
    }
  });

  document.body.append(dialog);
  dialog.showModal();
  (nav.querySelector('button') as HTMLButtonElement).focus();
  return new Promise((resolve) => {
    const close = () => {
      if (running) return;
      dialog.close();
      dialog.remove();
      resolve();
    };
    exit.addEventListener('click', close);
    dialog.addEventListener('cancel', (e) => {
      e.preventDefault();
      close();
    });
  });
}
