// OpzStampa: the parameters of one print. The list-print dialog keeps one for
// its whole life, the print-choice dialog edits it control by control and the
// print engine reads it: output kind, printer, file export and fixed-length
// settings, preview scale and the keyed values (tray, paper, page range, PDF
// and e-mail switches) that travel with the print.
#pragma once

#include <QHash>
#include <QString>
#include <QVariant>

struct Stampante;

class OpzStampa
{
  public:
    // Output kinds (oiStaVid).
    static constexpr int UscitaStampante = 0;
    static constexpr int UscitaVideo = 1;
    static constexpr int UscitaFile = 2;
    static constexpr int UscitaFissa = 3;
    // File formats (FileForm).
    static constexpr int FormatoCompatibileExcel = 0;
    static constexpr int FormatoTesto = 1;
    static constexpr int FormatoExcel = 2;
    // Kinds of the keyed values: 8 text, 12 any value.
    static constexpr int TipoTesto = 8;
    static constexpr int TipoValore = 12;

    explicit OpzStampa(const QString &sezioneStampa = QString());

    // INI section of this print's saved options.
    QString SezioneStampa() const { return m_sezione; }
    void ImpostaSezioneStampa(const QString &sezione) { m_sezione = sezione; }

    int oiStaVid() const { return m_staVid; }
    void oiStaVid(int v) { m_staVid = v; }
    // Empty: the default printer.
    QString osNomeStampante() const { return m_nomeStampante; }
    void osNomeStampante(const QString &v) { m_nomeStampante = v; }
    QString NomePorta() const { return m_nomePorta; }
    void NomePorta(const QString &v) { m_nomePorta = v; }

    // -1: portrait whatever the list asked (paper larger than A4).
    int ForzaVert() const { return m_forzaVert; }
    void ForzaVert(int v) { m_forzaVert = v; }

    // Export file.
    int FileForm() const { return m_fileForm; }
    void FileForm(int v) { m_fileForm = v; }
    QString FileName() const { return m_fileName; }
    void FileName(const QString &v) { m_fileName = v; }
    QString PathDefault() const { return m_pathDefault; }
    void PathDefault(const QString &v) { m_pathDefault = v; }
    QString SepCampi() const { return m_sepCampi; }
    void SepCampi(const QString &v) { m_sepCampi = v; }
    QString DelimStr() const { return m_delimStr; }
    void DelimStr(const QString &v) { m_delimStr = v; }
    // -1: numbers without their display format in text and Excel files.
    int NumNoForm() const { return m_numNoForm; }
    void NumNoForm(int v) { m_numNoForm = v; }
    // The extension of a file format ("xlsx", "csv", "txt"; "" for an
    // unknown code), and `nome` with it added when its file name has none
    // (as a Save dialog adds its default suffix): "dichiarazioni" written as
    // an Excel workbook is "dichiarazioni.xlsx". A name whose extension says
    // the other kind of file (a workbook's "xlsx" or "xls", a text's "csv"
    // or "txt") takes the format's instead: "lista.csv" or "lista.xls"
    // written as a workbook is "lista.xlsx", "lista.xlsx" written as text
    // "lista.csv".
    // Any other extension is the user's and stays.
    static QString EstensioneFormato(int codice);
    static QString ConEstensione(const QString &nome, int codice);
    // The file the user has already agreed to replace (the Save dialog asked
    // when it was chosen there): the next print writing it does not ask
    // again, and takes the agreement (Prendi...: true once for that path).
    void SostituzioneConfermata(const QString &percorso) { m_sostituzioneConfermata = percorso; }
    bool PrendiSostituzioneConfermata(const QString &percorso);

    // Preview: scale (1 = 100 %) and 1 = keep the pages drawn.
    float Fatt() const { return m_fatt; }
    void Fatt(float v) { m_fatt = v; }
    int MemVid() const { return m_memVid; }
    void MemVid(int v) { m_memVid = v; }

