// Print rows of a list window.
#include "components/lista/SorgenteLista.h"

#include "components/lista/GestLista.h"
#include "components/lista/ModelloLista.h"

#include "components/db/DbMotore.h"
#include "components/util/Currency.h"
#include "components/util/VbErrore.h"

#include <QDateTime>
#include <QSet>
#include <QTableView>

namespace
{

// A date or date-time the engine gave as its own value or as ISO text.
QVariant dataLetta(const QVariant &v, bool conOra)
{
    QDateTime t = v.toDateTime();
    if (!t.isValid() && v.typeId() == QMetaType::QString) {
        const QString s = v.toString().trimmed();
        t = QDateTime::fromString(s, Qt::ISODate);
        if (!t.isValid())
            t = QDateTime::fromString(s, QStringLiteral("yyyy-MM-dd HH:mm:ss"));
        if (!t.isValid())
            t = QDateTime(QDate::fromString(s.left(10), Qt::ISODate), QTime(0, 0));
    }
    if (!t.isValid())
        return {};
    return conOra ? QVariant(t) : QVariant(t.date());
}

// A text column declared of a few characters (a code, a province): its
// texts are never cut, and as wide as their characters at the widest glyph.
bool corta(const Risultato::Colonna &c)
{
    return c.lunghezza > 0 && c.lunghezza <= 6;
}

bool conLettere(const QStringList &testi)
{
    for (const QString &t : testi)
        for (const QChar c : t)
            if (c.isLetter())
                return true;
    return false;
}

} // namespace

SorgenteLista::SorgenteLista(GestLista &lista) : m_lista(lista) {}

SorgenteLista::~SorgenteLista() = default;

QList<ColonnaStampa> SorgenteLista::ColonneStampa()
{
    QList<ColonnaStampa> r;
    const std::vector<ColonnaLista> colonne = m_lista.ColonneLista();
    for (size_t i = 0; i < colonne.size(); ++i) {
        const ColonnaLista &c = colonne[i];
        ColonnaStampa s;
        s.didascalia = c.didascalia.isEmpty() ? c.campo : c.didascalia;
        s.larghezza = c.larghezza;
        // A column the window gave no width prints as wide as the grid shows it.
        if (s.larghezza <= 0 && m_lista.Griglia() && !m_lista.Griglia()->isColumnHidden(int(i)))
            s.larghezza = m_lista.Griglia()->columnWidth(int(i)) * 15;
        s.allineamento = c.allineamento & Qt::AlignHorizontal_Mask;
        s.visibile = c.visibile;
        s.numerica = c.numerica;
        r << s;
    }
    return r;
}

bool SorgenteLista::ApriRighe(const QList<int> &colonne)
{
    m_colonne = colonne;
    m_lettura.reset();
    m_byte.clear();
    m_date.clear();
    m_primaPronta = false;
    if (!m_lista.RecordsetLista().Aperta())
        return false;
    m_lettura = std::make_unique<RigheLista::Lettura>(m_lista.RecordsetLista());
    m_primaPronta = m_lettura->Successiva();
    return m_primaPronta;
}

bool SorgenteLista::RigaSuccessiva(QList<CellaStampa> &celle)
{
    if (!m_lettura)
        return false;
    if (m_primaPronta)
        m_primaPronta = false;
    else if (!m_lettura->Successiva()) {
        m_byte.clear();
        return false;
    }
    const ModelloLista &modello = *m_lista.Modello();
    celle.resize(m_colonne.size());
    m_byte.resize(m_colonne.size());
    for (int i = 0; i < m_colonne.size(); ++i) {
        CellaStampa &c = celle[i];
        if (m_utf8) {
            // A text shows as it is: its bytes are its UTF-8 when they are
            // valid and open with no byte-order mark (which a conversion
            // would drop).
            const QByteArrayView b = m_lettura->TestoUtf8(m_colonne[i]);
            if (!b.isNull() && !b.startsWith("\xEF\xBB\xBF") && b.isValidUtf8()) {
                m_byte[i] = b;
                if (c.valore.isValid())
                    c.valore.clear();
                if (!c.testo.isNull())
                    c.testo.clear();
                continue;
            }
        }
        m_byte[i] = {};
        c.valore = m_lettura->Valore(m_colonne[i]);
        c.testo = testo(modello, c.valore);
    }
    return true;
}

