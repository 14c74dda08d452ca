-- When the user last chose a calendar's name, colour, visibility, order or cloud sync: the time a
-- configuration pull compares with. NULL until someone chose them.
ALTER TABLE calendars ADD COLUMN preferences_changed_at TEXT;
