// One of the README's pictures of the page: the page opened afresh (nothing
// kept from an earlier visit) in a viewport of `viewport`; `stage(page)` sets
// the scene and returns what to photograph, or nothing for the whole page.
// A page error fails the picture.
import { openPage } from './browser.mjs';

export async function shoot(target, out, viewport, stage) {
  const { page, load, close, errors } = await openPage(target);
  try {
    await page.setViewport(viewport);
    await load();
    await page.evaluate(() => { localStorage.clear(); window.diaspring.reset(); });
    const subject = (await stage(page)) ?? page;
    await subject.screenshot({ path: out });
    if (errors.length) throw new Error(errors.join('; '));
  } finally {
    await close();
  }
}
