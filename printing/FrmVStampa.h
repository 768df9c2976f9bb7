// The print preview ("Visualizzazione Stampa"). The engine draws each page
// into the canvas and waits in Continua, a nested event loop that sleeps
// until the user asks for the next page or leaves. Pages already drawn are
// kept as picture files when the engine asks for it (MemorizzaPagine), so
// that the user can go back and forth; the files carry a base name that is
// this preview's alone and are deleted when it closes. The window cannot
// close while its print runs; its exit button stops the print instead.
#pragma once

#include "components/forms/ControlArray.h"
#include "components/stampa/FinestreStampa.h"
#include "services/FormComune.h"

#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QRectF>
#include <QWidget>
#include <array>
#include <future>
#include <memory>

class QEventLoop;
class QLabel;
class QPushButton;
class QScrollBar;
class QTemporaryFile;
class QToolButton;

// The page canvas: shows the page image at its own size.
class TelaAnteprima : public QWidget
{
  public:
    TelaAnteprima(const QImage &immagine, QWidget *parent);

  protected:
    void paintEvent(QPaintEvent *ev) override;

  private:
    const QImage &m_immagine;
};

// The preview's layout in twips: the window's inner size, the button bar's
// height, the canvas's size and the scroll bars' thickness in; the page
// area, the bars and their ranges and steps out.
struct MisureAnteprima {
    double larghezza = 0, altezza = 0; // SW, SH
    double barra = 0;                  // T
    double telaL = 0, telaA = 0;       // CW, CH
    double spessoreV = 0, spessoreH = 0;
};
struct LayoutAnteprima {
    QRectF area;
    bool barraV = false, barraH = false;
    QRectF rettV, rettH;
    int maxH = 0, maxV = 0, minimo = -100;
    // A range that does not fit 16 bits: the bar keeps its previous one
    // (the user is told about the vertical one).
    bool troppoAlta = false, troppoLarga = false;
    int grandeH = 1, piccoloH = 1, grandeV = 1, piccoloV = 1;
};
LayoutAnteprima CalcolaLayoutAnteprima(const MisureAnteprima &m);

class FrmVStampa : public QWidget, public VistaStampa, public FormComune
{
    Q_OBJECT
  public:
    static constexpr double TwipPerPixel = 15.0;

    explicit FrmVStampa(QWidget *parent = nullptr);
    ~FrmVStampa() override;

    QWidget *finestra() override { return this; }
    QString osKeySec;

    // ---- VistaStampa ----
    void ogStampa(Stampatore *motore) override;
    Stampatore *ogStampa() const override;
    void Mostra() override;
    bool obAttivo() const override { return m_attivo; }
    QImage &Tela() override { return m_tela; }
    void TelaDisegnata() override;
    void Continua() override;
    void AbilitaFreccia(int indice, bool abilitata) override;
    void SistImgFrecce() override;
    void ScriviMessaggio(const QString &testo) override;

    // ---- Events ----
    void imaMuovi_Click(int indice);
    void ComEsci_Click();
    void SistControlli();

    // ---- Page files ----
    QString NomeBasePagine() const { return msNomeBasePagine; }
    QString FilePagina(int pagina) const;
    static QString TestoPagina(int pagina);
    int PaginaDa() const { return miPaginaDa; }
    // True while the engine waits in Continua.
    bool InAttesa() const { return m_ciclo != nullptr; }
    // Pages are written while the engine draws the next one; this waits for
    // the page being written (false: it could not be).
    bool AttendiSalvataggi();
    // A page file: a small header and the canvas's rows in runs of one
    // colour (the background of a page), read back to the same pixels (a null
    // image when the file is missing or not one).
    static bool ScriviFilePagina(const QImage &immagine, const QString &file);
    static QImage LeggiFilePagina(const QString &file);

    QWidget *PicTasti = nullptr;
    QPushButton *ComEsci = nullptr;
    ControlArray<QToolButton> imaMuovi{QStringLiteral("imaMuovi")};
    QLabel *LabMsg = nullptr;
    QLabel *labPage = nullptr;
    QWidget *PicPrinc = nullptr;
    TelaAnteprima *PicSec = nullptr;
    QScrollBar *hscPosOri = nullptr;
    QScrollBar *vscPosVert = nullptr;
    // Arrow pictures: 1-4 enabled, 5-8 greyed.
    std::array<QPixmap, 9> ImlFrecce;

  protected:
    void closeEvent(QCloseEvent *ev) override;
    void resizeEvent(QResizeEvent *ev) override;
    void changeEvent(QEvent *ev) override;
    void keyPressEvent(QKeyEvent *ev) override;
    void wheelEvent(QWheelEvent *ev) override;
    bool eventFilter(QObject *oggetto, QEvent *ev) override;

  private:
    void costruisci();
    void mostraPagina(int pagina);
    void salvaPagina(int pagina);
    // Removes this preview's page files; the ones that could not be removed
    // are listed in `nonCancellati` with the system's reason.
    void cancellaPagine(QStringList *nonCancellati = nullptr);
    void sistemaFrecce();
    bool scorriConRotella(const QWheelEvent *ev);
    void nuovoNomeBase();
    void posizionaTela();
    void chiudiDopoStampa();

    QPointer<Stampatore> m_motore;
    QMetaObject::Connection m_finitoMotore;
    QImage m_tela;
    QString msNomeBasePagine;
    std::unique_ptr<QTemporaryFile> m_segnaposto; // reserves the base name
    std::future<bool> m_salvataggio;              // the page being written
    QString m_fileInSalvataggio;
    bool mbAvanti = false;
    bool mbEsci = false;
    int miPaginaDa = 0;
    bool m_attivo = false;
    QEventLoop *m_ciclo = nullptr;
    bool m_chiudiDopo = false;
    QSizeF m_troppoAltaAvvisata; // canvas and area heights last warned about
};
