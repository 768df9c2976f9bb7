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
