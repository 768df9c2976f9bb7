// The customer record's field catalogue: the 137 registrations of the customer
// form, in order, and the choice of the conditional ones.
#include "customer/CatalogoClienti.h"

#include <QHash>

namespace CatalogoClienti
{

namespace
{

// Builds one entry; the chained calls add what the entry passes beyond the
// name, the box, the page and the caption.
struct F {
    Voce v;
    F(int n, const char *campo, int indice, int pagina, const char *didascalia)
        : v{n, campo, indice, pagina,  didascalia, Origine::Nessuna,   nullptr, 0,
            0, false, false,  nullptr, false,      Condizione::Sempre, nullptr, 0}
    {
    }
    F &def(const char *costante)
    {
        v.origine = Origine::Costante;
        v.costante = costante;
        return *this;
    }
    F &da(Origine origine)
    {
        v.origine = origine;
        return *this;
    }
    F &chiave(int k = 1)
    {
        v.chiave = k;
        return *this;
    }
    F &intero(int dimensione)
    {
        v.dimensione = dimensione;
        v.dimensioneIntera = true;
        return *this;
    }
    F &doppio(double dimensione)
    {
        v.dimensione = dimensione;
        return *this;
    }
    F &opz()
    {
        v.opzione = true;
        return *this;
    }
    F &fmt(const char *formato)
    {
        v.formato = formato;
        return *this;
    }
    F &like()
    {
        v.like = true;
        return *this;
    }
    F &se(Condizione c, const char *chiavePers = nullptr)
    {
        v.condizione = c;
        v.chiavePers = chiavePers;
        return *this;
    }
    F &email(int etichetta)
    {
        v.etichettaEmail = etichetta;
        return *this;
    }
    operator Voce() const { return v; }
};

constexpr int H = PaginaTestata, D = PaginaDettaglio;
using C = Condizione;
using O = Origine;

std::vector<Voce> crea()
{
    return {
        F(1, "Gruppo", 10, H, "Gruppo clienti").da(O::HostGruppo).chiave(),
        F(2, "Mastro", 20, H, "Mastro").da(O::HostMastro).chiave(),
        F(3, "Conto", 30, H, "Conto").chiave(),
        F(4, "Tipo", 35, H, nullptr).def("3").chiave(2),
        F(5, "Descrizione", 40, D, "Ragione Sociale Contabile").opz().like(),
        F(6, "RagSoc", 50, D, "Ragione Sociale").like(),
        F(7, "RagSoc2", 60, D, "Rag.Sociale 2' parte").like(),
        F(8, "DataAp", 70, D, "Data creazione").da(O::DataLavoro).opz(),
        F(9, "DataChiu", 80, D, "Data chiusura"),
        F(10, "Indirizzo", 1010, 0, "Indirizzo").like(),
        F(11, "CAP", 1020, 0, "CAP"),
        F(12, "Localita", 1045, 0, "Localita").like(),
        F(13, "Comune", 1030, 0, "Comune").like(),
        F(14, "Pr", 1040, 0, "Pr"),
        F(15, "Stato", 1050, 0, "Stato").da(O::StatoPredef),
        F(16, "Telefono", 1060, 0, "Telefono"),
        F(17, "Telefono1", 1065, 0, "Telefono1"),
        F(18, "Fax", 1070, 0, "Fax"),
        F(19, "EMail", 1080, 8, "EMail"),
        F(20, "PartIva", 1090, 0, "PartIva"),
        F(21, "CodFisc", 1100, 0, "CodFisc"),
        F(22, "StatoGiurid", 1120, 0, "Stato Giuridico").def("G").opz(),
        F(23, "BlackList", 1115, 0, "In paese BlackList").def("N"),
        F(24, "CodTrascodifica", 1125, 0, "Codice Trascodifica"),
        F(25, "PassWordOnLine", 1128, 0, "PassWordOnLine").like(),
        F(26, "Cognome", 1135, 0, nullptr).se(C::ColonnaCognome),
        F(27, "Nome", 1137, 0, nullptr).se(C::ColonnaCognome),
        F(28, "DatNascita", 1140, 0, "Data di Nascita"),
        F(29, "Sesso", 1130, 0, "Sesso").def("M").opz(),
        F(30, "CapNascita", 1150, 0, "Cap di Nascita"),
        F(31, "LocalitaNascita", 1160, 0, "Località di nascita").like(),
        F(32, "PrNascita", 1170, 0, "Provincia di nascita"),
        F(33, "StatoNascita", 1180, 0, "Stato di nascita "),
        F(34, "PersRiferimento", 1110, 0, "Persona di Riferimento").like(),
        F(35, "DataPers1", 1182, 0, nullptr).se(C::DescrizionePers, "DescDataPers1"),
        F(36, "DataPers2", 1184, 0, nullptr).se(C::DescrizionePers, "DescDataPers2"),
        F(37, "DataPers3", 1185, 0, nullptr).se(C::DescrizionePers, "DescDataPers3"),
        F(38, "DescPers1", 1190, 0, nullptr).se(C::DescrizionePers, "DescDescPers1"),
        F(39, "DescPers2", 1192, 0, nullptr).se(C::DescrizionePers, "DescDescPers2"),
        F(40, "DescPers3", 1194, 0, nullptr).se(C::DescrizionePers, "DescDescPers3"),
        F(41, "NoteCF", 2000, 1, "NoteCF").like(),
        F(42, "PdcClasseAttr1", 3000, 2, "Attributo della classe 1"),
        F(43, "PdcClasseAttr2", 3010, 2, "Attributo della classe 2"),
        F(44, "PdcClasseAttr3", 3020, 2, "Attributo della classe 3"),
        F(45, "PdcClasseAttr4", 3030, 2, "Attributo della classe 4"),
        F(46, "PdcClasseAttr5", 3040, 2, "Attributo della classe 5"),
        F(47, "Ricl1", 3050, 2, "Riclassificazione 1"),
        F(48, "Ricl2", 3060, 2, "Riclassificazione 2"),
        F(49, "Ricl3", 3070, 2, "Riclassificazione 3"),
        F(50, "Ricl4", 3080, 2, "Riclassificazione 4"),
        F(51, "AllegCF", 4160, 3, "Allegati").def("S").opz(),
        F(52, "Zona", 4090, 3, "Zona"),
        F(53, "Categoria", 4080, 3, "Categoria"),
        F(54, "CliForFittizio", 4170, 3, "Fittizio").def("N").opz(),
        F(55, "Lingua", 4130, 3, "Lingua"),
        F(56, "SiValuta", 4110, 3, "Si Valuta").def("N").opz(),
        F(57, "Moneta", 4100, 3, "Moneta").da(O::HostMoneta).opz(),
        F(58, "Banca", 4000, 3, "Banca").like(),
        F(59, "CCorrente", 4010, 3, "Numero Conto Corrente"),
        F(60, "RagRB", 4030, 3, "Raggruppo Ric.Bancarie").def("N").opz(),
        F(61, "Pagamento", 4020, 3, "Condizione di Pagamento").like(),
        F(62, "Pagamento2", 4025, 3, "2' Condizione di Pagamento").like(),
        F(63, "MeseNoEf1", 4040, 3, "Mese no effetti (1)").intero(2).fmt("##"),
        F(64, "MeseNoEf2", 4060, 3, "Mese 2 no effetti").intero(2).fmt("##"),
        F(65, "GioMesSucc1", 4050, 3, "Giorno del mese successivo (1)").intero(2).fmt("##"),
        F(66, "GioMesSucc2", 4070, 3, "Giorno del mese successivo (2)").intero(-4).fmt("#,###"),
        F(67, "Iban", 4074, 3, "Codice Iban"),
        F(68, "CodBic", 4076, 3, "Codice Bic"),
        F(69, "|-|GruppoContr|MastroContr|ContoContr", 4120, 3, "c/Partita"),
        F(70, "Rischio", 4150, 3, "Rischio").def("N").opz(),
        F(71, "IvaCassaDisabil", 4129, 3, "Cliente disabilitato all'Iva per Cassa").def("N"),
        F(72, "Fido", 4140, 3, "Fido").doppio(-14.3).fmt("#,###.^^^"),
        F(73, "IndAmm", 4180, 3, "Indirizzo amministrativo"),
        F(74, "RifComunicIntenti", 4200, 3, "La dich. si riferisce a ..").def("O"),
        F(75, "NrPrgIntenti", 4185, 3, "Nr.Progr.dich.intenti"),
        F(76, "NrDichIntenti", 4195, 3, "Nr. Dich.Intenti"),
        F(77, "DataRicComIntenti", 4190, 3, "Data ricevim. dich. di intenti"),
        F(78, "DataDichIntenti", 4196, 3, "Data della dich. di intenti"),
        F(79, "DataDAIntenti", 4210, 3, "Data validità dich. intenti da:"),
        F(80, "DataAIntenti", 4215, 3, "Data validità dich. intenti a:"),
        F(81, "ImportoDichIntenti", 4205, 3, "Importo per dich. di intenti"),
        F(82, "OperazRilev", 4225, 3, "Operazioni rilevanti ai fini Iva").def("N"),
        F(83, "DataProcConcDa", 4126, 3, "Data inizio procedura concorsuale"),
        F(84, "DataProcConcA", 4128, 3, "Data fine procedura concorsuale"),
        F(85, "DicIntenti", 5060, 4, "Dichiarazione d'intenti"),
        F(86, "Sconto", 5010, 4, "Sconto"),
        F(87, "Agente1", 5150, 4, "Codice agente principale"),
        F(88, "Agente2", 5160, 4, "Codice agente2"),
        F(89, "Provv1", 5170, 4, "Percentuale Provvigione (1)").doppio(-8.2).fmt("#,###.^^"),
        F(90, "Provv2", 5175, 4, "Percentuale Provvigione (2)").doppio(-8.2).fmt("#,###.^^"),
        F(91, "TipoProvv", 5180, 4, "Estraz./Tipo Provv.").def("N").opz(),
        F(92, "TipoProvv2", 5185, 4, "Estraz./Tipo Provv. ag. 2").def("N").opz(),
        F(93, "SpeseBan", 5090, 4, "Addebito spese bancarie").def("N").opz(),
        F(94, "Spesa", 5050, 4, "Cod. Spesa"),
        F(95, "Bolli", 5080, 4, "Addebito bolli").def("N").opz(),
        F(96, "RagDDT", 5130, 4, "Raggruppo DDT in fattura").def("T").opz(),
        F(97, "RagOrd", 5135, 4, "Raggruppo Ordini in evasione").def("S").opz(),
        F(98, "StRifOrd", 5100, 4, "Stampo Rif.Ord.").def("T").opz(),
        F(99, "StRifCli", 5110, 4, "Stampo Rif.Cliente").def("T").opz(),
        F(100, "IvaSosp", 5070, 4, "Iva Sospesa").def("N").opz(),
        F(101, "FECodEori", 5188, 4, "Codice EORI per fatt.elettronica"),
        F(102, "FECodIPA", 5190, 4, "Codice dell'Uff.della Pubb.Amm.(IPA) per fatt.elett."),
        F(103, "FETitolo", 5195, 0, "Titolo per fatt.elettronica"),
        F(104, "FEAllegPdf", 5197, 4, "Allegare Pdf").def("D").opz(),
        F(105, "FENoStampaLivelli", 5192, 4, "Stampa livelli su XML").def("N").se(C::LivelliXml),
        F(106, "Iva", 5020, 4, "Cod.Iva"),
        F(107, "Listino", 5000, 4, "Listino"),
        F(108, "Vettore", 5030, 4, "Vettore"),
        F(109, "IndSped", 5140, 4, "Indirizzo di Spedizione Merce"),
        F(110, "Resa", 5040, 4, "Resa"),
        F(111, "PrezzoDDT", 5120, 4, "St.Prezzi in DDT").def("T").opz(),
        F(112, "SoggRitAcconto", 5137, 4, "Sogg. Rit. Acconto").def("N").opz(),
        F(113, "PercRitAcc", 5145, 4, "Percentuale Ritenuta d'Acconto")
            .da(O::HostRitAcconto)
            .doppio(8.2)
            .fmt("#,###.^^"),
        F(114, "CassaPrev", 5065, 4, "Sogg. Cassa Previdenza").def("S").opz(),
        F(115, "TSIncluso", 5200, 4, "Estrarre in Tessera Sanitaria").def("S").opz(),
        F(116, "flagOpposizione", 5210, 4, "Opposizione invio Tessera Sanitaria")
            .def("N")
            .opz()
            .se(C::ColonnaOpposizione),
        F(117, "NoteOrdini", 6000, 5, "Note Ordini").like(),
        F(118, "NoteDdt", 6010, 5, "Note DDT").like(),
        F(119, "NoteFattura", 6020, 5, "Note Fattura").like(),
        F(120, "NoteFatAcc", 6030, 5, "Note Fatt.Acc.").like(),
        F(121, "Cointest", 4220, 3, "Cointestatari"),
        F(122, "EMail2", 1081, 8, nullptr).email(1081),
        F(123, "EMail3", 1082, 8, nullptr).email(1082),
        F(124, "EMail4", 1083, 8, nullptr).email(1083),
        F(125, "EmailFat", 1085, 8, "EMail per fatture"),
        F(126, "EmailDdt", 1086, 8, "EMail per Ddt"),
        F(127, "EmailOrd", 1087, 8, "EMail per Ordini"),
        F(128, "EmailAltro", 1088, 8, "EMail per Altro"),
        F(129, "EmailPEC", 1089, 8, "EMail per PEC"),
        F(130, "FAStabOrgIndir", 8000, 10, "Indirizzo Stabile Organizzazione"),
        F(131, "FAStabOrgCap", 8010, 10, "CAP Stabile Organizzazione"),
        F(132, "FAStabOrgComune", 8020, 10, "Comune Stabile Organizzazione"),
        F(133, "FAStabOrgPr", 8030, 10, "Provincia Stabile Organizzazione"),
        F(134, "FAStabOrgStato", 8040, 10, "Stato Stabile Organizzazione"),
        F(135, "FARappFiscCodIdFisc", 8060, 10, "Codice Identificativo Fiscale - Rappr.Fiscale"),
        F(136, "FARappFiscRagSoc", 8050, 10, "Ragione Sociale - Rappr.Fiscale"),
        F(137, "FARappFiscStato", 8070, 10, "Stato - Rappr.Fiscale"),
    };
}

} // namespace

const std::vector<Voce> &Voci()
{
    static const std::vector<Voce> voci = crea();
    return voci;
}

const Voce *VoceIndice(int indice)
{
    static const QHash<int, const Voce *> perIndice = [] {
        QHash<int, const Voce *> h;
        for (const Voce &v : Voci())
            h.insert(v.indice, &v);
        return h;
    }();
    return perIndice.value(indice, nullptr);
}

const Voce *VoceCampo(const QString &campo)
{
    for (const Voce &v : Voci())
        if (campo.compare(QLatin1String(v.campo), Qt::CaseInsensitive) == 0)
            return &v;
    return nullptr;
}

const std::array<const char *, 6> &ChiaviDescrizioniPers()
{
    static const std::array<const char *, 6> chiavi = {"DescDataPers1", "DescDataPers2", "DescDataPers3",
                                                       "DescDescPers1", "DescDescPers2", "DescDescPers3"};
    return chiavi;
}

QList<const Voce *> VociDaRegistrare(const Condizioni &condizioni)
{
    QList<const Voce *> r;
    for (const Voce &v : Voci()) {
        bool registra = true;
        switch (v.condizione) {
        case Condizione::Sempre:
            break;
        case Condizione::ColonnaCognome:
            registra = condizioni.colonnaCognome;
            break;
        case Condizione::DescrizionePers: {
            const auto &chiavi = ChiaviDescrizioniPers();
            for (size_t i = 0; i < chiavi.size(); ++i)
                if (qstrcmp(chiavi[i], v.chiavePers) == 0)
                    registra = !condizioni.descrizioniPers[i].trimmed().isEmpty();
            break;
        }
        case Condizione::LivelliXml:
            registra = condizioni.colonnaLivelliXml && condizioni.gesTaglie;
            break;
        case Condizione::ColonnaOpposizione:
            registra = condizioni.colonnaOpposizione;
            break;
        }
        if (registra)
            r << &v;
    }
    return r;
}

OpzioniCampo Opzioni(const Voce &voce, const QVariant &predefinito, const QVariant &didascalia)
{
    OpzioniCampo o;
    o.descrizione = didascalia;
    if (voce.chiave != 0)
        o.chiave = 1;
    if (voce.chiave == 2)
        o.tipoChiave = 2;
    if (voce.origine != Origine::Nessuna)
        o.predefinito = predefinito;
    if (voce.dimensione != 0)
        o.dimensione = voce.dimensioneIntera ? QVariant(int(voce.dimensione)) : QVariant(voce.dimensione);
    if (voce.opzione)
        o.opzione = true;
    if (voce.formato)
        o.formato = QString::fromLatin1(voce.formato);
    o.ricerca = voce.like ? QStringLiteral("like*") : QStringLiteral("=");
    return o;
}

} // namespace CatalogoClienti
