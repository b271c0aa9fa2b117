// Speed of the page in Debian's chromium (a measurement, not a test): first
// load (module compiled, window drawn), the core's press against the same
// benchmark natively (wall clock and processor time), a keystroke and a press of the curve button with up
// to 400 curves on the chart (each a new design, drawn and painted), the JS
// heap per press, the default automatic design on 1, 2 and 4 workers (and
// natively on 2 threads), and the size of the page.
//   node tests/web/bench_page.mjs SITE_DIR_OR_ONE_FILE [NATIVE_BENCH [CLI]]
import { execFileSync, spawnSync } from 'node:child_process';
import { readFileSync, readdirSync, statSync } from 'node:fs';
import { loadavg } from 'node:os';
import { join } from 'node:path';
import { engine, isOneFile, openPage } from './browser.mjs';

if (engine !== 'chromium') throw new Error('the benchmark reads chromium\'s heap and renderer: DIASPRING_BROWSER=chromium');

const [target, nativeBench, cli] = process.argv.slice(2);
const size = isOneFile(target) ? statSync(target).size
  : readdirSync(target).reduce((sum, f) => sum + statSync(join(target, f)).size, 0);
const { page, browser, load, close } = await openPage(target);
// The main threads of the browser's renderer processes, and the processor
// time a thread has used (ms).
const rendererThreads = (pid) => {
  let kids = [];
  try { kids = readFileSync(`/proc/${pid}/task/${pid}/children`, 'utf8').trim().split(/\s+/).filter(Boolean).map(Number); } catch { /* gone */ }
  const own = (() => { try { return readFileSync(`/proc/${pid}/cmdline`, 'utf8').includes('--type=renderer'); } catch { return false; } })();
  return [...(own ? [pid] : []), ...kids.flatMap(rendererThreads)];
};
const TICK_MS = 1000 / Number(execFileSync('getconf', ['CLK_TCK'], { encoding: 'utf8' }));
const cpuMs = (pid) => {
  const f = readFileSync(`/proc/${pid}/task/${pid}/stat`, 'utf8').split(') ')[1].split(' ');
  return (Number(f[11]) + Number(f[12])) * TICK_MS;  // utime + stime
};
const frame = () => page.evaluate(() => new Promise((ok) => requestAnimationFrame(() => setTimeout(ok, 0))));
try {
  const loads = [];
  for (let i = 0; i < 5; ++i) {
    loads.push(await load());
    await page.evaluate(() => localStorage.clear());
  }
  const cdp = await page.createCDPSession();
  const heap = async () => {
    await cdp.send('HeapProfiler.collectGarbage');
    return (await cdp.send('Runtime.getHeapUsage')).usedSize;
  };
  // The core's press, median of five runs, against the native build's: wall
  // clock, and processor time (the renderer's main thread, from /proc, in
  // clock ticks) as the native benchmark's cpu_time, which a loaded machine
  // leaves comparable.
  const median = (xs) => [...xs].sort((a, b) => a - b)[Math.floor(xs.length / 2)];
  const renderers = rendererThreads(browser.process().pid);
  const presses = 300;
  const coreRuns = [];
  const coreCpu = [];
  for (let i = 0; i < 5; ++i) {
    const before = renderers.map(cpuMs);
    coreRuns.push(await page.evaluate((n) => window.diaspring.benchCore(n), presses));
    coreCpu.push(Math.max(...renderers.map((t, j) => cpuMs(t) - before[j])) / presses);
  }
  const core = median(coreRuns);
  const native = nativeBench ? JSON.parse(execFileSync(nativeBench, ['--benchmark_filter=BM_SessionPress$',
    '--benchmark_repetitions=5', '--benchmark_report_aggregates_only=true', '--benchmark_format=json'], { encoding: 'utf8' }))
    .benchmarks.find((b) => b.aggregate_name === 'median') : null;
  await page.evaluate(() => window.diaspring.reset());
  // Each press draws a new curve: h steps through its slider's range.
  const curves = 400;
  const marks = new Set([1, 100, 200, 300, 400]);
  const at = {};
  const heapStart = await heap();
  for (let n = 1; n <= curves; ++n) {
    const h = (2 + (n % 200) / 100).toFixed(2);
    const ms = await page.evaluate(async (text) => {
      const t0 = performance.now();
      window.diaspring.act([{ set: ['h', text] }]);
      await new Promise((ok) => requestAnimationFrame(() => setTimeout(ok, 0)));
      const t1 = performance.now();
      window.diaspring.act([{ press: 'Command1' }]);
      await new Promise((ok) => requestAnimationFrame(() => setTimeout(ok, 0)));
      return { keystroke: t1 - t0, press: performance.now() - t1 };
    }, h);
    if (marks.has(n)) at[n] = { keystrokeMs: +ms.keystroke.toFixed(1), pressMs: +ms.press.toFixed(1), heapMB: +((await heap()) / 1e6).toFixed(2) };
  }
  const heapEnd = await heap();
  await frame();
  // The default automatic design (the dialog's request) on 1, 2 and 4
  // workers, DIASPRING_DESIGN_RUNS times each in turn (the median and every
  // run, with the load average before and after), and natively on 2
  // threads when the command line is given.
  const design = { loadBefore: loadavg()[0] };
  const runs = Math.max(1, Number(process.env.DIASPRING_DESIGN_RUNS) || 1);
  for (let run = 0; run < runs; ++run) {
    for (const workers of [1, 2, 4]) {
      const r = await page.evaluate(async (n) => {
        const t0 = performance.now();
        const outcome = await window.diaspring.runDesign(window.diaspring.designArgs(), () => {}, n);
        return { ms: Math.round(performance.now() - t0), designs: JSON.parse(outcome.out).designs.length };
      }, workers);
      const entry = design[`workers${workers}`] ??= { designs: r.designs, runs: [] };
      entry.runs.push(r.ms);
      entry.ms = median(entry.runs);
    }
  }
  design.loadAfter = loadavg()[0];
  if (cli) {
    const args = await page.evaluate(() => window.diaspring.designArgs());
    const t0 = performance.now();
    spawnSync(cli, ['design', ...args.map((a, i) => (args[i - 1] === '--threads' ? '2' : a))]);
    design.nativeThreads2 = { ms: Math.round(performance.now() - t0) };
  }
  console.log(JSON.stringify({
    bytes: size,
    firstLoadMs: { min: Math.min(...loads), all: loads },
    withCurvesOnTheChart: at,
    heapGrowthPerPressMB: +((heapEnd - heapStart) / curves / 1e6).toFixed(4),
    sessionPressMs: { page: +core.toFixed(3), pageRuns: coreRuns.map((x) => +x.toFixed(2)),
      pageCpu: +median(coreCpu).toFixed(3), pageCpuRuns: coreCpu.map((x) => +x.toFixed(2)),
      native: native && +native.real_time.toFixed(3), nativeCpu: native && +native.cpu_time.toFixed(3) },  // in ms, the unit of BM_SessionPress
    autoDesign: design,
  }, null, 1));
} finally {
  await close();
}
