#include "cli/console.h"

#include <QString>

#include <windows.h>

namespace {

// One standard handle. The stream above hands over whole encoded runs of text, so a write never
// splits a character.
class TStandardHandle final : public QIODevice {
public:
    explicit TStandardHandle(DWORD which) : m_handle(GetStdHandle(which))
    {
        DWORD mode = 0;
        m_console = m_handle != nullptr && m_handle != INVALID_HANDLE_VALUE && GetConsoleMode(m_handle, &mode);
        // Several registers' progress lines are redrawn in place with cursor movements, which the
        // consoles of Windows 10 and 11 follow once asked to.
        if (m_console)
            SetConsoleMode(m_handle, mode | ENABLE_VIRTUAL_TERMINAL_PROCESSING);
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool isConsole() const { return m_console; }
    bool isSequential() const override { return true; }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        if (m_handle == nullptr || m_handle == INVALID_HANDLE_VALUE)
            return size;  // no such stream (a program started without one): the text goes nowhere
        if (m_console) {
            const QString text = QString::fromUtf8(data, int(size));
            DWORD written = 0;
            WriteConsoleW(m_handle, text.utf16(), DWORD(text.size()), &written, nullptr);
            return size;
        }
        qint64 done = 0;
        while (done < size) {
            DWORD written = 0;
            if (!WriteFile(m_handle, data + done, DWORD(size - done), &written, nullptr) || written == 0)
                return done > 0 ? done : -1;
            done += written;
        }
        return done;
    }

private:
    HANDLE m_handle;
    bool m_console = false;
};

}  // namespace

TConsole OpenConsole()
{
    TConsole console;
    auto err = std::make_unique<TStandardHandle>(STD_ERROR_HANDLE);
    console.errIsTerminal = err->isConsole();
    console.out = std::make_unique<TStandardHandle>(STD_OUTPUT_HANDLE);
    console.err = std::move(err);
    return console;
}
