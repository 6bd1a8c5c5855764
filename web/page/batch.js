// Many files in one run, as the command-line tool runs the inputs of one
// output folder: each file in turn, a later file refused when its result
// would replace an earlier one's, and at the end one zip of every result
// with the report the tool prints.

// The page hands the event loop back this often during a run, to paint its
// progress and answer the person; a turn per file would cost more than the
// calculation of a file.
const SLICE_MS = 50;

// A chosen file as the core takes it, or the browser's refusal to read it
// (a folder dropped, a file removed since it was chosen).
export async function asInput(file) {
  try {
    return { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) };
  } catch (error) {
    return { name: file.name, unread: `The file "${file.name}" could not be read (${error.message}); `
      + 'choose a file, not a folder, that is still there.' };
  }
}

// The core's describe or calculate answer for an input, or the refusal of a
// file the browser could not read.
export function ask(core, what, input, settings) {
  if (input.unread) return { ok: false, label: input.name, message: input.unread };
  return what === 'describe' ? core.describe(input) : core.calculate(input, settings);
}

// A new task of the event loop, queued at once: a timer's would wait for its
// clamp and often for the next frame.
const channel = new MessageChannel();
function nextTask() {
  return new Promise((resolve) => {
    channel.port1.onmessage = () => resolve();
    channel.port2.postMessage(null);
  });
}

// Yields the core's answer for each file in turn.
export async function* calculateAll(core, files, settings) {
  // The zip's report is a file of the run too; no result may take its name.
  const taken = new Set(['report.txt']);
  // All files are asked for at once, so that the browser reads the later
  // ones while the earlier ones are calculated.
  const reading = files.map(asInput);
  let sliceStart = performance.now();
  for (const pending of reading) {
    if (performance.now() - sliceStart > SLICE_MS) {
      await nextTask();
      sliceStart = performance.now();
    }
    const answer = ask(core, 'calculate', await pending, settings);
    const clash = answer.ok && [answer.resultName, answer.camberName].find((n) => taken.has(n));
    if (clash) {
      const { label, summary, title, input } = answer;
      yield {
        ok: false, label, summary, title, input,
        message: core.earlierResultMessage(clash),
      };
      continue;
    }
    if (answer.ok) [answer.resultName, answer.camberName].forEach((n) => taken.add(n));
    yield answer;
  }
}

// The table rows of files not calculated yet.
export function waitingRows(table, files) {
  table.tBodies[0].replaceChildren(...files.map((file) => {
    const row = document.createElement('tr');
    for (const text of [file.name, 'waiting', '']) row.insertCell().textContent = text;
    return row;
  }));
}

// Fills a file's row with its outcome; its name becomes a button that
// shows that file's result (`onShow`).
export function fillRow(row, name, answer, onShow) {
  const [fileCell, outcome, report] = row.cells;
  const button = document.createElement('button');
  button.type = 'button';
  button.className = 'link';
  button.textContent = name;
  button.addEventListener('click', onShow);
  fileCell.replaceChildren(button);
  outcome.textContent = answer.ok ? 'done' : 'refused';
  outcome.className = outcome.textContent;
  if (answer.ok) {
    report.textContent = answer.report.trimEnd();
    return;
  }
  const [first, ...rest] = answer.message.trimEnd().split('\n');
  report.title = answer.message;
  if (!rest.length) {
    report.textContent = first;
    return;
  }
  const details = document.createElement('details');
  details.append(document.createElement('summary'), rest.join('\n'));
  details.firstChild.textContent = first;
  report.replaceChildren(details);
}

// The lines the tool prints for the run: a done file's report lines, a
// refused file's message lines and "NAME: refused", each led by its name.
function reportOf(names, answers) {
  return answers.map((answer, i) => {
    if (answer.ok) return answer.report;
    const name = answer.label ?? names[i];
    return answer.message.trimEnd().split('\n').map((line) => `${name}: ${line}\n`).join('')
      + `${name}: refused\n`;
  }).join('');
}

// The zip of every result and camber file of the run, with report.txt. The
// zip library is fetched the first time, so that a page without a run of many
// files never loads it.
export async function zipOf(names, answers) {
  const { zipSync, strToU8 } = await import('./vendor/fflate.js');
  const files = {};
  for (const answer of answers.filter((a) => a.ok)) {
    files[answer.resultName] = answer.resultBytes;
    files[answer.camberName] = answer.camberBytes;
  }
  files['report.txt'] = strToU8(reportOf(names, answers));
  return zipSync(files);
}
