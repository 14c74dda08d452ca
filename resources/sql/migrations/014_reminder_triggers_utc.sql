-- Reminder triggers are kept in UTC from now on, so that their texts sort as the instants do:
-- the poll reads the earliest due ones from the index of unacknowledged triggers and stops
-- after a batch. Texts with an offset are turned into UTC; local ones are left as they are.
UPDATE reminders SET trigger_time = strftime('%Y-%m-%dT%H:%M:%SZ', trigger_time)
WHERE acknowledged = 0
  AND trigger_time GLOB '[0-9][0-9][0-9][0-9]-[0-9][0-9]-[0-9][0-9]T[0-9][0-9]:[0-9][0-9]:[0-9][0-9][+-][0-9][0-9]:[0-9][0-9]'
  AND strftime('%Y-%m-%dT%H:%M:%SZ', trigger_time) IS NOT NULL;

-- Imports and syncs used to store every past reminder unacknowledged, for the first poll to
-- catch up on at once. Those of one-off events long over can never fire: settled here once.
UPDATE reminders SET acknowledged = 1 WHERE acknowledged = 0 AND EXISTS (
    SELECT 1 FROM events e
    WHERE e.id = reminders.event_id
      AND (COALESCE(e.recurrence_rule, '') = ''
           OR (COALESCE(e.master_event_uid, '') != '' AND COALESCE(e.recurrence_id, '') != ''))
      AND julianday(e.start_time) < julianday('now', '-2 days'));

-- The poll's read, earliest trigger first, stopping after a batch.
CREATE INDEX IF NOT EXISTS idx_reminders_unacknowledged ON reminders(trigger_time, id)
WHERE acknowledged = 0;

-- Task reminders set more than a day ahead of their task, which the poll finds by themselves.
CREATE INDEX IF NOT EXISTS idx_task_reminders_long ON task_reminders(minutes_before)
WHERE acknowledged = 0 AND minutes_before > 1440;
