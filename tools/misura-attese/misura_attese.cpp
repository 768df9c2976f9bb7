// misura-attese: how long a program's window stays frozen after a gesture,
// and how long until the gesture's result is painted, timed from outside on
// a real X display.
//
//   misura-attese (--id WID | --finestra TITOLO) [--gesto COMANDO] [--durata S]
//                 [--quiete MS] [--area X,Y,L,A] [--prima MS] [--elenco] [--fino-al-cambio]
//
// The window is sent a _NET_WM_PING every 5 ms (a Qt window lists the
// protocol and answers it from its event loop, sending the message back to
// the root window, where this tool listens with StructureNotify: no window
// manager needed, and openbox keeps its own SubstructureRedirect); the
// longest wait for an answer is the freeze. The screen (or --area of it) is
// read every 2 ms and compared with the previous reading; the time of the
// last change before the picture stayed still for --quiete ms, the window
// answering meanwhile, is the repaint. The gesture is a shell command started
// after --prima ms of quiet readings; each line it prints is noted with its
// time, and a line "via" moves the zero of the times to that moment (for a
// gesture made of a preparation and the movement to time). With
// --fino-al-cambio it stops at the first change after the zero: a script
// waits that way for something to show in --area.
#include <xcb/xcb.h>
#ifdef MISURA_SHM
#include <sys/shm.h>
#include <xcb/shm.h>
#endif

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <vector>

namespace
{

using Orologio = std::chrono::steady_clock;
const Orologio::time_point kAvvio = Orologio::now();

double ms()
{
    return std::chrono::duration<double, std::milli>(Orologio::now() - kAvvio).count();
}

[[noreturn]] void esci(const std::string &testo)
{
    std::fprintf(stderr, "misura-attese: %s\n", testo.c_str());
    std::exit(2);
}

struct Opzioni {
    xcb_window_t id = 0;
    std::string titolo;
    std::string gesto;
    double durata = 5.0;
    double quiete = 300;
    double prima = 200;
    int area[4] = {0, 0, 0, 0};
    bool elenco = false;
    bool finoAlCambio = false;
};

xcb_atom_t atomo(xcb_connection_t *c, const char *nome)
{
    xcb_intern_atom_reply_t *r =
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(nome), nome), nullptr);
    if (!r)
        esci(std::string("no atom ") + nome);
    xcb_atom_t a = r->atom;
    std::free(r);
    return a;
}

std::string titoloDi(xcb_connection_t *c, xcb_window_t w, xcb_atom_t netName, xcb_atom_t utf8)
{
    for (auto [prop, tipo] :
         {std::pair{netName, utf8}, std::pair{xcb_atom_t(XCB_ATOM_WM_NAME), xcb_atom_t(XCB_ATOM_ANY)}}) {
        xcb_get_property_reply_t *r =
            xcb_get_property_reply(c, xcb_get_property(c, 0, w, prop, tipo, 0, 256), nullptr);
        if (!r)
            continue;
        std::string s(static_cast<const char *>(xcb_get_property_value(r)), xcb_get_property_value_length(r));
        std::free(r);
        if (!s.empty())
            return s;
    }
    return {};
}

// The first viewable window, at any depth under the root, whose title holds the text.
xcb_window_t cerca(xcb_connection_t *c, xcb_window_t w, const std::string &testo, xcb_atom_t netName,
                   xcb_atom_t utf8)
{
    xcb_query_tree_reply_t *t = xcb_query_tree_reply(c, xcb_query_tree(c, w), nullptr);
    if (!t)
        return 0;
    xcb_window_t trovata = 0;
    xcb_window_t *figli = xcb_query_tree_children(t);
    for (int i = 0; i < xcb_query_tree_children_length(t) && !trovata; ++i) {
        xcb_get_window_attributes_reply_t *a =
            xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, figli[i]), nullptr);
        bool visibile = a && a->map_state == XCB_MAP_STATE_VIEWABLE;
        std::free(a);
        if (!visibile)
            continue;
        if (titoloDi(c, figli[i], netName, utf8).find(testo) != std::string::npos)
            trovata = figli[i];
        else
            trovata = cerca(c, figli[i], testo, netName, utf8);
    }
    std::free(t);
    return trovata;
}

// ---- Pings (a thread with its own connection) ----

struct Ping {
    double inviato;
    double risposta = -1; // -1: no answer yet
};

