// The README's and docs/page.md's pictures of the chart page, at a desktop's
// and a phone's width (not a test; rerun when the page changes):
//   node tests/page/screenshots.mjs build/native/pillar/pillar docs
import { startServer, startBrowser } from './harness.mjs';

const [pillar = 'build/native/pillar/pillar', folder = 'docs'] = process.argv.slice(2);
const query = '?datetime=1990-05-17T14:30&sex=male&longitude=116.3972&place=%E5%8C%97%E4%BA%AC';
const server = await startServer(pillar);
const browser = await startBrowser();
try {
  for (const [name, width, height, fullPage] of [['page-desktop.png', 1280, 1100, false], ['page-phone.png', 390, 844, true]]) {
    const page = await browser.context.newPage();
    await page.setViewportSize({ width, height });
    await page.goto(server.url + '/' + query);
    await page.locator('.luck-step').first().waitFor();
    if (fullPage) await page.locator('#chart').screenshot({ path: `${folder}/${name}` });
    else await page.screenshot({ path: `${folder}/${name}` });
    await page.close();
  }
} finally {
  await browser.stop();
  await server.stop();
}
