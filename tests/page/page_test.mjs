// The chart page in a real browser, as a person uses it: births entered,
// what appears on screen read back.
//   PILLAR_COMMAND=build/native/pillar/pillar node --test tests/page/page_test.mjs
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import { startServer, startBrowser } from './harness.mjs';

let server;
let browser;
const consoleErrors = [];

before(async () => {
  server = await startServer(process.env.PILLAR_COMMAND || 'build/native/pillar/pillar');
  browser = await startBrowser();
});
after(async () => {
  if (browser) await browser.stop();
  if (server) await server.stop();
});

// A new tab on `query`; `allowed` lists console errors the case expects
// (chromium logs every 400 answer of the API as one).
async function open(query, { allowed = [], width } = {}) {
  const page = await browser.context.newPage();
  if (width) await page.setViewportSize({ width, height: 800 });
  page.on('console', (message) => {
    if (message.type() === 'error' && !allowed.some((pattern) => pattern.test(message.text()))) {
      consoleErrors.push(`${query}: ${message.text()}`);
    }
  });
  page.on('pageerror', (error) => consoleErrors.push(`${query}: ${error.message}`));
  await page.goto(server.url + '/' + query);
  return page;
}
const badAnswer = /status of 400/u;

// The four pillars as the table shows them, year to hour, '?' for unknown.
async function shownPillars(page) {
  await page.locator('table.pillars').waitFor();
  return page.evaluate(() => {
    const head = [...document.querySelectorAll('table.pillars thead th')].slice(1).map((th) => th.textContent);
    const rows = [...document.querySelectorAll('table.pillars tbody tr')];
    const row = (name) => rows.find((r) => r.querySelector('th').textContent === name);
    const stems = [...row('天干').querySelectorAll('td')].map((td) => td.textContent);
    const branches = [...row('地支').querySelectorAll('td')].map((td) => td.textContent);
    const byName = {};
    head.forEach((name, i) => { byName[name] = stems[i] + branches[i]; });
    return ['年柱', '月柱', '日柱', '时柱'].map((name) => byName[name] ?? byName[name.replace('时', '時')]);
  });
}

test('a bookmarked chart shows its pillars, coloured, with the day column picked out', async () => {
  const page = await open('?datetime=1990-05-17T14:30&sex=male');
  assert.deepEqual(await shownPillars(page), ['庚午', '辛巳', '壬午', '丁未']);
  assert.equal(await page.locator('thead th.day').textContent(), '日柱');
  const colour = (ch) => page.locator('table.pillars .glyph.big', { hasText: ch }).first()
    .evaluate((node) => getComputedStyle(node).color);
  assert.equal(await colour('壬'), 'rgb(21, 101, 192)');  // water, blue
  assert.equal(await colour('丁'), 'rgb(208, 49, 45)');   // fire, red
  assert.match(await page.locator('.lunar-date').textContent(), /农历 庚午年（马）四月廿三/u);
  await page.click('#order');
  const head = await page.locator('table.pillars thead th').allTextContents();
  assert.deepEqual(head.slice(1), ['时柱', '日柱', '月柱', '年柱']);
  assert.match(page.url(), /order=rtl/u);
  await page.close();
});

test('a clock time skipped by daylight saving is offered as its two readings', async () => {
  const page = await open('?datetime=2021-03-14T02:30&tz=America/New_York', { allowed: [badAnswer] });
  const readings = page.locator('.reading');
  await readings.first().waitFor();
  const texts = await readings.allTextContents();
  assert.equal(texts.length, 2);
  assert.match(texts[0], /2021-03-14 01:30:00-05:00/u);
  assert.match(texts[1], /2021-03-14 03:30:00-04:00/u);
  await readings.nth(1).click();
  await page.locator('table.pillars').waitFor();
  assert.match(page.url(), /fold=later/u);
  assert.match(await page.locator('.civil-date').textContent(), /03:30:00-04:00/u);
  await page.close();
});

