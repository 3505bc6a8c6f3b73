#pragma once

#include <QtGlobal>

#include <csignal>

#include <sys/resource.h>

// Lowers the size a file of this process may grow to, for a scope: writes past it fail
// (EFBIG) instead of raising the signal that would end the process.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(qint64 bytes)
    {
        getrlimit(RLIMIT_FSIZE, &m_Previous);
        m_Handler = std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit lowered = m_Previous;
        lowered.rlim_cur = rlim_t(bytes);
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &m_Previous);
        std::signal(SIGXFSZ, m_Handler);
    }

private:
    struct rlimit m_Previous
    {
    };
    void (*m_Handler)(int) = nullptr;
};
