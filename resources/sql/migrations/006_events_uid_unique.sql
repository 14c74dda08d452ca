-- One row per (calendar, UID, recurrence id). Of each group of duplicates the first row
-- survives: a live row before a tombstone, then the oldest, then the smallest id. The
-- duplicates' child rows go first because the child tables do not cascade.

WITH ranked AS (
    SELECT id, ROW_NUMBER() OVER (
        PARTITION BY calendar_id, uid, COALESCE(recurrence_id, '')
        ORDER BY (deleted_at IS NOT NULL), created, id) AS rn
    FROM events
)
DELETE FROM attendees WHERE event_id IN (SELECT id FROM ranked WHERE rn > 1);

WITH ranked AS (
    SELECT id, ROW_NUMBER() OVER (
        PARTITION BY calendar_id, uid, COALESCE(recurrence_id, '')
        ORDER BY (deleted_at IS NOT NULL), created, id) AS rn
    FROM events
)
DELETE FROM attachments WHERE event_id IN (SELECT id FROM ranked WHERE rn > 1);

WITH ranked AS (
    SELECT id, ROW_NUMBER() OVER (
        PARTITION BY calendar_id, uid, COALESCE(recurrence_id, '')
        ORDER BY (deleted_at IS NOT NULL), created, id) AS rn
    FROM events
)
DELETE FROM reminders WHERE event_id IN (SELECT id FROM ranked WHERE rn > 1);

WITH ranked AS (
    SELECT id, ROW_NUMBER() OVER (
        PARTITION BY calendar_id, uid, COALESCE(recurrence_id, '')
        ORDER BY (deleted_at IS NOT NULL), created, id) AS rn
    FROM events
)
DELETE FROM events WHERE id IN (SELECT id FROM ranked WHERE rn > 1);

CREATE UNIQUE INDEX IF NOT EXISTS idx_events_uid_unique
    ON events(calendar_id, uid, COALESCE(recurrence_id, ''));
