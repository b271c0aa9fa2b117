// The automatic design off the page's thread: the same search as
// `diaspring-cli design --json`, as part `part` of `parts` workers that run
// the same searches: each examines its part of the first search's grids and
// stops with it until the page gives it the parts of all (a list of [grid,
// parts]), then runs again with them (see design-pool.js). The one-file page runs this text after the core's
// classic script.
import createDiaspring from './diaspring.mjs';

createDiaspring().then((core) => {
  let design = null;
  let args = null;
  let last = 0;
  let latest = null;
  const progress = (...rows) => {
    latest = rows;
    const now = performance.now();
    if (now - last > 100) {
      last = now;
      self.postMessage({ progress: rows });
    }
  };
  const run = () => {
    latest = null;
    const r = JSON.parse(design.run(JSON.stringify(args), progress));
    if (latest) self.postMessage({ progress: latest });  // all of its part
    self.postMessage(r.done ? { done: r.done } : { stopped: r.stopped, slice: r.slice });
  };
  self.onmessage = (event) => {
    const m = event.data;
    if (m.start) {
      args = m.start.args;
      design = new core.DesignWorker(m.start.part, m.start.parts);
    } else if (m.give) {
      for (const [grid, parts] of m.give) design.give(grid, parts);
    }
    run();
  };
  self.postMessage({ ready: true });
}, (err) => self.postMessage({ failed: String(err?.message || err) }));
