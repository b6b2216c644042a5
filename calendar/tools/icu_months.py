#!/usr/bin/env python3
"""Dumps ICU's Chinese calendar for every day from 1901-02-19 to 2100-12-31, one line a day:
"YYYY-MM-DD month leap day" (leap 1 for a leap month). make_lunar_data.mjs compares it with the
other references and reports where they part. Needs Debian's python3-icu.

Usage: python3 icu_months.py > icu.txt
"""
import datetime
import icu

IS_LEAP_MONTH = 22  # UCAL_IS_LEAP_MONTH, which PyICU does not name

calendar = icu.Calendar.createInstance(icu.TimeZone.getGMT(), icu.Locale("zh_CN@calendar=chinese"))
day = datetime.date(1901, 2, 19)
epoch = datetime.date(1970, 1, 1)
while day <= datetime.date(2100, 12, 31):
    calendar.setTime((day - epoch).days * 86400.0)  # PyICU takes seconds
    month = calendar.get(icu.UCalendarDateFields.MONTH) + 1
    leap = calendar.get(IS_LEAP_MONTH)
    print(f"{day} {month} {leap} {calendar.get(icu.UCalendarDateFields.DATE)}")
    day += datetime.timedelta(days=1)
