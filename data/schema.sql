-- Company database: every table the program reads or writes.
--
-- Neutral dialect, applied to SQLite and PostgreSQL by components/db/Schema:
--   $testo(n)   text of at most n characters, compared without regard to case
--   $memo       long text, compared without regard to case
--   $importo    money amount, NUMERIC(19,4)
--   $doppio     double-precision number
--   $intero     32-bit integer
--   $lungo      64-bit integer
--   $data       date (ISO 'yyyy-mm-dd' text in SQLite, DATE in PostgreSQL)
--   $contatore  autoincrement integer primary key
-- A statement that begins with $postgres runs on PostgreSQL only, one that
-- begins with $sqlite on SQLite only.
-- Statements end with ";" at the end of a line; a function's or a trigger's
-- body between "$$" and "$$" holds its own (SQLite reads it without the marks). Names are written as the
-- program's SQL writes them; PostgreSQL folds the unquoted ones to lower case.

-- Chart of accounts ---------------------------------------------------------

CREATE TABLE IF NOT EXISTS Gruppi (
  Gruppo $testo(4) NOT NULL,
  Descrizione $testo(60),
  PRIMARY KEY (Gruppo)
);

CREATE TABLE IF NOT EXISTS Mastri (
  Gruppo $testo(4) NOT NULL,
  Mastro $testo(4) NOT NULL,
  Tipo $testo(1),
  Descrizione $testo(60),
  PRIMARY KEY (Gruppo, Mastro)
);

