#!/usr/bin/env bash
# Records the multistatus replies that tst_CalDavParse reads, from Debian's radicale and
# xandikos started on loopback ports. Run by hand when the recordings need renewing.
set -euo pipefail
out="$(cd "$(dirname "$0")" && pwd)"
work="$(mktemp -d)"
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
rport=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
xport=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

root="$work/radicale/collection-root/alice"
mkdir -p "$root/work" "$root/plain" "$root/contacts"
printf 'alice:secret\n' > "$work/users"
printf '%s' '{"tag": "VCALENDAR", "D:displayname": "Work", "ICAL:calendar-color": "#ff8800", "C:calendar-description": "Team & projects", "C:supported-calendar-component-set": "VEVENT,VTODO"}' > "$root/work/.Radicale.props"
printf '%s' '{"tag": "VCALENDAR"}' > "$root/plain/.Radicale.props"
printf '%s' '{"tag": "VADDRESSBOOK", "D:displayname": "Contacts"}' > "$root/contacts/.Radicale.props"
/usr/bin/radicale -C --server-hosts "127.0.0.1:$rport" --auth-type htpasswd \
    --auth-htpasswd-filename "$work/users" --auth-htpasswd-encryption plain --auth-delay 0 \
    --rights-type owner_only --storage-filesystem-folder "$work/radicale" &
/usr/bin/xandikos -d "$work/xandikos" --defaults -l 127.0.0.1 -p "$xport" 2>/dev/null &
for port in "$rport" "$xport"; do
    for _ in $(seq 100); do curl -s -o /dev/null "http://127.0.0.1:$port/" && break; sleep 0.1; done
done

ct='Content-Type: application/xml; charset=utf-8'
principal='<?xml version="1.0" encoding="utf-8"?><d:propfind xmlns:d="DAV:"><d:prop><d:current-user-principal/></d:prop></d:propfind>'
home='<?xml version="1.0" encoding="utf-8"?><d:propfind xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav"><d:prop><c:calendar-home-set/></d:prop></d:propfind>'
list='<?xml version="1.0" encoding="utf-8"?><d:propfind xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav" xmlns:cs="http://calendarserver.org/ns/" xmlns:ic="http://apple.com/ns/ical/"><d:prop><d:resourcetype/><d:displayname/><ic:calendar-color/><c:calendar-description/><c:supported-calendar-component-set/><cs:getctag/></d:prop></d:propfind>'
propfind() { curl -sf -X PROPFIND -H "$ct" -H "Depth: $1" -d "$2" "${@:4}" "$3"; }

r="http://127.0.0.1:$rport"
propfind 0 "$principal" "$r/" -u alice:secret > "$out/radicale_principal.xml"
propfind 0 "$home" "$r/alice/" -u alice:secret > "$out/radicale_home.xml"
propfind 1 "$list" "$r/alice/" -u alice:secret > "$out/radicale_calendars.xml"

x="http://127.0.0.1:$xport"
curl -sf -X MKCALENDAR -H "$ct" -d '<?xml version="1.0" encoding="utf-8"?><c:mkcalendar xmlns:d="DAV:" xmlns:c="urn:ietf:params:xml:ns:caldav"><d:set><d:prop><d:displayname>Team Rota</d:displayname></d:prop></d:set></c:mkcalendar>' "$x/user/calendars/rota/" > /dev/null
curl -sf -X PROPPATCH -H "$ct" -d '<?xml version="1.0" encoding="utf-8"?><d:propertyupdate xmlns:d="DAV:" xmlns:ic="http://apple.com/ns/ical/"><d:set><d:prop><ic:calendar-color>#33AA55FF</ic:calendar-color></d:prop></d:set></d:propertyupdate>' "$x/user/calendars/rota/" > /dev/null
propfind 0 "$principal" "$x/" > "$out/xandikos_principal.xml"
propfind 0 "$home" "$x/user/" > "$out/xandikos_home.xml"
propfind 1 "$list" "$x/user/calendars/" > "$out/xandikos_calendars.xml"
