// The README's picture of the page's comparison: the default design run, a
// pinned curve of a thinner spring, the sample rig curve imported.
//   node tests/web/shot_compare.mjs build/web/diaspring.html docs/web-compare.png
import { resolve } from 'node:path';
import { shoot } from './shot.mjs';

const [target, out] = process.argv.slice(2);
await shoot(target, out, { width: 1220, height: 900 }, async (page) => {
  await page.evaluate(() => window.diaspring.act([{ set: ['h', '2.2'] }, { press: 'Command1' }]));
  await page.click('#compare > summary');
  await page.click('#comparePin');
  await page.evaluate(() => window.diaspring.act([{ set: ['h', '2.25'] }, { press: 'Command1' }]));
  const [chooser] = await Promise.all([page.waitForFileChooser(), page.click('#compareImport')]);
  await chooser.accept([resolve('docs/sample-rig.csv')]);
  await page.waitForSelector('#compareMeasured tr[data-row="0"]');
  await page.click('#compareMeasured tr[data-row="0"] td');
  const box = await page.$('#compareChart');
  const b = await box.boundingBox();
  await page.mouse.move(b.x + b.width * 0.45, b.y + b.height * 0.5);
  return page.$('#compare');
});
