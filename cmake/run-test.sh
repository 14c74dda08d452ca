#!/bin/sh
# Runs one test executable in a fresh, private environment and removes it afterwards.
set -u
root=$(mktemp -d "${TMPDIR:-/tmp}/larktest.XXXXXX") || exit 1
mkdir -p "$root/home" "$root/config" "$root/data" "$root/cache" "$root/state" "$root/runtime" "$root/tmp" "$root/calendar"
chmod 700 "$root/runtime"
export HOME="$root/home"
export XDG_CONFIG_HOME="$root/config"
export XDG_DATA_HOME="$root/data"
export XDG_CACHE_HOME="$root/cache"
export XDG_STATE_HOME="$root/state"
export XDG_RUNTIME_DIR="$root/runtime"
export TMPDIR="$root/tmp"
export CALENDAR_DATA_DIR="$root/calendar"
export CALENDAR_INSTANCE="test$$"
# No session bus: a test never reaches the user's desktop keyring; one that wants a keyring starts
# its own.
export DBUS_SESSION_BUS_ADDRESS="unix:path=$root/runtime/no-bus"
unset QT_LOGGING_RULES
"$@"
rc=$?
rm -rf "$root"
exit $rc
