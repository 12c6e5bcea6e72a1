// The chart parts against lunar-javascript (LJ), tyme4ts (TS) and lunisolar (LS), run from a scratch
// folder holding those npm packages (never a dependency of the build or the tests):
//   npm install lunar-javascript tyme4ts lunisolar && node chart_parts.js PATH/TO/pillar 10000
// Prints, per part and peer, the cases compared and the differences by kind, with examples.
const {execFileSync} = require('child_process');
const {Solar} = require('lunar-javascript');
const t = require('tyme4ts');
const lunisolar = require('lunisolar');
const char8ex = require('lunisolar/plugins/char8ex');
lunisolar.extend(char8ex);
const PILLAR = process.argv[2];
const N = +(process.argv[3] || 10000);
const pad = (n, w = 2) => String(n).padStart(w, '0');
const iso = (y, m, d, h, mi) => `${y}-${pad(m)}-${pad(d)}T${pad(h)}:${pad(mi)}`;
function ours(lines) {
  const out = execFileSync(PILLAR, ['chart', '--batch'], {input: lines.map(l => JSON.stringify(l)).join('\n') + '\n', maxBuffer: 1 << 30});
  return out.toString().trim().split('\n').map(l => JSON.parse(l));
}
const report = {};
const bin = (a, b) => { const d = Math.abs(Date.parse(a + 'Z') - Date.parse(b + 'Z')) / 1000, y = +b.slice(0, 4);
  return (d <= 2 ? '1-2 s' : d <= 9 ? '3-9 s' : '10-40 s') + (y >= 2050 ? ' (2050 on)' : ' (before 2050)'); };
function count(part, key, example) {
  report[part] = report[part] || {cases: 0, diffs: {}};
  if (key === null) { report[part].cases++; return; }
  const r = report[part].diffs[key] = report[part].diffs[key] || {n: 0, examples: []};
  r.n++; if (r.examples.length < 3) r.examples.push(example);
}

// ---- palaces: 10 year stems x 12 months x 12 hours ----
{
  const births = [];
  for (let ys = 0; ys < 10; ++ys) for (let j = 0; j < 12; ++j) for (let k = 0; k < 12; ++k) {
    const year = 1984 + ys, m = j + 2 > 12 ? 1 : j + 2, y = j + 2 > 12 ? year + 1 : year;
    births.push([y, m, 20, 2 * k, 30]);
  }
  const tiger = ours(births.map(b => ({datetime: iso(...b), utc_offset: '+08:00'})));
  const rat = ours(births.map(b => ({datetime: iso(...b), utc_offset: '+08:00', palace_stem: 'rat'})));
  births.forEach((b, i) => {
    const ec = Solar.fromYmdHms(b[0], b[1], b[2], b[3], b[4], 0).getLunar().getEightChar();
    const e8 = t.SolarTime.fromYmdHms(b[0], b[1], b[2], b[3], b[4], 0).getLunarHour().getEightChar();
    const ls = lunisolar(`${b[0]}-${pad(b[1])}-${pad(b[2])} ${pad(b[3])}:${pad(b[4])}`).char8ex(1);
    const p = tiger[i].palaces, q = rat[i].palaces;
    const us = [p.fetal_origin.pillar, p.fetal_breath.pillar, p.life.pillar, p.body.pillar];
    const lj = [ec.getTaiYuan(), ec.getTaiXi(), ec.getMingGong(), ec.getShenGong()];
    const ts = [e8.getFetalOrigin(), e8.getFetalBreath(), e8.getOwnSign(), e8.getBodySign()].map(String);
    const lsv = [String(ls.embryo()), String(ls.ownSign()), String(ls.bodySign())];
    const names = ['fetal_origin', 'fetal_breath', 'life', 'body'];
    for (let n = 0; n < 4; ++n) {
      count('palaces/LJ', null); count('palaces/TS', null);
      if (us[n] !== lj[n]) count('palaces/LJ', names[n], [iso(...b), us[n], lj[n]]);
      if (us[n] !== ts[n]) count('palaces/TS', names[n], [iso(...b), us[n], ts[n]]);
    }
    const usr = [q.fetal_origin.pillar, q.life.pillar, q.body.pillar];
    for (let n = 0; n < 3; ++n) {
      count('palaces(rat)/LS', null);
      if (usr[n] !== lsv[n]) count('palaces(rat)/LS', ['fetal_origin', 'life', 'body'][n], [iso(...b), usr[n], lsv[n]]);
    }
  });
}

