// The chart page: reads the form (or the URL), asks /api/v1/chart and shows
// the answer. Everything received is written as text, never as markup.
'use strict';

const API = '/api/v1/';
// The query keys of the API that the form sets; the URL holds the same keys.
const CHART_KEYS = ['datetime', 'lunar', 'tz', 'longitude', 'sex', 'solar_time', 'zi_hour',
  'luck_method', 'year_start', 'fold'];
// Keys of the page alone, kept in the URL too.
const PAGE_KEYS = ['place', 'lang', 'order'];

const ELEMENT_OF = {
  甲: 'wood', 乙: 'wood', 丙: 'fire', 丁: 'fire', 戊: 'earth', 己: 'earth', 庚: 'metal', 辛: 'metal',
  壬: 'water', 癸: 'water', 寅: 'wood', 卯: 'wood', 巳: 'fire', 午: 'fire', 辰: 'earth', 戌: 'earth',
  丑: 'earth', 未: 'earth', 申: 'metal', 酉: 'metal', 亥: 'water', 子: 'water',
  木: 'wood', 火: 'fire', 土: 'earth', 金: 'metal', 水: 'water',
};
const POSITIONS = ['year', 'month', 'day', 'hour'];
const POSITION_NAME = { year: '年柱', month: '月柱', day: '日柱', hour: '时柱' };
const POSITION_SHORT = { year: '年', month: '月', day: '日', hour: '时' };
const BOUNDARY_NAME = { jie: '节气（月、年之界）', hour: '时辰之界', day: '日界', dst: '夏令时切换' };
// The clock hours of the 13 candidates, in the order the API gives them.
const CANDIDATE_HOURS = [[0, 1], [1, 3], [3, 5], [5, 7], [7, 9], [9, 11], [11, 13], [13, 15],
  [15, 17], [17, 19], [19, 21], [21, 23], [23, 24]];
const LUNAR_MONTHS = ['正月', '二月', '三月', '四月', '五月', '六月', '七月', '八月', '九月', '十月', '冬月', '腊月'];
const LUNAR_DAYS = ['初一', '初二', '初三', '初四', '初五', '初六', '初七', '初八', '初九', '初十',
  '十一', '十二', '十三', '十四', '十五', '十六', '十七', '十八', '十九', '二十',
  '廿一', '廿二', '廿三', '廿四', '廿五', '廿六', '廿七', '廿八', '廿九', '三十'];
// Labels of the chart parts whose keys the page knows; others show their key.
const PART_LABEL = {
  palaces: '宫位', spirits: '神煞', minor_luck: '小运', months: '流月', zodiac: '星座与生肖',
  fetal_origin: '胎元', fetal_breath: '胎息', life: '命宫', body: '身宫', sign: '星座', animal: '生肖',
  sign_rule: '星座依据', animal_rule: '生肖依据', year: '年', month: '月', day: '日', hour: '时',
};
const PART_KEYS = ['palaces', 'minor_luck', 'months', 'zodiac'];

