// InoltroTcp: a TCP relay on the loopback between the program and a server,
// which the tests turn into a server that is gone: the connections cut, and
// new ones taken and never answered, as a machine whose server hangs does.
#pragma once

#include <atomic>
#include <thread>
#include <vector>

class InoltroTcp
{
  public:
    // Forwards the connections taken on `ascolto` (a socket already listening;
    // -1: one of its own on 127.0.0.1) to 127.0.0.1:portaServer. Its thread
    // opens the connections to the server in the network namespace of the
    // thread that builds it.
    explicit InoltroTcp(int portaServer, int ascolto = -1);
    ~InoltroTcp();
    InoltroTcp(const InoltroTcp &) = delete;
    InoltroTcp &operator=(const InoltroTcp &) = delete;

    int porta() const { return m_porta; }
    // Cuts every connection; those that come later are taken and never answered.
    void Ammutolisci();
    // The server answers again: the connections taken while silent are
    // closed, those that come later are forwarded.
    void Riprendi();
    // Connections taken so far.
    int Accettate() const { return m_accettate; }

  private:
    struct Coppia {
        int cliente, server;
    };
    void ciclo();
    void sveglia();

    int m_ascolto = -1;
    int m_porta = 0;
    int m_portaServer = 0;
    int m_sveglia[2] = {-1, -1};
    std::atomic<bool> m_muto{false}, m_fine{false}, m_riprendi{false};
    std::atomic<int> m_accettate{0};
    std::vector<Coppia> m_coppie;
    std::vector<int> m_tenute; // connections taken while silent
    std::thread m_filo;
};
