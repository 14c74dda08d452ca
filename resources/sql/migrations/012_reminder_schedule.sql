-- A reminder of a repeating event reminds of every occurrence: its trigger_time is the next
-- moment the reminder poll has to look at it, and handled_until how far the poll has reminded of
-- its occurrences (NULL: nothing yet).
ALTER TABLE reminders ADD COLUMN handled_until TEXT;

-- Reminders of repeating events were acknowledged after their first occurrence; they go on.
UPDATE reminders SET acknowledged = 0 WHERE event_id IN (
    SELECT id FROM events
    WHERE recurrence_rule IS NOT NULL AND recurrence_rule != ''
      AND NOT (COALESCE(master_event_uid, '') != '' AND COALESCE(recurrence_id, '') != ''));

-- Reminders of one-off events long over can never fire: handled here once, so that the first
-- poll does not read years of them.
UPDATE reminders SET acknowledged = 1 WHERE acknowledged = 0 AND EXISTS (
    SELECT 1 FROM events e
    WHERE e.id = reminders.event_id
      AND (COALESCE(e.recurrence_rule, '') = ''
           OR (COALESCE(e.master_event_uid, '') != '' AND COALESCE(e.recurrence_id, '') != ''))
      AND julianday(e.start_time) < julianday('now', '-2 days'));

-- The poll reads only the reminders still to fire, up to the present, from this index alone.
-- Made last, after the updates above have settled the history.
CREATE INDEX idx_reminders_unacknowledged ON reminders(trigger_time, id) WHERE acknowledged = 0;