// Simplified to traditional, character by character: enough for the page's
// own words and the engine's vocabulary (ten gods, phases, 纳音, months).
const TRADITIONAL = {
  时: '時', 运: '運', 岁: '歲', 历: '曆', 农: '農', 财: '財', 伤: '傷', 杀: '殺', 长: '長', 带: '帶',
  临: '臨', 绝: '絕', 养: '養', 炉: '爐', 剑: '劍', 锋: '鋒', 头: '頭', 涧: '澗', 蜡: '蠟', 杨: '楊',
  雳: '靂', 灯: '燈', 驿: '驛', 钗: '釵', 钏: '釧', 马: '馬', 鸡: '雞', 猪: '豬', 龙: '龍', 闰: '閏',
  腊: '臘', 纳: '納', 这: '這', 换: '換', 当: '當', 数: '數', 钟: '鐘', 为: '為', 经: '經', 区: '區',
  阳: '陽', 节: '節', 气: '氣', 间: '間', 读: '讀', 从: '從', 盘: '盤', 两: '兩', 选: '選', 择: '擇',
  个: '個', 与: '與', 会: '會', 现: '現', 无: '無', 误: '誤', 错: '錯', 过: '過', 后: '後', 结: '結',
  关: '關', 系: '係', 冲: '沖', 宫: '宮', 汉: '漢', 简: '簡', 体: '體', 项: '項', 内: '內', 详: '詳',
  里: '裡', 图: '圖', 广: '廣', 东: '東', 开: '開', 视: '視', 变: '變', 处: '處', 对: '對', 应: '應',
  认: '認', 请: '請', 输: '輸', 戏: '戲', 亿: '億', 万: '萬', 点: '點', 满: '滿', 级: '級', 断: '斷',
  连: '連', 终: '終', 们: '們', 丰: '豐', 强: '強', 邻: '鄰', 刘: '劉', 实: '實', 际: '際', 导: '導',
  单: '單', 显: '顯', 说: '說', 转: '轉', 钮: '鈕', 键: '鍵', 场: '場', 总: '總', 计: '計', 据: '據',
  轮: '輪', 边: '邊', 属: '屬', 黄: '黃', 仓: '倉', 库: '庫', 权: '權', 卫: '衛', 贵: '貴', 桥: '橋',
  驱: '驅', 驾: '駕', 阴: '陰', 齐: '齊', 乡: '鄉', 县: '縣', 镇: '鎮', 乐: '樂', 书: '書', 华: '華',
  兴: '興', 归: '歸', 灵: '靈', 学: '學', 门: '門', 问: '問', 题: '題', 亲: '親', 纪: '紀', 红: '紅',
  绿: '綠', 蓝: '藍', 银: '銀', 铁: '鐵', 钱: '錢', 丧: '喪', 吊: '弔', 盖: '蓋', 贼: '賊', 灾: '災',
  难: '難', 医: '醫', 网: '網', 罗: '羅', 标: '標', 准: '準', 调: '調', 观: '觀', 证: '證', 众: '眾',
  离: '離', 虽: '雖', 尽: '盡', 优: '優', 势: '勢', 层: '層', 页: '頁', 预: '預', 设: '設', 还: '還',
  进: '進', 创: '創', 构: '構', 获: '獲', 帮: '幫', 发: '發', 则: '則', 义: '義', 闭: '閉', 启: '啟',
  禄: '祿', 将: '將', 词: '詞', 馆: '館', 国: '國', 舆: '輿', 艳: '艷', 绞: '絞', 鸾: '鸞', 恶: '惡', 败: '敗', 极: '極', 厨: '廚', 飞: '飛', 虚: '虛', 寿: '壽', 双: '雙', 狮: '獅', 蝎: '蠍', 鱼: '魚', 惊: '驚', 蛰: '蟄', 种: '種', 羁: '羈',
};

const $ = (id) => document.getElementById(id);
const state = { lang: 'hans', order: 'ltr', answer: null, readings: null, selectedLuck: null };
const staticTexts = [];

function t(text) {
  if (state.lang !== 'hant' || !text) return text;
  let out = '';
  for (const ch of String(text)) out += TRADITIONAL[ch] || ch;
  return out;
}

// Builds an element: el('td', {class: 'x'}, child, 'text', ...). Texts become
// text nodes; attributes are set one by one.
function el(tag, attributes, ...children) {
  const node = document.createElement(tag);
  for (const [key, value] of Object.entries(attributes || {})) {
    if (value === undefined || value === null || value === false) continue;
    if (key === 'class') node.className = value;
    else if (key === 'text') node.textContent = t(value);
    else if (key.startsWith('on')) node.addEventListener(key.slice(2), value);
    else node.setAttribute(key, value === true ? '' : value);
  }
  for (const child of children.flat(Infinity)) {
    if (child === null || child === undefined || child === false) continue;
    node.append(typeof child === 'string' || typeof child === 'number' ? t(String(child)) : child);
  }
  return node;
}

// A character coloured by its element.
function glyph(ch, extraClass) {
  const element = ELEMENT_OF[ch];
  return el('span', { class: ['glyph', element && 'el-' + element, extraClass].filter(Boolean).join(' '), title: element ? t(elementName(element)) : null }, ch);
}
function elementName(element) {
  return { wood: '木', fire: '火', earth: '土', metal: '金', water: '水' }[element];
}
function pillarGlyphs(pillar, extraClass) {
  return el('span', { class: 'pillar-glyphs' }, [...(pillar || '')].map((ch) => glyph(ch, extraClass)));
}

// ---- the form and the URL ----

function fillSelect(select, names) {
  names.forEach((name, i) => select.append(el('option', { value: String(i + 1) }, name)));
}