const uint32_t kMarca = 0x4d495341; // data32[3] of our pings: an answer to someone else's is not ours

class Pinger
{
  public:
    Pinger(xcb_window_t w) : m_finestra(w)
    {
        m_c = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(m_c))
            esci("cannot connect to the X display");
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_c)).data->root;
        m_protocolli = atomo(m_c, "WM_PROTOCOLS");
        m_ping = atomo(m_c, "_NET_WM_PING");
        const uint32_t maschera = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
        xcb_change_window_attributes(m_c, m_root, XCB_CW_EVENT_MASK, &maschera);
        xcb_flush(m_c);
    }
    ~Pinger() { xcb_disconnect(m_c); }

    void avvia()
    {
        m_filo = std::thread([this] { giro(); });
    }
    void ferma()
    {
        m_basta = true;
        m_filo.join();
    }
    std::vector<Ping> pings() const { return m_pings; } // after ferma()

  private:
    void invia()
    {
        xcb_client_message_event_t e{};
        e.response_type = XCB_CLIENT_MESSAGE;
        e.format = 32;
        e.window = m_finestra;
        e.type = m_protocolli;
        e.data.data32[0] = m_ping;
        e.data.data32[1] = uint32_t(m_pings.size()); // the "timestamp": our sequence number
        e.data.data32[2] = m_finestra;
        e.data.data32[3] = kMarca;
        e.data.data32[4] = uint32_t(getpid());
        m_pings.push_back({ms()});
        // No mask: to the client that created the window.
        xcb_send_event(m_c, 0, m_finestra, 0, reinterpret_cast<const char *>(&e));
        xcb_flush(m_c);
    }
    void leggi()
    {
        while (xcb_generic_event_t *ev = xcb_poll_for_event(m_c)) {
            if ((ev->response_type & 0x7f) == XCB_CLIENT_MESSAGE) {
                auto *m = reinterpret_cast<xcb_client_message_event_t *>(ev);
                uint32_t n = m->data.data32[1];
                if (m->type == m_protocolli && m->data.data32[0] == m_ping && m->data.data32[3] == kMarca &&
                    m->data.data32[4] == uint32_t(getpid()) && n < m_pings.size() && m_pings[n].risposta < 0)
                    m_pings[n].risposta = ms();
            }
            std::free(ev);
        }
        if (xcb_connection_has_error(m_c))
            esci("X connection lost");
    }
    void giro()
    {
        double prossimo = ms();
        pollfd p{xcb_get_file_descriptor(m_c), POLLIN, 0};
        while (!m_basta) {
            if (ms() >= prossimo) {
                invia();
                prossimo += 5;
            }
            leggi();
            int attesa = std::max(0, int(prossimo - ms()));
            ::poll(&p, 1, std::min(attesa, 5));
        }
        leggi();
    }

    xcb_connection_t *m_c;
    xcb_window_t m_finestra, m_root = 0;
    xcb_atom_t m_protocolli = 0, m_ping = 0;
    std::vector<Ping> m_pings;
    std::thread m_filo;
    std::atomic<bool> m_basta{false};
};

// ---- The picture ----

struct Cambio {
    double quando; // when the reading that saw it was asked
    int x0, y0, x1, y1;
    bool cursore() const { return x1 - x0 <= 3 && y1 - y0 <= 40; } // a text caret blinking
};

// The screen's area read over and over, each reading compared with the one
// before. Through shared memory where the X server offers it (MIT-SHM: no
// copy through the socket), else with GetImage.
class Foto
{
  public:
    Foto(xcb_connection_t *c, xcb_window_t root, const int area[4]) : m_c(c), m_root(root)
    {
        std::copy(area, area + 4, m_area);
        m_dimensione = size_t(m_area[2]) * size_t(m_area[3]) * 4;
#ifdef MISURA_SHM
        const xcb_query_extension_reply_t *e = xcb_get_extension_data(c, &xcb_shm_id);
        int id = e && e->present ? shmget(IPC_PRIVATE, 2 * m_dimensione, IPC_CREAT | 0600) : -1;
        if (id >= 0) {
            void *mem = shmat(id, nullptr, 0);
            m_seg = xcb_generate_id(c);
            xcb_generic_error_t *err = xcb_request_check(c, xcb_shm_attach_checked(c, m_seg, id, 0));
            shmctl(id, IPC_RMID, nullptr); // gone once both sides detach
            if (mem != reinterpret_cast<void *>(-1) && !err)
                m_shm = static_cast<uint8_t *>(mem);
            std::free(err);
        }
#endif
    }
    ~Foto()
    {
        std::free(m_risposte[0]);
        std::free(m_risposte[1]);
#ifdef MISURA_SHM
        if (m_shm)
            shmdt(m_shm);
#endif
    }
    Foto(const Foto &) = delete;
    Foto &operator=(const Foto &) = delete;
    bool memoriaCondivisa() const
    {
        return m_shm != nullptr;
    }

