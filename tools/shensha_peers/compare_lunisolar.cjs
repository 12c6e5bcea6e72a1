// Our 神煞 against lunisolar's char8ex gods on random births. Run from a scratch folder holding
// lunisolar 2.6.0:  node compare_lunisolar.cjs CHARTS [VARIANT…], SHENSHA_OF_PILLARS naming the built tool
const lunisolar = require('lunisolar');
const char8ex = require('lunisolar/plugins/char8ex');
lunisolar.extend(char8ex.default || char8ex);
const { execFileSync } = require('child_process');
const N = Number(process.argv[2] || 5000);
const variants = process.argv.slice(3);
let seed = 11;
const rnd = (k) => { seed = (seed * 1103515245 + 12345) % 2147483648; return Math.floor(seed / 2147483648 * k); };
const common = { 天乙貴人: '天乙贵人', 文昌貴人: '文昌贵人', 國印貴人: '国印贵人', 太極貴人: '太极贵人', 金輿: '金舆', 綠神: '禄神',
  羊刃: '羊刃', 天廚貴人: '天厨贵人', 天德: '天德贵人', 天德合: '天德合', 天醫: '天医', 隔角: '隔角煞', 喪門: '丧门', 吊客: '吊客',
  勾煞: '勾煞', 絞煞: '绞煞', 元辰: '元辰', 孤辰: '孤辰', 寡宿: '寡宿', 月德: '月德贵人', 月德合: '月德合', 華蓋: '华盖',
  將星: '将星', 驛馬: '驿马', 桃花: '桃花', 劫煞: '劫煞', 亡神: '亡神', 災煞: '灾煞', 六厄: '六厄', 魁罡貴人: '魁罡',
  陰陽差錯: '阴差阳错', 九醜: '九丑', 天赦: '天赦', 四廢: '四废', 金神: '金神', 孤鸞: '孤鸾', 八專: '八专', 十惡大敗: '十恶大败' };
const ourNames = new Set(Object.values(common));
const charts = [];
for (let i = 0; i < N; i++) {
  const y = 1901 + rnd(148), m = 1 + rnd(12), d = 1 + rnd(28), h = rnd(24), mi = rnd(60);
  const male = rnd(2);
  const date = `${y}-${String(m).padStart(2, '0')}-${String(d).padStart(2, '0')} ${String(h).padStart(2, '0')}:${String(mi).padStart(2, '0')}`;
  const c = lunisolar(date).char8ex(male);
  const p = [c.year, c.month, c.day, c.hour].map(x => x.toString());
  const gods = ['year', 'month', 'day', 'hour'].map(k => c[k].gods.map(g => g.name));
  charts.push({ date, male, p, gods });
}
const input = charts.map(c => [...c.p, c.male].join(' ')).join('\n') + '\n';
const ours = execFileSync(process.env.SHENSHA_OF_PILLARS, variants, { input, maxBuffer: 1 << 30 }).toString().trim().split('\n');
const kinds = {}, examples = {};
charts.forEach((c, i) => {
  const mine = ours[i].split(';').slice(0, 4).map(x => x ? x.split(',') : []);
  for (let k = 0; k < 4; k++) {
    const a = new Set(mine[k].filter(n => ourNames.has(n)));
    const b = new Set(c.gods[k].filter(n => common[n]).map(n => common[n]));
    const tally = (key) => { kinds[key] = (kinds[key] || 0) + 1; examples[key] ??= `${c.p.join(' ')} ${c.male ? '男' : '女'}`; };
    for (const n of a) if (!b.has(n)) tally(`ours-only ${n} @${k}`);
    for (const n of b) if (!a.has(n)) tally(`ls-only ${n} @${k}`);
  }
});
console.log(`charts ${N}, pillars ${4 * N}, variants ${variants.join(' ') || '(defaults)'}`);
for (const [k, v] of Object.entries(kinds).sort()) console.log(v, k, '|', examples[k]);
