// SenzaPrivilegi: for the life of the object the calling thread loses root's
// power to read and write files whatever their permissions, so that a file
// made read-only is read-only for the test too. Does nothing for other users,
// for whom permissions hold anyway.
#pragma once

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

class SenzaPrivilegi
{
  public:
    SenzaPrivilegi()
    {
        if (::geteuid() != 0)
            return;
        m_testa.version = _LINUX_CAPABILITY_VERSION_3;
        m_testa.pid = 0;
        if (::syscall(SYS_capget, &m_testa, m_prima) != 0)
            return;
        __user_cap_data_struct dopo[2] = {m_prima[0], m_prima[1]};
        for (int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
            dopo[cap / 32].effective &= ~(1u << (cap % 32));
        m_attivo = ::syscall(SYS_capset, &m_testa, dopo) == 0;
    }
    ~SenzaPrivilegi()
    {
        if (m_attivo)
            ::syscall(SYS_capset, &m_testa, m_prima);
    }
    SenzaPrivilegi(const SenzaPrivilegi &) = delete;
    SenzaPrivilegi &operator=(const SenzaPrivilegi &) = delete;

  private:
    __user_cap_header_struct m_testa{};
    __user_cap_data_struct m_prima[2]{};
    bool m_attivo = false;
};
