#!/usr/bin/env python3
"""Expected recurrence starts from python-dateutil, an independent RFC 5545 implementation.

Reads a JSON list of cases from stdin, each {"rule", "dtstart", "zone", "rangeStart",
"rangeEnd"}: dtstart is a wall time "yyyymmddTHHMMSS" in "zone" (an IANA name, or "local" for
the zone in $TZ); the range bounds are UTC "yyyymmddTHHMMSSZ". Writes a JSON list with, per
case, {"inRange": starts within [rangeStart, rangeEnd), "all": every start before rangeEnd},
as UTC texts in the same form.
"""
import json
import os
import re
import sys
from datetime import datetime, timedelta, timezone

from dateutil import rrule, tz


def zone_of(name):
    if name == "local":
        name = os.environ.get("TZ") or "UTC"
    return tz.gettz(name)


def utc(text):
    return datetime.strptime(text, "%Y%m%dT%H%M%SZ").replace(tzinfo=timezone.utc)


def normalise_until(rule, zone):
    # A date-time UNTIL is read as UTC, with or without Z; a date alone runs through that whole
    # day in the series' zone. dateutil wants either spelt as UTC with an aware start.
    def fix(m):
        value = m.group(1).upper()
        if "T" not in value:
            day = datetime.strptime(value, "%Y%m%d") + timedelta(days=1)
            return "UNTIL=" + fmt(day.replace(tzinfo=zone) - timedelta(seconds=1))
        if not value.endswith("Z"):
            value += "Z"
        return "UNTIL=" + value
    return re.sub(r"UNTIL=([0-9TZ]+)", fix, rule, flags=re.I)


def fmt(dt):
    return dt.astimezone(timezone.utc).strftime("%Y%m%dT%H%M%SZ")


def main():
    cases = json.load(sys.stdin)
    out = []
    for case in cases:
        zone = zone_of(case["zone"])
        start = datetime.strptime(case["dtstart"], "%Y%m%dT%H%M%S").replace(tzinfo=zone)
        rule = rrule.rrulestr(normalise_until(case["rule"], zone), dtstart=start)
        lo, hi = utc(case["rangeStart"]), utc(case["rangeEnd"])
        all_starts = []
        for s in rule:
            if s >= hi:
                break
            all_starts.append(fmt(s))
        in_range = [fmt(s) for s in rule.between(lo, hi, inc=True) if lo <= s < hi]
        out.append({"inRange": in_range, "all": all_starts})
    json.dump(out, sys.stdout)


if __name__ == "__main__":
    main()
