-- The Google and Microsoft pulls look events up by calendar and provider id.
CREATE INDEX IF NOT EXISTS idx_events_calendar_provider ON events(calendar_id, provider_event_id);