    // One reading; true when it differs from the previous one (the change in cambio).
    bool leggi(Cambio &cambio)
    {
        double t = ms();
        int k = m_letture % 2;
        const uint8_t *dati = leggiDati(k);
        bool diverso = m_letture > 0 && confronta(dati, m_dati[1 - k], cambio);
        cambio.quando = t;
        m_dati[k] = dati;
        m_durate += ms() - t;
        ++m_letture;
        return diverso;
    }
    double durataMedia() const
    {
        return m_letture ? m_durate / m_letture : 0;
    }
    int letture() const
    {
        return m_letture;
    }

  private:
    const uint8_t *leggiDati(int k)
    {
#ifdef MISURA_SHM
        if (m_shm) {
            xcb_shm_get_image_reply_t *r = xcb_shm_get_image_reply(
                m_c,
                xcb_shm_get_image(m_c, m_root, m_area[0], m_area[1], m_area[2], m_area[3], ~0u,
                                  XCB_IMAGE_FORMAT_Z_PIXMAP, m_seg, uint32_t(k * m_dimensione)),
                nullptr);
            if (!r)
                esci("cannot read the screen (is --area inside it?)");
            m_lunghezza = r->size;
            std::free(r);
            return m_shm + k * m_dimensione;
        }
#endif
        xcb_get_image_reply_t *r =
            xcb_get_image_reply(m_c,
                                xcb_get_image(m_c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_root, m_area[0], m_area[1],
                                              m_area[2], m_area[3], ~0u),
                                nullptr);
        if (!r)
            esci("cannot read the screen (is --area inside it?)");
        std::free(m_risposte[k]);
        m_risposte[k] = r;
        m_lunghezza = size_t(xcb_get_image_data_length(r));
        return xcb_get_image_data(r);
    }

    // The rectangle of the pixels that differ, in screen coordinates.
    bool confronta(const uint8_t *d, const uint8_t *prec, Cambio &cambio) const
    {
        size_t riga = m_lunghezza / size_t(m_area[3]), px = riga / size_t(m_area[2]);
        cambio = {0, m_area[2], m_area[3], -1, -1};
        bool diverso = false;
        for (int y = 0; y < m_area[3]; ++y) {
            const uint8_t *a = d + y * riga, *b = prec + y * riga;
            if (std::memcmp(a, b, riga) == 0)
                continue;
            size_t i = 0, j = riga;
            while (a[i] == b[i])
                ++i;
            while (a[j - 1] == b[j - 1])
                --j;
            cambio.x0 = std::min(cambio.x0, int(i / px));
            cambio.x1 = std::max(cambio.x1, int((j - 1) / px) + 1);
            cambio.y0 = std::min(cambio.y0, y);
            cambio.y1 = y + 1;
            diverso = true;
        }
        cambio.x0 += m_area[0];
        cambio.x1 += m_area[0];
        cambio.y0 += m_area[1];
        cambio.y1 += m_area[1];
        return diverso;
    }

    xcb_connection_t *m_c;
    xcb_window_t m_root;
    int m_area[4];
    size_t m_dimensione = 0, m_lunghezza = 0;
    uint8_t *m_shm = nullptr;
#ifdef MISURA_SHM
    xcb_shm_seg_t m_seg = 0;
#endif
    xcb_get_image_reply_t *m_risposte[2] = {nullptr, nullptr};
    const uint8_t *m_dati[2] = {nullptr, nullptr};
    double m_durate = 0;
    int m_letture = 0;
};

// ---- The gesture ----

struct Segno {
    double quando;
    std::string testo;
};

