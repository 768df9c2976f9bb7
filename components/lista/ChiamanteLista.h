// What the list component needs of the window that shows a list: its SELECT,
// its columns, its checks of the search fields and its commands. The list
// component (GestLista, ListaPagine) calls these members by their names; the
// window keeps the list SQL and the bookmark.
#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

class QWidget;

class ChiamanteLista
{
  public:
    virtual ~ChiamanteLista() = default;

    // The list SQL for a condition built from the search fields ("" none).
    virtual QVariant PrepSql(const QString &psWhere) = 0;
    // Stores the SQL and has the list manager open it (GestLista::ApriSql).
    virtual QVariant SettaRecordset(QString &psSql, const QVariant &pvFaiSql) = 0;
    // False when the search fields hold a selection that cannot be used.
    virtual QVariant VerSelez() = 0;
    // A property of the field behind a grid column ("type", "name",
    // "sourcefield", "sourcetable", "dataupdatable", "size", "fieldsize").
    virtual QVariant ovField(int piColIndex, const QString &psProprieta) = 0;
    // The field a column sorts on.
    virtual QVariant ColToSourceField(int piColIndex) = 0;
    // Captions, widths and options of the columns (after every opening).
    virtual void PersColonne() = 0;
    virtual void ButtonComando(const QString &psKey) = 0;
    virtual void CompilaKey() {}
    virtual QVariant ListaKey() = 0;
    // Key of the list's personal settings; True when the list keeps none.
    virtual QVariant PersListaKey(QVariant &key) = 0;
    virtual void ovfrmBookmark(const QString &psBookmark) = 0;
    virtual QString ovfrmBookmark() const = 0;
    virtual void DatRefresh() = 0;
    virtual void ChiudiFrm() = 0;
    virtual void MenuFrm() = 0;
    // Print-running state shared by the windows (1 while a print runs),
    // read only: the print engine alone sets and clears it (StatoStampa.h).
    virtual int oiStaAtt() const = 0;
    virtual QString osSql() const = 0;
    virtual void ListaAvanti() = 0;
    virtual void ListaIndietro() = 0;
    // The window (parent of messages).
    virtual QWidget *Finestra() = 0;
    // What the user is told when the record of list row `riga` (key values
    // `chiave`) could not be shown because no record has that key any more.
    virtual QString TestoRigaAssente(int riga, const QStringList &chiave)
    {
        (void)riga;
        return TestoRigaAssenteComune(chiave);
    }
    static QString TestoRigaAssenteComune(const QStringList &chiave)
    {
        return QStringLiteral("Il record %1 non esiste più: un'altra postazione lo ha cancellato o ne ha "
                              "cambiato il codice, e viene tolto dalla lista.")
            .arg(chiave.join(QLatin1Char('-')));
    }
};
