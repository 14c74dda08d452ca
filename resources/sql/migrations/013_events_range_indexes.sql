-- Rows found by their start time, with the end at hand to leave out those that ended before a
-- range without reading them.
CREATE INDEX IF NOT EXISTS idx_events_start_end ON events (start_time, end_time);

-- Rows that a range on the start time cannot find (series, rows without an end, rows longer
-- than six days), by the latest moment any of their occurrences can end, in Julian days:
-- the end, or what UNTIL or COUNT allow plus the length of one occurrence and a margin for
-- zones; 1e7 when the rule sets no bound that is simple to read. Range reads use it to skip
-- series that ended before the range.
CREATE INDEX IF NOT EXISTS idx_events_series_end ON events (
CASE WHEN recurrence_rule IS NULL OR recurrence_rule = '' THEN COALESCE(julianday(end_time), 1e7)
WHEN recurrence_dates IS NOT NULL AND recurrence_dates NOT IN ('', '[]') THEN 1e7
ELSE COALESCE(max(julianday(start_time),
    min(CASE WHEN instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') > 0
            AND instr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 1), ';UNTIL=') = 0
            AND date((substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 1, 4) || '-' || substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 5, 2) || '-' || substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 7, 2)), '+0 days') = (substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 1, 4) || '-' || substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 5, 2) || '-' || substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 7, 2))
            AND (substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 1, 4) || '-' || substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 5, 2) || '-' || substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 7, 2)) >= '0001'
            AND (substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17) GLOB '[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9];*'
                OR ((substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17) GLOB '[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]T[0-9][0-9][0-9][0-9][0-9][0-9];*'
                        OR substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17) GLOB '[0-9][0-9][0-9][0-9][0-9][0-9][0-9][0-9]T[0-9][0-9][0-9][0-9][0-9][0-9]Z;*')
                    AND substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 10, 2) < '24'
                    AND substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 12, 2) < '60'
                    AND substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 14, 2) < '60'))
        THEN julianday((substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 1, 4) || '-' || substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 5, 2) || '-' || substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';UNTIL=') + 7, 17), 7, 2))) + 1
        ELSE 1e7 END,
        CASE WHEN instr((';' || upper(recurrence_rule) || ';'), ';COUNT=') > 0
            AND instr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';COUNT=') + 1), ';COUNT=') = 0
            AND substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';COUNT=') + 7, 10) GLOB '[1-9]*'
            AND substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';COUNT=') + 7, 10), length(CAST(CAST(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';COUNT=') + 7, 10) AS INTEGER) AS TEXT)) + 1, 1) = ';'
            AND instr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';FREQ=') + 1), ';FREQ=') = 0
            AND (instr((';' || upper(recurrence_rule) || ';'), ';INTERVAL=') = 0 OR instr((';' || upper(recurrence_rule) || ';'), ';INTERVAL=') > 0
                AND instr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';INTERVAL=') + 1), ';INTERVAL=') = 0
                AND substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';INTERVAL=') + 10, 10) GLOB '[1-9]*'
                AND substr(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';INTERVAL=') + 10, 10), length(CAST(CAST(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';INTERVAL=') + 10, 10) AS INTEGER) AS TEXT)) + 1, 1) = ';')
        THEN COALESCE(julianday(start_time) + 7
                + CAST(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';COUNT=') + 7, 10) AS INTEGER)
                * CASE WHEN instr((';' || upper(recurrence_rule) || ';'), ';INTERVAL=') = 0 THEN 1 ELSE CAST(substr((';' || upper(recurrence_rule) || ';'), instr((';' || upper(recurrence_rule) || ';'), ';INTERVAL=') + 10, 10) AS INTEGER) END
                * (CASE WHEN instr((';' || upper(recurrence_rule) || ';'), ';FREQ=DAILY;') > 0 AND instr(replace(replace(replace(replace((';' || upper(recurrence_rule) || ';'), ';BYHOUR=', ';'), ';BYMINUTE=', ';'), ';BYSECOND=', ';'), ';BYDAY=', ';'), ';BY') = 0
                THEN CASE WHEN instr((';' || upper(recurrence_rule) || ';'), ';BYDAY=') > 0 THEN 7 ELSE 1 END
            WHEN instr((';' || upper(recurrence_rule) || ';'), ';FREQ=WEEKLY;') > 0 AND instr(replace(replace(replace(replace((';' || upper(recurrence_rule) || ';'), ';BYHOUR=', ';'), ';BYMINUTE=', ';'), ';BYSECOND=', ';'), ';BYDAY=', ';'), ';BY') = 0 THEN 7
            WHEN instr((';' || upper(recurrence_rule) || ';'), ';FREQ=MONTHLY;') > 0 AND instr(replace(replace(replace((';' || upper(recurrence_rule) || ';'), ';BYHOUR=', ';'), ';BYMINUTE=', ';'), ';BYSECOND=', ';'), ';BY') = 0 THEN 31
            WHEN instr((';' || upper(recurrence_rule) || ';'), ';FREQ=YEARLY;') > 0 AND instr(replace(replace(replace((';' || upper(recurrence_rule) || ';'), ';BYHOUR=', ';'), ';BYMINUTE=', ';'), ';BYSECOND=', ';'), ';BY') = 0 THEN 366 END), 1e7)
        ELSE 1e7 END))
    + 3
    + CASE WHEN end_time IS NULL THEN 1.0 / 24
        ELSE max(0, julianday(end_time) - julianday(start_time)) END, 1e7) END,
start_time)
WHERE deleted_at IS NULL AND ((recurrence_rule IS NOT NULL AND recurrence_rule != '')
    OR end_time IS NULL OR julianday(end_time) IS NULL OR julianday(start_time) IS NULL
    OR julianday(end_time) - julianday(start_time) > 6);
