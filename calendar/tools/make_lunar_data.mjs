// Makes the Chinese calendar's tables and the tests' comparison data, once, from libraries that
// compute the calendar independently of each other and of this program:
//
//   lunar-javascript (6tail): the months and solar terms after Xu Jianwei's 寿星 algorithms, in
//     China's time (UTC+8). It makes the program's own table, calendar/lunar_tables.inc.
//   date-chinese (commenthol), on astronomia's VSOP87 and Meeus's new moons: the lunar month of
//     every day, for the tests (tests/calendar/data/date_chinese_months.inc).
//   astronomia alone (full VSOP87 earth, ΔT subtracted, UTC+8): the day of every solar term, for
//     the tests (tests/calendar/data/astronomia_terms.inc).
//   ICU (optional, a dump made by icu_months.py): only compared and reported.
//
// Every day from 1901-02-19 to 2100-12-31 is asked of each library; the days on which they
// disagree are printed, so that the notes in calendar/tools/REFERENCES.md can be checked again.
//
// Usage (from this folder): npm install   (the versions are pinned in package.json)
//                           node make_lunar_data.mjs [icu-dump.txt]
import fs from 'node:fs'
import path from 'node:path'
import { fileURLToPath } from 'node:url'
import lunarJavascript from 'lunar-javascript'
import { CalendarChinese } from 'date-chinese'
import { solstice, planetposition, julian, deltat } from 'astronomia'
import astronomiaData from 'astronomia/data'

const { Solar } = lunarJavascript
const here = path.dirname(fileURLToPath(import.meta.url))
const root = path.join(here, '..', '..')
const dayMs = 86400000
const first = Date.UTC(1901, 1, 19)
const last = Date.UTC(2100, 11, 31)
// The table runs to the end of the lunar year 2100, which ends in January 2101.
const tableEnd = Date.UTC(2101, 0, 31)

// The 24 solar terms in the order of the civil year, from 小寒 (285°) on; term i falls in
// month i / 2 + 1.
const termNames = ['小寒', '大寒', '立春', '雨水', '惊蛰', '春分', '清明', '谷雨', '立夏', '小满',
  '芒种', '夏至', '小暑', '大暑', '立秋', '处暑', '白露', '秋分', '寒露', '霜降', '立冬', '小雪',
  '大雪', '冬至']

const ymd = (t) => { const d = new Date(t); return [d.getUTCFullYear(), d.getUTCMonth() + 1, d.getUTCDate()] }
const iso = (t) => new Date(t).toISOString().slice(0, 10)

// --- lunar-javascript: every day's lunar date and solar term -------------------------------
const lj = new Map()  // iso date -> { year, month, leap, day }
const ljTerms = new Map()  // civil year -> 24 days
for (let t = Date.UTC(1901, 0, 1); t <= tableEnd; t += dayMs) {
  const [y, m, d] = ymd(t)
  const lunar = Solar.fromYmd(y, m, d).getLunar()
  lj.set(iso(t), { year: lunar.getYear(), month: Math.abs(lunar.getMonth()), leap: lunar.getMonth() < 0, day: lunar.getDay() })
  const term = lunar.getJieQi()
  if (term && y <= 2100) {
    const i = termNames.indexOf(term)
    if (i < 0 || Math.floor(i / 2) + 1 !== m) throw new Error(`unexpected term ${term} on ${iso(t)}`)
    if (!ljTerms.has(y)) ljTerms.set(y, new Array(24).fill(0))
    ljTerms.get(y)[i] = d
  }
}

// Runs of days with the same lunar month, checked to count 1, 2, 3 ... from the month's start.
function monthStarts (dateOf, from, to) {
  const starts = []
  let expected = null
  for (let t = from; t <= to; t += dayMs) {
    const v = dateOf(t)
    if (v.day === 1) {
      starts.push({ t, ...v, length: 0 })
    } else if (!expected || v.day !== expected.day || v.month !== expected.month || v.leap !== expected.leap) {
      throw new Error(`day ${iso(t)} does not follow the day before it`)
    }
    if (starts.length) starts[starts.length - 1].length++
    expected = { ...v, day: v.day + 1 }
  }
  return starts
}

