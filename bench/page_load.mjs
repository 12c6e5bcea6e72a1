// How soon a bookmarked chart URL shows its chart, measured in the browser:
// from the start of navigation to the page's 'chart-shown' mark, over a
// fresh tab each time (the browser's cache warm after the first), on
// loopback. Also the size of the page's own files.
//   node bench/page_load.mjs build/native/pillar/pillar [runs]
import { startServer, startBrowser } from '../tests/page/harness.mjs';

const [pillar = 'build/native/pillar/pillar', runsText = '30'] = process.argv.slice(2);
const runs = Number(runsText);
const server = await startServer(pillar);
const browser = await startBrowser();
const url = `${server.url}/?datetime=1990-05-17T14:30&sex=male&longitude=116.4&place=%E5%8C%97%E4%BA%AC`;
try {
  const times = [];
  for (let i = 0; i < runs; ++i) {
    const page = await browser.context.newPage();
    await page.goto(url);
    await page.waitForFunction(() => performance.getEntriesByName('chart-shown').length > 0);
    times.push(await page.evaluate(() => performance.getEntriesByName('chart-shown')[0].startTime));
    await page.close();
  }
  const sorted = [...times].sort((a, b) => a - b);
  const at = (q) => sorted[Math.min(sorted.length - 1, Math.floor(q * sorted.length))];
  console.log(`chart on screen after ms: first ${times[0].toFixed(1)}, median ${at(0.5).toFixed(1)}, ` +
    `90% ${at(0.9).toFixed(1)}, max ${sorted.at(-1).toFixed(1)} (${runs} loads)`);
  let total = 0;
  for (const path of ['/', '/page.js', '/page.css', '/favicon.svg']) {
    const bytes = (await (await fetch(server.url + path)).arrayBuffer()).byteLength;
    total += bytes;
    console.log(`${path}: ${bytes} bytes`);
  }
  console.log(`the page's own files: ${total} bytes`);
} finally {
  await browser.stop();
  await server.stop();
}