function readForm() {
  const query = new URLSearchParams();
  const lunar = document.querySelector('input[name=calendar]:checked').value === 'lunar';
  const unknownHour = $('hour-unknown').checked;
  const time = $('time').value;
  if (lunar) {
    const year = $('lunar-year').value.trim();
    const month = (($('lunar-leap').checked ? '闰' : '') + $('lunar-month').value);
    let text = `${year} ${month} ${$('lunar-day').value}`;
    if (!unknownHour && time) text += ' ' + time;
    if (year) query.set('lunar', text);
  } else if ($('date').value) {
    query.set('datetime', unknownHour || !time ? $('date').value : `${$('date').value}T${time}`);
  }
  const longitude = $('longitude').value.trim();
  if (longitude) query.set('longitude', longitude);
  const tz = $('tz').value.trim();
  if (tz && tz !== 'Asia/Shanghai') query.set('tz', tz);
  for (const key of ['sex', 'solar_time', 'zi_hour', 'luck_method', 'year_start']) {
    const value = $(key).value;
    const defaults = { zi_hour: 'next-day-stem', luck_method: 'minutes', year_start: 'lichun' };
    if (value && value !== defaults[key]) query.set(key, value);
  }
  const place = $('place').value.trim();
  if (place && longitude) query.set('place', place);
  return query;
}

function writeForm(query) {
  const lunar = query.get('lunar');
  document.querySelector(`input[name=calendar][value=${lunar ? 'lunar' : 'solar'}]`).checked = true;
  let time = '';
  if (lunar) {
    const m = /^\s*(\d{4})[ -]+(闰|L)?(\d{1,2})[ -]+(\d{1,2})(?:\s+(\d{1,2}:\d{2}(?::\d{2})?))?\s*$/u.exec(lunar);
    if (m) {
      $('lunar-year').value = m[1];
      $('lunar-leap').checked = !!m[2];
      $('lunar-month').value = String(Number(m[3]));
      $('lunar-day').value = String(Number(m[4]));
      time = m[5] || '';
    }
  } else {
    const datetime = query.get('datetime') || '';
    const [date, clock] = datetime.split(/[T ]/u);
    $('date').value = date || '';
    time = clock || '';
  }
  if (time.length === 4 || time.length === 7) time = '0' + time;
  $('time').value = time;
  const hasDate = lunar || query.get('datetime');
  $('hour-unknown').checked = !!hasDate && !time;
  $('longitude').value = query.get('longitude') || '';
  $('tz').value = query.get('tz') || 'Asia/Shanghai';
  $('place').value = query.get('place') || '';
  $('sex').value = query.get('sex') || '';
  $('solar_time').value = query.get('solar_time') || '';
  $('zi_hour').value = query.get('zi_hour') || 'next-day-stem';
  $('luck_method').value = query.get('luck_method') || 'minutes';
  $('year_start').value = query.get('year_start') || 'lichun';
  showCalendar();
}

function showCalendar() {
  const lunar = document.querySelector('input[name=calendar]:checked').value === 'lunar';
  document.body.classList.toggle('lunar-mode', lunar);
  $('time').disabled = $('hour-unknown').checked;
}

function pageUrl(query) {
  const full = new URLSearchParams(query);
  if (state.lang === 'hant') full.set('lang', 'hant');
  if (state.order === 'rtl') full.set('order', 'rtl');
  return '?' + full.toString();
}

// ---- asking the API ----

async function getJson(path, query) {
  const response = await fetch(API + path + '?' + query.toString(), { headers: { Accept: 'application/json' } });
  let body;
  try {
    body = await response.json();
  } catch {
    body = { error: `HTTP ${response.status}` };
  }
  return { ok: response.ok, body };
}

function chartQuery(query) {
  const api = new URLSearchParams();
  for (const key of CHART_KEYS) if (query.get(key)) api.set(key, query.get(key));
  const year = birthYear(query);
  if (year && api.get('sex')) api.set('annual', `${year}-${Math.min(year + 120, year + 199)}`);
  return api;
}

function birthYear(query) {
  const m = /^\s*(\d{4})/u.exec(query.get('datetime') || query.get('lunar') || '');
  return m ? Number(m[1]) : null;
}

