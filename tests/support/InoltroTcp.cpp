#include "tests/support/InoltroTcp.h"
#include "tests/support/PerditeDriver.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdint>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

namespace
{

sockaddr_in indirizzo(int porta)
{
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(porta));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return a;
}

// Sends all of `n` bytes; false when the peer is gone or will not take them.
bool inviaTutto(int fd, const char *dati, ssize_t n, const std::atomic<bool> &fine)
{
    while (n > 0) {
        const ssize_t k = send(fd, dati, size_t(n), MSG_DONTWAIT | MSG_NOSIGNAL);
        if (k > 0) {
            dati += k;
            n -= k;
            continue;
        }
        if (k < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return false;
        pollfd p{fd, POLLOUT, 0};
        if (fine || poll(&p, 1, 200) < 0)
            return false;
    }
    return true;
}

} // namespace

InoltroTcp::InoltroTcp(int portaServer, int ascolto) : m_ascolto(ascolto), m_portaServer(portaServer)
{
    if (m_ascolto < 0) {
        m_ascolto = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        const sockaddr_in a = indirizzo(0);
        bind(m_ascolto, reinterpret_cast<const sockaddr *>(&a), sizeof a);
        listen(m_ascolto, 64);
    }
    sockaddr_in a{};
    socklen_t n = sizeof a;
    getsockname(m_ascolto, reinterpret_cast<sockaddr *>(&a), &n);
    m_porta = ntohs(a.sin_port);
    if (pipe2(m_sveglia, O_CLOEXEC) != 0)
        m_sveglia[0] = m_sveglia[1] = -1;
    m_filo = std::thread([this] { ciclo(); });
}

InoltroTcp::~InoltroTcp()
{
    m_fine = true;
    sveglia();
    m_filo.join();
    for (const Coppia &c : m_coppie) {
        close(c.cliente);
        close(c.server);
    }
    for (int fd : m_tenute)
        close(fd);
    close(m_ascolto);
    close(m_sveglia[0]);
    close(m_sveglia[1]);
}

void InoltroTcp::Ammutolisci()
{
    AmmettiPerditeDriverOdbc();
    m_muto = true;
    sveglia();
}

void InoltroTcp::Riprendi()
{
    m_riprendi = true;
    sveglia();
}

void InoltroTcp::sveglia()
{
    const char c = 0;
    [[maybe_unused]] const ssize_t n = write(m_sveglia[1], &c, 1);
}

void InoltroTcp::ciclo()
{
    char buffer[65536];
    while (!m_fine) {
        if (m_riprendi.exchange(false)) {
            for (int fd : m_tenute)
                close(fd);
            m_tenute.clear();
            m_muto = false;
        }
        if (m_muto) {
            for (const Coppia &c : m_coppie) {
                close(c.cliente);
                close(c.server);
            }
            m_coppie.clear();
        }
        std::vector<pollfd> attesa{{m_sveglia[0], POLLIN, 0}, {m_ascolto, POLLIN, 0}};
        for (const Coppia &c : m_coppie) {
            attesa.push_back({c.cliente, POLLIN, 0});
            attesa.push_back({c.server, POLLIN, 0});
        }
        if (poll(attesa.data(), attesa.size(), -1) < 0)
            continue;
        if (attesa[0].revents) [[maybe_unused]]
            const ssize_t n = read(m_sveglia[0], buffer, sizeof buffer);
        const size_t ascoltate = m_coppie.size(); // those in `attesa`
        if (attesa[1].revents & POLLIN) {
            const int cliente = accept4(m_ascolto, nullptr, nullptr, SOCK_CLOEXEC);
            if (cliente >= 0)
                ++m_accettate;
            if (cliente >= 0 && m_muto) {
                m_tenute.push_back(cliente);
            } else if (cliente >= 0) {
                const int server = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
                const sockaddr_in a = indirizzo(m_portaServer);
                if (connect(server, reinterpret_cast<const sockaddr *>(&a), sizeof a) == 0) {
                    m_coppie.push_back({cliente, server});
                } else {
                    close(server);
                    close(cliente);
                }
            }
        }
        // Each connection whose side spoke: what it said goes to the other
        // side; one that ended or failed ends its pair.
        std::vector<Coppia> restano;
        for (size_t i = 0; i < m_coppie.size(); ++i) {
            if (i >= ascoltate) {
                restano.push_back(m_coppie[i]); // taken just now
                continue;
            }
            const Coppia c = m_coppie[i];
            bool viva = true;
            for (int lato = 0; lato < 2 && viva; ++lato) {
                if (!attesa[2 + 2 * i + lato].revents)
                    continue;
                const int da = lato == 0 ? c.cliente : c.server, a = lato == 0 ? c.server : c.cliente;
                const ssize_t n = recv(da, buffer, sizeof buffer, MSG_DONTWAIT);
                viva = (n > 0 && inviaTutto(a, buffer, n, m_fine)) || (n < 0 && errno == EAGAIN);
            }
            if (viva) {
                restano.push_back(c);
            } else {
                close(c.cliente);
                close(c.server);
            }
        }
        m_coppie = std::move(restano);
    }
}
