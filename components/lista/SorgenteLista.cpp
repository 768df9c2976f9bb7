// Print rows of a list window.
#include "components/lista/SorgenteLista.h"

#include "components/lista/GestLista.h"
#include "components/lista/ModelloLista.h"

#include <QDateTime>
#include <QTableView>

namespace
{

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
    if (!righe.Aperta() || !modello)
        return false;
    using Tipo = Risultato::Tipo;
    QList<LimiteColonna> risposta;
    for (const int indice : colonne) {
        if (indice < 0 || indice >= righe.NumeroColonne())
            return false;
        const Risultato::Colonna &c = righe.Colonna(indice);
        LimiteColonna l;
        switch (c.tipo) {
        case Tipo::Testo:
            // The declared size of a table's column (an expression has none).
            l.caratteri = c.tabella.isEmpty() ? 0 : qMax(0, c.lunghezza);
            l.rigida = corta(c);
            break;
        case Tipo::Booleano:
            l.esempi << modello->TestoValore(true) << modello->TestoValore(false);
            break;
        case Tipo::Data:
        case Tipo::DataOra: {
            l.rigida = true;
            // The fixed form of a date: day and month of two digits, the
            // hours past noon, a year of four digits.
            const QDate fine(2000, 12, 28);
            const QString esempio = modello->TestoValore(
                c.tipo == Tipo::DataOra ? QVariant(QDateTime(fine, QTime(23, 59, 59))) : QVariant(fine));
            // Month or day names differ in length: the rows tell.
            if (!conLettere({esempio}))
                l.esempi << esempio;
            break;
        }
        case Tipo::Nullo:
            break;
        default:
            // Numbers: as many digits as the rows show.
            l.rigida = true;
            break;
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
