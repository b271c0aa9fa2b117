// Speed of the page in Debian's chromium (a measurement, not a test): first
// load (module compiled, window drawn), the curve button per press, the
// default automatic design, and the size of the site.
//   node tests/web/bench_page.mjs SITE_DIR
import { readdirSync, statSync } from 'node:fs';
import { join } from 'node:path';
import { openPage } from './browser.mjs';

const siteDir = process.argv[2];
const size = readdirSync(siteDir).reduce((sum, f) => sum + statSync(join(siteDir, f)).size, 0);
const { page, load, close } = await openPage(siteDir);
try {
  const loads = [];
  for (let i = 0; i < 5; ++i) {
    loads.push(await load());
    await page.evaluate(() => localStorage.clear());
  }
  const press = await page.evaluate(() => window.diaspring.bench(50));
  const design = await page.evaluate(async () => {
    const t0 = performance.now();
    const outcome = await window.diaspring.runDesign(['--json', '--threads', '1']);
    return { ms: performance.now() - t0, designs: JSON.parse(outcome.out).designs.length };
  });
  console.log(JSON.stringify({
    siteBytes: size,
    firstLoadMs: { min: Math.min(...loads), all: loads },
    curvePressMs: press,
    autoDesign: design,
  }, null, 1));
} finally {
  await close();
}