// --- the program's table: one code per lunar year from lunar-javascript --------------------
// bits 0..12: the lengths of the year's months in order, leap month included (1 = 30 days);
// bits 13..16: the leap month (0: none); bits 17..22: 正月初一 as days after 1 January.
const ljStarts = monthStarts((t) => lj.get(iso(t)), first, tableEnd)
const years = []
for (const s of ljStarts) {
  if (s.month === 1 && !s.leap) years.push({ year: s.year, newYear: s.t, months: [], leap: 0 })
  const y = years[years.length - 1]
  if (s.leap) y.leap = s.month
  y.months.push(s.length)
}
const codes = years.filter((y) => y.year <= 2100).map((y) => {
  if (y.months.length !== (y.leap ? 13 : 12)) throw new Error(`lunar year ${y.year} has ${y.months.length} months`)
  let code = 0
  y.months.forEach((length, i) => {
    if (length !== 29 && length !== 30) throw new Error(`a month of ${length} days in ${y.year}`)
    if (length === 30) code |= 1 << i
  })
  code |= y.leap << 13
  code |= ((y.newYear - Date.UTC(y.year, 0, 1)) / dayMs) << 17
  return '0x' + code.toString(16).padStart(6, '0')
})
if (codes.length !== 200) throw new Error(`${codes.length} lunar years`)
const termRows = []
for (let y = 1901; y <= 2100; y++) {
  const days = ljTerms.get(y)
  if (!days || days.includes(0)) throw new Error(`solar terms of ${y} incomplete`)
  termRows.push('"' + days.map((d) => String(d).padStart(2, '0')).join('') + '"')
}
const rows = (items, perLine) => {
  const lines = []
  for (let i = 0; i < items.length; i += perLine) lines.push('    ' + items.slice(i, i + perLine).join(', ') + ',')
  return lines.join('\n')
}
fs.writeFileSync(path.join(root, 'calendar', 'lunar_tables.inc'),
`// Generated by calendar/tools/make_lunar_data.mjs from lunar-javascript 1.7.7: do not edit.

// One code per lunar year from 1901 to 2100: bits 0..12 the lengths of its months in order, the
// leap month in its place (1: 30 days, 0: 29), bits 13..16 the leap month (0: none), bits
// 17..22 the day of 正月初一 counted from 1 January (0 = 1 January).
inline constexpr std::uint32_t kLunarYearCodes[] = {
${rows(codes, 8)}
};

// The day of the month of each solar term of the civil years 1901 to 2100, in China's time
// (UTC+8), two digits per term from 小寒 to 冬至; term i falls in month i / 2 + 1.
inline constexpr std::string_view kSolarTermDays[] = {
${rows(termRows, 1)}
};
`)

// --- date-chinese: every day's lunar month, for the tests -----------------------------------
// date-chinese reckons the days before 1929 in Beijing's mean solar time (UTC+7:45:40), the
// rest in UTC+8; this program, like lunar-javascript and ICU, keeps to UTC+8 throughout. The
// tests' data is made in UTC+8, and the default's own disagreements are reported below.
class CalendarChineseUtc8 extends CalendarChinese {
  timeshiftUTC () { return 8 / 24 }
}
const lunarOf = (calendar) => (t) => {
  const [y, m, d] = ymd(t)
  calendar.fromGregorian(y, m, d)
  const [cycle, year, month, leap, day] = calendar.get()
  return { year: 60 * cycle + year - 2697, month, leap, day }
}
const dcDate = lunarOf(new CalendarChineseUtc8())
const dcDefault = new CalendarChinese()
const dcDefaultDate = lunarOf(dcDefault)
const dcStarts = monthStarts(dcDate, first, last)
fs.writeFileSync(path.join(root, 'tests', 'calendar', 'data', 'date_chinese_months.inc'),
`// Generated by calendar/tools/make_lunar_data.mjs from date-chinese 2.1.4: do not edit.
// Every lunar month that begins from 1901-02-19 to 2100-12-31, as date-chinese (in UTC+8) finds it asking
// day by day: the civil date of its first day, the lunar year, the month, 1 for a leap month.
${dcStarts.map((s) => `{${ymd(s.t).join(', ')}, ${s.year}, ${s.month}, ${s.leap ? 1 : 0}},`).join('\n')}
`)