CREATE TABLE IF NOT EXISTS PianoConti (
  Gruppo $testo(4) NOT NULL,
  Mastro $testo(4) NOT NULL,
  Conto $testo(4) NOT NULL,
  Tipo $testo(1),
  Descrizione $testo(60),
  RagSoc $testo(60),
  RagSoc2 $testo(60),
  Cognome $testo(40),
  Nome $testo(40),
  PersRiferimento $testo(60),
  DataAp $data,
  DataChiu $data,
  Indirizzo $testo(60),
  CAP $testo(10),
  Localita $testo(60),
  Comune $testo(60),
  Pr $testo(2),
  Stato $testo(4),
  Telefono $testo(30),
  Telefono1 $testo(30),
  Fax $testo(30),
  EMail $testo(100),
  EMail2 $testo(100),
  EMail3 $testo(100),
  EMail4 $testo(100),
  EmailFat $testo(1),
  EmailDdt $testo(1),
  EmailOrd $testo(1),
  EmailAltro $testo(1),
  EmailPEC $testo(1),
  PartIva $testo(20),
  CodFisc $testo(20),
  StatoGiurid $testo(1),
  BlackList $testo(1),
  CodTrascodifica $testo(20),
  PassWordOnLine $testo(30),
  DatNascita $data,
  Sesso $testo(1),
  CapNascita $testo(10),
  LocalitaNascita $testo(60),
  PrNascita $testo(2),
  StatoNascita $testo(4),
  DataPers1 $data,
  DataPers2 $data,
  DataPers3 $data,
  DescPers1 $testo(60),
  DescPers2 $testo(60),
  DescPers3 $testo(60),
  NoteCF $memo,
  PdcClasseAttr1 $testo(10),
  PdcClasseAttr2 $testo(10),
  PdcClasseAttr3 $testo(10),
  PdcClasseAttr4 $testo(10),
  PdcClasseAttr5 $testo(10),
  Ricl1 $testo(10),
  Ricl2 $testo(10),
  Ricl3 $testo(10),
  Ricl4 $testo(10),
  AllegCF $testo(1),
  Zona $testo(4),
  Categoria $testo(4),
  CliForFittizio $testo(1),
  Lingua $testo(4),
  SiValuta $testo(1),
  Moneta $testo(4),
  Banca $testo(10),
  CCorrente $testo(30),
  RagRB $testo(1),
  Pagamento $testo(6),
  Pagamento2 $testo(6),
  MeseNoEf1 $intero,
  MeseNoEf2 $intero,
  GioMesSucc1 $intero,
  GioMesSucc2 $intero,
  Iban $testo(34),
  CodBic $testo(11),
  GruppoContr $testo(4),
  MastroContr $testo(4),
  ContoContr $testo(4),
  Rischio $testo(1),
  IvaCassaDisabil $testo(1),
  Fido $importo,
  IndAmm $testo(4),
  RifComunicIntenti $testo(1),
  NrPrgIntenti $testo(20),
  NrDichIntenti $testo(20),
  DataRicComIntenti $data,
  DataDichIntenti $data,
  DataDAIntenti $data,
  DataAIntenti $data,
  ImportoDichIntenti $importo,
  OperazRilev $testo(1),
  DataProcConcDa $data,
  DataProcConcA $data,
  DicIntenti $testo(20),
  Sconto $testo(20),
  Agente1 $testo(6),
  Agente2 $testo(6),
  Provv1 $doppio,
  Provv2 $doppio,
  TipoProvv $testo(1),
  TipoProvv2 $testo(1),
  SpeseBan $testo(1),
  Spesa $testo(6),
  Bolli $testo(1),
  RagDDT $testo(1),
  RagOrd $testo(1),
  StRifOrd $testo(1),
  StRifCli $testo(1),
  IvaSosp $testo(1),
  FECodEori $testo(17),
  FECodIPA $testo(7),
  FETitolo $testo(20),
  FEAllegPdf $testo(1),
  FENoStampaLivelli $testo(1),
  Iva $testo(4),
  Listino $testo(4),
  Vettore $testo(6),
  IndSped $testo(4),
  Resa $testo(4),
  PrezzoDDT $testo(1),
  SoggRitAcconto $testo(1),
  PercRitAcc $doppio,
  CassaPrev $testo(1),
  TSIncluso $testo(1),
  flagOpposizione $testo(1),
  NoteOrdini $memo,
  NoteDdt $memo,
  NoteFattura $memo,
  NoteFatAcc $memo,
  Cointest $testo(10),
  FAStabOrgIndir $testo(60),
  FAStabOrgCap $testo(10),
  FAStabOrgComune $testo(60),
  FAStabOrgPr $testo(2),
  FAStabOrgStato $testo(4),
  FARappFiscCodIdFisc $testo(28),
  FARappFiscRagSoc $testo(80),
  FARappFiscStato $testo(4),
  PRIMARY KEY (Gruppo, Mastro, Conto)
);
-- The name with the key after it: the list in name order reads its pages
-- from this index (ORDER BY Descrizione, Gruppo, Mastro, Conto and the
-- row-value seeks "(Descrizione, Gruppo, Mastro, Conto) > (...)"), which an
-- index of the name alone cannot give without sorting each name's accounts.
-- It answers the name searches as well, so SQLite needs no other; on
-- PostgreSQL PianoConti_NomeNulliPrima below does this.
$postgres CREATE INDEX IF NOT EXISTS PianoConti_Descrizione ON PianoConti (Descrizione);
$sqlite CREATE INDEX IF NOT EXISTS PianoConti_NomeChiave ON PianoConti (Descrizione, Gruppo, Mastro, Conto);
$sqlite DROP INDEX IF EXISTS PianoConti_Descrizione;
-- The VAT number and the tax code, the other columns of the customer list
-- with an index, the same way: the key after them, Null first on PostgreSQL.
$postgres CREATE INDEX IF NOT EXISTS PianoConti_PartIva ON PianoConti (PartIva);
$postgres CREATE INDEX IF NOT EXISTS PianoConti_CodFisc ON PianoConti (CodFisc);
$sqlite CREATE INDEX IF NOT EXISTS PianoConti_PartIvaChiave ON PianoConti (PartIva, Gruppo, Mastro, Conto);
$sqlite CREATE INDEX IF NOT EXISTS PianoConti_CodFiscChiave ON PianoConti (CodFisc, Gruppo, Mastro, Conto);
$sqlite DROP INDEX IF EXISTS PianoConti_PartIva;
$sqlite DROP INDEX IF EXISTS PianoConti_CodFisc;
-- The list's other sortable columns (ledger, account, locality, province,
-- "Spesometro", opening date, zone, agent) the same way, so that a list of
-- any length ordered by one of them reads each page as one seek of its index
-- rather than a sort of every customer. Saving a customer keeps them too:
-- a handful of index entries against a sort of the whole list per page.
$sqlite CREATE INDEX IF NOT EXISTS PianoConti_MastroChiave ON PianoConti (Mastro, Gruppo, Conto);
$sqlite CREATE INDEX IF NOT EXISTS PianoConti_ContoChiave ON PianoConti (Conto, Gruppo, Mastro);
$sqlite CREATE INDEX IF NOT EXISTS PianoConti_LocalitaChiave ON PianoConti (Localita, Gruppo, Mastro, Conto);
$sqlite CREATE INDEX IF NOT EXISTS PianoConti_PrChiave ON PianoConti (Pr, Gruppo, Mastro, Conto);
$sqlite CREATE INDEX IF NOT EXISTS PianoConti_OperazRilevChiave ON PianoConti (OperazRilev, Gruppo, Mastro, Conto);
$sqlite CREATE INDEX IF NOT EXISTS PianoConti_DataApChiave ON PianoConti (DataAp, Gruppo, Mastro, Conto);
$sqlite CREATE INDEX IF NOT EXISTS PianoConti_ZonaChiave ON PianoConti (Zona, Gruppo, Mastro, Conto);
$sqlite CREATE INDEX IF NOT EXISTS PianoConti_Agente1Chiave ON PianoConti (Agente1, Gruppo, Mastro, Conto);
-- No index on Tipo: its three values hold nothing to seek, and SQLite chose it
-- for "Tipo = '3' ... ORDER BY Gruppo, Mastro, Conto LIMIT 1", sorting every
-- customer to return one. Companies made with it lose it here.
DROP INDEX IF EXISTS PianoConti_Tipo;
-- PostgreSQL sorts Null last where the program's ORDER BY puts it first
-- ("NULLS FIRST", as Jet does): the key in that order lets the seeks of the
-- record form and the list read the index instead of sorting the customers.
-- SQLite already sorts Null first, on the primary key.
$postgres CREATE UNIQUE INDEX IF NOT EXISTS PianoConti_ChiaveNulliPrima ON PianoConti (Gruppo NULLS FIRST, Mastro NULLS FIRST, Conto NULLS FIRST);
-- The same for the list in name, VAT number and tax code order (its pages
-- end with the key).
$postgres CREATE INDEX IF NOT EXISTS PianoConti_NomeNulliPrima ON PianoConti (Descrizione NULLS FIRST, Gruppo NULLS FIRST, Mastro NULLS FIRST, Conto NULLS FIRST);
$postgres CREATE INDEX IF NOT EXISTS PianoConti_PartIvaNulliPrima ON PianoConti (PartIva NULLS FIRST, Gruppo NULLS FIRST, Mastro NULLS FIRST, Conto NULLS FIRST);
$postgres CREATE INDEX IF NOT EXISTS PianoConti_CodFiscNulliPrima ON PianoConti (CodFisc NULLS FIRST, Gruppo NULLS FIRST, Mastro NULLS FIRST, Conto NULLS FIRST);
$postgres CREATE INDEX IF NOT EXISTS PianoConti_MastroNulliPrima ON PianoConti (Mastro NULLS FIRST, Gruppo NULLS FIRST, Conto NULLS FIRST);
$postgres CREATE INDEX IF NOT EXISTS PianoConti_ContoNulliPrima ON PianoConti (Conto NULLS FIRST, Gruppo NULLS FIRST, Mastro NULLS FIRST);
$postgres CREATE INDEX IF NOT EXISTS PianoConti_LocalitaNulliPrima ON PianoConti (Localita NULLS FIRST, Gruppo NULLS FIRST, Mastro NULLS FIRST, Conto NULLS FIRST);
$postgres CREATE INDEX IF NOT EXISTS PianoConti_PrNulliPrima ON PianoConti (Pr NULLS FIRST, Gruppo NULLS FIRST, Mastro NULLS FIRST, Conto NULLS FIRST);
$postgres CREATE INDEX IF NOT EXISTS PianoConti_OperazRilevNulliPrima ON PianoConti (OperazRilev NULLS FIRST, Gruppo NULLS FIRST, Mastro NULLS FIRST, Conto NULLS FIRST);
$postgres CREATE INDEX IF NOT EXISTS PianoConti_DataApNulliPrima ON PianoConti (DataAp NULLS FIRST, Gruppo NULLS FIRST, Mastro NULLS FIRST, Conto NULLS FIRST);
$postgres CREATE INDEX IF NOT EXISTS PianoConti_ZonaNulliPrima ON PianoConti (Zona NULLS FIRST, Gruppo NULLS FIRST, Mastro NULLS FIRST, Conto NULLS FIRST);
$postgres CREATE INDEX IF NOT EXISTS PianoConti_Agente1NulliPrima ON PianoConti (Agente1 NULLS FIRST, Gruppo NULLS FIRST, Mastro NULLS FIRST, Conto NULLS FIRST);