let requestNumber = 0;
async function showChart(query) {
  const mine = ++requestNumber;
  const api = chartQuery(query);
  if (!api.get('datetime') && !api.get('lunar')) {
    setStatus('请填写出生日期。', true);
    $('chart').hidden = true;
    return;
  }
  setStatus('排盘中…');
  const first = await getJson('chart', api);
  if (mine !== requestNumber) return;
  if (first.ok) {
    state.answer = first.body;
    state.readings = null;
    setStatus('');
    render();
    return;
  }
  // A clock time that does not exist or occurs twice: both readings, to choose.
  if (!api.get('fold')) {
    const earlier = new URLSearchParams(api); earlier.set('fold', 'earlier');
    const later = new URLSearchParams(api); later.set('fold', 'later');
    const [a, b] = await Promise.all([getJson('chart', earlier), getJson('chart', later)]);
    if (mine !== requestNumber) return;
    if (a.ok && b.ok && a.body.utc !== b.body.utc) {
      state.answer = null;
      state.readings = { message: first.body.error, earlier: a.body, later: b.body, query };
      setStatus('');
      render();
      return;
    }
  }
  state.answer = null;
  state.readings = null;
  $('chart').hidden = true;
  setStatus('输入有误：' + (first.body.error || '未知错误'), true);
}

function setStatus(text, isError) {
  const status = $('status');
  status.textContent = t(text);
  status.classList.toggle('error', !!isError);
}

function navigate(query, push) {
  state.query = onlyInputs(query);
  const url = pageUrl(query);
  if (push) history.pushState(null, '', url);
  else history.replaceState(null, '', url);
  state.selectedLuck = null;
  showChart(query);
}

// ---- rendering ----

function render() {
  const chart = $('chart');
  chart.replaceChildren();
  chart.hidden = false;
  chart.classList.toggle('rtl', state.order === 'rtl');
  if (state.readings) {
    chart.append(renderReadings(state.readings));
    return;
  }
  const a = state.answer;
  if (!a) return;
  chart.append(...[
    renderSummary(a),
    renderPillars(a),
    renderCandidates(a),
    renderWarnings(a),
    renderRelations(a),
    renderBalance(a),
    renderLuck(a),
    renderParts(a),
    renderCorrections(a),
  ].filter(Boolean));
  performance.mark('chart-shown');  // read by the load benchmark
}

function renderSummary(a) {
  const lunar = a.lunar;
  const parts = [];
  if (lunar) {
    parts.push(`农历 ${lunar.year_name}年（${lunar.animal}）${lunar.month_name}${lunar.day_name}`);
  }
  const local = a.corrections.local;
  return el('div', { class: 'summary' },
    el('p', { class: 'lunar-date' }, parts.join('')),
    el('p', { class: 'civil-date' }, '公历 ' + local.replace('T', ' ')));
}

function columnsInOrder() {
  return state.order === 'rtl' ? [...POSITIONS].reverse() : POSITIONS;
}

function renderPillars(a) {
  const byPosition = {};
  for (const p of a.analysis.pillars) byPosition[p.position] = p;
  const columns = columnsInOrder();
  const head = el('tr', {}, el('th', { scope: 'col', class: 'row-head' }, ''),
    columns.map((pos) => el('th', { scope: 'col', class: pos === 'day' ? 'day' : null }, POSITION_NAME[pos])));
  const rows = [];
  const row = (label, cell) => rows.push(el('tr', {}, el('th', { scope: 'row', class: 'row-head' }, label),
    columns.map((pos) => el('td', { class: pos === 'day' ? 'day' : null }, cell(byPosition[pos], pos)))));
  row('十神', (p) => (p ? (p.ten_god === '日主' ? '日主' : p.ten_god) : ''));
  row('天干', (p, pos) => (a.pillars[pos] ? glyph(a.pillars[pos][0], 'big') : el('span', { class: 'unknown' }, '?')));
  row('地支', (p, pos) => (a.pillars[pos] ? glyph(a.pillars[pos][1], 'big') : el('span', { class: 'unknown' }, '?')));
  row('藏干', (p) => (p ? el('ul', { class: 'hidden-stems' }, p.hidden.map((h) =>
    el('li', {}, glyph(h.stem), el('span', { class: 'god' }, h.ten_god)))) : ''));
  row('纳音', (p) => (p ? p.nayin : ''));
  row('长生', (p) => (p ? p.growth_phase : ''));
  const spirits = a.spirits;
  if (spirits && typeof spirits === 'object' && !Array.isArray(spirits) && POSITIONS.some((pos) => Array.isArray(spirits[pos]))) {
    row('神煞', (p, pos) => el('ul', { class: 'spirits' }, (spirits[pos] || []).map((name) => el('li', {}, String(name)))));
  }
  const table = el('table', { class: 'pillars' }, el('caption', {}, '四柱'), el('thead', {}, head), el('tbody', {}, rows));
  const voids = a.analysis.void;
  const extra = el('p', { class: 'void' },
    `空亡：年 ${voids.year}　日 ${voids.day}　司令：${a.analysis.commander}`);
  return el('section', { class: 'pillars-box' }, el('div', { class: 'table-wrap' }, table), extra);
}

