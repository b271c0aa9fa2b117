// The automatic design on several workers at once: each runs the same
// design command as part of the pool and examines its part of the first
// search's grid (rows split evenly); when all have stopped at a grid with
// their parts, the first worker is given all the parts and goes on alone
// with everything after them: the front, the window check, the explanation
// and the further searches, whose grids it examines whole (the others would
// have to run all that again to reach them). The others run again only when
// the first stops at a further grid of the first search. The result is the
// same to the character as one worker's, whatever the number of workers.

// One worker per core, at most 8.
export function poolSize() {
  return Math.max(1, Math.min(8, Math.floor(navigator.hardwareConcurrency) || 1));
}

// Runs the design command `args` on `workers` workers made by makeWorker();
// onProgress(done, total) hears the grid rows done by all of them.
// Returns {promise, cancel}: the promise resolves to the outcome ({status,
// out, err}, "seconds" the time of the whole run), or to null after
// cancel(), which stops every worker at once.
export function runPool(args, { workers = poolSize(), makeWorker, onProgress = () => {} }) {
  const pool = [];
  let settle = null;
  const promise = new Promise((resolve) => { settle = resolve; });
  let over = false;
  const finish = (outcome) => {
    if (over) return;
    over = true;
    for (const w of pool) w.terminate();
    settle(outcome);
  };
  const failed = (message) => finish({ status: 2, out: '', err: `自动设计无法启动：${message}` });
  const started = performance.now();
  const slices = new Map();  // grid number -> the parts' texts
  const rows = new Map();    // grid number -> rows done by each part
  let shown = [0, 1];
  const show = (done, total) => {
    shown = [done, total];
    onProgress(done, total);
  };
  // The parts of each grid, and for each worker whether it is examining a
  // grid (it runs from its start or from a give until it stops).
  const busy = [];
  const complete = [];  // [grid number, the parts' texts] of the grids all parts are in
  const giveAll = (w) => w.postMessage({ give: complete });
  for (let part = 0; part < workers && !over; ++part) {
    let w;
    try {
      w = makeWorker();
    } catch (err) {
      failed(String(err?.message || err));
      break;
    }
    pool.push(w);
    busy.push(true);
    w.onerror = (e) => {
      e.preventDefault();
      failed(e.message || '计算程序未能载入');
    };
    w.onmessage = ({ data: m }) => {
      if (m.failed) failed(m.failed);
      else if (m.ready) w.postMessage({ start: { args, part, parts: workers } });
      else if (m.progress) {
        const [grid, done, offset, total] = m.progress;
        if (!rows.has(grid)) rows.set(grid, new Array(workers).fill(0));
        rows.get(grid)[part] = done;
        show(offset + rows.get(grid).reduce((a, b) => a + b, 0), total);
      } else if (m.done) {
        show(shown[1], shown[1]);
        const seconds = ((performance.now() - started) / 1000).toFixed(3);
        finish({ ...m.done, out: m.done.out.replace(/"seconds":[^,}]*/, `"seconds":${seconds}`) });
      } else if (m.stopped !== undefined) {
        busy[part] = false;
        if (m.slice === '') return;  // a later search's grid: the first worker's alone
        if (!slices.has(m.stopped)) slices.set(m.stopped, []);
        const parts = slices.get(m.stopped);
        parts[part] = m.slice;
        if (parts.filter((s) => s !== undefined).length === workers) {
          complete.push([m.stopped, parts]);
          busy[0] = true;
          giveAll(pool[0]);
        } else if (part === 0) {
          // The first worker waits at a grid: the others that have not
          // examined their part of it run again to reach it.
          pool.forEach((each, p) => {
            if (p > 0 && !busy[p] && parts[p] === undefined) {
              busy[p] = true;
              giveAll(each);
            }
          });
        }
      }
    };
  }
  return { promise, cancel: () => finish(null) };
}
