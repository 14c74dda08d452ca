-- The record of an import under way, kept in the data file so that an import cut short by a
-- crash or a kill is taken back at the next start: the event rows it added, and a copy of each
-- row it replaced (with its reminders and attendees) as it was before. One import at a time.
-- The copies have the columns of the tables they copy: a migration that adds a column to
-- events, reminders or attendees adds it to the matching import_saved_ table as well.

CREATE TABLE import_run (
    id          INTEGER PRIMARY KEY CHECK (id = 1),
    calendar_id TEXT NOT NULL,
    file_name   TEXT NOT NULL DEFAULT '',
    -- 1 once the import is complete: what is left of the record is only emptied, never undone.
    kept        INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE import_added (id TEXT PRIMARY KEY) WITHOUT ROWID;

CREATE TABLE import_saved_events AS SELECT * FROM events WHERE 0;
CREATE UNIQUE INDEX idx_import_saved_events_id ON import_saved_events(id);

CREATE TABLE import_saved_reminders AS SELECT * FROM reminders WHERE 0;
CREATE INDEX idx_import_saved_reminders_event ON import_saved_reminders(event_id);

CREATE TABLE import_saved_attendees AS SELECT * FROM attendees WHERE 0;
CREATE INDEX idx_import_saved_attendees_event ON import_saved_attendees(event_id);