class Gesto
{
  public:
    void avvia(const std::string &comando)
    {
        int p[2];
        if (pipe(p) != 0)
            esci("pipe");
        m_pid = fork();
        if (m_pid == 0) {
            dup2(p[1], 1);
            close(p[0]);
            close(p[1]);
            execl("/bin/sh", "sh", "-c", comando.c_str(), static_cast<char *>(nullptr));
            _exit(127);
        }
        close(p[1]);
        m_fd = p[0];
        fcntl(m_fd, F_SETFL, O_NONBLOCK);
    }
    // The lines printed so far; false once the command has ended.
    bool segui(std::vector<Segno> &segni)
    {
        if (m_pid <= 0)
            return false;
        int stato = 0;
        bool finito = waitpid(m_pid, &stato, WNOHANG) == m_pid;
        char buf[512];
        ssize_t n;
        while ((n = read(m_fd, buf, sizeof buf)) > 0)
            for (ssize_t i = 0; i < n; ++i) {
                if (buf[i] != '\n') {
                    m_riga += buf[i];
                    continue;
                }
                segni.push_back({ms(), m_riga});
                m_riga.clear();
            }
        if (!finito)
            return true;
        m_pid = -1;
        m_fine = ms();
        m_stato = WIFEXITED(stato) ? WEXITSTATUS(stato) : 128 + WTERMSIG(stato);
        close(m_fd);
        return false;
    }
    double fine() const { return m_fine; }
    int stato() const { return m_stato; }

  private:
    pid_t m_pid = 0;
    int m_fd = -1;
    std::string m_riga;
    double m_fine = -1;
    int m_stato = 0;
};

Opzioni leggiOpzioni(int argc, char **argv)
{
    Opzioni o;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        auto valore = [&]() -> std::string {
            if (i + 1 >= argc)
                esci(a + " wants a value");
            return argv[++i];
        };
        if (a == "--id")
            o.id = xcb_window_t(std::strtoul(valore().c_str(), nullptr, 0));
        else if (a == "--finestra")
            o.titolo = valore();
        else if (a == "--gesto")
            o.gesto = valore();
        else if (a == "--durata")
            o.durata = std::atof(valore().c_str());
        else if (a == "--quiete")
            o.quiete = std::atof(valore().c_str());
        else if (a == "--prima")
            o.prima = std::atof(valore().c_str());
        else if (a == "--area") {
            if (std::sscanf(valore().c_str(), "%d,%d,%d,%d", &o.area[0], &o.area[1], &o.area[2],
                            &o.area[3]) != 4)
                esci("--area X,Y,W,H");
        } else if (a == "--elenco")
            o.elenco = true;
        else if (a == "--fino-al-cambio")
            o.finoAlCambio = true;
        else
            esci("usage: misura-attese (--id WID | --finestra TITLE) [--gesto COMMAND] [--durata S] "
                 "[--quiete MS] [--prima MS] [--area X,Y,W,H] [--elenco] [--fino-al-cambio]");
    }
    if (!o.id && o.titolo.empty())
        esci("--id or --finestra is needed");
    return o;
}

} // namespace