bool SorgenteLista::LimitiColonne(const QList<int> &colonne, QList<LimiteColonna> &limiti)
{
    RigheLista &righe = m_lista.RecordsetLista();
    const ModelloLista *modello = m_lista.Modello();
    if (!righe.Aperta() || !righe.Database() || !modello)
        return false;
    // The columns are named from outside the SELECT: each by a name of its own.
    QSet<QString> nomi;
    for (int i = 0; i < righe.NumeroColonne(); ++i) {
        const QString nome = righe.Colonna(i).nome.toLower();
        if (nome.isEmpty() || nome.contains(QLatin1Char(']')) || nomi.contains(nome))
            return false;
        nomi.insert(nome);
    }
    using Tipo = Risultato::Tipo;
    // The engine's own functions, which cost little for every row (Jet's Like
    // and InStr become functions of ours on SQLite). Several words: a blank
    // between two other characters (blanks, tabs, line breaks).
    const bool pg = righe.Database()->Dialetto(righe.Connessione()) == JetSql::Dialetto::PostgreSQL;
    const QString bianchi = QStringLiteral(" \t\n\v\f");
    const QString parole =
        pg ? QStringLiteral("Max(IIf(strpos(btrim(%1, '") + bianchi + QStringLiteral("'), ' ') > 0, 1, 0))")
           : QStringLiteral("Max(glob('*[^") + bianchi + QStringLiteral("] *[^") + bianchi +
                 QStringLiteral("]*', %1))");
    const QString nonCifre = pg ? QStringLiteral("Max(IIf(Len(translate(%1, '0123456789', '')) > 0, 1, 0))")
                                : QStringLiteral("Max(glob('*[^0-9]*', %1))");
    QStringList calcoli;
    for (int i = 0; i < colonne.size(); ++i) {
        if (colonne[i] < 0 || colonne[i] >= righe.NumeroColonne())
            return false;
        const Risultato::Colonna &c = righe.Colonna(colonne[i]);
        const QString n = QLatin1Char('[') + c.nome + QLatin1Char(']');
        switch (c.tipo) {
        case Tipo::Testo:
            // Expressions are read as their values come: only table columns.
            if (c.tabella.isEmpty())
                return false;
            calcoli << QStringLiteral("Max(Len(%1)) As Lun%2").arg(n).arg(i);
            // A short code is taken whole at the widest glyph: its texts are
            // not looked into.
            if (!corta(c))
                calcoli << parole.arg(n) + QStringLiteral(" As Par") + QString::number(i)
                        << nonCifre.arg(n) + QStringLiteral(" As Alt") + QString::number(i);
            break;
        case Tipo::Intero:
        case Tipo::Decimale:
        case Tipo::Data:
        case Tipo::DataOra:
            calcoli << QStringLiteral("Max(%1) As Mas%2").arg(n).arg(i)
                    << QStringLiteral("Min(%1) As Min%2").arg(n).arg(i);
            break;
        case Tipo::Booleano:
        case Tipo::Nullo:
            break;
        default:
            // Fractions are shown with as many digits as they have.
            return false;
        }
    }
    std::unique_ptr<Risultato> r;
    if (!calcoli.isEmpty()) {
        const SqlLista::Parti &p = righe.Parti();
        const QString corpo = p.semplice ? p.selezione + p.corpo : p.testo;
        try {
            r = righe.Database()->Seleziona(righe.Connessione(), QStringLiteral("Select ") +
                                                                     calcoli.join(QStringLiteral(", ")) +
                                                                     QStringLiteral(" From (") + corpo +
                                                                     QStringLiteral(") As ListaMisura"));
        } catch (const std::exception &) {
            return false; // the rows are measured instead
        }
        if (!r || r->numRighe() != 1)
            return false;
    }
    auto valore = [&r](const QString &nome) { return r->valore(0, r->indice(nome)); };
    QList<LimiteColonna> risposta;
    for (int i = 0; i < colonne.size(); ++i) {
        const Risultato::Colonna &c = righe.Colonna(colonne[i]);
        LimiteColonna l;
        const QString k = QString::number(i);
        if (c.tipo == Tipo::Testo) {
            l.caratteri = valore(QStringLiteral("Lun") + k).toInt();
            if (!corta(c)) {
                l.parole = valore(QStringLiteral("Par") + k).toInt() != 0;
                l.soloCifre = valore(QStringLiteral("Alt") + k).toInt() == 0;
            }
        } else if (c.tipo == Tipo::Booleano) {
            l.esempi << modello->TestoValore(true) << modello->TestoValore(false);
        } else if (c.tipo != Tipo::Nullo) {
            l.rigida = true;
            for (const QString &estremo : {QStringLiteral("Mas"), QStringLiteral("Min")}) {
                const QVariant v = valore(estremo + k);
                if (!v.isValid() || v.isNull())
                    continue;
                QVariant mostrato;
                if (c.tipo == Tipo::Intero) {
                    bool ok = false;
                    mostrato = v.toLongLong(&ok);
                    if (!ok)
                        return false;
                } else if (c.tipo == Tipo::Decimale) {
                    Currency importo;
                    if (Currency::leggiValore(v, importo) != Currency::Lettura::Numero)
                        return false;
                    mostrato = QVariant::fromValue(importo);
                } else {
                    const bool conOra = c.tipo == Tipo::DataOra;
                    mostrato = dataLetta(v, conOra);
                    if (!mostrato.isValid())
                        return false;
                    // Day and month of two digits, the hours past noon.
                    const QDate fine(mostrato.toDateTime().date().year(), 12, 28);
                    l.esempi << modello->TestoValore(conOra ? QVariant(QDateTime(fine, QTime(23, 59, 59)))
                                                            : QVariant(fine));
                }
                l.esempi << modello->TestoValore(mostrato);
            }
            // Month or day names differ in length: the rows are measured.
            if (c.tipo != Tipo::Intero && c.tipo != Tipo::Decimale && conLettere(l.esempi))
                return false;
        }
        risposta << l;
    }
    limiti = risposta;
    return true;
}

QString SorgenteLista::testo(const ModelloLista &modello, const QVariant &valore)
{
    // A date's text hangs on the date alone (the list's format is fixed
    // while it reads): each day is formatted once, a bounded number kept.
    if (valore.typeId() != QMetaType::QDate)
        return modello.TestoValore(valore);
    const qint64 giorno = valore.toDate().toJulianDay();
    if (const auto t = m_date.constFind(giorno); t != m_date.cend())
        return *t;
    if (m_date.size() >= DateTenute)
        m_date.clear();
    return *m_date.insert(giorno, modello.TestoValore(valore));
}

QByteArrayView SorgenteLista::TestoUtf8(int cella) const
{
    return m_utf8 && cella >= 0 && cella < m_byte.size() ? m_byte[cella] : QByteArrayView();
}

int SorgenteLista::NumeroRighe()
{
    return m_lista.RecordsetLista().Aperta() ? m_lista.RecordCount() : 0;
}

void SorgenteLista::ChiudiRighe()
{
    m_lettura.reset();
    m_byte.clear();
    m_date.clear();
    m_primaPronta = false;
}

QString SorgenteLista::Didascalia()
{
    return m_lista.Didascalia();
}