// --- astronomia: every solar term's day in UTC+8, for the tests ----------------------------
const earth = new planetposition.Planet(astronomiaData.earth)
const astroTerms = []
for (let y = 1901; y <= 2100; y++) {
  const days = termNames.map((name, i) => {
    const longitude = (285 + 15 * i) % 360
    // solstice.longitude searches from the March equinox of the year it is given.
    const jde = solstice.longitude(longitude >= 285 ? y - 1 : y, earth, longitude * Math.PI / 180)
    const when = new julian.CalendarGregorian().fromJDE(jde)
    const jd = jde - deltat.deltaT(when.toYear()) / 86400 + 8 / 24
    const [cy, cm, cd] = ymd(Math.floor((jd - 2440587.5) * dayMs / dayMs) * dayMs)
    if (cy !== y || cm !== Math.floor(i / 2) + 1) throw new Error(`${name} ${y} found on ${cy}-${cm}-${cd}`)
    return cd
  })
  astroTerms.push({ y, days })
}
fs.writeFileSync(path.join(root, 'tests', 'calendar', 'data', 'astronomia_terms.inc'),
`// Generated by calendar/tools/make_lunar_data.mjs from astronomia 4.2.0: do not edit.
// The day of each solar term of the civil years 1901 to 2100 in China's time (UTC+8): the moment
// the sun's apparent longitude (VSOP87) reaches the term's, less ΔT; from 小寒 to 冬至.
${astroTerms.map((r) => `{${r.y}, {${r.days.join(', ')}}},`).join('\n')}
`)

// --- where the references disagree ----------------------------------------------------------
const label = (v) => v ? `${v.leap ? '闰' : ''}${v.month}/${v.day}` : '-'
function report (name, other) {
  let count = 0
  let run = null
  const flush = () => { if (run) console.log(`  ${run.from}..${run.to} (${run.days} days), e.g. ${run.example}`) }
  for (let t = first; t <= last; t += dayMs) {
    const a = lj.get(iso(t))
    const b = other(t)
    if (!b || (a.month === b.month && a.leap === b.leap && a.day === b.day)) continue
    count++
    if (run && (t - run.last) === dayMs) { run.to = iso(t); run.last = t; run.days++; continue }
    flush()
    run = { from: iso(t), to: iso(t), last: t, days: 1, example: `lunar-javascript ${label(a)}, ${name} ${label(b)}` }
  }
  flush()
  console.log(`lunar-javascript and ${name} disagree on ${count} days`)
}
report('date-chinese in UTC+8', dcDate)
report('date-chinese as it comes (Beijing mean time before 1929)', dcDefaultDate)
if (process.argv[2]) {
  const icu = new Map(fs.readFileSync(process.argv[2], 'utf8').trim().split('\n').map((line) => {
    const [date, month, leap, day] = line.split(' ')
    return [date, { month: +month, leap: leap === '1', day: +day }]
  }))
  report('ICU', (t) => icu.get(iso(t)))
}
let termDiffs = 0
for (const { y, days } of astroTerms) {
  days.forEach((d, i) => {
    if (d !== ljTerms.get(y)[i]) {
      termDiffs++
      console.log(`  ${termNames[i]} ${y}: lunar-javascript day ${ljTerms.get(y)[i]}, astronomia day ${d}`)
    }
  })
}
console.log(`lunar-javascript and astronomia disagree on ${termDiffs} solar terms`)
