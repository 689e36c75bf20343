#include "sim_pty.h"

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

bool CSimPty::Open()
{
    Close();
    master = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        Close();
        return false;
    }
    const char* name = ::ptsname(master);
    if (!name) {
        Close();
        return false;
    }
    path = name;
    slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave < 0) {
        Close();
        return false;
    }
    termios tio{};
    ::tcgetattr(slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(slave, TCSANOW, &tio);
    ::fcntl(master, F_SETFL, ::fcntl(master, F_GETFL) | O_NONBLOCK);
    return true;
}

void CSimPty::Close()
{
    if (slave >= 0)
        ::close(slave);
    if (master >= 0)
        ::close(master);
    slave = master = -1;
}

std::size_t CSimPty::Waiting() const
{
    int count = 0;
    if (slave < 0 || ::ioctl(slave, FIONREAD, &count) != 0 || count < 0)
        return 0;
    return static_cast<std::size_t>(count);
}