CREATE TABLE IF NOT EXISTS IndSped (
  Gruppo $testo(4) NOT NULL,
  Mastro $testo(4) NOT NULL,
  Conto $testo(4) NOT NULL,
  IndSped $testo(4) NOT NULL,
  Descrizione $testo(60),
  RagSoc $testo(60),
  RagSoc2 $testo(60),
  Indirizzo $testo(60),
  Cap $testo(10),
  Localita $testo(60),
  Pr $testo(2),
  Stato $testo(4),
  Telefono $testo(30),
  PRIMARY KEY (Gruppo, Mastro, Conto, IndSped)
);

CREATE TABLE IF NOT EXISTS PianoContiDoc (
  Gruppo $testo(4) NOT NULL,
  Mastro $testo(4) NOT NULL,
  Conto $testo(4) NOT NULL,
  Ordine $intero NOT NULL,
  Descrizione $testo(100),
  Percorso $testo(255),
  PRIMARY KEY (Gruppo, Mastro, Conto, Ordine)
);

CREATE TABLE IF NOT EXISTS PdcDicIntenti (
  Gruppo $testo(4) NOT NULL,
  Mastro $testo(4) NOT NULL,
  Conto $testo(4) NOT NULL,
  PdcDicIntenti $intero NOT NULL,
  Descrizione $testo(60),
  Attivo $testo(1),
  ProtRicezione $testo(30),
  DataRicAE $data,
  NrDichIntenti $intero,
  DataDichIntenti $data,
  NrPrgIntenti $intero,
  DataRicComIntenti $data,
  RifComunicIntenti $testo(1),
  ImportoDichIntenti $importo,
  DataDAIntenti $data,
  DataAIntenti $data,
  PRIMARY KEY (Gruppo, Mastro, Conto, PdcDicIntenti)
);

