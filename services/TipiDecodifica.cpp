// The table of lookup kinds: for each, its table, code and description, the
// further columns read with a row and those the lookup window shows; and how
// each kind's context value narrows its rows.
#include "services/Decodifica.h"

#include "components/db/DbMotore.h"
#include "components/util/UtilGlob.h"
#include "components/util/VbErrore.h"
#include "services/AziOpenDbMenu.h"
#include "services/Codici.h"
#include "services/Globali.h"
#include "services/TestoControlli.h"

#include <QWidget>

namespace
{

struct Tipo {
    const char *tipo;
    const char *titolo;
    const char *tabella;
    const char *codice;
    const char *descrizione;
    const char *altre;    // further columns read, separated by ","
    const char *mostrate; // columns shown: "Nome:Titolo:larghezza", separated by ";"
    bool perDescrizione;  // the window opens in description order
};

// clang-format off
const Tipo Tipi[] = {
    {"Gruppo", "Gruppi", "Gruppi", "Gruppo", "Descrizione", "", "", false},
    {"Mastro", "Mastri", "Mastri", "Mastro", "Descrizione", "Gruppo,Tipo", "Gruppo:Gruppo:6;Tipo:Tipo:4", false},
    {"Conto", "Piano dei conti", "PianoConti", "Gruppo & Mastro & Conto", "Descrizione",
     "Gruppo,Mastro,Conto,Tipo,RagSoc,Indirizzo,CAP,Localita,Pr,PartIva,CodFisc",
     "Localita:Località:24;Pr:Pr:4;PartIva:Partita IVA:13", true},
    {"Stato", "Stati", "Stati", "Stato", "Descrizione", "Iso,Cee,LungPartIva,LungPartIva2,Moneta,CodTabStato",
     "Iso:ISO:4;Moneta:Moneta:6", true},
    {"StatoEle", "Stati (tabella comune)", "TabStati", "StatoIso", "Descrizione", "BlackList",
     "BlackList:Black list:6", true},
    {"PdcClasseAttr", "Attributi di classe", "PdcClasseAttr", "PdcClasseAttr", "Descrizione", "PdcClasse",
     "PdcClasse:Classe:6", false},
    {"Ricl", "Riclassificazioni", "Riclass", "Ricl", "Descrizione", "", "", false},
    {"Banca", "Banche", "Banche", "Banca", "Descrizione", "Agenzia,Abi,Cab,CodBic",
     "Agenzia:Agenzia:24;Abi:ABI:6;Cab:CAB:6", true},
    {"Pagamento", "Pagamenti", "Pagamenti", "Pagamento", "Descrizione", "PagTipo", "", false},
    {"Categoria", "Categorie", "Categorie", "Categoria", "Descrizione", "", "", false},
    {"Zona", "Zone", "Zone", "Zona", "Descrizione", "", "", false},
    {"Moneta", "Monete", "Monete", "Moneta", "Descrizione", "NumDec,NumDecGest,Operatore,Cee",
     "NumDec:Decimali:8", false},
    {"Lingua", "Lingue", "Lingue", "Lingua", "Descrizione", "", "", false},
    {"IndSped", "Indirizzi di spedizione", "IndSped", "IndSped", "Descrizione",
     "Gruppo,Mastro,Conto,RagSoc,RagSoc2,Indirizzo,Cap,Localita,Pr,Stato",
     "Indirizzo:Indirizzo:30;Localita:Località:20;Pr:Pr:4", false},
    {"PdcCointest", "Cointestatari", "PdcCointTest", "Cointest", "Descrizione", "", "", false},
    {"Listino", "Listini", "Listini", "Listino", "Descrizione", "", "", false},
    {"Iva", "Codici IVA", "TabIva", "Iva", "Descrizione", "Aliquota,TipoIva", "Aliquota:Aliquota:8", false},
    {"Vettore", "Vettori", "Vettori", "Vettore", "RagSoc", "Indirizzo,Localita,PartIva", "Localita:Località:20",
     true},
    {"Resa", "Rese", "Rese", "Resa", "Descrizione", "", "", false},
    {"Spesa", "Spese", "Spese", "Spesa", "Descrizione", "Iva,Importo,Percentuale", "", false},
    {"Agente", "Agenti", "Agenti", "Agente", "RagSoc", "Provv", "Provv:Provvigione:10", true},
    {"Comuni", "Comuni", "Comuni", "Descrizione", "Descrizione", "Comune,CodErariale,SiglaProv,CAP",
     "SiglaProv:Prov.:5;CAP:CAP:6;CodErariale:Cod. catastale:8", true},
    {"ComuniCod", "Comuni", "ComuniCod", "Descrizione", "Descrizione", "Comune,CodErariale,SiglaProv,CAP",
     "SiglaProv:Prov.:5;CAP:CAP:6;CodErariale:Cod. catastale:8", true},
    {"Articolo", "Articoli", "Articoli", "Articolo", "Descrizione", "Iva,Prezzo,Inattivo", "Prezzo:Prezzo:10",
     false},
};
// clang-format on

const Tipo *cerca(const QString &tipo)
{
    for (const Tipo &t : Tipi)
        if (tipo.compare(QLatin1String(t.tipo), Qt::CaseInsensitive) == 0)
            return &t;
    return nullptr;
}

QString lit(const QString &testo)
{
    return Globali::Util().ValoreSql(testo, UtilGlob::TipoTesto);
}

// A context value as text: a text box stands for its text.
QString testo(const QVariant &v)
{
    if (QObject *o = v.value<QObject *>())
        return TestoControllo(qobject_cast<QWidget *>(o));
    return v.toString().trimmed();
}

// "3" customers; "34" customers and suppliers; "x1" every type but 1.
QString filtroTipoConto(const QString &contesto)
{
    QString c = contesto;
    const bool escludi = c.startsWith(QLatin1Char('x'), Qt::CaseInsensitive);
    if (escludi)
        c = c.mid(1);
    QStringList tipi;
    for (QChar ch : c)
        if (ch.isDigit())
            tipi << lit(QString(ch));
    if (tipi.isEmpty())
        return {};
    return QStringLiteral("Tipo ") + (escludi ? QStringLiteral("NOT IN (") : QStringLiteral("IN (")) +
           tipi.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString filtroConto(const QString &chiave)
{
    QString g, m, c;
    SpezzaConto(chiave, g, m, c);
    return QStringLiteral("Gruppo = %1 AND Mastro = %2 AND Conto = %3").arg(lit(g), lit(m), lit(c));
}

// What a kind's row of the table says, read into a definition once: codes
// are decoded on every record shown.
const DefRicerca &definizioneFissa(const Tipo &t)
{
    static const std::vector<DefRicerca> fisse = [] {
        std::vector<DefRicerca> v;
        for (const Tipo &t : Tipi) {
            DefRicerca d;
            d.tipo = QLatin1String(t.tipo);
            d.titolo = QString::fromUtf8(t.titolo);
            d.tabella = QLatin1String(t.tabella);
            d.codice = QLatin1String(t.codice);
            d.descrizione = QLatin1String(t.descrizione);
            d.perDescrizione = t.perDescrizione;
            d.programma = d.tabella;
            for (const QString &c : QString::fromLatin1(t.altre).split(QLatin1Char(','), Qt::SkipEmptyParts))
                d.altreColonne << c;
            for (const QString &c :
                 QString::fromUtf8(t.mostrate).split(QLatin1Char(';'), Qt::SkipEmptyParts)) {
                const QStringList p = c.split(QLatin1Char(':'));
                d.colonne.append({p.value(0), p.value(1, p.value(0)), p.value(2).toInt()});
            }
            v.push_back(d);
        }
        return v;
    }();
    return fisse[size_t(&t - Tipi)];
}

// Where the common menu database's tables are read from.
void tabellaMenu(DefRicerca &d)
{
    if (Globali::DbMenu.isEmpty())
        ApriDbComune();
    if (Globali::DbMenu.isEmpty())
        return;
    d.connessione = Globali::DbMenu;
    const QString schema = d.db->Parametro(QStringLiteral("SchemaMenu:") + Globali::DbMenu).toString();
    if (d.db->TipoSql(Globali::DbMenu) && !schema.isEmpty())
        d.tabella = schema + QLatin1Char('.') + d.tabella;
}

} // namespace

bool EsisteTipoDecodifica(const QString &tipo)
{
    return cerca(tipo) != nullptr;
}

QStringList TipiDecodifica()
{
    QStringList l;
    for (const Tipo &t : Tipi)
        l << QLatin1String(t.tipo);
    return l;
}

DefRicerca DefinizioneTipo(const QString &tipo, const QVariant &contesto)
{
    const Tipo *t = cerca(tipo);
    if (!t)
        throw VbErrore(VbErrore::ElementoNonTrovato,
                       QStringLiteral("Tipo di decodifica sconosciuto: %1").arg(tipo));
    DefRicerca d = definizioneFissa(*t);
    d.db = Globali::DbComp();
    d.connessione = Globali::DbAzienda;

    QString ctx;
    QVariantList lista;
    if (contesto.typeId() == QMetaType::QVariantList || contesto.typeId() == QMetaType::QStringList)
        lista = contesto.toList();
    else
        ctx = testo(contesto);

    const QString k = d.tipo;
    if (k == QLatin1String("Conto")) {
        d.chiave = {QStringLiteral("Gruppo"), QStringLiteral("Mastro"), QStringLiteral("Conto")};
        d.spezza = [](const QString &codice) {
            QString g, m, c;
            SpezzaConto(codice, g, m, c);
            return QStringList{g, m, c};
        };
        d.ordineCodice = QStringLiteral("Gruppo, Mastro, Conto");
        d.colonnaCodice = QStringLiteral("Conto");
        d.filtro = filtroTipoConto(lista.isEmpty() ? ctx : testo(lista.value(0)));
    } else if (k == QLatin1String("Mastro")) {
        d.ordineCodice = QStringLiteral("Gruppo, Mastro");
        if (!ctx.isEmpty())
            d.filtro = QStringLiteral("Gruppo = ") + lit(ctx);
    } else if (k == QLatin1String("PdcClasseAttr")) {
        const int classe = ctx.toInt();
        if (classe > 0)
            d.filtro = QStringLiteral("PdcClasse = %1").arg(classe);
    } else if (k == QLatin1String("IndSped")) {
        // An address of no account would match the addresses of every account.
        const QString chiave = lista.isEmpty() ? ctx : testo(lista.value(1));
        d.filtro = chiave.isEmpty() ? QStringLiteral("1 = 0") : filtroConto(chiave);
    } else if (k == QLatin1String("StatoEle")) {
        tabellaMenu(d);
    } else if (k == QLatin1String("Comuni") || k == QLatin1String("ComuniCod")) {
        d.ricercaCodice = QStringLiteral("CAP");
        d.ordineDescrizione = QStringLiteral("Descrizione, SiglaProv");
    }
    return d;
}
