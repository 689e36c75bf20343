// The notice window's text and its life.
#include "ui/message_dlg.h"

#include "platform/message_pump.h"
#include "platform/resources.h"
#include "resource_ids.h"

#include <cstdarg>
#include <cstdio>
#include <vector>

CMessageDlg::CMessageDlg() : CDialog(IDD_MESSAGE) {}

void CMessageDlg::DoDataExchange(CDataExchange* pDX) { DDX_Text(pDX, IDC_MESSAGE_TEXT, m_Text); }

void CMessageDlg::ShowF(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    va_list count;
    va_copy(count, args);
    int length = std::vsnprintf(nullptr, 0, format, count);
    va_end(count);
    std::string text;
    if (length > 0) {
        std::vector<char> buffer(static_cast<std::size_t>(length) + 1);
        std::vsnprintf(buffer.data(), buffer.size(), format, args);
        text.assign(buffer.data(), static_cast<std::size_t>(length));
    }
    va_end(args);
    m_Text = text + "\r\n";
    Show(true);
}

void CMessageDlg::ShowId(unsigned id)
{
    m_Text = LoadResString(id);
    Show(false);
}

void CMessageDlg::Show(bool drainFirst)
{
    if (drainFirst)
        PumpMessages();
    if (!IsWindow()) {
        if (!CreateModeless())
            return;
        ShowWindow(true);
    }
    UpdateData(false);
    if (!drainFirst)
        PumpMessages();
}