    // Fixed-length print: destination (a file, or with FisStampante -1 a
    // printer or its port), blank lines at the top and bottom of a page,
    // characters per line, lines per page, and the printer codes that switch
    // compressed print on and off (used with FisUtilComp -1).
    // The numbers are held to what a page can hold: rows per page 0 to
    // FisRigheMassime (0: one endless page), blank lines at the top and at
    // the bottom 0 to FisMargineMassimo each (fewer than the rows of the
    // longest page), characters per line 0 to FisColonneMassime (0: no limit).
    static constexpr int FisRigheMassime = 255;
    static constexpr int FisMargineMassimo = FisRigheMassime - 1;
    static constexpr int FisColonneMassime = 999;
    QString FisFileName() const { return m_fisFileName; }
    void FisFileName(const QString &v) { m_fisFileName = v; }
    int FisStampante() const { return m_fisStampante; }
    void FisStampante(int v) { m_fisStampante = v; }
    int FisMrAlt() const { return m_fisMrAlt; }
    void FisMrAlt(int v) { m_fisMrAlt = v; }
    int FisMrBas() const { return m_fisMrBas; }
    void FisMrBas(int v) { m_fisMrBas = v; }
    int FisColonne() const { return m_fisColonne; }
    void FisColonne(int v) { m_fisColonne = v; }
    int FisRighe() const { return m_fisRighe; }
    void FisRighe(int v) { m_fisRighe = v; }
    QString FisCodIniComp() const { return m_fisCodIniComp; }
    void FisCodIniComp(const QString &v) { m_fisCodIniComp = v; }
    QString FisCodFinComp() const { return m_fisCodFinComp; }
    void FisCodFinComp(const QString &v) { m_fisCodFinComp = v; }
    int FisUtilComp() const { return m_fisUtilComp; }
    void FisUtilComp(int v) { m_fisUtilComp = v; }

    // Display texts: where the print goes with the current printer, and the
    // name of a file format.
    QString DescrStampante(const Stampante &stampanteCorrente) const;
    QString DescrFileForm(int codice) const;

    // True: the output kind is not offered by the print-choice dialog.
    bool StaVidEscluso(int tipo) const;
    void StaVidEscluso(int tipo, bool escluso);

    // The user chose the preview explicitly (or changed its scale).
    bool AnteprimaScelta() const { return m_anteprimaScelta; }
    void AnteprimaScelta(bool v) { m_anteprimaScelta = v; }
    // The hidden double-click on the output frame: a print to a printer first
    // shows the system's print dialog, for driver settings the program does
    // not offer.
    bool DblClickStampaSu() const { return m_dblClickStampaSu; }
    void DblClickStampaSu(bool v) { m_dblClickStampaSu = v; }
    // The formats whose separators are fixed: an Excel-compatible file is
    // always ';' with '"' around texts (Excel with Italian settings reads it
    // as columns); the Excel workbook has no separators.
    void FileFormFisso();

    // Keyed values (names without regard to case): NumCassetto, NumTipoCarta,
    // PaginaDa, PaginaA, MostraNumPag, PdfNomeFile, PdfAutomImpPar,
    // PdfAutomAbil, EmailInvia, EmailToTemp, StampanteDefOri (kind 8),
    // StampaDescPrg, StampaCaption and the e-mail keys. A key never set reads
    // as an invalid QVariant (VB's Empty).
    QVariant ParStampa(const QString &chiave, int tipo = TipoValore) const;
    void ImpostaParStampa(const QString &chiave, const QVariant &valore, int tipo = TipoValore);
    // Readings of keyed values: whole number (0 when empty or not a number)
    // and VB truth (True for -1 or any non-zero number, "S", "True").
    int ParIntero(const QString &chiave) const;
    bool ParVero(const QString &chiave) const;
    QStringList ChiaviParStampa() const;

  private:
    QString m_sezione;
    int m_staVid = UscitaVideo;
    QString m_nomeStampante, m_nomePorta;
    int m_forzaVert = 0;
    int m_fileForm = FormatoCompatibileExcel;
    QString m_fileName, m_pathDefault;
    QString m_sostituzioneConfermata;
    QString m_sepCampi = QStringLiteral(";");
    QString m_delimStr = QStringLiteral("\"");
    int m_numNoForm = 0;
    float m_fatt = 0.67f;
    int m_memVid = 1;
    QString m_fisFileName;
    int m_fisStampante = 0;
    int m_fisMrAlt = 0, m_fisMrBas = 0;
    int m_fisColonne = 80, m_fisRighe = 66;
    QString m_fisCodIniComp, m_fisCodFinComp;
    int m_fisUtilComp = 0;
    bool m_esclusi[4] = {false, false, false, false};
    bool m_anteprimaScelta = false;
    bool m_dblClickStampaSu = false;
    // Keyed values by lower-case name; the name as first written is kept beside.
    QHash<QString, std::pair<QString, QVariant>> m_par;
};