-- The name and address an account had before a change, at most one row per
-- account and working date (the key below): a second change on the same day
-- keeps the row of the first.
CREATE TABLE IF NOT EXISTS PdcStorico (
  Id $contatore,
  Gruppo $testo(4) NOT NULL,
  Mastro $testo(4) NOT NULL,
  Conto $testo(4) NOT NULL,
  DataVar $data,
  Tipo $testo(1),
  Descrizione $testo(60),
  RagSoc $testo(60),
  RagSoc2 $testo(60),
  Indirizzo $testo(60),
  CAP $testo(10),
  Localita $testo(60),
  Pr $testo(2),
  Stato $testo(4),
  Comune $testo(60)
);
-- At most one history row per account and day: the key refuses a second one
-- however many users save at once. A database made before the key gets it
-- when opened, its later rows of the same account and day removed first.
CREATE UNIQUE INDEX IF NOT EXISTS PdcStorico_Giorno ON PdcStorico (Gruppo, Mastro, Conto, DataVar);

CREATE TABLE IF NOT EXISTS PdcProg (
  Anno $intero NOT NULL,
  PartTipo $testo(1) NOT NULL,
  CoPartGruppo $testo(4) NOT NULL,
  CoPartMastro $testo(4) NOT NULL,
  CoPartConto $testo(4) NOT NULL,
  SaldoIniziale $importo,
  ProgrDare $importo,
  ProgrAvere $importo,
  UltAgg $data,
  SaldoAnnoPrec $importo,
  PRIMARY KEY (Anno, PartTipo, CoPartGruppo, CoPartMastro, CoPartConto)
);

CREATE TABLE IF NOT EXISTS MovPnDett (
  Anno $intero NOT NULL,
  NumReg $intero NOT NULL,
  Riga $intero NOT NULL,
  DataReg $data,
  Descrizione $testo(60),
  TipoPartita $testo(1),
  GruppoPartita $testo(4),
  MastroPartita $testo(4),
  ContoPartita $testo(4),
  TipoCPartita $testo(1),
  GruppoCPartita $testo(4),
  MastroCPartita $testo(4),
  ContoCPartita $testo(4),
  ImportoDare $importo,
  ImportoAvere $importo,
  PRIMARY KEY (Anno, NumReg, Riga)
);
CREATE INDEX IF NOT EXISTS MovPnDett_Partita ON MovPnDett (GruppoPartita, MastroPartita, ContoPartita);
CREATE INDEX IF NOT EXISTS MovPnDett_CPartita ON MovPnDett (GruppoCPartita, MastroCPartita, ContoCPartita);

-- Lookup tables ---------------------------------------------------------------

CREATE TABLE IF NOT EXISTS Stati (
  Stato $testo(4) NOT NULL,
  Descrizione $testo(60),
  Iso $testo(2),
  Cee $testo(1),
  LungPartIva $intero,
  LungPartIva2 $intero,
  CodTabStato $testo(2),
  Moneta $testo(4),
  PRIMARY KEY (Stato)
);

-- Municipalities: one table; Comuni is the same rows under the name the
-- decoding by kind uses.
CREATE TABLE IF NOT EXISTS ComuniCod (
  CodErariale $testo(4) NOT NULL,
  Comune $testo(60),
  Descrizione $testo(60),
  SiglaProv $testo(2),
  CAP $testo(5),
  PRIMARY KEY (CodErariale)
);
CREATE INDEX IF NOT EXISTS ComuniCod_Descrizione ON ComuniCod (Descrizione);
CREATE INDEX IF NOT EXISTS ComuniCod_Comune ON ComuniCod (Comune);
CREATE VIEW IF NOT EXISTS Comuni AS
  SELECT CodErariale, Comune, Descrizione, SiglaProv, CAP FROM ComuniCod;

CREATE TABLE IF NOT EXISTS Banche (
  Banca $testo(10) NOT NULL,
  Descrizione $testo(60),
  Agenzia $testo(60),
  Abi $testo(5),
  Cab $testo(5),
  CodBic $testo(11),
  PRIMARY KEY (Banca)
);

CREATE TABLE IF NOT EXISTS PagTipi (
  PagTipo $testo(4) NOT NULL,
  Descrizione $testo(60),
  TipoEffetto $testo(1),
  AddBolli $testo(1),
  PRIMARY KEY (PagTipo)
);

CREATE TABLE IF NOT EXISTS Pagamenti (
  Pagamento $testo(6) NOT NULL,
  Descrizione $testo(60),
  PagTipo $testo(4),
  Decorrenza $testo(1),
  Periodicita $testo(1),
  NumScad $intero,
  TrattamIva $testo(1),
  GiornoFisso $intero,
  NumGGMM $intero,
  Periodo1 $intero, Percentuale1 $doppio,
  Periodo2 $intero, Percentuale2 $doppio,
  Periodo3 $intero, Percentuale3 $doppio,
  Periodo4 $intero, Percentuale4 $doppio,
  Periodo5 $intero, Percentuale5 $doppio,
  Periodo6 $intero, Percentuale6 $doppio,
  Periodo7 $intero, Percentuale7 $doppio,
  Periodo8 $intero, Percentuale8 $doppio,
  Periodo9 $intero, Percentuale9 $doppio,
  Periodo10 $intero, Percentuale10 $doppio,
  Periodo11 $intero, Percentuale11 $doppio,
  Periodo12 $intero, Percentuale12 $doppio,
  PRIMARY KEY (Pagamento)
);

