-- Roles of an office's construction library on PostgreSQL: who may change what.
--
--   tqwall_owner      owns the library tables (no login); whoever owns them may do everything.
--   tqwall_librarian  reads and changes everything: categories, types, constructions, layers,
--                     materials, material types and provinces.
--   tqwall_engineer   reads everything; changes constructions and their layer sets only where
--                     the construction is provincial (ProvinceId <> 0) and not common
--                     (CommonFlag = 0): the national and the common constructions are what the
--                     whole office relies on. Types, categories, materials and provinces it only
--                     reads.
--
-- Users log in as roles of their own that are members of one of the two:
--   CREATE ROLE anna LOGIN PASSWORD '...' IN ROLE tqwall_librarian;
--   CREATE ROLE ben  LOGIN PASSWORD '...' IN ROLE tqwall_engineer;
--
-- The server enforces it: the table privileges by GRANT, the engineer's rule on constructions by
-- a trigger that raises insufficient_privilege (SQLSTATE 42501). A row-level security policy
-- would skip the refused rows of an UPDATE or DELETE without an error, and the program could not
-- tell the user why nothing changed; the trigger refuses the whole statement, so a refused
-- deletion rolls back and leaves the library as it was. At connection the program asks once what
-- its role may do and disables the rest in its dialogs.
--
-- Run it as a superuser on the library database after the library was made (the first start of
-- tqwall on an empty database makes and fills it), and again whenever the tables are made anew:
--   psql -d tqwall -v ON_ERROR_STOP=1 -f scripts/library-roles.sql
-- It can run any number of times. The table names are the defaults of the ini's [Tables].

\set ON_ERROR_STOP on
SET client_min_messages = warning;

BEGIN;

DO $$
DECLARE
    role text;
BEGIN
    FOREACH role IN ARRAY ARRAY['tqwall_owner', 'tqwall_librarian', 'tqwall_engineer'] LOOP
        IF NOT EXISTS (SELECT 1 FROM pg_roles WHERE rolname = role) THEN
            EXECUTE format('CREATE ROLE %I NOLOGIN', role);
        END IF;
    END LOOP;
END
$$;

GRANT USAGE, CREATE ON SCHEMA public TO tqwall_owner;
GRANT USAGE ON SCHEMA public TO tqwall_librarian, tqwall_engineer;

ALTER TABLE bsdalei OWNER TO tqwall_owner;
ALTER TABLE bstype OWNER TO tqwall_owner;
ALTER TABLE bscode OWNER TO tqwall_owner;
ALTER TABLE boundingstructure OWNER TO tqwall_owner;
ALTER TABLE timbering OWNER TO tqwall_owner;
ALTER TABLE timberingtype OWNER TO tqwall_owner;
ALTER TABLE wallprovince OWNER TO tqwall_owner;

REVOKE ALL ON bsdalei, bstype, bscode, boundingstructure, timbering, timberingtype, wallprovince FROM PUBLIC;
GRANT SELECT, INSERT, UPDATE, DELETE
    ON bsdalei, bstype, bscode, boundingstructure, timbering, timberingtype, wallprovince TO tqwall_librarian;
GRANT SELECT ON bsdalei, bstype, bscode, boundingstructure, timbering, timberingtype, wallprovince TO tqwall_engineer;
REVOKE INSERT, UPDATE, DELETE
    ON bsdalei, bstype, timbering, timberingtype, wallprovince FROM tqwall_engineer;
GRANT INSERT, UPDATE, DELETE ON bscode, boundingstructure TO tqwall_engineer;

-- The engineer's rule applies to a member of tqwall_engineer that is no librarian (a superuser
-- is a member of every role, and so a librarian).
CREATE OR REPLACE FUNCTION tqwall_engineer_rule_applies() RETURNS boolean
    LANGUAGE sql STABLE
    AS $$ SELECT pg_has_role('tqwall_engineer', 'MEMBER') AND NOT pg_has_role('tqwall_librarian', 'MEMBER') $$;

-- National (no province) or common: reserved to the librarians.
CREATE OR REPLACE FUNCTION tqwall_reserved_construction(province integer, common integer) RETURNS boolean
    LANGUAGE sql IMMUTABLE
    AS $$ SELECT COALESCE(province, 0) = 0 OR COALESCE(common, 0) <> 0 $$;

CREATE OR REPLACE FUNCTION tqwall_guard_construction() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
    -- Both the row as it was and as it would be: a national construction may neither be changed
    -- nor be moved into a province, and no construction may become national or common.
    IF tqwall_engineer_rule_applies() AND
       ((TG_OP <> 'INSERT' AND tqwall_reserved_construction(OLD.provinceid, OLD.commonflag)) OR
        (TG_OP <> 'DELETE' AND tqwall_reserved_construction(NEW.provinceid, NEW.commonflag))) THEN
        RAISE EXCEPTION 'only a librarian may change national or common constructions'
            USING ERRCODE = 'insufficient_privilege';
    END IF;
    IF TG_OP = 'DELETE' THEN
        RETURN OLD;
    END IF;
    RETURN NEW;
END
$$;

-- A layer set belongs to its construction (BSCId): it changes where that construction may.
CREATE OR REPLACE FUNCTION tqwall_guard_layers() RETURNS trigger
    LANGUAGE plpgsql
    AS $$
BEGIN
    IF tqwall_engineer_rule_applies() AND EXISTS (
           SELECT 1 FROM bscode c
           WHERE (c.id = OLD.bscid OR c.id = NEW.bscid) AND tqwall_reserved_construction(c.provinceid, c.commonflag)) THEN
        RAISE EXCEPTION 'only a librarian may change the layers of national or common constructions'
            USING ERRCODE = 'insufficient_privilege';
    END IF;
    IF TG_OP = 'DELETE' THEN
        RETURN OLD;
    END IF;
    RETURN NEW;
END
$$;

ALTER FUNCTION tqwall_engineer_rule_applies() OWNER TO tqwall_owner;
ALTER FUNCTION tqwall_reserved_construction(integer, integer) OWNER TO tqwall_owner;
ALTER FUNCTION tqwall_guard_construction() OWNER TO tqwall_owner;
ALTER FUNCTION tqwall_guard_layers() OWNER TO tqwall_owner;

DROP TRIGGER IF EXISTS tqwall_guard ON bscode;
CREATE TRIGGER tqwall_guard BEFORE INSERT OR UPDATE OR DELETE ON bscode
    FOR EACH ROW EXECUTE FUNCTION tqwall_guard_construction();
DROP TRIGGER IF EXISTS tqwall_guard ON boundingstructure;
CREATE TRIGGER tqwall_guard BEFORE INSERT OR UPDATE OR DELETE ON boundingstructure
    FOR EACH ROW EXECUTE FUNCTION tqwall_guard_layers();

COMMIT;
