// The page's part of the web edition: it routes the fields' events to the core (loadcalc.wasm)
// and replays what the core's checks did, in their order. The core answers each event with the
// list of its effects (text writes, captions, selections, the tooltip, messages, beeps), computed
// to the end at once against its own copy of the texts; a message is a modal <dialog>, and the
// replay waits at it until it is closed, so that what the user sees happens in the desktop's
// order. While the dialog is open it blocks every input to the page.
'use strict';

(() => {
  const encoder = new TextEncoder();
  const decoder = new TextDecoder();
  const byId = (id) => document.getElementById(id);
  let core;
  // The fields and the calculations' result labels by control name, numbered as the core numbers
  // them.
  let controls;

  // The core needs of WASI only to write to standard error, which goes to the console here.
  function wasiImports() {
    const write = (fd, iovs, count, written) => {
      const view = new DataView(core.memory.buffer);
      let text = '';
      let total = 0;
      for (let i = 0; i < count; i++) {
        const base = view.getUint32(iovs + 8 * i, true);
        const length = view.getUint32(iovs + 8 * i + 4, true);
        text += decoder.decode(new Uint8Array(core.memory.buffer, base, length));
        total += length;
      }
      console.log(text);
      view.setUint32(written, total, true);
      return 0;
    };
    const nosys = () => 52;
    return new Proxy({ fd_write: write }, { get: (t, name) => t[name] || nosys });
  }

  async function loadCore() {
    const inline = byId('loadcalc-wasm');
    const bytes = inline
      ? Uint8Array.from(atob(inline.textContent.trim()), (c) => c.charCodeAt(0))
      : await (await fetch('loadcalc.wasm')).arrayBuffer();
    const { instance } = await WebAssembly.instantiate(bytes, {
      wasi_snapshot_preview1: wasiImports(),
    });
    core = instance.exports;
    core._initialize();
  }

  const answer = (pointer) =>
    decoder.decode(new Uint8Array(core.memory.buffer, pointer, core.lc_output_size()));

  function hand(text) {
    const bytes = encoder.encode(text);
    new Uint8Array(core.memory.buffer, core.lc_input(bytes.length), bytes.length).set(bytes);
  }

  // The core counts characters (code points); a text field counts UTF-16 units.
  function utf16Offset(text, chars) {
    let pos = 0;
    for (let n = 0; n < chars && pos < text.length; n++) {
      const c = text.charCodeAt(pos);
      pos += c >= 0xd800 && c < 0xdc00 && pos + 1 < text.length ? 2 : 1;
    }
    return pos;
  }

  let audio;
  window.loadcalcBeeps = 0;
  function beep() {
    window.loadcalcBeeps++;
    audio ??= new AudioContext();
    const tone = audio.createOscillator();
    const level = audio.createGain();
    tone.frequency.value = 880;
    level.gain.value = 0.2;
    tone.connect(level).connect(audio.destination);
    tone.start();
    tone.stop(audio.currentTime + 0.12);
  }

  // Coming back from the dialog is not an arrival in the field: the selection stays as it is.
  let replaying = false;

  function showMessage(prompt, title) {
    const dialog = byId('Message');
    dialog.querySelector('.title').textContent = title;
    dialog.querySelector('.prompt').textContent = prompt;
    dialog.showModal();
    return new Promise((done) => dialog.addEventListener('close', done, { once: true }));
  }

  async function apply([kind, ...args]) {
    if (kind === 'text') byId(args[0]).value = args[1];
    else if (kind === 'caption') byId(args[0]).textContent = args[1];
    else if (kind === 'tooltip') byId('Picture1').title = args[0];
    else if (kind === 'beep') beep();
    else if (kind === 'message') await showMessage(args[0], args[1]);
    else if (kind === 'selection') {
      const field = byId(args[0]);
      const start = utf16Offset(field.value, args[1]);
      field.setSelectionRange(start, utf16Offset(field.value, args[1] + args[2]));
    }
  }

  // One event's effects after another's, never interleaved.
  let queue = Promise.resolve();
  function replay(json) {
    const effects = JSON.parse(json);
    queue = queue.then(async () => {
      replaying = true;
      try {
        for (const effect of effects) await apply(effect);
      } finally {
        replaying = false;
      }
    });
    return queue;
  }

  function wireField(field, index) {
    // The key filter sees each typed character; an input method's text and a paste pass as they
    // are, and the change check judges them.
    field.addEventListener('beforeinput', (event) => {
      if (event.inputType !== 'insertText' || !event.data) return;
      if (core.lc_key_filter(event.data.codePointAt(0)) === 0) event.preventDefault();
    });
    field.addEventListener('keydown', (event) => {
      if (event.key === 'Enter' && !event.isComposing) replay(answer(core.lc_enter(index)));
    });
    // Every edit is judged, even one that leaves the text as it was (a character typed over its
    // own selection), as the desktop's field reports every insertion. An input method's text is
    // judged once it is committed, not while it is being composed (pinyin letters on the way to a
    // character would each be reported); some browsers report a commit twice, at compositionend
    // and in an input event after it, so a commit is judged only when it changed the text.
    const judge = (call) => {
      hand(field.value);
      replay(answer(call(index)));
    };
    field.addEventListener('input', (event) => {
      if (!event.isComposing)
        judge(event.inputType.includes('Composition') ? core.lc_commit : core.lc_edit);
    });
    field.addEventListener('compositionend', () => judge(core.lc_commit));
    let clickedInto = false;
    field.addEventListener('mousedown', () => (clickedInto = document.activeElement !== field));
    field.addEventListener('focus', () => {
      if (!replaying) field.setSelectionRange(0, field.value.length);
    });
    // The caret a click puts down would undo the selection; a drag that selected part keeps it.
    field.addEventListener('mouseup', () => {
      if (clickedInto && field.selectionStart === field.selectionEnd)
        field.setSelectionRange(0, field.value.length);
      clickedInto = false;
    });
  }

  function copy(text, html) {
    const item = new ClipboardItem({
      'text/plain': new Blob([text], { type: 'text/plain' }),
      'text/html': new Blob([html], { type: 'text/html' }),
    });
    return navigator.clipboard.write([item]).catch(() => {
      // Where the Clipboard API is refused (an old browser, a page opened from disk in some),
      // the copy command still carries both types.
      const both = (event) => {
        event.clipboardData.setData('text/plain', text);
        event.clipboardData.setData('text/html', html);
        event.preventDefault();
      };
      document.addEventListener('copy', both, { once: true });
      document.execCommand('copy');
    });
  }

  const escapeHtml = (s) => s.replace(/[&<>"]/g, (c) => `&#${c.charCodeAt(0)};`);
  const htmlDocument = (body) => `<html><head><meta charset="utf-8"></head><body>${body}</body></html>`;

  function wireResult(label, index) {
    const tip = byId('Working');
    const show = () => {
      tip.innerHTML = answer(core.lc_working(index, 1));
      const box = label.getBoundingClientRect();
      tip.style.left = `${box.left + window.scrollX}px`;
      tip.style.top = `${box.bottom + window.scrollY + 4}px`;
      tip.hidden = false;
    };
    const hide = () => (tip.hidden = true);
    label.addEventListener('mouseenter', show);
    label.addEventListener('focus', show);
    label.addEventListener('mouseleave', () => document.activeElement !== label && hide());
    label.addEventListener('blur', hide);
    label.addEventListener('contextmenu', (event) => {
      event.preventDefault();
      const menu = byId('Menu');
      menu.dataset.result = index;
      menu.style.left = `${event.pageX}px`;
      menu.style.top = `${event.pageY}px`;
      menu.hidden = false;
      menu.querySelector('button').focus();
    });
  }

  function wireMenu() {
    const menu = byId('Menu');
    const close = () => (menu.hidden = true);
    const actions = {
      copyResult: (i) => {
        const caption = byId(controls.results[i]).textContent;
        return copy(caption, htmlDocument(escapeHtml(caption)));
      },
      copyWorking: (i) =>
        copy(answer(core.lc_working(i, 0)), htmlDocument(answer(core.lc_working(i, 1)))),
      printSheet: () => window.print(),
    };
    menu.addEventListener('click', (event) => {
      const action = event.target.closest('button')?.dataset.action;
      if (!action) return;
      close();
      actions[action](Number(menu.dataset.result));
    });
    document.addEventListener('mousedown', (e) => !menu.contains(e.target) && close());
    menu.addEventListener('keydown', (e) => e.key === 'Escape' && close());
    byId('Message').querySelector('button').addEventListener('click', () => byId('Message').close());
  }

  // Printing the page prints the calculation sheet of the texts as they stand.
  function writeSheet() {
    hand(new Date().toISOString().slice(0, 10));
    byId('Sheet').innerHTML = answer(core.lc_sheet_html());
  }

  // The focus goes round: from the sketch back to Text1, and the other way with Shift+Tab.
  function wireFocusRing() {
    const first = byId('Text1');
    const last = byId('Picture1');
    const wrap = (from, to, shift) =>
      from.addEventListener('keydown', (event) => {
        if (event.key !== 'Tab' || event.shiftKey !== shift) return;
        event.preventDefault();
        to.focus();
      });
    wrap(last, first, false);
    wrap(first, last, true);
  }

  async function start() {
    await loadCore();
    controls = JSON.parse(answer(core.lc_controls()));
    controls.fields.forEach((name, i) => wireField(byId(name), i));
    controls.results.forEach((name, i) => wireResult(byId(name), i));
    wireMenu();
    wireFocusRing();
    window.addEventListener('beforeprint', writeSheet);
    window.matchMedia('print').addEventListener('change', (m) => m.matches && writeSheet());
    await replay(answer(core.lc_start()));
    writeSheet();
    document.body.dataset.ready = 'true';
    byId('Text1').focus();
    performance.mark('loadcalc-captions');
  }

  start();
})();
