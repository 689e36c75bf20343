// The scripted host.
#include "support/scripted_host.h"

#include "ui/dialog.h"

#include <gtest/gtest.h>

std::vector<std::string> CScriptedHost::BoxTexts() const
{
    std::vector<std::string> texts;
    for (const Box& b : m_Boxes)
        texts.push_back(b.text);
    return texts;
}

int CScriptedHost::MessageBox(const std::string& text, const std::string& caption, unsigned type)
{
    int answer;
    if (m_Answers.empty()) {
        answer = DefaultMessageBoxAnswer(type);
        ++m_Unanswered;
    } else {
        answer = m_Answers.front();
        m_Answers.pop_front();
    }
    m_Boxes.push_back({text, caption, type, answer});
    return answer;
}

void CScriptedHost::PumpMessages()
{
    ++m_Pumps;
    if (m_PumpAction)
        m_PumpAction(m_Pumps);
}

void CScriptedHost::Sleep(unsigned milliseconds)
{
    m_Clock += milliseconds;
    if (m_SleepAction)
        m_SleepAction();
}

unsigned CScriptedHost::SetTimer(unsigned id, unsigned, std::function<void()> callback)
{
    m_Timers[id] = std::move(callback);
    return id;
}

void CScriptedHost::FireTimer(unsigned id)
{
    auto it = m_Timers.find(id);
    if (it == m_Timers.end())
        return;
    // A copy: the handler may kill or replace its own timer.
    std::function<void()> callback = it->second;
    callback();
}

void CScriptedHost::RunModalDialog(CDialog& dialog)
{
    m_DialogsShown.push_back(dialog.TemplateId());
    dialog.OnInitDialog();
    if (!m_Dialogs.empty() && dialog.IsWindow()) {
        DialogScript next = std::move(m_Dialogs.front());
        m_Dialogs.pop_front();
        if (next.templateId != 0 && next.templateId != dialog.TemplateId())
            ADD_FAILURE() << "dialog " << dialog.TemplateId() << " shown where the test expected "
                          << next.templateId;
        next.script(dialog);
    }
    if (dialog.IsWindow()) {
        ++m_UnansweredDialogs;
        CancelDialog(dialog);
    }
}

bool CScriptedHost::CreateModelessDialog(CDialog& dialog)
{
    m_DialogsShown.push_back(dialog.TemplateId());
    m_Modeless[dialog.TemplateId()] = &dialog;
    dialog.OnInitDialog();
    return true;
}

std::vector<std::string> CScriptedHost::NextFileChoice()
{
    if (m_FileChoices.empty())
        return {};
    std::vector<std::string> next = std::move(m_FileChoices.front());
    m_FileChoices.pop_front();
    return next;
}

bool CScriptedHost::GetOpenFileName(const std::string& filter, const std::string& initialPath,
                                    bool multiple, std::vector<std::string>& paths)
{
    m_FileRequests.push_back({false, filter, initialPath, multiple});
    paths = NextFileChoice();
    if (!multiple && paths.size() > 1)
        ADD_FAILURE() << "several files chosen where one is allowed";
    return !paths.empty();
}

bool CScriptedHost::GetSaveFileName(const std::string& filter, const std::string& initialPath,
                                    std::string& path)
{
    m_FileRequests.push_back({true, filter, initialPath, false});
    std::vector<std::string> chosen = NextFileChoice();
    if (chosen.empty())
        return false;
    path = chosen.front();
    return true;
}
