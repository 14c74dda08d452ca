#!/usr/bin/python3
"""Reads an iCalendar file with libical and prints what it found as JSON, so the tests can
compare our reader and writers with an independent parser.

Date-times come out as {"utc": epoch seconds} when they name an instant (UTC or a zone that
libical resolves), {"floating": "yyyyMMddTHHmmss"} without a zone and {"date": "yyyyMMdd"}."""
import json
import sys

import gi

gi.require_version("ICalGLib", "3.0")
from gi.repository import ICalGLib as I  # noqa: E402

TEXT = {"UID", "SUMMARY", "DESCRIPTION", "LOCATION", "STATUS", "URL", "RRULE", "PRIORITY",
        "PERCENT-COMPLETE", "SEQUENCE", "ACTION", "X-LARKSPINDLE-REPEAT-MODE",
        "X-LARKSPINDLE-ITEM-TYPE", "X-LARKSPINDLE-SORT-ORDER"}
TIMES = {"DTSTART", "DTEND", "DUE", "COMPLETED", "RECURRENCE-ID", "EXDATE", "RDATE", "DTSTAMP",
         "CREATED", "LAST-MODIFIED"}


def time_json(t):
    if t.is_date():
        return {"date": "%04d%02d%02d" % (t.get_year(), t.get_month(), t.get_day())}
    zone = t.get_timezone()
    if t.is_utc() or zone is not None:
        return {"utc": t.as_timet_with_zone(I.Timezone.get_utc_timezone()) if t.is_utc()
                else t.as_timet_with_zone(zone)}
    return {"floating": "%04d%02d%02dT%02d%02d%02d" % (
        t.get_year(), t.get_month(), t.get_day(), t.get_hour(), t.get_minute(), t.get_second())}


def prop_value(comp, prop, name):
    if name in TIMES:
        if name == "RDATE":
            dp = prop.get_rdate()
            t = dp.get_time()
            if t.is_null_time():
                t = dp.get_period().get_start()
            zone = prop.get_first_parameter(I.ParameterKind.TZID_PARAMETER)
            if zone is not None and not t.is_date():
                tz = comp.get_parent().get_timezone(zone.get_tzid()) if comp.get_parent() else None
                if tz is None:
                    tz = I.Timezone.get_builtin_timezone(zone.get_tzid())
                t.set_timezone(tz)
            return time_json(t)
        return time_json(prop.get_datetime_with_component(comp))
    if name == "CATEGORIES":
        return prop.get_categories()
    if name == "RELATED-TO":
        return prop.get_relatedto()
    if name == "ORGANIZER":
        return prop.get_organizer()
    if name == "TRIGGER":
        trig = prop.get_trigger()
        t = trig.get_time()
        if not t.is_null_time():
            return {"absolute": time_json(t)}
        return {"seconds": trig.get_duration().as_int()}
    if name == "DURATION":
        return prop.get_duration().as_int()
    if name in ("SUMMARY", "DESCRIPTION", "LOCATION", "UID"):
        return getattr(prop, "get_" + name.lower())()
    return prop.get_value_as_string()


def params_json(prop):
    out = {}
    p = prop.get_first_parameter(I.ParameterKind.ANY_PARAMETER)
    while p is not None:
        s = p.as_ical_string()
        key, _, value = s.partition("=")
        out[key.upper()] = value
        p = prop.get_next_parameter(I.ParameterKind.ANY_PARAMETER)
    return out


def component_json(comp):
    props = []
    p = comp.get_first_property(I.PropertyKind.ANY_PROPERTY)
    while p is not None:
        name = p.get_property_name().upper()
        props.append({"name": name, "params": params_json(p), "value": prop_value(comp, p, name)})
        p = comp.get_next_property(I.PropertyKind.ANY_PROPERTY)
    subs = []
    c = comp.get_first_component(I.ComponentKind.ANY_COMPONENT)
    while c is not None:
        subs.append(component_json(c))
        c = comp.get_next_component(I.ComponentKind.ANY_COMPONENT)
    return {"kind": I.Component.kind_to_string(comp.isa()), "properties": props,
            "components": subs}


def main():
    with open(sys.argv[1], encoding="utf-8", newline="") as f:
        text = f.read()
    root = I.Component.new_from_string(text)
    if root is None:
        print(json.dumps({"error": "unparsable"}))
        return 0
    items = []
    kinds = (I.ComponentKind.VEVENT_COMPONENT, I.ComponentKind.VTODO_COMPONENT)
    if root.isa() in kinds:
        items.append(component_json(root))
    c = root.get_first_component(I.ComponentKind.ANY_COMPONENT)
    while c is not None:
        if c.isa() in kinds:
            items.append(component_json(c))
        c = root.get_next_component(I.ComponentKind.ANY_COMPONENT)
    print(json.dumps({"components": items}))
    return 0


if __name__ == "__main__":
    sys.exit(main())