int main(int argc, char **argv)
{
    Opzioni o = leggiOpzioni(argc, argv);
    signal(SIGPIPE, SIG_IGN);
    xcb_connection_t *c = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(c))
        esci("cannot connect to the X display (DISPLAY?)");
    const xcb_screen_t *schermo = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    if (!o.id) {
        xcb_atom_t netName = atomo(c, "_NET_WM_NAME"), utf8 = atomo(c, "UTF8_STRING");
        for (int i = 0; i < 300 && !o.id; ++i) {
            o.id = cerca(c, schermo->root, o.titolo, netName, utf8);
            if (!o.id)
                usleep(100000);
        }
        if (!o.id)
            esci("no window titled \"" + o.titolo + "\" within 30 s");
    }
    if (o.area[2] <= 0 || o.area[3] <= 0) {
        o.area[0] = o.area[1] = 0;
        o.area[2] = schermo->width_in_pixels;
        o.area[3] = schermo->height_in_pixels;
    }

    Pinger pinger(o.id);
    Foto foto(c, schermo->root, o.area);
    Gesto gesto;
    std::vector<Cambio> cambi;
    std::vector<Segno> segni;
    Cambio cambio{};
    foto.leggi(cambio);
    pinger.avvia();
    std::printf("pronto\n");
    std::fflush(stdout);

    double zero = ms() + o.prima, prossima = ms();
    bool gestoAvviato = o.gesto.empty(), inCorso = false;
    while (true) {
        double t = ms();
        if (!gestoAvviato && t >= zero) {
            zero = t;
            gesto.avvia(o.gesto);
            gestoAvviato = inCorso = true;
        }
        if (inCorso) {
            size_t n = segni.size();
            inCorso = gesto.segui(segni);
            for (size_t i = n; i < segni.size(); ++i)
                if (segni[i].testo == "via")
                    zero = segni[i].quando;
        }
        if (gestoAvviato && !inCorso && t >= zero + o.durata * 1000)
            break;
        if (t >= prossima) {
            if (foto.leggi(cambio)) {
                cambi.push_back(cambio);
                if (o.finoAlCambio && gestoAvviato && cambio.quando >= zero && !cambio.cursore())
                    break;
            }
            prossima = std::max(prossima + 2, ms());
        }
        usleep(200);
    }
    pinger.ferma();
    double fine = ms();
    std::vector<Ping> pings = pinger.pings();

    // The freeze: the longest wait for an answer from the zero on.
    double blocco = 0, bloccoDa = 0;
    int senzaRisposta = 0;
    for (const Ping &p : pings) {
        double r = p.risposta < 0 ? fine : p.risposta;
        senzaRisposta += p.risposta < 0;
        double da = std::max(p.inviato, zero);
        if (r > zero && r - da > blocco) {
            blocco = r - da;
            bloccoDa = da;
        }
    }
    // The window answered throughout [a, b]: no ping sent then waited more than 50 ms.
    auto risponde = [&](double a, double b) {
        for (const Ping &p : pings)
            if (p.inviato >= a && p.inviato <= b && (p.risposta < 0 ? fine : p.risposta) - p.inviato > 50)
                return false;
        return true;
    };
    // The repaint: the last change (a caret's blink aside) followed by a quiet
    // spell of the window answering.
    double ridisegno = -1;
    bool fermo = false;
    std::vector<double> significativi;
    for (const Cambio &k : cambi)
        if (k.quando >= zero && !k.cursore())
            significativi.push_back(k.quando);
    for (size_t i = 0; i < significativi.size(); ++i) {
        double da = significativi[i], a = i + 1 < significativi.size() ? significativi[i + 1] : fine;
        if (a - da >= o.quiete && da + o.quiete <= fine && risponde(da, da + o.quiete)) {
            ridisegno = da - zero;
            fermo = true;
            break;
        }
    }
    if (!fermo && !significativi.empty())
        ridisegno = significativi.back() - zero;
    int dopo = 0;
    for (double k : significativi)
        dopo += k > zero + ridisegno;

    std::printf(
        "misura-attese blocco_ms=%.1f blocco_da_ms=%.1f ridisegno_ms=%.1f fermo=%s cambi=%zu cambi_dopo=%d "
        "ping=%zu senza_risposta=%d gesto_ms=%.1f gesto_stato=%d lettura_ms=%.2f letture=%d shm=%s\n",
        blocco, bloccoDa - zero, ridisegno, fermo ? "si" : "no", significativi.size(), dopo, pings.size(),
        senzaRisposta, gesto.fine() < 0 ? 0.0 : gesto.fine() - zero, gesto.stato(), foto.durataMedia(),
        foto.letture(), foto.memoriaCondivisa() ? "si" : "no");
    std::printf("window frozen for at most %.0f ms (from %+.0f ms); ", blocco, bloccoDa - zero);
    if (significativi.empty())
        std::printf("the picture did not change after the gesture\n");
    else
        std::printf("picture %s %.0f ms after the gesture (%zu changes, %d after it)\n",
                    fermo ? "still from" : "NOT still by the end; last change at", ridisegno,
                    significativi.size(), dopo);
    // The gesture's lines and the changes, in the order of their times.
    size_t i = 0;
    for (const Cambio &k : cambi) {
        for (; i < segni.size() && segni[i].quando <= k.quando; ++i)
            std::printf("  %+9.1f ms  gesture: %s\n", segni[i].quando - zero, segni[i].testo.c_str());
        if (o.elenco)
            std::printf("  %+9.1f ms  change %dx%d+%d+%d%s\n", k.quando - zero, k.x1 - k.x0, k.y1 - k.y0,
                        k.x0, k.y0, k.cursore() ? " (caret)" : "");
    }
    for (; i < segni.size(); ++i)
        std::printf("  %+9.1f ms  gesture: %s\n", segni[i].quando - zero, segni[i].testo.c_str());
    xcb_disconnect(c);
    return 0;
}
