// Checks calendar/holiday_notices.txt, copied by hand from the State Council's yearly notices,
// against an independent source: chinese-days (vsme), whose data is kept apart from ours. Every
// day of every year the file covers is asked of both; any day on which they differ is printed
// and the script fails, as it does on a line of the file that cannot be read.
//
// Usage (from this folder): npm install   (the versions are pinned in package.json)
//                           node check_holidays.mjs
import fs from 'node:fs'
import path from 'node:path'
import { fileURLToPath } from 'node:url'
import chineseDays from 'chinese-days'

const { isWorkday } = chineseDays
const here = path.dirname(fileURLToPath(import.meta.url))
const dataPath = path.join(here, '..', 'holiday_notices.txt')

const ours = new Map() // 'YYYY-MM-DD' -> true for 班, false for 休
const years = new Set()
let faults = 0
fs.readFileSync(dataPath, 'utf8').split('\n').forEach((line, index) => {
  if (line.trim() === '' || line.startsWith('#')) return
  const match = /^(\d{4})-(\d{2})-(\d{2}) (休|班)( .*)?$/.exec(line)
  const date = match && new Date(Date.UTC(+match[1], +match[2] - 1, +match[3]))
  if (!match || date.toISOString().slice(0, 10) !== line.slice(0, 10)) {
    console.log(`line ${index + 1} cannot be read: ${line}`)
    faults++
    return
  }
  if (ours.has(line.slice(0, 10))) {
    console.log(`line ${index + 1} repeats a day: ${line}`)
    faults++
  }
  ours.set(line.slice(0, 10), match[4] === '班')
  years.add(+match[1])
})

for (const year of [...years].sort()) {
  let days = 0
  for (let t = Date.UTC(year, 0, 1); t < Date.UTC(year + 1, 0, 1); t += 86400000) {
    const iso = new Date(t).toISOString().slice(0, 10)
    const weekday = new Date(t).getUTCDay()
    const working = ours.has(iso) ? ours.get(iso) : weekday >= 1 && weekday <= 5
    if (working !== isWorkday(iso)) {
      console.log(`${iso}: the notices say ${working ? '班' : '休'}, chinese-days ${working ? '休' : '班'}`)
      faults++
    }
    days++
  }
  console.log(`${year}: ${days} days compared`)
}
if (faults > 0) {
  console.log(`${faults} faults`)
  process.exit(1)
}
console.log('the notices and chinese-days agree on every day')