test('a lunar date entered in the form gives its chart and both calendars', async () => {
  const page = await open('');
  await page.check('input[name=calendar][value=lunar]');
  await page.fill('#lunar-year', '2023');
  await page.selectOption('#lunar-month', '2');
  await page.check('#lunar-leap');
  await page.selectOption('#lunar-day', '15');
  await page.fill('#time', '08:00');
  await page.click('#go');
  await page.locator('table.pillars').waitFor();
  assert.match(await page.locator('.lunar-date').textContent(), /癸卯年（兔）闰二月十五/u);
  assert.match(await page.locator('.civil-date').textContent(), /2023-04-05 08:00/u);
  assert.match(decodeURIComponent(page.url()), /lunar=2023\+闰2\+15\+08:00/u);
  await page.close();
});

test('an unknown hour gives the 13 candidate hours, and one of them a chart', async () => {
  const page = await open('?datetime=1990-05-17');
  await page.locator('.candidate').first().waitFor();
  const candidates = await page.locator('.candidate .pillar-glyphs').allTextContents();
  assert.deepEqual(candidates, ['庚子', '辛丑', '壬寅', '癸卯', '甲辰', '乙巳', '丙午', '丁未', '戊申', '己酉',
    '庚戌', '辛亥', '壬子']);
  assert.equal((await shownPillars(page))[3], '??');
  await page.locator('.candidate').nth(7).click();  // 未, 13-15
  await page.locator('.candidate').first().waitFor({ state: 'detached' });
  assert.deepEqual(await shownPillars(page), ['庚午', '辛巳', '壬午', '丁未']);
  await page.close();
});

test('a birth near a boundary warns and links to the other chart', async () => {
  const page = await open('?datetime=1990-02-04T11:10');
  const warning = page.locator('.warning');
  await warning.waitFor();
  assert.match(await warning.textContent(), /时辰之界之后 10 分/u);
  const other = await page.locator('.warning .other').textContent();
  assert.match(other, /辛巳/u);
  await page.click('.other-link');
  await page.waitForURL(/datetime=1990-02-04T10%3A59%3A59/u);
  await page.locator('.civil-date', { hasText: '10:59:59' }).waitFor();
  assert.equal((await shownPillars(page))[3], '辛巳');
  await page.goBack();
  await page.locator('.civil-date', { hasText: '11:10' }).waitFor();
  await page.close();
});

test('a date that does not exist gets the reason in words', async () => {
  const page = await open('?datetime=1990-02-30T10:00', { allowed: [badAnswer] });
  const status = page.locator('#status.error');
  await status.waitFor();
  assert.match(await status.textContent(), /输入有误：.*1990-02-30/u);
  assert.equal(await page.locator('#chart').isVisible(), false);
  await page.close();
});

test('the luck timeline picks out the current luck pillar and shows its years', async () => {
  const page = await open('?datetime=1990-05-17T14:30&sex=male');
  await page.locator('.luck-step').first().waitFor();
  const answer = await (await page.request.get(`${server.url}/api/v1/chart?datetime=1990-05-17T14:30&sex=male`)).json();
  const now = Date.now();
  const current = answer.luck.pillars.filter((p) => Date.parse(p.start) <= now).pop();
  assert.match(await page.locator('.luck-step.current').textContent(), new RegExp(current.pillar, 'u'));
  assert.equal(await page.locator('.luck-step.current').getAttribute('aria-current'), 'true');
  const years = await page.locator('.annual .year').allTextContents();
  const from = Number(current.start.slice(0, 4));
  assert.deepEqual(years.map(Number), Array.from({ length: 10 }, (_, i) => from + i));
  // Another luck pillar by keyboard: its ten years replace these.
  await page.locator('.luck-step').first().focus();
  await page.keyboard.press('Enter');
  assert.equal(Number(await page.locator('.annual .year').first().textContent()), Number(answer.luck.pillars[0].start.slice(0, 4)));
  await page.close();
});

