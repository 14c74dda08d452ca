-- Link from an event to a to-do (RELATED-TO with the parent relation).
ALTER TABLE events ADD COLUMN related_to_uid TEXT;
CREATE INDEX idx_events_related_to_uid ON events(related_to_uid);