function renderCandidates(a) {
  if (!a.candidates || !a.candidates.length) return null;
  const items = a.candidates.map((pillar, i) => {
    const [from, to] = CANDIDATE_HOURS[i];
    const label = `${String(from).padStart(2, '0')}–${String(to).padStart(2, '0')}`;
    const middle = from === 0 ? '00:30' : from === 23 ? '23:30' : `${String(from + 1).padStart(2, '0')}:00`;
    return el('li', {}, el('button', {
      type: 'button', class: 'candidate',
      onclick: () => { $('hour-unknown').checked = false; $('time').value = middle; showCalendar(); submit(); },
    }, pillarGlyphs(pillar), el('span', { class: 'hours' }, label)));
  });
  return el('section', { class: 'candidates' }, el('h2', {}, '时辰不详：13 个可能的时柱'),
    el('p', { class: 'note' }, '按钟表时间排列（早子、丑…亥、晚子）；点一个即以该时辰排盘。'),
    el('ul', { class: 'candidate-list' }, items));
}

function durationWords(seconds) {
  const s = Math.abs(Math.round(seconds));
  const d = Math.floor(s / 86400), h = Math.floor((s % 86400) / 3600), m = Math.floor((s % 3600) / 60), r = s % 60;
  const parts = [];
  if (d) parts.push(`${d} 天`);
  if (h) parts.push(`${h} 小时`);
  if (m) parts.push(`${m} 分`);
  if (r || !parts.length) parts.push(`${r} 秒`);
  return parts.join(' ');
}

// The civil time on the other side of a boundary, in the birth's own zone.
function otherSideQuery(a, warning) {
  const query = new URLSearchParams(state.query);
  const utcMs = Date.parse(a.utc) + (warning.seconds_away + (warning.seconds_away > 0 ? 1 : -1)) * 1000;
  const zone = a.corrections.zone;
  let civil;
  if (/^UTC[+-]/u.test(zone)) {
    civil = new Date(utcMs + a.corrections.utc_offset_seconds * 1000).toISOString().slice(0, 19);
  } else {
    const parts = {};
    for (const part of new Intl.DateTimeFormat('en-CA', {
      timeZone: zone, year: 'numeric', month: '2-digit', day: '2-digit', hour: '2-digit',
      minute: '2-digit', second: '2-digit', hourCycle: 'h23',
    }).formatToParts(new Date(utcMs))) parts[part.type] = part.value;
    civil = `${parts.year}-${parts.month}-${parts.day}T${parts.hour}:${parts.minute}:${parts.second}`;
  }
  query.delete('lunar');
  query.delete('fold');
  query.set('datetime', civil);
  return query;
}

function renderWarnings(a) {
  if (!a.warnings.length) return null;
  return el('section', { class: 'warnings', role: 'alert' }, el('h2', {}, '临界提醒'),
    a.warnings.map((w) => {
      const side = w.seconds_away >= 0 ? '之前' : '之后';
      const differ = w.pillars.map((p) => POSITION_NAME[p]).join('、');
      const other = otherSideQuery(a, w);
      return el('div', { class: 'warning' },
        el('p', {}, `出生在${BOUNDARY_NAME[w.boundary] || w.boundary}${side} ${durationWords(w.seconds_away)}；界的另一边${differ}不同。`),
        el('p', { class: 'other' }, '另一盘：', POSITIONS.map((pos) => (w.other[pos]
          ? el('span', { class: 'other-pillar' }, pillarGlyphs(w.other[pos])) : el('span', { class: 'other-pillar' }, '?')))),
        el('p', {}, el('a', { href: pageUrl(other), class: 'other-link', onclick: (e) => { e.preventDefault(); writeForm(other); navigate(other, true); } },
          `查看另一盘（${other.get('datetime').replace('T', ' ')}）`)),
        el('p', { class: 'engine-note', lang: 'en' }, w.message));
    }));
}