CREATE TABLE IF NOT EXISTS Categorie (
  Categoria $testo(4) NOT NULL,
  Descrizione $testo(60),
  PRIMARY KEY (Categoria)
);

CREATE TABLE IF NOT EXISTS Zone (
  Zona $testo(4) NOT NULL,
  Descrizione $testo(60),
  PRIMARY KEY (Zona)
);

CREATE TABLE IF NOT EXISTS Monete (
  Moneta $testo(4) NOT NULL,
  Descrizione $testo(60),
  NumDec $intero,
  NumDecGest $intero,
  Operatore $testo(1),
  Cee $testo(1),
  Cambio $doppio,
  PRIMARY KEY (Moneta)
);

CREATE TABLE IF NOT EXISTS Lingue (
  Lingua $testo(4) NOT NULL,
  Descrizione $testo(60),
  PRIMARY KEY (Lingua)
);

CREATE TABLE IF NOT EXISTS Listini (
  Listino $testo(4) NOT NULL,
  Descrizione $testo(60),
  PRIMARY KEY (Listino)
);

CREATE TABLE IF NOT EXISTS TabIva (
  Iva $testo(4) NOT NULL,
  Aliquota $importo,
  TipoIva $testo(1),
  DescrizioneBreve $testo(20),
  Descrizione $testo(60),
  DescrMemo $memo,
  ApplBolloEse $testo(1),
  PRIMARY KEY (Iva)
);

CREATE TABLE IF NOT EXISTS Vettori (
  Vettore $testo(6) NOT NULL,
  RagSoc $testo(60),
  Indirizzo $testo(60),
  Localita $testo(60),
  PartIva $testo(20),
  PRIMARY KEY (Vettore)
);

CREATE TABLE IF NOT EXISTS Rese (
  Resa $testo(4) NOT NULL,
  Descrizione $testo(60),
  PRIMARY KEY (Resa)
);

CREATE TABLE IF NOT EXISTS Spese (
  Spesa $testo(6) NOT NULL,
  Descrizione $testo(60),
  gruppo $testo(4),
  Mastro $testo(4),
  conto $testo(4),
  Iva $testo(4),
  TipoAddebito $testo(1),
  AddebitoIva $testo(1),
  RifStampa $testo(20),
  SoggScontoPagam $testo(1),
  Importo $importo,
  ImportoLire $importo,
  ImportoMin $importo,
  ImportoMax $importo,
  Percentuale $doppio,
  PRIMARY KEY (Spesa)
);

CREATE TABLE IF NOT EXISTS Agenti (
  Agente $testo(6) NOT NULL,
  RagSoc $testo(60),
  Provv $doppio,
  PRIMARY KEY (Agente)
);

-- One attribute code may exist in several classes.
CREATE TABLE IF NOT EXISTS PdcClasseAttr (
  PdcClasse $intero NOT NULL,
  PdcClasseAttr $testo(10) NOT NULL,
  Descrizione $testo(60),
  PRIMARY KEY (PdcClasse, PdcClasseAttr)
);

CREATE TABLE IF NOT EXISTS Riclass (
  Ricl $testo(10) NOT NULL,
  Descrizione $testo(60),
  PRIMARY KEY (Ricl)
);

CREATE TABLE IF NOT EXISTS PdcCointTest (
  Cointest $testo(10) NOT NULL,
  Descrizione $testo(60),
  PRIMARY KEY (Cointest)
);

CREATE TABLE IF NOT EXISTS Articoli (
  Articolo $testo(20) NOT NULL,
  Descrizione $testo(60),
  Iva $testo(4),
  Prezzo $importo,
  Cauzione $testo(1),
  Inattivo $testo(1),
  PRIMARY KEY (Articolo)
);

-- Sales documents -------------------------------------------------------------

CREATE TABLE IF NOT EXISTS FattDocumenti (
  FattDocumento $testo(4) NOT NULL,
  Descrizione $testo(60),
  RegimeMargine $testo(1),
  Segno $testo(1),
  PRIMARY KEY (FattDocumento)
);

CREATE TABLE IF NOT EXISTS TaBolli (
  CodEseBollo $testo(4),
  GruppoBol $testo(4),
  MastroBol $testo(4),
  ContoBol $testo(4),
  PercBolloTratte $importo,
  MaxNoBolloLire $importo,
  MaxNoBollo $importo,
  BolloEsenteLire $importo,
  BolloEsente $importo,
  ArrotondLire $importo,
  Arrotond $importo,
  Sca1BolRBLire $importo, Sca2BolRBLire $importo, Sca3BolRBLire $importo,
  Sca4BolRBLire $importo, Sca5BolRBLire $importo,
  Sca1BolRB $importo, Sca2BolRB $importo, Sca3BolRB $importo,
  Sca4BolRB $importo, Sca5BolRB $importo,
  Bollo1RBLire $importo, Bollo2RBLire $importo, Bollo3RBLire $importo,
  Bollo4RBLire $importo, Bollo5RBLire $importo,
  Bollo1RB $importo, Bollo2RB $importo, Bollo3RB $importo,
  Bollo4RB $importo, Bollo5RB $importo
);

