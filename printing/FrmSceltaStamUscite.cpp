// The print-choice dialog's output kinds: the four kinds and their panels,
// the preview and file panels, separators and text qualifiers, the export
// file and fixed-length file choices, and the switches that write one option
// each.
#include "printing/FrmSceltaStam.h"

#include "components/forms/UtilFinestre.h"
#include "components/stampa/OpzStampa.h"
#include "components/util/UtilGlob.h"
#include "services/Globali.h"
#include "services/MsgCom.h"

#include <QFileInfo>
#include <QStackedWidget>

namespace
{

const QString Tab = QStringLiteral("\t");
const QString Separatori[] = {Tab, QStringLiteral(";"), QStringLiteral(","), QStringLiteral(" ")};
const QString Delimitatori[] = {QStringLiteral("\""), QStringLiteral("'"), QString()};

// "Testo|*.txt|Altro|*.a;*.b" as the file dialog's filters
// ("Testo (*.txt)", "Altro (*.a *.b)").
QStringList filtriDialogo(const QString &filtri)
{
    const QStringList parti = filtri.split(QLatin1Char('|'));
    QStringList r;
    for (int i = 0; i + 1 < parti.size(); i += 2)
        r << parti[i] + QStringLiteral(" (") +
                 QString(parti[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
    return r;
}

// Selects the button of `valore` (compared without regard to case), or none.
template <size_t N>
void selezionaValore(ControlArray<QRadioButton> &bottoni, const QString (&valori)[N], const QString &valore)
{
    for (size_t i = 0; i < N; ++i)
        if (valore.compare(valori[i], Qt::CaseInsensitive) == 0) {
            bottoni(int(i))->setChecked(true);
            return;
        }
    for (auto [indice, b] : bottoni) {
        (void)indice;
        b->blockSignals(true);
        b->setAutoExclusive(false);
        b->setChecked(false);
        b->setAutoExclusive(true);
        b->blockSignals(false);
    }
}

} // namespace

void FrmSceltaStam::OptStampaSu_Click(int Index)
{
    if (!m_opz || Index < 0 || Index > 3)
        return;
    for (auto [i, pannello] : FraOpz)
        pannello->setEnabled(i == Index);
    m_pannelli->setCurrentWidget(FraOpz(Index));
    if (Index == OpzStampa::UscitaVideo)
        m_opz->AnteprimaScelta(true);
    m_opz->oiStaVid(Index);
    VisStaAttuale();
}

void FrmSceltaStam::VisDecodPagine()
{
    if (!m_opz)
        return;
    const UtilGlob &u = Globali::Util();
    labFatt->setText(QString::number(u.Arrotonda(double(m_opz->Fatt()) * 100, QStringLiteral("A"), 1.0)));
    LabMemVid->setText(m_opz->MemVid() == 1 ? QStringLiteral("Si") : QStringLiteral("No"));
    txt(30)->setText(u.Formatta(m_opz->ParStampa(QStringLiteral("PaginaDa")), QStringLiteral("#")));
    txt(40)->setText(u.Formatta(m_opz->ParStampa(QStringLiteral("PaginaA")), QStringLiteral("#")));
}

void FrmSceltaStam::VisDecodFile()
{
    if (!m_opz)
        return;
    OpzStampa &o = *m_opz;
    LabFileName->setText(o.FileName());
    LabFileForm->setText(o.DescrFileForm(o.FileForm()));
    // Only the text format chooses its separator and qualifier; the other
    // formats have theirs fixed.
    const bool testo =
        o.FileForm() != OpzStampa::FormatoCompatibileExcel && o.FileForm() != OpzStampa::FormatoExcel;
    if (!testo)
        o.FileFormFisso();
    Fra(2)->setEnabled(testo);
    Fra(1)->setEnabled(testo);
    CheNumNoForm->setEnabled(o.FileForm() != OpzStampa::FormatoCompatibileExcel);
    selezionaValore(OptSepCampi, Separatori, o.SepCampi());
    selezionaValore(OptDelimStr, Delimitatori, o.DelimStr());
    CheNumNoForm->setChecked(o.NumNoForm() != 0);
}

void FrmSceltaStam::OptSepCampi_Click(int Index)
{
    if (!m_opz || Index < 0 || Index > 3)
        return;
    m_opz->SepCampi(Separatori[Index]);
    VisStaAttuale();
}

void FrmSceltaStam::OptDelimStr_Click(int Index)
{
    if (!m_opz || Index < 0 || Index > 2)
        return;
    m_opz->DelimStr(Delimitatori[Index]);
    VisStaAttuale();
}

void FrmSceltaStam::Fra_DblClick(int Index)
{
    if (m_opz && Index == 0)
        m_opz->DblClickStampaSu(true);
}

QString FrmSceltaStam::FiltriFileStampa(int versioneExcel)
{
    const QString semplici = QStringLiteral("Compatibile Excel|*.csv;*.txt|Testo|*.txt");
    if (versioneExcel < 0)
        return semplici;
    return QStringLiteral("Formato Excel|*.") +
           (versioneExcel >= 12 ? QStringLiteral("xlsx") : QStringLiteral("xls")) + QLatin1Char('|') +
           semplici;
}

int FrmSceltaStam::FormatoDaFiltro(int versioneExcel, int posizione)
{
    if (versioneExcel < 0)
        return posizione - 1;
    return posizione == 1 ? OpzStampa::FormatoExcel : posizione - 2;
}

void FrmSceltaStam::ComOpz_Click(int Index)
{
    if (!m_opz)
        return;
    switch (Index) {
    case 0:
        m_opz->AnteprimaScelta(false);
        break;
    case 1:
        CambiaScala();
        break;
    case 2:
        ScegliFileStampa();
        break;
    case 3:
        ScegliFileFisso();
        break;
    default:
        break;
    }
}

// A cancelled dialog changes nothing: the name, format and destination chosen
// before stay.
void FrmSceltaStam::ScegliFileStampa()
{
    OpzStampa &o = *m_opz;
    o.AnteprimaScelta(false);
    const int versione = LeggiVersioneExcel();
    const QStringList filtri = filtriDialogo(FiltriFileStampa(versione));
    // The dialog opens on the format the options hold (the one the panel
    // shows): a name typed without changing the filter keeps that format.
    QString scelto = filtri.contains(codFileFiltro) ? codFileFiltro : filtri.value(0);
    for (int posizione = 1; posizione <= filtri.size(); ++posizione)
        if (FormatoDaFiltro(versione, posizione) == o.FileForm()) {
            scelto = filtri.value(posizione - 1);
            break;
        }
    const QString inizio = codFileNome.isEmpty() ? o.PathDefault() : codFileNome;
    const QString nome = UtilFinestre::ScegliFileDaSalvare(this, QStringLiteral("Nome del file di stampa"),
                                                           inizio, filtri.join(QStringLiteral(";;")), scelto);
    if (nome.isEmpty())
        return;
    const int posizione = std::max<int>(1, int(filtri.indexOf(scelto)) + 1);
    const int formato = FormatoDaFiltro(versione, posizione);
    // A name without extension, or with another kind of file's, takes the
    // format's: the name says what the file holds. The dialog has asked
    // about replacing the file it answered, when that was there: the print
    // does not ask again about it; a name made here it has not seen.
    const QString file = OpzStampa::ConEstensione(nome, formato);
    o.SostituzioneConfermata(file == nome && QFileInfo::exists(file) ? file : QString());
    codFileNome = file;
    codFileFiltro = filtri.value(posizione - 1);
    o.FileName(file);
    o.FileForm(formato);
    VisDecodFile();
    VisStaAttuale();
}

void FrmSceltaStam::ScegliFileFisso()
{
    OpzStampa &o = *m_opz;
    o.AnteprimaScelta(false);
    const QStringList filtri = filtriDialogo(QStringLiteral("Testo|*.txt"));
    QString scelto = filtri.value(0);
    const QString inizio = codFileNome.isEmpty() ? o.PathDefault() : codFileNome;
    const QString nome = UtilFinestre::ScegliFileDaSalvare(this, QStringLiteral("Nome del file di stampa"),
                                                           inizio, filtri.join(QStringLiteral(";;")), scelto);
    if (nome.isEmpty())
        return;
    const QString file = OpzStampa::ConEstensione(nome, OpzStampa::FormatoTesto);
    o.SostituzioneConfermata(file == nome && QFileInfo::exists(file) ? file : QString());
    codFileNome = file;
    o.FisFileName(file);
    LabFileStampaFis->setText(file);
    o.FisStampante(0);
    VisStaAttuale();
}

void FrmSceltaStam::CheForzaVert_Click()
{
    if (!m_opz)
        return;
    m_opz->ForzaVert(CheForzaVert->isChecked() ? -1 : 0);
    VisStaAttuale();
}

void FrmSceltaStam::CheFisUtilComp_Click()
{
    if (!m_opz)
        return;
    m_opz->FisUtilComp(CheFisUtilComp->isChecked() ? -1 : 0);
    VisStaAttuale();
}

void FrmSceltaStam::CheNumNoForm_Click()
{
    if (m_opz)
        m_opz->NumNoForm(CheNumNoForm->isChecked() ? -1 : 0);
}

void FrmSceltaStam::CheNumPag_Click()
{
    if (m_opz)
        m_opz->ImpostaParStampa(QStringLiteral("MostraNumPag"), CheNumPag->isChecked());
}

void FrmSceltaStam::CheInviaEmail_Click()
{
    if (!m_opz || InImpostazione)
        return;
    m_opz->ImpostaParStampa(QStringLiteral("EmailInvia"), CheInviaEmail->isChecked());
    VisStaAttuale();
}

void FrmSceltaStam::ComPaperSize_Click()
{
    try {
        GetPaperList(false);
    } catch (...) {
        MsgErrfrm();
    }
}