function renderReadings(r) {
  const choose = (fold, chart) => {
    const query = new URLSearchParams(r.query);
    query.set('fold', fold);
    return el('li', {}, el('button', {
      type: 'button', class: 'reading',
      onclick: () => { navigate(query, true); },
    }, el('span', { class: 'reading-time' }, chart.corrections.local.replace('T', ' ')),
    el('span', { class: 'reading-pillars' }, POSITIONS.map((pos) => pillarGlyphs(chart.pillars[pos] || '??'))),
    el('span', { class: 'reading-name' }, fold === 'earlier' ? '较早的读法' : '较晚的读法')));
  };
  return el('section', { class: 'readings' }, el('h2', {}, '这个钟表时间有两种读法'),
    el('p', {}, '当地此时正逢夏令时切换：这个时间不存在或出现两次。请选择一种：'),
    el('ul', { class: 'reading-list' }, choose('earlier', r.earlier), choose('later', r.later)),
    el('p', { class: 'engine-note', lang: 'en' }, r.message));
}

function renderRelations(a) {
  const relations = a.analysis.relations;
  return el('section', { class: 'relations' }, el('h2', {}, '刑冲合害'),
    relations.length ? el('ul', {}, relations.map((r) => el('li', {},
      glyph(r.first), glyph(r.second), ` ${r.kind}（${r.between}）`)))
      : el('p', {}, '无'));
}

function renderBalance(a) {
  const counts = a.analysis.element_counts;
  const order = ['木', '火', '土', '金', '水'];
  const max = Math.max(1, ...order.map((e) => counts[e] || 0));
  return el('section', { class: 'balance' }, el('h2', {}, '五行'),
    el('ul', { class: 'bars' }, order.map((e) => {
      const bar = el('span', { class: `bar el-bg-${ELEMENT_OF[e]}` });
      bar.style.width = `${((counts[e] || 0) / max) * 100}%`;
      return el('li', {}, glyph(e), el('span', { class: 'bar-track' }, bar), el('span', { class: 'count' }, String(counts[e] || 0)));
    })));
}

function currentLuckIndex(pillars, now) {
  let index = -1;
  pillars.forEach((p, i) => { if (Date.parse(p.start) <= now) index = i; });
  return index;
}

function renderLuck(a) {
  if (!a.luck) {
    return el('section', { class: 'luck' }, el('h2', {}, '大运'), el('p', { class: 'note' }, '填写性别后显示大运。'));
  }
  const luck = a.luck;
  const now = Date.now();
  const current = currentLuckIndex(luck.pillars, now);
  if (state.selectedLuck === null || state.selectedLuck >= luck.pillars.length) state.selectedLuck = Math.max(0, current);
  const selected = state.selectedLuck;
  const age = luck.start_age;
  const intro = el('p', { class: 'note' },
    `${luck.forward ? '顺行' : '逆行'}，${age.years} 岁 ${age.months} 个月 ${age.days} 天起运（${luck.start.slice(0, 10)}）`);
  const items = luck.pillars.map((p, i) => el('li', {}, el('button', {
    type: 'button',
    class: ['luck-step', i === current && 'current', i === selected && 'selected'].filter(Boolean).join(' '),
    'aria-pressed': i === selected ? 'true' : 'false',
    'aria-current': i === current ? 'true' : null,
    onclick: () => { state.selectedLuck = i; render(); const again = document.querySelectorAll('.luck-step')[i]; if (again) again.focus(); },
  }, el('span', { class: 'age' }, `${Math.floor(p.age)}岁`), el('span', { class: 'year' }, p.start.slice(0, 4)),
  pillarGlyphs(p.pillar), el('span', { class: 'god' }, p.ten_god), spiritsText(p.spirits),
  i === current ? el('span', { class: 'now-mark' }, '当前') : null)));
  const chosen = luck.pillars[selected];
  const from = Number(chosen.start.slice(0, 4));
  const birth = Number(a.corrections.local.slice(0, 4));
  const thisYear = new Date(now).getFullYear();
  const annual = luck.annual.filter((y) => y.year >= from && y.year < from + 10);
  return el('section', { class: 'luck' }, el('h2', {}, '大运'), intro,
    el('ol', { class: 'timeline' }, items),
    el('h3', {}, `${chosen.pillar}运的流年`),
    annual.length ? el('ol', { class: 'annual' }, annual.map((y) => el('li', { class: y.year === thisYear ? 'current' : null },
      el('span', { class: 'year' }, String(y.year)), el('span', { class: 'age' }, `${y.year - birth}岁`),
      pillarGlyphs(y.pillar), el('span', { class: 'god' }, y.ten_god), spiritsText(y.spirits)))) : el('p', { class: 'note' }, '无'));
}