// ---- random births: luck methods, minor luck, months ----
let seed = 20261208;
const rand = n => { seed = (seed * 1103515245 + 12345) % 2147483648; return seed % n; };
const births = [];
for (let i = 0; i < N; ++i) {
  const y = 1901 + rand(169), m = 1 + rand(12), d = 1 + rand(new Date(Date.UTC(y, m, 0)).getUTCDate());
  births.push({b: [y, m, d, rand(24), rand(60)], male: rand(2) === 1});
}
const methods = [['minutes', 'DefaultChildLimitProvider', null], ['whole-minutes', 'China95ChildLimitProvider', null],
                 ['days-shichen', 'LunarSect1ChildLimitProvider', 1], ['minutes-hours', 'LunarSect2ChildLimitProvider', 2]];
const tsEnd = cl => { const e = cl.getEndTime(); return iso(e.getYear(), e.getMonth(), e.getDay(), e.getHour(), e.getMinute()); };
for (const [method, provider, sect] of methods) {
  const res = ours(births.map(({b, male}) => ({datetime: iso(...b), utc_offset: '+08:00', sex: male ? 'male' : 'female',
                                               luck_method: method, luck_count: 3, minor_luck: method === 'minutes' ? 'all' : 0,
                                               months: method === 'minutes' ? b[0] : undefined})));
  t.ChildLimit.provider = new t[provider]();
  births.forEach(({b, male}, i) => {
    const r = res[i];
    if (r.error) { count(`luck ${method}`, 'our error', [iso(...b), r.error]); return; }
    const L = r.luck, s = L.start_age;
    const start = L.start.slice(0, 16);
    const st = t.SolarTime.fromYmdHms(...b, 0);
    const cl = t.ChildLimit.fromSolarTime(st, male ? t.Gender.MAN : t.Gender.WOMAN);
    let term = st.getTerm(); if (!term.isJie()) term = term.next(-1);
    const tsJie = [term, term.next(2)].map(x => { const j = x.getJulianDay().getSolarTime(); return iso(j.getYear(), j.getMonth(), j.getDay(), j.getHour(), j.getMinute()) + ':' + pad(j.getSecond()); });
    const usJie = [L.previous_jie.slice(0, 19), L.next_jie.slice(0, 19)];
    const lunar = Solar.fromYmdHms(...b, 0).getLunar();
    const ljJie = [lunar.getPrevJie(), lunar.getNextJie()].map(x => x.getSolar().toYmdHms().replace(' ', 'T'));
    const usedJie = L.forward ? 1 : 0;
    const jieKind = (peer) => peer[usedJie] === usJie[usedJie] ? '' : ' (节 instant ' + Math.round((Date.parse(peer[usedJie] + 'Z') - Date.parse(usJie[usedJie] + 'Z')) / 1000) + ' s off)';
    const tsSpan = [cl.getYearCount(), cl.getMonthCount(), cl.getDayCount(), cl.getHourCount(), cl.getMinuteCount()];
    const usSpan = [s.years, s.months, s.days, s.hours, s.minutes];
    count(`luck ${method}/TS`, null);
    if (tsSpan.join() !== usSpan.join()) count(`luck ${method}/TS`, 'span' + jieKind(tsJie).replace(/-?\d+ s/, s => Math.abs(parseInt(s)) <= 2 ? '<=2 s' : '>2 s'), [iso(...b), male, usSpan.join(), tsSpan.join(), usJie[usedJie], tsJie[usedJie]]);
    else if (tsEnd(cl) !== start) count(`luck ${method}/TS`, 'start date' + (+b[2] + s.days > 28 ? ' (day overflow past a month end)' : ''), [iso(...b), male, start, tsEnd(cl)]);
    if (sect) {
      const yun = Solar.fromYmdHms(...b, 0).getLunar().getEightChar().getYun(male ? 1 : 0, sect);
      const ljSpan = [yun.getStartYear(), yun.getStartMonth(), yun.getStartDay(), yun.getStartHour()];
      const e = yun.getStartSolar();
      const ljStart = iso(e.getYear(), e.getMonth(), e.getDay(), e.getHour(), e.getMinute());
      count(`luck ${method}/LJ`, null);
      if (ljSpan.join() !== usSpan.slice(0, 4).join()) count(`luck ${method}/LJ`, 'span' + jieKind(ljJie).replace(/-?\d+ s/, s => Math.abs(parseInt(s)) <= 2 ? '<=2 s' : '>2 s'), [iso(...b), male, usSpan.join(), ljSpan.join(), usJie[usedJie], ljJie[usedJie]]);
      else if (ljStart !== start) count(`luck ${method}/LJ`, 'start date', [iso(...b), male, start, ljStart]);
      count(`jie instants/LJ`, null);
      if (ljJie[usedJie] !== usJie[usedJie]) count('jie instants/LJ', bin(ljJie[usedJie], usJie[usedJie]), [usJie[usedJie], ljJie[usedJie]]);
      count(`jie instants/TS`, null);
      if (tsJie[usedJie] !== usJie[usedJie]) count('jie instants/TS', bin(tsJie[usedJie], usJie[usedJie]), [usJie[usedJie], tsJie[usedJie]]);
    }
    if (method !== 'minutes') return;
    // 小运 against LJ's XiaoYun (the years before the first luck pillar and within the first three)
    const yun = Solar.fromYmdHms(...b, 0).getLunar().getEightChar().getYun(male ? 1 : 0, 2);
    const lj = {};
    for (const dy of yun.getDaYun(4)) for (const x of dy.getXiaoYun()) lj[x.getAge()] = [x.getYear(), x.getGanZhi()];
    for (const m of r.minor_luck) {
      if (!lj[m.age]) continue;
      count('minor_luck/LJ', null);
      if (lj[m.age][1] !== m.pillar || lj[m.age][0] !== m.year) count('minor_luck/LJ', 'pillar or year', [iso(...b), m.age, m.year, m.pillar, lj[m.age]]);
    }
    // 流月 of the birth's year against LJ's LiuYue of the 流年 of that year
    let ln = null;
    for (const dy of yun.getDaYun(12)) for (const x of dy.getLiuNian()) if (x.getYear() === b[0]) ln = x;
    if (ln) {
      const lm = ln.getLiuYue();
      r.months.forEach((m, j) => {
        count('months/LJ', null);
        if (lm[j].getGanZhi() !== m.pillar) count('months/LJ', 'pillar', [b[0], j, m.pillar, lm[j].getGanZhi()]);
      });
      // 节 instants against LJ's table, to the minute
      const tbl = Solar.fromYmd(b[0], 6, 1).getLunar().getJieQiTable();
      r.months.forEach(m => {
        const s = m.jie === '小寒' ? tbl['XIAO_HAN'] : tbl[m.jie];
        if (!s) return;
        count('month starts/LJ', null);
        const lj = s.toYmdHms().replace(' ', 'T');
        if (lj !== m.start.slice(0, 19)) count('month starts/LJ', bin(lj, m.start.slice(0, 19)), [m.jie, m.start, lj]);
      });
    }
  });
}
for (const [part, r] of Object.entries(report)) {
  const d = Object.entries(r.diffs).map(([k, v]) => `${k}: ${v.n} e.g. ${JSON.stringify(v.examples)}`);
  console.log(`${part}: ${r.cases} cases, ${Object.values(r.diffs).reduce((a, v) => a + v.n, 0)} differences` + (d.length ? '\n  ' + d.join('\n  ') : ''));
}
