-- The keys of quick-add lines that waited in quick-add-waiting.json and are stored now. Each is
-- written in the same transaction as its line's item, so a line the file still holds after a
-- crash is known to be stored and is not added a second time.

CREATE TABLE quick_add_keys (
    key       TEXT PRIMARY KEY,
    stored_at TEXT NOT NULL
) WITHOUT ROWID;