// Chart parts the engine may add (palaces, spirits, minor luck): shown as
// they come, labelled where the page knows the key.
function renderParts(a) {
  const sections = [];
  for (const key of PART_KEYS) {
    if (a[key] === undefined || a[key] === null) continue;
    sections.push(el('section', { class: 'part' }, el('h2', {}, PART_LABEL[key]), renderValue(a[key])));
  }
  return sections.length ? el('div', { class: 'parts' }, sections) : null;
}

function renderValue(value) {
  if (Array.isArray(value)) return el('ul', { class: 'part-list' }, value.map((v) => el('li', {}, renderValue(v))));
  if (value && typeof value === 'object' && typeof value.pillar === 'string') return renderPillarEntry(value);
  if (value && typeof value === 'object') {
    return el('dl', {}, Object.entries(value).map(([k, v]) => [el('dt', {}, PART_LABEL[k] || k), el('dd', {}, renderValue(v))]));
  }
  const text = String(value);
  return /^[甲乙丙丁戊己庚辛壬癸][子丑寅卯辰巳午未申酉戌亥]$/u.test(text) ? pillarGlyphs(text) : text;
}

// A pillar with what the engine says of it: age, year, jie, ten god, 纳音, 神煞.
function renderPillarEntry(entry) {
  const before = [];
  if (typeof entry.age === 'number') before.push(`${Math.floor(entry.age)}岁`);
  if (typeof entry.year === 'number') before.push(String(entry.year));
  if (typeof entry.jie === 'string') before.push(entry.jie);
  const after = [entry.ten_god, entry.nayin].filter((x) => typeof x === 'string');
  return el('span', { class: 'pillar-entry' },
    before.length ? el('span', { class: 'note' }, before.join(' ') + ' ') : null,
    pillarGlyphs(entry.pillar),
    after.length ? el('span', { class: 'god' }, ' ' + after.join(' ')) : null,
    spiritsText(entry.spirits));
}

function spiritsText(spirits) {
  return Array.isArray(spirits) && spirits.length ? el('span', { class: 'spirit-names' }, spirits.join(' ')) : null;
}

function signedDuration(seconds) {
  return (seconds < 0 ? '−' : '+') + durationWords(seconds);
}

function renderCorrections(a) {
  const c = a.corrections;
  const lines = [];
  lines.push(`时区 ${c.zone}，当时 UTC${c.utc_offset}` + (c.dst_seconds ? `，其中夏令时 ${durationWords(c.dst_seconds)}` : '，无夏令时'));
  lines.push(`出生时刻（世界时）${a.utc.replace('T', ' ').replace('Z', '')}` +
    (a.pillars.hour === null ? '：时辰不详，按当日正午定年柱、月柱' : ''));
  if (c.solar_kind === 'clock') {
    lines.push('日柱、时柱按钟表时间读');
  } else {
    let text = c.solar_kind === 'apparent' ? '日柱、时柱按真太阳时读' : '日柱、时柱按平太阳时读';
    if (c.longitude_seconds !== null) text += `：经度差 ${signedDuration(c.longitude_seconds)}`;
    if (c.equation_of_time_seconds !== null) text += `，均时差 ${signedDuration(c.equation_of_time_seconds)}`;
    text += `，得 ${String(c.solar_time).replace('T', ' ')}`;
    lines.push(text);
  }
  return el('section', { class: 'corrections' }, el('h2', {}, '校正'), el('ul', {}, lines.map((l) => el('li', {}, l))));
}

// ---- places ----

let placeTimer = null;
let placeRequest = 0;
function searchPlaces() {
  clearTimeout(placeTimer);
  placeTimer = setTimeout(async () => {
    const q = $('place').value.trim();
    const mine = ++placeRequest;
    if (!q) { showPlaces([]); return; }
    const { ok, body } = await getJson('places', new URLSearchParams({ q, limit: '8' }));
    if (mine !== placeRequest) return;
    showPlaces(ok ? body.places : []);
  }, 120);
}

function placeLabel(p) {
  const zh = state.lang === 'hant' ? p.zh_hant : p.zh;
  return [zh, p.name, p.province].filter(Boolean).join(' · ');
}

