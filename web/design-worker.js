// The automatic design off the page's thread: the same search as
// `diaspring-cli design --json`, on one thread, reporting its progress. The
// one-file page runs this text after the core's classic script.
import createDiaspring from './diaspring.mjs';

createDiaspring().then((core) => {
  self.onmessage = (event) => {
    let last = 0;
    const progress = (line) => {
      const m = /(\d+)\/(\d+)/.exec(line);
      const now = performance.now();
      if (m && now - last > 100) {
        last = now;
        self.postMessage({ progress: [Number(m[1]), Number(m[2])] });
      }
    };
    self.postMessage({ done: JSON.parse(core.runDesign(JSON.stringify(event.data.args), progress)) });
  };
  self.postMessage({ ready: true });
}, (err) => self.postMessage({ failed: String(err?.message || err) }));
