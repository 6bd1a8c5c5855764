// The page: which input is current, the settings as typed, and the core's
// answers shown in the status line, the plot, the two result files and the
// table of a run of many files. The page computes nothing itself; the core
// (quilane.js, loaded before this module) reads, calculates and refuses.
import { Plot } from './plot.js';
import { ask, asInput, calculateAll, fillRow, waitingRows, zipOf } from './batch.js';

const $ = (id) => document.getElementById(id);
const plot = new Plot($('plot'));
let core = null;
let input = null; // what Calculate takes: {files: File[]} or {naca: code}; the one chosen last
let shown = null; // the answer on show, which names the plot's files
let reads = 0; // counts reads, so that a slow read never shows over a newer one
let run = null; // the last run of many files: {names, answers}, for its zip

function say(text, refused = false) {
  $('status').textContent = text;
  $('status').classList.toggle('refused', refused);
}

// The result files shown as they are: UTF-8 when they are valid UTF-8, else
// the Windows code page that older coordinate files carry.
function decode(bytes) {
  try {
    return new TextDecoder('utf-8', { fatal: true }).decode(bytes);
  } catch {
    return new TextDecoder('windows-1252').decode(bytes);
  }
}

// A link downloads `bytes` as `name`; without bytes it is disabled.
const links = new Map();
function offer(id, name, bytes, type = 'text/plain') {
  const link = $(id);
  if (links.has(id)) URL.revokeObjectURL(links.get(id));
  links.delete(id);
  if (!bytes) {
    link.removeAttribute('href');
    link.removeAttribute('download');
    link.setAttribute('aria-disabled', 'true');
    link.textContent = link.dataset.idle;
    return;
  }
  links.set(id, URL.createObjectURL(new Blob([bytes], { type })));
  link.href = links.get(id);
  link.download = name;
  link.removeAttribute('aria-disabled');
  link.textContent = `Download ${name}`;
}

function save(name, blob) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  link.click();
  setTimeout(() => URL.revokeObjectURL(link.href), 60000);
}

function settings() {
  return {
    points: $('points').value,
    mapping: $('mapping').checked,
    method: $('method-pwcubic').checked ? 'pwcubic' : 'lagrange',
    npoly: $('npoly').value,
    onSpline: $('on-spline').checked,
    format: $('format').value,
  };
}

// Shows an answer of describe or calculate, or nothing (null): a reading
// shows its input alone, a calculation its results too, a refusal what was
// read before it refused.
function show(answer) {
  shown = answer;
  const done = Boolean(answer?.ok && answer.resultBytes);
  if (answer) {
    say([answer.summary, answer.ok ? answer.report : answer.message]
      .filter(Boolean).join('\n').trimEnd(), !answer.ok);
  }
  plot.show({
    title: answer?.title,
    input: answer?.input,
    resultTitle: done ? answer.resultTitle : '',
    points: done ? answer.points : null,
    camber: done ? answer.camber : null,
  });
  $('result-text').textContent = done ? decode(answer.resultBytes) : '';
  $('camber-text').textContent = done ? decode(answer.camberBytes) : '';
  offer('download-result', done && answer.resultName, done && answer.resultBytes);
  offer('download-camber', done && answer.camberName, done && answer.camberBytes);
}

// Reads the current input: one file or a code is described and plotted,
// several files wait in the table for Calculate.
async function load() {
  const several = input?.files?.length > 1;
  $('batch-section').hidden = !several;
  run = null;
  $('download-zip').disabled = true;
  if (!core || !input) return;
  if (several) {
    show(null);
    waitingRows($('batch'), input.files);
    $('batch-progress').value = 0;
    say(`${input.files.length} files chosen; Calculate runs each of them in turn.`);
    return;
  }
  const read = ++reads;
  const given = input.naca ? { naca: input.naca } : await asInput(input.files[0]);
  if (read === reads) show(ask(core, 'describe', given));
}

function chooseFiles(files) {
  if (!files.length) return;
  input = { files: [...files] };
  $('naca').value = '';
  load();
}