function showPlaces(places) {
  const list = $('place-results');
  list.replaceChildren(...places.map((p) => el('li', {}, el('button', {
    type: 'button', class: 'place-choice',
    onclick: () => choosePlace(p),
  }, el('span', { class: 'place-name' }, placeLabel(p)),
  el('span', { class: 'place-coords' }, `${p.longitude.toFixed(2)}°E ${p.latitude.toFixed(2)}°N`)))));
  list.hidden = !places.length;
  $('place').setAttribute('aria-expanded', places.length ? 'true' : 'false');
}

function choosePlace(p) {
  $('place').value = p.zh || p.name;
  $('longitude').value = String(p.longitude);
  $('tz').value = p.zone;
  showPlaces([]);
  $('place').focus();
}

// ---- switches ----

function applyLanguage() {
  document.documentElement.lang = state.lang === 'hant' ? 'zh-Hant' : 'zh-Hans';
  for (const [node, text] of staticTexts) node.textContent = t(text);
  $('lang').textContent = state.lang === 'hant' ? '简体' : '繁體';
  $('lang').setAttribute('aria-pressed', state.lang === 'hant' ? 'true' : 'false');
  document.title = t('八字排盘 · pillar');
}
function applyOrder() {
  $('order').setAttribute('aria-pressed', state.order === 'rtl' ? 'true' : 'false');
}

function rememberStaticTexts() {
  const walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
  for (let node = walker.nextNode(); node; node = walker.nextNode()) {
    if (node.parentElement.closest('#chart, #lang, #status, #place-results')) continue;
    if (node.textContent.trim()) staticTexts.push([node, node.textContent]);
  }
  for (const option of document.querySelectorAll('option')) {
    staticTexts.push([option.firstChild, option.textContent]);
  }
}

function submit() {
  const query = readForm();
  state.query = query;
  navigate(query, true);
}

function start() {
  fillSelect($('lunar-month'), LUNAR_MONTHS);
  fillSelect($('lunar-day'), LUNAR_DAYS);
  rememberStaticTexts();
  const query = new URLSearchParams(location.search);
  state.lang = query.get('lang') === 'hant' ? 'hant' : 'hans';
  state.order = query.get('order') === 'rtl' ? 'rtl' : 'ltr';
  applyLanguage();
  applyOrder();
  writeForm(query);
  state.query = onlyInputs(query);
  if (query.get('datetime') || query.get('lunar')) showChart(state.query);

  $('birth').addEventListener('submit', (e) => { e.preventDefault(); submit(); });
  for (const radio of document.querySelectorAll('input[name=calendar]')) radio.addEventListener('change', showCalendar);
  $('hour-unknown').addEventListener('change', showCalendar);
  $('place').addEventListener('input', searchPlaces);
  $('place').addEventListener('keydown', (e) => {
    if (e.key === 'ArrowDown') {
      const first = document.querySelector('.place-choice');
      if (first) { e.preventDefault(); first.focus(); }
    } else if (e.key === 'Escape') showPlaces([]);
  });
  $('place-results').addEventListener('keydown', (e) => {
    const choices = [...document.querySelectorAll('.place-choice')];
    const i = choices.indexOf(document.activeElement);
    if (e.key === 'ArrowDown' && i < choices.length - 1) { e.preventDefault(); choices[i + 1].focus(); }
    if (e.key === 'ArrowUp') { e.preventDefault(); (i > 0 ? choices[i - 1] : $('place')).focus(); }
    if (e.key === 'Escape') { showPlaces([]); $('place').focus(); }
  });
  $('lang').addEventListener('click', () => {
    state.lang = state.lang === 'hant' ? 'hans' : 'hant';
    applyLanguage();
    history.replaceState(null, '', pageUrl(state.query));
    render();
  });
  $('order').addEventListener('click', () => {
    state.order = state.order === 'rtl' ? 'ltr' : 'rtl';
    applyOrder();
    history.replaceState(null, '', pageUrl(state.query));
    render();
  });
  window.addEventListener('popstate', () => {
    const q = new URLSearchParams(location.search);
    writeForm(q);
    state.query = onlyInputs(q);
    state.selectedLuck = null;
    if (q.get('datetime') || q.get('lunar')) showChart(state.query);
  });
}

function onlyInputs(query) {
  const inputs = new URLSearchParams();
  for (const key of [...CHART_KEYS, 'place']) if (query.get(key)) inputs.set(key, query.get(key));
  return inputs;
}

if (document.readyState === 'loading') document.addEventListener('DOMContentLoaded', start);
else start();