-- Headers. Only orders and invoices carry ScoPagSuDett: delivery notes never
-- apply the payment discount line by line.
CREATE TABLE IF NOT EXISTS OrdVenTest (
  Anno $intero NOT NULL,
  NumRif $intero NOT NULL,
  DataRif $data,
  NumDoc $testo(20),
  GruppoCli $testo(4),
  MastroCli $testo(4),
  ContoCli $testo(4),
  FattDocumento $testo(4),
  Moneta $testo(4),
  Pagamento $testo(6),
  Iva $testo(4),
  PrezziIvati $testo(1),
  ScontoPag $testo(20),
  ScoPagSuDett $testo(1),
  Acconto $importo,
  PercRitAcc $doppio,
  PdcDicIntenti $intero,
  Stato $testo(1),
  TotMerce $importo,
  TotImpon $importo,
  TotIva $importo,
  TotDocum $importo,
  PRIMARY KEY (Anno, NumRif)
);
CREATE INDEX IF NOT EXISTS OrdVenTest_Cliente ON OrdVenTest (GruppoCli, MastroCli, ContoCli, PdcDicIntenti);

CREATE TABLE IF NOT EXISTS DdtTest (
  Anno $intero NOT NULL,
  NumRif $intero NOT NULL,
  DataRif $data,
  NumDoc $testo(20),
  GruppoCli $testo(4),
  MastroCli $testo(4),
  ContoCli $testo(4),
  FattDocumento $testo(4),
  Moneta $testo(4),
  Pagamento $testo(6),
  Iva $testo(4),
  PrezziIvati $testo(1),
  ScontoPag $testo(20),
  Acconto $importo,
  PercRitAcc $doppio,
  Peso $doppio,
  PdcDicIntenti $intero,
  Stato $testo(1),
  TotMerce $importo,
  TotImpon $importo,
  TotIva $importo,
  TotDocum $importo,
  PRIMARY KEY (Anno, NumRif)
);
CREATE INDEX IF NOT EXISTS DdtTest_Cliente ON DdtTest (GruppoCli, MastroCli, ContoCli, PdcDicIntenti);

CREATE TABLE IF NOT EXISTS FatTest (
  Anno $intero NOT NULL,
  NumRif $intero NOT NULL,
  DataRif $data,
  NumDoc $testo(20),
  GruppoCli $testo(4),
  MastroCli $testo(4),
  ContoCli $testo(4),
  FattDocumento $testo(4),
  Moneta $testo(4),
  Pagamento $testo(6),
  Iva $testo(4),
  PrezziIvati $testo(1),
  ScontoPag $testo(20),
  ScoPagSuDett $testo(1),
  Acconto $importo,
  Abbuono $importo,
  Bolli $testo(1),
  PercRitAcc $doppio,
  Peso $doppio,
  PdcDicIntenti $intero,
  Stato $testo(1),
  TotMerce $importo,
  TotImpon $importo,
  TotIva $importo,
  TotDocum $importo,
  PRIMARY KEY (Anno, NumRif)
);
CREATE INDEX IF NOT EXISTS FatTest_Cliente ON FatTest (GruppoCli, MastroCli, ContoCli, PdcDicIntenti);

-- Purchase orders: only the header, whose supplier columns the footer
-- engine's header query names.
CREATE TABLE IF NOT EXISTS OrdAcqTes (
  Anno $intero NOT NULL,
  NumRif $intero NOT NULL,
  DataRif $data,
  GruppoFor $testo(4),
  MastroFor $testo(4),
  ContoFor $testo(4),
  FattDocumento $testo(4),
  Moneta $testo(4),
  Pagamento $testo(6),
  Iva $testo(4),
  PrezziIvati $testo(1),
  ScontoPag $testo(20),
  Acconto $importo,
  Stato $testo(1),
  TotMerce $importo,
  TotImpon $importo,
  TotIva $importo,
  TotDocum $importo,
  PRIMARY KEY (Anno, NumRif)
);

CREATE TABLE IF NOT EXISTS OrdVenDett (
  Anno $intero NOT NULL,
  NumRif $intero NOT NULL,
  RigDet $intero NOT NULL,
  RigLiv $intero,
  TipoRiga $testo(1),
  Articolo $testo(20),
  Descrizione $testo(60),
  qta $doppio,
  ValUnitario $importo,
  Scontotot $testo(20),
  ValTotale $importo,
  Iva $testo(4),
  Omaggio $testo(1),
  SoggRitAcc $testo(1),
  FlScontoPag $testo(1),
  gruppoven $testo(4),
  MastroVen $testo(4),
  contoVen $testo(4),
  CentroDiCosto $testo(10),
  CompGiornMens $testo(1),
  DataCompDa $data,
  DataCompA $data,
  BeneUsato $testo(10),
  PRIMARY KEY (Anno, NumRif, RigDet)
);

