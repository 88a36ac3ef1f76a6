-- ZorvTrim's shared history register: roles and tables.
-- Run once as a PostgreSQL superuser, connected to the register's database, and again after
-- each ZorvTrim update that says "The register needs an update":
--   psql -h HOST -U postgres -d zorvtrim -f register-setup.sql
-- zorvtrim_owner owns the tables (only this script changes them); zorvtrim_laptop may only add
-- events and read them. Give each laptop a login of its own in that role:
--   CREATE ROLE laptop_unit1 LOGIN PASSWORD '...' IN ROLE zorvtrim_laptop;
\set ON_ERROR_STOP on
BEGIN;
DO $$ BEGIN
  IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'zorvtrim_owner') THEN
    CREATE ROLE zorvtrim_owner NOLOGIN;
  END IF;
  IF NOT EXISTS (SELECT FROM pg_roles WHERE rolname = 'zorvtrim_laptop') THEN
    CREATE ROLE zorvtrim_laptop NOLOGIN;
  END IF;
END $$;
REVOKE CREATE ON SCHEMA public FROM PUBLIC;
GRANT USAGE, CREATE ON SCHEMA public TO zorvtrim_owner;
GRANT USAGE ON SCHEMA public TO zorvtrim_laptop;
-- Tables a laptop created before these roles existed pass to the owner.
DO $$ DECLARE t text; BEGIN
  FOREACH t IN ARRAY ARRAY['meta', 'events', 'unsent', 'set_aside'] LOOP
    IF to_regclass(t) IS NOT NULL THEN
      EXECUTE format('ALTER TABLE %I OWNER TO zorvtrim_owner', t);
    END IF;
  END LOOP;
END $$;
SET ROLE zorvtrim_owner;
CREATE TABLE IF NOT EXISTS meta (key TEXT PRIMARY KEY, value TEXT NOT NULL);
CREATE TABLE IF NOT EXISTS events ( id TEXT PRIMARY KEY, time_utc TEXT NOT NULL, kind TEXT NOT NULL, product TEXT NOT NULL, link_text TEXT NOT NULL, chip_line TEXT NOT NULL, file_crc32 BIGINT, file_path TEXT NOT NULL, image BYTEA NOT NULL, truck TEXT NOT NULL);
CREATE INDEX IF NOT EXISTS events_by_time ON events (time_utc);
CREATE INDEX IF NOT EXISTS events_by_truck ON events (truck, time_utc);
INSERT INTO meta (key, value) VALUES ('schema_version', '0') ON CONFLICT DO NOTHING;
CREATE TABLE IF NOT EXISTS unsent (id TEXT PRIMARY KEY);
ALTER TABLE events ADD COLUMN IF NOT EXISTS repaired_image BYTEA;
ALTER TABLE events ADD COLUMN IF NOT EXISTS flash_crc32 BIGINT;
ALTER TABLE events ADD COLUMN IF NOT EXISTS image_product TEXT NOT NULL DEFAULT '';
CREATE TABLE IF NOT EXISTS set_aside (id TEXT PRIMARY KEY, reason TEXT NOT NULL, time_utc TEXT NOT NULL);
UPDATE meta SET value = '3' WHERE key = 'schema_version';
REVOKE ALL ON meta, events, unsent, set_aside FROM PUBLIC;
GRANT SELECT ON meta, unsent, set_aside TO zorvtrim_laptop;
GRANT SELECT, INSERT ON events TO zorvtrim_laptop;
RESET ROLE;
COMMIT;
