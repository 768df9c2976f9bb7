// Codes of the customer form's check boxes, option groups and combos.
#include "customer/TabelleSpecchio.h"

#include "components/util/UtilGlob.h"

#include <cmath>

namespace TabelleSpecchio
{

namespace
{

bool uguale(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QStringList u(std::initializer_list<const char *> testi)
{
    QStringList r;
    for (const char *t : testi)
        r << QString::fromUtf8(t);
    return r;
}

} // namespace

const std::vector<Casella> &Caselle()
{
    static const std::vector<Casella> caselle = {
        {4030, "RagRB", "Raggr.RB:", false},
        {4110, "SiValuta", "Reg.in Valuta:", false},
        {4150, "Rischio", "Rischio:", false},
        {4129, "IvaCassaDisabil", "Disabil.Iva per cassa:", false},
        {5137, "SoggRitAcconto", "Sogg. a rit. acconto:", false},
        {5200, "TSIncluso", "Estrarre in Tessera sanitaria", false},
        {5210, "flagOpposizione", "Oppone invio Tes.Sanit.", false},
        {4170, "CliForFittizio", "Fittizio:", false},
        {5070, "IvaSosp", "Iva ad esig.diff.", false},
        {5080, "Bolli", "Addebito bolli", false},
        {5090, "SpeseBan", "Add.Spese Bancarie", false},
        {1115, "BlackList", "Da estrarre in file paesi in blacklist", true},
        {5065, "CassaPrev", "Sogg. a Cassa Prev.:", false},
    };
    return caselle;
}

const Casella *CasellaIndice(int indice)
{
    for (const Casella &c : Caselle())
        if (c.indice == indice)
            return &c;
    return nullptr;
}

int StatoDaCodice(const Casella &c, const QString &codice)
{
    if (uguale(codice, QStringLiteral("S")))
        return Spunta;
    if (c.maiGrigia || uguale(codice, QStringLiteral("N")))
        return Vuota;
    return Grigia;
}

QString CodiceDaStato(int stato)
{
    if (stato == Spunta)
        return QStringLiteral("S");
    if (stato == Vuota)
        return QStringLiteral("N");
    return QString();
}

const GruppoOpzioni &Opzioni(Gruppo g)
{
    static const GruppoOpzioni gruppi[] = {
        {Gruppo::StatoGiuridico, 1120, "Stato giuridico:", u({"Persona Giuridica", "Persona Fisica"}),
         u({"G", "F"}), -1},
        {Gruppo::Sesso, 1130, "Sesso:", u({"Maschio", "Femmina"}), u({"M", "F"}), -1},
        {Gruppo::AllegaPdf, 5197, "Allegare pdf nel file XML",
         u({"In base alla scelta in stampa", "Sempre", "Mai"}), u({"D", "S", "M"}), 0},
    };
    return gruppi[int(g)];
}

int OpzioneDaCodice(Gruppo g, const QString &codice)
{
    const GruppoOpzioni &o = Opzioni(g);
    for (int i = 0; i < o.codici.size(); ++i)
        if (uguale(codice, o.codici[i]))
            return i;
    return o.predefinita;
}

QString CodiceDaOpzione(Gruppo g, int opzione)
{
    return Opzioni(g).codici.value(opzione);
}

const std::vector<ComboCodici> &Combo()
{
    static const std::vector<ComboCodici> combo = [] {
        const QStringList tipiProvv = u({"N No", "A Articolo", "C Cliente", "G Agente"});
        const QStringList codiciProvv = u({"N", "A", "C", "G"});
        std::vector<ComboCodici> c = {
            {4225, "OperazRilev", ModoCombo::PerCodice, u({"N Normale", "S Sempre", "E Escluso"}),
             u({"N", "S", "E"})},
            {4160, "AllegCF", ModoCombo::PerCodice, u({"S SI", "N NO", "A Allegati e  R.A.", "D Dogana"}),
             u({"S", "N", "A", "D"})},
            {4200, "RifComunicIntenti", ModoCombo::PerCodice,
             u({"1 Una sola operazione per l'importo", "2 Operazioni fino a ..",
                "3 Operazione comprese nel periodo .."}),
             u({"1", "2", "3"})},
            {5120, "PrezzoDDT", ModoCombo::PerCodice,
             u({"T Da Tipo Doc.", "0 No", "1 Prezzi e Sconti ", "2 Prezzi", "3 Prezzi Netti",
                "4 Prezzi,Sc.,Tot.Ivato", "5 Prezzi+iva,Sc.,Tot.Ivato", "6 Prezzi, Sconti e Totale"}),
             u({"T", "0", "1", "2", "3", "4", "5", "6"})},
            {5130, "RagDDT", ModoCombo::PerCodice,
             u({"T Da TabFatt", "S Si", "N No", "A Articolo", "D Destinazione", "E Artic.e Destin.",
                "C Contatto"}),
             u({"T", "S", "N", "A", "D", "E", "C"})},
            {5135, "RagOrd", ModoCombo::PerCodice,
             u({"Si", "No", "A parità di ordine", "A parità di contratto"}), u({"S", "N", "O", "C"})},
            {5192, "FENoStampaLivelli", ModoCombo::Livelli,
             u({"Standard", "No articolo principale", "Solo articolo principale", "Prezzi sui livelli",
                "Prezzo su riga articolo"}),
             u({"", "N", "S", "L", "F"})},
            {5180, "TipoProvv", ModoCombo::PerCodice, tipiProvv, codiciProvv},
            {5185, "TipoProvv2", ModoCombo::PerCodice, tipiProvv, codiciProvv},
            {5100, "StRifOrd", ModoCombo::PerCodice,
             u({"T Da Tab.Fatt.", "No", "Si ", "Solo Preventivi", "Solo Ordini"}),
             u({"T", "N", "S", "P", "O"})},
            {5110, "StRifCli", ModoCombo::PerCodice, u({"T Da Tab.Fatt.", "N No", "S Si"}),
             u({"T", "N", "S"})},
        };
        const char *email[] = {"EmailFat", "EmailDdt", "EmailOrd", "EmailAltro", "EmailPEC"};
        for (int i = 0; i < 5; ++i)
            c.push_back({PrimaEmail + i, email[i], ModoCombo::Numero, {}, u({"0", "1", "2", "3", "4"})});
        return c;
    }();
    return combo;
}

const ComboCodici *ComboIndice(int indice)
{
    for (const ComboCodici &c : Combo())
        if (c.indice == indice)
            return &c;
    return nullptr;
}

int PosizioneDaCodice(const ComboCodici &c, const QString &codice)
{
    if (c.modo == ModoCombo::Numero) {
        // One digit, as the program stores them: read without the number parser.
        if (codice.size() == 1 && codice[0] >= u'0' && codice[0] <= u'9') {
            const int pos = codice[0].unicode() - u'0';
            return pos <= 4 ? pos : 0;
        }
        static const UtilGlob util;
        const double n = util.ValoreNumerico(codice, true, true);
        // Stored values are 0-4 only; anything else shows the default choice.
        const int pos = int(std::lround(n));
        return pos >= 0 && pos <= 4 && n == pos ? pos : 0;
    }
    for (int i = 0; i < c.codici.size(); ++i)
        if (!c.codici[i].isEmpty() && uguale(codice, c.codici[i]))
            return i;
    return c.modo == ModoCombo::Livelli ? 0 : -1;
}

QString CodiceDaPosizione(const ComboCodici &c, int posizione)
{
    // An e-mail choice column holds one digit: no item stores the default choice.
    if (c.modo == ModoCombo::Numero)
        return QString::number(posizione < 0 ? 0 : posizione);
    if (posizione < 0)
        return QString();
    return c.codici.value(posizione);
}

} // namespace TabelleSpecchio
