// Our 神煞 against cantian-tymext's getShen on random consistent charts with 10 luck pillars
// Run from a scratch folder holding cantian-tymext 0.0.25 (npm install cantian-tymext@0.0.25):
//   node compare_cantian.mjs SEED CHARTS [VARIANT…]   with SHENSHA_OF_PILLARS naming the built tool
import { getShen } from './node_modules/cantian-tymext/dist/shen.js';
import { execFileSync } from 'node:child_process';
const S = '甲乙丙丁戊己庚辛壬癸', B = '子丑寅卯辰巳午未申酉戌亥';
const pair = (n) => S[n % 10] + B[n % 12];
const num = (s, b) => { for (let n = 0; n < 60; n++) if (n % 10 === s && n % 12 === b) return n; };
let seed = Number(process.argv[2] || 1);
const rnd = (k) => { seed = (seed * 1103515245 + 12345) % 2147483648; return Math.floor(seed / 2147483648 * k); };
const N = Number(process.argv[3] || 20000);
const variants = process.argv.slice(4);
const charts = [];
for (let i = 0; i < N; i++) {
  const y = rnd(60), mb = rnd(12), ys = y % 10;
  const ms = ((ys % 5) * 2 + 2 + (mb - 2 + 12) % 12) % 10;
  const m = num(ms, mb), d = rnd(60), hb = rnd(12), h = num(((d % 10) % 5 * 2 + hb) % 10, hb);
  const male = rnd(2);
  const forward = (y % 2 === 0) === (male === 1);
  const luck = [];
  for (let k = 1; k <= 10; k++) luck.push(pair(((m + (forward ? k : -k)) % 60 + 60) % 60));
  charts.push({ p: [pair(y), pair(m), pair(d), pair(h)], male, luck });
}
const input = charts.map(c => [...c.p, c.male, ...c.luck].join(' ')).join('\n') + '\n';
const ours = execFileSync(process.env.SHENSHA_OF_PILLARS, variants, { input, maxBuffer: 1 << 30 }).toString().trim().split('\n');
// CT names that lump several of ours, or spell them otherwise
const toCT = { 天医: '天医星', 天赦: '天赦星', 国印贵人: '国印', 纳音学堂: '学堂', 日干学堂: '学堂', 纳音词馆: '词馆', 日干词馆: '词馆',
  纳音天罗: '天罗地网', 纳音地网: '天罗地网', 戌亥天罗: '天罗地网', 辰巳地网: '天罗地网', 六厄: '披头' };
const oursOnly = new Set(['长生学堂', '临官词馆']);
const kinds = {};
const examples = {};
let pillars = 0;
charts.forEach((c, i) => {
  const ct = getShen(c.p.join(''), c.male, c.luck);
  const mine = ours[i].split(';').slice(0, 14).map(x => x ? x.split(',') : []);
  for (let k = 0; k < 14; k++) {
    pillars++;
    const a = new Set(mine[k].filter(n => !oursOnly.has(n)).map(n => toCT[n] || n));
    const b = new Set(ct[k]);
    // 三奇: a chart's star, CT shows it on the day pillar
    a.delete('三奇贵人'); b.delete('三奇贵人');
    for (const n of a) if (!b.has(n)) { const key = `ours-only ${n} @${k < 4 ? k : 'luck'}`; kinds[key] = (kinds[key] || 0) + 1; examples[key] ??= `${c.p.join(' ')} ${c.male ? '男' : '女'} ${k >= 4 ? c.luck[k - 4] : ''}`; }
    for (const n of b) if (!a.has(n)) { const key = `ct-only ${n} @${k < 4 ? k : 'luck'}`; kinds[key] = (kinds[key] || 0) + 1; examples[key] ??= `${c.p.join(' ')} ${c.male ? '男' : '女'} ${k >= 4 ? c.luck[k - 4] : ''}`; }
  }
  const oursSanqi = mine.slice(0, 4).some(x => x.includes('三奇贵人'));
  const ctSanqi = ct[2].includes('三奇贵人');
  if (oursSanqi !== ctSanqi) { const key = `三奇 ours ${oursSanqi} ct ${ctSanqi}`; kinds[key] = (kinds[key] || 0) + 1; examples[key] ??= c.p.join(' '); }
});
console.log(`charts ${N}, pillars ${pillars}, variants ${variants.join(' ') || '(defaults)'}`);
for (const [k, v] of Object.entries(kinds).sort()) console.log(v, k, '|', examples[k]);