CREATE TABLE IF NOT EXISTS OrdVenLiv (
  Anno $intero NOT NULL,
  NumRif $intero NOT NULL,
  RigLiv $intero NOT NULL,
  Livello1 $testo(10),
  ValUnitario $importo,
  ValTotale $importo,
  PRIMARY KEY (Anno, NumRif, RigLiv)
);

CREATE TABLE IF NOT EXISTS OrdVenSpese (
  Anno $intero NOT NULL,
  NumRif $intero NOT NULL,
  Riga $intero NOT NULL,
  Spesa $testo(6),
  Iva $testo(4),
  TipoAddebito $testo(1),
  Percentuale $doppio,
  Importo $importo,
  ImportoMin $importo,
  ImportoMax $importo,
  SoggRitAcc $testo(1),
  CassaPrev $testo(1),
  Gruppo $testo(4),
  Mastro $testo(4),
  Conto $testo(4),
  PRIMARY KEY (Anno, NumRif, Riga)
);

CREATE TABLE IF NOT EXISTS DdtDett (
  Anno $intero NOT NULL,
  NumRif $intero NOT NULL,
  RigDet $intero NOT NULL,
  RigLiv $intero,
  TipoRiga $testo(1),
  Articolo $testo(20),
  Descrizione $testo(60),
  qta $doppio,
  ValUnitario $importo,
  Scontotot $testo(20),
  ValTotale $importo,
  Iva $testo(4),
  Omaggio $testo(1),
  SoggRitAcc $testo(1),
  FlScontoPag $testo(1),
  gruppoven $testo(4),
  MastroVen $testo(4),
  contoVen $testo(4),
  CentroDiCosto $testo(10),
  CompGiornMens $testo(1),
  DataCompDa $data,
  DataCompA $data,
  BeneUsato $testo(10),
  PRIMARY KEY (Anno, NumRif, RigDet)
);

CREATE TABLE IF NOT EXISTS DdtLiv (
  Anno $intero NOT NULL,
  NumRif $intero NOT NULL,
  RigLiv $intero NOT NULL,
  Livello1 $testo(10),
  ValUnitario $importo,
  ValTotale $importo,
  PRIMARY KEY (Anno, NumRif, RigLiv)
);

CREATE TABLE IF NOT EXISTS DdtSpese (
  Anno $intero NOT NULL,
  NumRif $intero NOT NULL,
  Riga $intero NOT NULL,
  Spesa $testo(6),
  Iva $testo(4),
  TipoAddebito $testo(1),
  Percentuale $doppio,
  Importo $importo,
  ImportoMin $importo,
  ImportoMax $importo,
  SoggRitAcc $testo(1),
  CassaPrev $testo(1),
  Gruppo $testo(4),
  Mastro $testo(4),
  Conto $testo(4),
  PRIMARY KEY (Anno, NumRif, Riga)
);

CREATE TABLE IF NOT EXISTS FatDett (
  Anno $intero NOT NULL,
  NumRif $intero NOT NULL,
  RigDet $intero NOT NULL,
  RigLiv $intero,
  TipoRiga $testo(1),
  Articolo $testo(20),
  Descrizione $testo(60),
  qta $doppio,
  ValUnitario $importo,
  Scontotot $testo(20),
  ValTotale $importo,
  Iva $testo(4),
  Omaggio $testo(1),
  SoggRitAcc $testo(1),
  FlScontoPag $testo(1),
  gruppoven $testo(4),
  MastroVen $testo(4),
  contoVen $testo(4),
  CentroDiCosto $testo(10),
  CompGiornMens $testo(1),
  DataCompDa $data,
  DataCompA $data,
  BeneUsato $testo(10),
  PRIMARY KEY (Anno, NumRif, RigDet)
);

CREATE TABLE IF NOT EXISTS FatLiv (
  Anno $intero NOT NULL,
  NumRif $intero NOT NULL,
  RigLiv $intero NOT NULL,
  Livello1 $testo(10),
  ValUnitario $importo,
  ValTotale $importo,
  PRIMARY KEY (Anno, NumRif, RigLiv)
);

CREATE TABLE IF NOT EXISTS FatSpese (
  Anno $intero NOT NULL,
  NumRif $intero NOT NULL,
  Riga $intero NOT NULL,
  Spesa $testo(6),
  Iva $testo(4),
  TipoAddebito $testo(1),
  Percentuale $doppio,
  Importo $importo,
  ImportoMin $importo,
  ImportoMax $importo,
  SoggRitAcc $testo(1),
  CassaPrev $testo(1),
  Gruppo $testo(4),
  Mastro $testo(4),
  Conto $testo(4),
  PRIMARY KEY (Anno, NumRif, Riga)
);