async function calculateMany(files) {
  const answers = [];
  waitingRows($('batch'), files);
  run = null;
  $('download-zip').disabled = true;
  const rows = $('batch').tBodies[0].rows;
  [$('batch-progress').value, $('batch-progress').max] = [0, files.length];
  say(`Calculating ${files.length} files…`);
  // The rows are laid out once, at the end: laying out a long table at every
  // turn of the event loop would cost more than the calculation.
  $('batch').tBodies[0].hidden = true;
  for await (const answer of calculateAll(core, files, settings())) {
    const i = answers.push(answer) - 1;
    fillRow(rows[i], files[i].name, answer, () => show(answer));
    $('batch-progress').value = answers.length;
  }
  $('batch').tBodies[0].hidden = false;
  const refused = answers.filter((answer) => !answer.ok).length;
  say(`${files.length} files: ${files.length - refused} done, ${refused} refused. `
    + 'Choose a file name in the table to see its result.', refused > 0);
  run = { names: files.map((f) => f.name), answers };
  $('download-zip').disabled = false;
}

async function calculate() {
  if (!input) {
    say('Open a coordinate file or type a NACA code first.');
    return;
  }
  const focused = document.activeElement;
  document.body.dataset.busy = '1';
  $('controls').disabled = true;
  try {
    if (input.files?.length > 1) {
      await calculateMany(input.files);
    } else {
      ++reads;
      const given = input.naca ? { naca: input.naca } : await asInput(input.files[0]);
      show(ask(core, 'calculate', given, settings()));
    }
  } catch (error) {
    // The core refuses with values; an exception means it stopped (out of
    // memory, say), and it is not used again until the page is reloaded.
    core = null;
    $('calculate').disabled = true;
    say(`The calculation stopped unexpectedly (${error}); reload the page to go on.`, true);
  } finally {
    $('controls').disabled = false;
    delete document.body.dataset.busy;
    // Disabling the controls took the keyboard from the button; give it back.
    if (document.activeElement === document.body) focused?.focus();
  }
}

$('file').addEventListener('change', (e) => chooseFiles(e.target.files));
$('naca').addEventListener('input', (e) => {
  const code = e.target.value.trim();
  input = code ? { naca: code } : null;
  $('file').value = '';
  $('batch-section').hidden = true;
});
$('naca').addEventListener('change', () => input?.naca && load());
$('naca').addEventListener('keydown', (e) => e.key === 'Enter' && input?.naca && load());
$('calculate').addEventListener('click', calculate);

// Files dropped anywhere on the page open as if chosen.
const carriesFiles = (e) => e.dataTransfer?.types.includes('Files');
document.addEventListener('dragover', (e) => {
  if (!carriesFiles(e)) return;
  e.preventDefault();
  document.body.classList.add('dropping');
});
document.addEventListener('dragleave', (e) => {
  if (!e.relatedTarget) document.body.classList.remove('dropping');
});
document.addEventListener('drop', (e) => {
  if (!carriesFiles(e)) return;
  e.preventDefault();
  document.body.classList.remove('dropping');
  if (document.body.dataset.busy || !e.dataTransfer.files.length) return;
  $('file').files = e.dataTransfer.files;
  chooseFiles(e.dataTransfer.files);
});

// The zip is made when asked for, so that a run does not wait for it.
$('download-zip').addEventListener('click', async () => {
  if (!run) return;
  try {
    const zip = await zipOf(run.names, run.answers);
    save('quilane-results.zip', new Blob([zip], { type: 'application/zip' }));
  } catch (error) {
    say(`The zip could not be made (${error}); reload the page and try again.`, true);
  }
});
$('reset-view').addEventListener('click', () => plot.reset());
const plotName = () => `${(shown?.resultName ?? shown?.label ?? 'airfoil')
  .replace(/\.[^.]*$/, '')}-plot`;
$('download-svg').addEventListener('click', () => {
  save(`${plotName()}.svg`, new Blob([plot.svgText()], { type: 'image/svg+xml' }));
});
$('download-png').addEventListener('click', async () => save(`${plotName()}.png`, await plot.png()));

// quilane.js defines createQuilane; a failure to load it or the wasm is
// told, and Calculate stays disabled.
Promise.resolve().then(() => createQuilane()).then((loaded) => {
  core = loaded;
  $('version').textContent = core.version;
  $('calculate').disabled = false;
  document.body.dataset.ready = '1';
  // The zip library is fetched once the page is ready, so that it does not
  // delay the start and a zip can still be made after the network is gone.
  import('./vendor/fflate.js').catch(() => {});
  if (input) load();
  else say('Open a coordinate file or type a NACA code, then press Calculate.');
}, (error) => say(`The calculation core could not be loaded (${error}); reload the page.`, true));
plot.show({});
