// The serial port beneath both controller protocols: a POSIX terminal device
// in raw 8N1 mode, read without blocking against a deadline, written whole.
// "COM1" to "COM10" name /dev/ttyS0 to /dev/ttyS9 unless the environment
// variable ORDUNE_COMn names another device (say /dev/ttyUSB0, or the
// pseudo-terminal of the controller simulator).
#pragma once

#include <cstddef>
#include <string>

// The device path of a port name: "COMn" as above, anything else unchanged.
std::string ComPortDevicePath(const std::string& portName);

class CSerialPort;

// What ends the port's waits for input. The program waits on the device
// against the wall clock. A test that plays the far end of the line itself
// installs its own: it runs on the test's clock (the host's, which measures
// the port's deadlines either way) and ends a wait as soon as that end has
// heard everything and has nothing more to say, so no verdict depends on
// how fast the machine runs.
class CLineWaits {
public:
    virtual ~CLineWaits() = default;
    // Waits until `port` has input (true), or has hung up, or `timeoutMs`
    // have passed (false).
    virtual bool WaitForInput(CSerialPort& port, unsigned timeoutMs) = 0;
    // `n` bytes were written to, or read from, `port`.
    virtual void Wrote(const CSerialPort&, std::size_t) {}
    virtual void Took(const CSerialPort&, std::size_t) {}
    // `port` is about to throw away the input it has not read.
    virtual void BeforePurge(CSerialPort&) {}
};

// The waits in force: the wall clock's unless a test installed its own.
CLineWaits& LineWaits();
// Installs `waits` (not owned); nullptr goes back to the wall clock.
void SetLineWaits(CLineWaits* waits);

// What one look at the line found.
enum class ELineEvent {
    Nothing,  // no input within the look
    Input,    // bytes are queued
    Gone,     // the line hung up or failed
};

class CSerialPort {
public:
    CSerialPort() = default;
    ~CSerialPort() { Close(); }
    CSerialPort(const CSerialPort&) = delete;
    CSerialPort& operator=(const CSerialPort&) = delete;
    CSerialPort(CSerialPort&& other) noexcept;
    CSerialPort& operator=(CSerialPort&& other) noexcept;

    // Opens the device of `portName` for exclusive use. False with the
    // system's error in LastError() when it is missing or already in use.
    bool Open(const std::string& portName);
    void Close();
    bool IsOpen() const { return m_Fd >= 0; }
    const std::string& DevicePath() const { return m_DevicePath; }
    // True for a pseudo-terminal, which has no RTS line and no wire speed.
    bool IsPseudoTerminal() const { return m_Pseudo; }

    // True when the device's line settings can be read (a terminal).
    bool ReadSettings();
    // Raw 8 data bits, no parity, one stop bit at `baud`; false for a rate
    // the system does not offer or a device that refuses the settings.
    bool Configure(unsigned baud);
    // Discards unread input and unsent output.
    bool Purge();
    // Drives the RTS line; a pseudo-terminal has none, which is no error.
    bool SetRts(bool on);
    // RTS low for `lowMs`, then high for `highMs`: a real controller resets on
    // it. A pseudo-terminal has no RTS line, so there is nothing to wait for.
    void PulseRts(unsigned lowMs, unsigned highMs);
    // The count of received bytes waiting to be read.
    std::size_t Queued();
    // Reads what is there, at most `n` bytes, without waiting.
    std::size_t ReadNow(void* buf, std::size_t n);
    // Reads exactly `n` bytes, waiting for them until `timeoutMs` has passed;
    // false (and the bytes that came in dropped) on time-out.
    bool ReadExact(void* buf, std::size_t n, unsigned timeoutMs);
    // Waits up to `timeoutMs` for at least one byte to be queued.
    bool WaitForInput(unsigned timeoutMs);
    // Looks at the line for up to `waitMs` of real time (0: at once).
    ELineEvent PollInput(int waitMs);
    // Writes all `n` bytes within `timeoutMs`; the count written (less than
    // `n` on failure, with the error kept).
    std::size_t Write(const void* buf, std::size_t n, unsigned timeoutMs = 2000);

    int LastError() const { return m_LastError; }
    // True once the device reported that the other end is gone (a hang-up or
    // an input/output error), as a pseudo-terminal does when its controller
    // side closes and a USB adapter does when it is pulled. Nothing will come
    // through again until the port is opened anew.
    bool HungUp() const { return m_HungUp; }

private:
    // Keeps `error` as the last error and notes a hang-up when it says so.
    void Failed(int error);
    // True for poll() events that say the line is gone.
    bool HangUpEvents(short revents);

    int m_Fd = -1;
    int m_LastError = 0;
    bool m_HungUp = false;
    bool m_Pseudo = false;
    std::string m_DevicePath;
};