-- Guest registry of the outside hotel program -------------------------------

-- Phone numbers are numbers there: 0 or Null means none.
CREATE TABLE IF NOT EXISTS "0_ClientHotelArdeno" (
  Id $contatore,
  Rag1 $testo(60),
  Rag2 $testo(60),
  PARTIVA $testo(20),
  INDIRIZZO $testo(60),
  CAP $testo(10),
  LOCALITA $testo(60),
  PROVINCIA $testo(2),
  PREFISSO $testo(6),
  TELEFONO $intero,
  TELEF2 $intero,
  FAX $intero
);

-- Change counter of the look-up tables --------------------------------------

-- Moved by the database itself at every change of what a form may keep in
-- memory from one record to the next: countries, municipalities, group and
-- ledger names, the accounts of a ledger (one added or removed, a key
-- changed). A customer's own edit leaves it alone. Whoever writes these
-- tables moves it, whatever program it is; a form reads it to know whether
-- what it keeps is still what the tables say. One row (Id 1), made by the
-- first change.
CREATE TABLE IF NOT EXISTS VersioneDecodifiche (
  Id $intero NOT NULL,
  Versione $lungo NOT NULL,
  PRIMARY KEY (Id)
);
$postgres CREATE OR REPLACE FUNCTION VersioneDecodifiche_Avanza() RETURNS trigger LANGUAGE plpgsql AS $$
BEGIN
  INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1)
    ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1;
  RETURN NULL;
END $$;
$postgres CREATE OR REPLACE TRIGGER Stati_Versione AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON Stati
  FOR EACH STATEMENT EXECUTE FUNCTION VersioneDecodifiche_Avanza();
$postgres CREATE OR REPLACE TRIGGER ComuniCod_Versione AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON ComuniCod
  FOR EACH STATEMENT EXECUTE FUNCTION VersioneDecodifiche_Avanza();
$postgres CREATE OR REPLACE TRIGGER Gruppi_Versione AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON Gruppi
  FOR EACH STATEMENT EXECUTE FUNCTION VersioneDecodifiche_Avanza();
$postgres CREATE OR REPLACE TRIGGER Mastri_Versione AFTER INSERT OR UPDATE OR DELETE OR TRUNCATE ON Mastri
  FOR EACH STATEMENT EXECUTE FUNCTION VersioneDecodifiche_Avanza();
$postgres CREATE OR REPLACE TRIGGER PianoConti_Versione AFTER INSERT OR DELETE OR TRUNCATE ON PianoConti
  FOR EACH STATEMENT EXECUTE FUNCTION VersioneDecodifiche_Avanza();
-- A key changed even in case only (the columns compare without regard to it).
$postgres CREATE OR REPLACE TRIGGER PianoConti_VersioneChiave AFTER UPDATE OF Gruppo, Mastro, Conto ON PianoConti
  FOR EACH ROW WHEN (OLD.Gruppo::text IS DISTINCT FROM NEW.Gruppo::text OR OLD.Mastro::text IS DISTINCT FROM
  NEW.Mastro::text OR OLD.Conto::text IS DISTINCT FROM NEW.Conto::text)
  EXECUTE FUNCTION VersioneDecodifiche_Avanza();
$sqlite CREATE TRIGGER IF NOT EXISTS Stati_VersioneIns AFTER INSERT ON Stati
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS Stati_VersioneAgg AFTER UPDATE ON Stati
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS Stati_VersioneCanc AFTER DELETE ON Stati
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS ComuniCod_VersioneIns AFTER INSERT ON ComuniCod
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS ComuniCod_VersioneAgg AFTER UPDATE ON ComuniCod
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS ComuniCod_VersioneCanc AFTER DELETE ON ComuniCod
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS Gruppi_VersioneIns AFTER INSERT ON Gruppi
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS Gruppi_VersioneAgg AFTER UPDATE ON Gruppi
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS Gruppi_VersioneCanc AFTER DELETE ON Gruppi
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS Mastri_VersioneIns AFTER INSERT ON Mastri
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS Mastri_VersioneAgg AFTER UPDATE ON Mastri
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS Mastri_VersioneCanc AFTER DELETE ON Mastri
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS PianoConti_VersioneIns AFTER INSERT ON PianoConti
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS PianoConti_VersioneCanc AFTER DELETE ON PianoConti
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
$sqlite CREATE TRIGGER IF NOT EXISTS PianoConti_VersioneChiave AFTER UPDATE OF Gruppo, Mastro, Conto ON PianoConti
  WHEN OLD.Gruppo IS NOT NEW.Gruppo COLLATE BINARY OR OLD.Mastro IS NOT NEW.Mastro COLLATE BINARY
  OR OLD.Conto IS NOT NEW.Conto COLLATE BINARY
  BEGIN $$ INSERT INTO VersioneDecodifiche (Id, Versione) VALUES (1, 1) ON CONFLICT (Id) DO UPDATE SET Versione = VersioneDecodifiche.Versione + 1; $$ END;
