-- Common menu database shared by the suite's programs: countries and the
-- scratch table. Same neutral dialect as schema.sql.

CREATE TABLE IF NOT EXISTS TabStati (
  StatoIso $testo(2) NOT NULL,
  Descrizione $testo(60),
  BlackList $testo(1),
  PRIMARY KEY (StatoIso)
);

CREATE TABLE IF NOT EXISTS Appoggio (
  Codice $testo(30) NOT NULL,
  Descr1 $testo(255),
  Descr2 $testo(255),
  Descr3 $testo(255),
  Descr4 $testo(255),
  Descr5 $testo(255),
  Memo1 $memo,
  Memo2 $memo,
  Memo3 $memo,
  Memo4 $memo,
  Memo5 $memo,
  PRIMARY KEY (Codice)
);

-- Change counter of the countries ------------------------------------------

-- Moved by the database itself at every change of TabStati, whatever program
-- makes it, so that a form keeping what it joined from this table (the
-- black-list mark) knows when to read it again. One row (Id 1), made by the
-- first change. On a server the menu tables are a schema of the company's
-- database: the function moves the counter of the schema whose table fired
-- it, whatever the session's search_path.
CREATE TABLE IF NOT EXISTS VersioneMenu (
  Id $intero NOT NULL,
  Versione $lungo NOT NULL,
  PRIMARY KEY (Id)
);
$postgres CREATE OR REPLACE FUNCTION VersioneMenu_Avanza() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  EXECUTE format('INSERT INTO %I.VersioneMenu AS v (Id, Versione) VALUES (1, 1) '
                 'ON CONFLICT (Id) DO UPDATE SET Versione = v.Versione + 1', TG_TABLE_SCHEMA);
  RETURN NULL;
END $$;
$postgres CREATE OR REPLACE TRIGGER TabStati_VersioneMenu AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON TabStati
  FOR EACH STATEMENT EXECUTE FUNCTION VersioneMenu_Avanza();
$sqlite CREATE TRIGGER IF NOT EXISTS TabStati_VersioneMenuIns AFTER INSERT ON TabStati
  BEGIN $$ INSERT INTO VersioneMenu (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneMenu.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS TabStati_VersioneMenuAgg AFTER UPDATE ON TabStati
  BEGIN $$ INSERT INTO VersioneMenu (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneMenu.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS TabStati_VersioneMenuCanc AFTER DELETE ON TabStati
  BEGIN $$ INSERT INTO VersioneMenu (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneMenu.Versione + 1; $$ END;