test('a place found by name fills longitude and zone, also by keyboard alone', async () => {
  const page = await open('');
  await page.fill('#place', 'xiamen');
  await page.locator('.place-choice', { hasText: '厦门' }).first().click();
  assert.equal(await page.inputValue('#longitude'), '118.0819');
  assert.equal(await page.inputValue('#tz'), 'Asia/Shanghai');
  await page.fill('#place', '');
  await page.locator('#place').pressSequentially('Taipei');
  // Answers to the first letters may show first: wait for the whole name's.
  await page.waitForFunction(() => document.querySelector('.place-choice')?.textContent.includes('Taipei'));
  await page.keyboard.press('ArrowDown');
  await page.keyboard.press('Enter');
  assert.equal(await page.inputValue('#tz'), 'Asia/Taipei');
  assert.equal(Math.round(Number(await page.inputValue('#longitude'))), 122);
  await page.fill('#date', '1990-05-17');
  await page.fill('#time', '14:30');
  await page.click('#go');
  await page.locator('.corrections').waitFor();
  assert.match(await page.locator('.corrections').textContent(), /真太阳时/u);
  assert.match(page.url(), /longitude=121\.5/u);
  await page.close();
});

test('the 繁體 switch turns the page into traditional characters and back', async () => {
  const page = await open('?datetime=1990-05-17T14:30&sex=male');
  await page.locator('table.pillars').waitFor();
  await page.click('#lang');
  assert.equal(await page.locator('h1').textContent(), '八字排盤');
  assert.ok((await page.locator('table.pillars thead').textContent()).includes('時柱'));
  assert.match(await page.locator('.lunar-date').textContent(), /農曆 庚午年（馬）/u);
  assert.match(page.url(), /lang=hant/u);
  await page.click('#lang');
  assert.equal(await page.locator('h1').textContent(), '八字排盘');
  await page.close();
});

test('at a phone width nothing scrolls sideways', async () => {
  const page = await open('?datetime=1990-02-04T11:10&sex=female&longitude=87.6&place=乌鲁木齐', { width: 360 });
  await page.locator('.luck-step').first().waitFor();
  const [scrollWidth, width] = await page.evaluate(() => [document.documentElement.scrollWidth, window.innerWidth]);
  assert.ok(scrollWidth <= width, `page is ${scrollWidth} px wide in a ${width} px window`);
  await page.close();
});

test('chart parts the engine adds appear, and what arrives is shown as text, never markup', async () => {
  const page = await browser.context.newPage();
  // The API's answer with the parts of later engines, one name carrying markup.
  await page.route('**/api/v1/chart?*', async (route) => {
    const answer = await (await route.fetch()).json();
    answer.spirits = { year: ['天乙贵人'], month: [], day: ['<img src=x id=injected>'], hour: ['华盖'] };
    answer.palaces = { fetal_origin: { pillar: '壬申', ten_god: '比肩', nayin: '剑锋金' }, life: { pillar: '癸未', ten_god: '劫财', nayin: '杨柳木' } };
    answer.minor_luck = [{ age: 1, year: 1990, pillar: '丙午', ten_god: '偏财' }];
    await route.fulfill({ json: answer });
  });
  page.on('pageerror', (error) => consoleErrors.push(`parts: ${error.message}`));
  await page.goto(server.url + '/?datetime=1990-05-17T14:30&sex=male');
  await page.locator('.part').first().waitFor();
  const spiritRow = page.locator('table.pillars tr', { hasText: '神煞' });
  assert.match(await spiritRow.textContent(), /天乙贵人.*<img src=x id=injected>.*华盖/u);
  assert.equal(await page.locator('#injected').count(), 0);
  const parts = await page.locator('.parts').textContent();
  assert.match(parts, /宫位.*胎元.*壬申.*比肩.*剑锋金.*命宫.*癸未/u);
  assert.match(parts, /小运.*1岁.*1990.*丙午/u);
  await page.close();
});

test('no errors in the browser console', () => {
  assert.deepEqual(consoleErrors, []);
});
