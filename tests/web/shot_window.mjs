// The README's picture of the page's window after the curve and the check,
// in the engine DIASPRING_BROWSER names (docs/web-firefox.png in firefox).
//   DIASPRING_BROWSER=firefox node tests/web/shot_window.mjs build/web/diaspring.html docs/web-firefox.png
import { shoot } from './shot.mjs';

const [target, out] = process.argv.slice(2);
await shoot(target, out, { width: 1000, height: 680 }, async (page) => {
  await page.evaluate(() => window.diaspring.act([{ press: 'Command1' }, { press: 'Command3' }]));
  await new Promise((drawn) => setTimeout(drawn, 500));
  await page.mouse.move(0, 0);
});
