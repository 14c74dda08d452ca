-- Tombstones let the configuration sync push an account's deletion.
ALTER TABLE accounts ADD COLUMN deleted_at TEXT;
